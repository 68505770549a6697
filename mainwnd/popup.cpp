#include "app/centeroncursor.h"
#include "app/config.h"
#include "app/dpi.h"
#include "mainwnd/mainwnd.h"
#include "memo/notepadwnd.h"

namespace {
const int kClickInset = 20;

// Kept from one pop-up to the next, apart from the start-up placement.
Placement g_popup = {};

bool IsEditorAt(HWND editor, POINT at)
{
    return MonitorFromPoint(at, MONITOR_DEFAULTTONULL) && WindowFromPoint(at) == editor;
}

// Near the editor's lower right corner, clear of the scroll bar's arrows;
// failing that, the middle of the part of the editor on its monitor.
bool FindPointOnEditor(HWND editor, POINT& at)
{
    RECT rc;
    if (!GetWindowRect(editor, &rc)) return false;
    at = {rc.right - kClickInset, rc.bottom - kClickInset};
    if (IsEditorAt(editor, at)) return true;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    RECT seen;
    if (!GetMonitorInfoA(MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &monitor) ||
        !IntersectRect(&seen, &rc, &monitor.rcMonitor))
        return false;
    at = {seen.left + (seen.right - seen.left) / 2, seen.top + (seen.bottom - seen.top) / 2};
    return IsEditorAt(editor, at);
}

bool IsDown(int vk)
{
    return GetKeyState(vk) < 0;
}

unsigned char HeldModifiers()
{
    unsigned char mods = 0;
    if (IsDown(VK_CONTROL)) mods |= kShortcutCtrl;
    if (IsDown(VK_SHIFT)) mods |= kShortcutShift;
    if (IsDown(VK_MENU)) mods |= kShortcutAlt;
    if (IsDown(VK_LWIN) || IsDown(VK_RWIN)) mods |= kShortcutWin;
    return mods;
}

// Every key passes here, so a key other than the shortcut's costs one
// comparison; the modifiers are read only for the shortcut's key. They must
// be held exactly: AltGr is Ctrl+Alt, and AltGr+Z types a letter on some
// keyboards, which must not pop up Alt+Z.
bool IsShowRequest(WPARAM key, LPARAM force, BOOL shortcutOn)
{
    if (force) return true;
    const ShortcutKey shortcut = g_config->ShortcutKey;
    if (key != shortcut.vk || !shortcutOn) return false;
    return HeldModifiers() == shortcut.mods;
}
}  // namespace

// The shortcut from the keyboard hook, or a second start of the program.
// The size for the placement is the start-up size, whatever the settings
// did since, unless the cursor is on a monitor of another DPI: then the
// window is made for that DPI before it shows.
LRESULT CMainWnd::OnShowMemo(HWND hWnd, WPARAM key, LPARAM force)
{
    if (!IsShowRequest(key, force, m_bShortcut)) return 0;
    if (IsWindowVisible(hWnd)) return 0;
    GetCursorPos(&g_popup.ptCursor);
    TakeDpi(DpiAtPoint(g_popup.ptCursor));
    ShowWindow(hWnd, SW_SHOW);
    UpdateWindow(hWnd);

    g_popup.rcWindow = m_rcWindow;
    PlaceAtCursor(g_popup);
    ApplyStoredPosition(g_popup);
    SetWindowPos(hWnd, HWND_TOPMOST, g_popup.ptResult.x, g_popup.ptResult.y, 0, 0, SWP_NOSIZE);
    ClickIntoEditor(hWnd, g_popup.ptCursor);
    return 0;
}

void CMainWnd::ApplyStoredPosition(Placement& placement)
{
    m_bStandIn = FALSE;
    if (!g_config->DefaultPosition) return;
    if (PlaceAtStoredPosition(placement, {g_config->X, g_config->Y})) return;
    m_bStandIn = TRUE;
    m_ptStandIn = placement.ptResult;
}

// A real click activates the window and gives the editor the focus, which
// the activation alone does not (WM_ACTIVATE never reaches the default
// handling). The cursor is hidden meanwhile and put back where it was. The
// click goes only where the editor itself is under the cursor: anywhere
// else it would land in another window. Without such a place the window
// is brought to the front and the editor focused instead.
void CMainWnd::ClickIntoEditor(HWND hWnd, POINT restoreCursor)
{
    POINT at;
    if (!FindPointOnEditor(m_pNotepad->m_hWnd, at)) {
        SetForegroundWindow(hWnd);
        SetFocus(m_pNotepad->m_hWnd);
        ShowButtons(SW_HIDE);
        return;
    }
    ShowCursor(FALSE);
    SetCursorPos(at.x, at.y);
    mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE, 0, 0, 0, 0);
    SetCursorPos(restoreCursor.x, restoreCursor.y);
    ShowCursor(TRUE);
}
