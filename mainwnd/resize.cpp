#include "controls/settingwnd.h"
#include "mainwnd/layout.h"
#include "mainwnd/mainwnd.h"

// Only the memo window and the editor change size; every z-order stays, so
// the buttons still float above the text.
void CMainWnd::Resize(int width, int height)
{
    RECT outer = OuterWindowRect(width, height, m_nDpi);
    SetWindowPos(m_hWnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    PlaceChildren(width, height);
    CenterSettingWndOnMain();
}

void CMainWnd::CenterSettingWndOnMain()
{
    RECT rc;
    if (!GetWindowRect(m_hWnd, &rc)) return;
    LayoutPoint at = CenterSettingWnd(rc.left, rc.top, rc.right, rc.bottom, m_nDpi);
    SetWindowPos(m_pSetting->m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
