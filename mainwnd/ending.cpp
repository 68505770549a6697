#include "app/config.h"
#include "controls/settingwnd.h"
#include "mainwnd/mainwnd.h"
#include "memo/notepadwnd.h"
#include "memo/searchwnd.h"

// Every way out saves the memo first. A hidden window saved it when it hid,
// so only a shown one (pinned, or with the settings open) has anything new,
// or one whose save failed then: its text is still marked edited. False
// when the text is not safe (the user keeps editing, or it could be kept
// nowhere): the program must go on then.
bool CMainWnd::SaveBeforeEnd(HWND hWnd)
{
    if (m_bEndSaved) return true;
    if (IsWindowVisible(hWnd) || m_pNotepad->IsModified()) m_bEndSaved = m_pNotepad->SaveBeforeEnd();
    else m_bEndSaved = TRUE;
    return m_bEndSaved != FALSE;
}

// The tray icon and WM_CLOSE end the program this way.
void CMainWnd::EndProgram(HWND hWnd)
{
    if (SaveBeforeEnd(hWnd)) DestroyWindow(hWnd);
}

// The editor goes whatever the save did: text it could not store goes into
// the journal, for the next start.
void CMainWnd::SaveBeforeWindowsGo(HWND hWnd)
{
    if (!SaveBeforeEnd(hWnd)) m_pNotepad->KeepInJournal();
    m_bEndSaved = TRUE;
}

// A child destroyed ends the program (its WM_DESTROY posts the quit
// message); the editor still holds the text now, so it is saved now.
LRESULT CMainWnd::OnParentNotify(HWND hWnd, WORD event)
{
    if (event == WM_DESTROY) SaveBeforeWindowsGo(hWnd);
    return 0;
}

// However the window goes, the memo is safe first, and the pictures of GDI+
// go with the child windows, before GDI+ shuts down.
LRESULT CMainWnd::OnDestroy(HWND hWnd)
{
    SaveBeforeWindowsGo(hWnd);
    RemoveTrayIcon(hWnd);
    StorePosition(hWnd);
    if (m_pSetting->m_hWnd) DestroyWindow(m_pSetting->m_hWnd);
    if (m_pSearch->m_hWnd) DestroyWindow(m_pSearch->m_hWnd);
    PostQuitMessage(0);
    return 0;
}

// Windows does not end the session while the text is nowhere safe.
LRESULT CMainWnd::OnQueryEndSession(HWND hWnd, UINT, WPARAM, LPARAM)
{
    return SaveBeforeEnd(hWnd) ? TRUE : FALSE;
}

// Windows may end the process right after this message, without the orderly
// teardown: the memo and the settings are written now so that they are not
// lost, and the tray icon goes.
LRESULT CMainWnd::OnEndSession(HWND hWnd, BOOL ending)
{
    if (!ending) {
        m_bEndSaved = FALSE;
        return 0;
    }
    SaveBeforeEnd(hWnd);
    StorePosition(hWnd);
    RemoveTrayIcon(hWnd);
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
