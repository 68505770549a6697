#include "app/centeroncursor.h"
#include "app/config.h"
#include "mainwnd/mainwnd.h"

namespace {
const WPARAM kKeyZ = 0x5A;

// Kept from one pop-up to the next, apart from the start-up placement.
Placement g_popup = {};

bool IsShowRequest(WPARAM key, LPARAM force, BOOL shortcutOn)
{
    if (force) return true;
    return key == kKeyZ && GetKeyState(VK_MENU) < 0 && shortcutOn;
}
}  // namespace

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
    return 0;
}
