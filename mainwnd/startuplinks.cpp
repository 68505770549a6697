#include "app/bounded.h"
#include "app/config.h"
#include "app/globals.h"
#include "mainwnd/mainwnd.h"
#include "memo/memoname.h"
#include "memo/notepadwnd.h"
#include "startup/links.h"

// A memo without text cannot be put into the Startup folder.
void CMainWnd::UpdateStartupBox()
{
    EnableWindow(m_hStartup, m_pNotepad->HasText());
}

// Makes the Startup box and the store's mark describe memo `name`, and gives
// its link the memo's current name when the memo was renamed since. No memo
// ("null") and a name too long for a memo name have no link.
void CMainWnd::SyncStartupLink(const char* name)
{
    char memo[kPathSize];
    char link[kPathSize];
    if (!IsReservedMemoName(name) && CopyBounded(memo, sizeof(memo), name) && FindMemoLink(memo, link)) {
        NameLinkAfterMemo(memo, link);
        SendMessageA(m_hStartup, BM_SETCHECK, BST_CHECKED, 0);
        m_pNotepad->MarkStartup(true);
        return;
    }
    SendMessageA(m_hStartup, BM_SETCHECK, BST_UNCHECKED, 0);
    m_pNotepad->MarkStartup(false);
}

bool CMainWnd::FindMemoLink(const char* name, char* linkName)
{
    return ::FindMemoLink(m_hWnd, name, linkName);
}

DWORD CMainWnd::UpdateAutostartLink(bool enabled)
{
    return ::UpdateAutostartLink(m_hWnd, enabled);
}
