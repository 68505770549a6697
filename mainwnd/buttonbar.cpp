#include <windows.h>
#include <windowsx.h>

#include "controls/buttonwnd.h"
#include "mainwnd/mainwnd.h"
#include "memo/notepadwnd.h"

namespace {
// The button's own visibility, not its parent's: a bar hidden while the
// memo window was hidden stays known as hidden.
bool IsShown(HWND hWnd)
{
    return (GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

// ShowWindow would repaint each button, and the editor's frame and scroll
// bar around it, at once; deferred, the bar and the editor are painted
// together in the next paint. A hidden button hands the focus on to the
// memo window, as with ShowWindow.
void ShowButton(HWND button, int show)
{
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE;
    SetWindowPos(button, nullptr, 0, 0, 0, 0, flags | (show == SW_HIDE ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
    if (show == SW_HIDE && GetFocus() == button) SetFocus(GetParent(button));
}
}  // namespace

// The four buttons change together, so the first one tells the state of the
// bar; a bar already in the wanted state is left alone and not repainted.
void CMainWnd::ShowButtons(int show)
{
    for (int i = 0; i < 4; ++i) {
        HWND button = m_pButtons[i].m_hWnd;
        bool shown = IsShown(button);
        if (!((shown && show == SW_HIDE) || (!shown && show == SW_SHOW))) return;
        ShowButton(button, show);
    }
    InvalidateRect(m_pNotepad->m_hWnd, nullptr, TRUE);
}

bool CMainWnd::IsPopupClickPoint(DWORD messagePos) const
{
    return GET_X_LPARAM(messagePos) == m_ptClick.x && GET_Y_LPARAM(messagePos) == m_ptClick.y;
}

int CMainWnd::IsCursorOnButton()
{
    POINT pt;
    if (!GetCursorPos(&pt)) return -1;
    HWND under = WindowFromPoint(pt);
    for (int i = 0; i < 4; ++i) {
        if (under == m_pButtons[i].m_hWnd) return 1;
    }
    return -1;
}

// A mouse that leaves the editor for one of the buttons keeps the bar up, so
// that the button can be clicked. The pop-up's own cursor move, onto the
// point it clicks, is no mouse of the user's: the bar it would bring up
// would only be hidden by the click.
LRESULT CMainWnd::OnEditMouse(WPARAM leftEditor, LPARAM show)
{
    if (m_bClickPending && show == SW_SHOW && IsPopupClickPoint(GetMessagePos())) return 0;
    m_bClickPending = FALSE;
    if (leftEditor == 1 && IsCursorOnButton() == 1) return 0;
    ShowButtons(static_cast<int>(show));
    return 0;
}
