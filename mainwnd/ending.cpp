#include "app/config.h"
#include "mainwnd/mainwnd.h"
#include "memo/notepadwnd.h"

// Every way out saves the memo first. A hidden window saved it when it hid,
// so only a shown one (pinned, or with the settings open) has anything new,
// or one whose save failed then: its text is still marked edited.
void CMainWnd::SaveBeforeEnd(HWND hWnd)
{
    if (IsWindowVisible(hWnd) || m_pNotepad->IsModified()) m_pNotepad->SaveMemo();
}

LRESULT CMainWnd::OnDestroy(HWND hWnd)
{
    RemoveTrayIcon(hWnd);
    StorePosition(hWnd);
    PostQuitMessage(0);
    return 0;
}

LRESULT CMainWnd::OnQueryEndSession(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    SaveBeforeEnd(hWnd);
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

// Windows may end the process right after this message, without the orderly
// teardown: the memo and the settings are written now so that they are not
// lost.
LRESULT CMainWnd::OnEndSession(HWND hWnd, BOOL ending)
{
    if (!ending) return 0;
    SaveBeforeEnd(hWnd);
    StorePosition(hWnd);
    g_config->Save();
    return 0;
}

void CMainWnd::StorePosition(HWND hWnd)
{
    RECT rc;
    if (!GetWindowRect(hWnd, &rc)) return;
    if (m_bStandIn && rc.left == m_ptStandIn.x && rc.top == m_ptStandIn.y) return;
    m_bStandIn = FALSE;
    g_config->X = rc.left;
    g_config->Y = rc.top;
}
