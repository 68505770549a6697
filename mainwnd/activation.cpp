#include "app/config.h"
#include "app/globals.h"
#include "controls/settingwnd.h"
#include "mainwnd/mainwnd.h"
#include "memo/notepadwnd.h"

// Losing the activation hides the window and saves the memo, unless the
// window is pinned, the settings or the search are open, a message box of ours is up or
// the program is ending with the memo seen to already.
// Never passed on: activation must not move the focus by itself. A failed
// save's message box can hand the activation back to the window as it
// closes; the hide that follows then deactivates it again, which must not
// save, and fail, a second time. A user who chose to go on editing rather
// than store characters the memo file cannot hold keeps the window.
LRESULT CMainWnd::OnActivate(HWND hWnd, WORD state)
{
    if (state != WA_INACTIVE) return 0;
    if (m_bSettingOpen || m_bSearchOpen || g_nMessageBoxes > 0 || m_bPinned || m_bHiding || m_bEndSaved) return 0;
    m_bHiding = TRUE;
    if (!m_pNotepad->SaveMemo() && m_pNotepad->IsKeptForEditing()) {
        m_bHiding = FALSE;
        return 0;
    }
    StorePosition(hWnd);
    ShowWindow(hWnd, SW_HIDE);
    // The pop-up's click hides the bar anyway; hidden now, unseen, it is
    // not painted at the next pop-up only to vanish at once.
    ShowButtons(SW_HIDE);
    m_bHiding = FALSE;
    return 0;
}

// A pinned window keeps its active caption while neither the settings window
// nor the search window is in front of it.
LRESULT CMainWnd::OnNcActivate(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    if (m_bPinned && !IsWindowVisible(m_pSetting->m_hWnd) && !m_bSearchOpen) return FALSE;
    return DefWindowProcA(hWnd, WM_NCACTIVATE, wParam, lParam);
}
