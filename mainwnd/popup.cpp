#include "app/centeroncursor.h"
#include "app/config.h"
#include "app/dpi.h"
#include "app/messages.h"
#include "app/shortcutpress.h"
#include "mainwnd/mainwnd.h"
#include "memo/filelist.h"
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

// The keyboard's state now, not this thread's view of it: the keys go to
// another program.
bool IsDown(int vk)
{
    return GetAsyncKeyState(vk) < 0;
}

unsigned char KeyboardModifiers()
{
    unsigned char mods = 0;
    if (IsDown(VK_CONTROL)) mods |= kShortcutCtrl;
    if (IsDown(VK_SHIFT)) mods |= kShortcutShift;
    if (IsDown(VK_MENU)) mods |= kShortcutAlt;
    if (IsDown(VK_LWIN) || IsDown(VK_RWIN)) mods |= kShortcutWin;
    return mods;
}

POINT CentreOf(const RECT& window, POINT topLeft)
{
    return {topLeft.x + (window.right - window.left) / 2, topLeft.y + (window.bottom - window.top) / 2};
}
}  // namespace

// Every key passes here, so a key other than the shortcut's costs a note of
// the modifiers and one comparison; the keyboard is read only for the
// shortcut's key. The modifiers must be held exactly: AltGr is Ctrl+Alt, and
// AltGr+Z types a letter on some keyboards, which must not pop up Alt+Z.
bool CMainWnd::IsShowRequest(WPARAM key, LPARAM flags)
{
    if (flags == SHOWMEMO_FORCE) return true;
    const bool released = (static_cast<DWORD>(flags) & SHOWMEMO_RELEASED) != 0;
    m_forwardedMods.Note(static_cast<unsigned>(key), released);
    const ShortcutKey shortcut = g_config->ShortcutKey;
    if (key != shortcut.vk || released || !m_bShortcut) return false;
    const bool stillDown = IsDown(static_cast<int>(key));
    const unsigned char keyboard = stillDown ? KeyboardModifiers() : 0;
    if (stillDown) m_forwardedMods.Take(keyboard);
    return IsShortcutPress(shortcut, static_cast<unsigned>(key), released, stillDown, keyboard,
                           m_forwardedMods.Mods());
}

// The shortcut from the keyboard hook, or a second start of the program.
// The size for the placement is the start-up size, whatever the settings
// did since, unless the window goes to a monitor of another DPI: then it is
// made for that DPI while still hidden. It shows, moves and takes its size
// in one step, so that no frame shows at its old place. The memo list looks
// at the folder once the pop-up is done.
LRESULT CMainWnd::OnShowMemo(HWND hWnd, WPARAM key, LPARAM flags)
{
    if (!IsShowRequest(key, flags)) return 0;
    if (IsWindowVisible(hWnd)) return 0;
    m_pNotepad->LookElsewhere();
    m_pFileList->CatchUpAfterPopUp();
    PlacePopup(g_popup);
    SetWindowPos(hWnd, HWND_TOPMOST, g_popup.ptResult.x, g_popup.ptResult.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    UpdateWindow(hWnd);
    ClickIntoEditor(hWnd, g_popup.ptCursor);
    return 0;
}

// At the cursor, with the DPI there; at the stored position, with the DPI
// where the window lies there.
void CMainWnd::PlacePopup(Placement& placement)
{
    GetCursorPos(&placement.ptCursor);
    TakeDpi(m_pfnDpiAtPoint(placement.ptCursor));
    placement.rcWindow = m_rcWindow;
    PlaceAtCursor(placement);
    ApplyStoredPosition(placement);
    if (!g_config->DefaultPosition || m_bStandIn) return;
    const int dpi = m_pfnDpiAtPoint(CentreOf(placement.rcWindow, placement.ptResult));
    if (dpi == m_nDpi) return;
    TakeDpi(dpi);
    placement.rcWindow = m_rcWindow;
    PlaceAtCursor(placement);
    ApplyStoredPosition(placement);
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
// is brought to the front and the editor focused instead. The editor takes
// the click, marked as the pop-up's, as a plain one whatever keys the
// shortcut holds.
void CMainWnd::ClickIntoEditor(HWND hWnd, POINT restoreCursor)
{
    POINT at;
    if (!FindPointOnEditor(m_pNotepad->m_hWnd, at)) {
        SetForegroundWindow(hWnd);
        SetFocus(m_pNotepad->m_hWnd);
        ShowButtons(SW_HIDE);
        return;
    }
    m_bClickPending = TRUE;
    m_ptClick = at;
    ShowCursor(FALSE);
    SetCursorPos(at.x, at.y);
    mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE, 0, 0, 0, POPUP_CLICK_INFO);
    mouse_event(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE, 0, 0, 0, POPUP_CLICK_INFO);
    SetCursorPos(restoreCursor.x, restoreCursor.y);
    ShowCursor(TRUE);
}
