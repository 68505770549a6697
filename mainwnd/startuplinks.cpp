#include "app/bounded.h"
#include "app/config.h"
#include "app/globals.h"
#include "mainwnd/mainwnd.h"
#include "memo/notepadwnd.h"
#include "startup/links.h"

namespace {
const char kNoMemo[] = "null";
}  // namespace

// A memo without text cannot be put into the Startup folder.
void CMainWnd::UpdateStartupBox()
{
    EnableWindow(m_hStartup, GetWindowTextLengthA(m_pNotepad->m_hWnd) != 0);
}

// Makes the Startup box and g_bStartupLink describe memo `name`, and gives
// its link the memo's current name when the memo was renamed since. A name
// too long for a memo name has no link.
void CMainWnd::SyncStartupLink(const char* name)
{
    char memo[kPathSize];
    char link[kPathSize];
    if (CopyBounded(memo, sizeof(memo), name) && FindMemoLink(memo, link)) {
        NameLinkAfterMemo(memo, link);
        SendMessageA(m_hStartup, BM_SETCHECK, BST_CHECKED, 0);
        g_bStartupLink = TRUE;
        return;
    }
    SendMessageA(m_hStartup, BM_SETCHECK, BST_UNCHECKED, 0);
    g_bStartupLink = FALSE;
}

// The link to remove is that of the memo being deleted, the current one,
// whichever entry the list shows; with no current memo there is none.
void CMainWnd::RemoveCurrentMemoLink()
{
    char memo[kPathSize];
    if (lstrcmpA(g_config->PrevFile, kNoMemo) != 0 && CopyBounded(memo, sizeof(memo), g_config->PrevFile)) {
        DeleteMemoLink(memo);
    }
    g_bStartupLink = FALSE;
}

bool CMainWnd::FindMemoLink(const char* name, char* linkName)
{
    return ::FindMemoLink(m_hWnd, name, linkName);
}

DWORD CMainWnd::UpdateAutostartLink(bool enabled)
{
    return ::UpdateAutostartLink(m_hWnd, enabled);
}
