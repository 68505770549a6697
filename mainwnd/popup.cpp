#include "app/centeroncursor.h"
#include "app/config.h"
#include "mainwnd/mainwnd.h"
#include "memo/notepadwnd.h"

namespace {
const WPARAM kKeyZ = 0x5A;
const int kClickInset = 20;  // from the editor's lower right corner, clear of the scroll bar's arrows

// Kept from one pop-up to the next, apart from the start-up placement.
Placement g_popup = {};

bool IsShowRequest(WPARAM key, LPARAM force, BOOL shortcutOn)
{
    if (force) return true;
    return key == kKeyZ && GetKeyState(VK_MENU) < 0 && shortcutOn;
}
}  // namespace

// Alt+Z from the keyboard hook, or a second start of the program. The size
// for the placement is the start-up size, whatever the settings did since.
LRESULT CMainWnd::OnShowMemo(HWND hWnd, WPARAM key, LPARAM force)
{
    if (IsWindowVisible(hWnd)) return 0;
    if (!IsShowRequest(key, force, m_bShortcut)) return 0;
    ShowWindow(hWnd, SW_SHOW);
    UpdateWindow(hWnd);

    g_popup.rcWindow = m_rcWindow;
    PlaceAtCursor(g_popup);
    if (g_config->DefaultPosition) g_popup.ptResult = {g_config->X, g_config->Y};
    SetWindowPos(hWnd, HWND_TOPMOST, g_popup.ptResult.x, g_popup.ptResult.y, 0, 0, SWP_NOSIZE);
    ClickIntoEditor(g_popup.ptCursor);
    return 0;
}

// A real click activates the window and gives the editor the focus, which
// the activation alone does not (WM_ACTIVATE never reaches the default
// handling). The cursor is hidden meanwhile and put back where it was.
void CMainWnd::ClickIntoEditor(POINT restoreCursor)
{
    ShowCursor(FALSE);
    RECT rc;
    GetWindowRect(m_pNotepad->m_hWnd, &rc);
    SetCursorPos(rc.right - kClickInset, rc.bottom - kClickInset);
    mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE, 0, 0, 0, 0);
    SetCursorPos(restoreCursor.x, restoreCursor.y);
    ShowCursor(TRUE);
}
