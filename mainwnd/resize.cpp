#include "controls/buttonwnd.h"
#include "controls/pinwnd.h"
#include "controls/settingwnd.h"
#include "mainwnd/layout.h"
#include "mainwnd/mainwnd.h"
#include "memo/filelist.h"
#include "memo/notepadwnd.h"

namespace {
void MoveChild(HWND hWnd, const ChildBox& box)
{
    SetWindowPos(hWnd, nullptr, box.x, box.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
}  // namespace

// Only the memo window and the editor change size; every z-order stays, so
// the buttons still float above the text.
void CMainWnd::Resize(int width, int height)
{
    RECT outer = OuterWindowRect(width, height);
    SetWindowPos(m_hWnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);

    const MainLayout layout = ComputeMainLayout(width, height);
    SetWindowPos(m_pNotepad->m_hWnd, nullptr, 0, 0, layout.edit.width, layout.edit.height,
                 SWP_NOMOVE | SWP_NOZORDER);
    for (int i = 0; i < 4; ++i) MoveChild(m_pButtons[i].m_hWnd, layout.buttons[i]);
    MoveChild(m_pFileList->m_hWnd, layout.list);
    MoveChild(m_hStartup, layout.startup);
    MoveChild(m_hShortcut, layout.shortcut);
    MoveChild(m_pPin->m_hWnd, layout.pin);
    CenterSettingWndOnMain();
}

void CMainWnd::CenterSettingWndOnMain()
{
    RECT rc;
    if (!GetWindowRect(m_hWnd, &rc)) return;
    LayoutPoint at = CenterSettingWnd(rc.left, rc.top, rc.right, rc.bottom);
    SetWindowPos(m_pSetting->m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
