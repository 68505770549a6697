#include "memo/filelist.h"

#include <string>

#include "app/basewnd.h"
#include "app/bounded.h"
#include "app/config.h"
#include "app/curdir.h"
#include "app/globals.h"
#include "app/messages.h"
#include "app/msgbox.h"
#include "app/scopedhandles.h"
#include "memo/memofiles.h"
#include "memo/memoname.h"

namespace {
const char kErrorCaption[] = "Error";
const char kNoMemoryText[] = "メモリ不足によりファイル一覧の取得に失敗しました";
const char kListingFailedText[] = "ファイル一覧の取得に失敗しました";

// Puts the shown memo (PrevFile) into the list, selected, named as the
// folder has it; false when it is not a listed memo. Runs in the memo folder.
bool ListShownMemo(HWND list)
{
    char current[kPathSize];
    if (!FormatMemoFileName(current, sizeof(current), g_config->PrevFile) || !FindListedMemo(current, current))
        return false;
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(current));
    SendMessageA(list, CB_SETCURSEL, 0, 0);
    return true;
}
}  // namespace

LRESULT CFileList::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITCTRL: return OnInitCtrl(reinterpret_cast<CStartLook*>(lParam));
    case WM_TIMER:
        if (wParam != LIST_CATCHUP_TIMER) break;
        KillTimer(hWnd, LIST_CATCHUP_TIMER);
        CatchUp();
        return 0;
    case WM_SETFOCUS:
        // Before the keyboard moves through the entries, all are there, as
        // the folder has them now.
        if (!m_bListed || m_watch.Changed()) {
            Refresh();
            SelectPrevFile();
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefControlProc(hWnd, msg, wParam, lParam);
}

LRESULT CFileList::OnInitCtrl(CStartLook* look)
{
    ShowCurrentMemoOnly(look);
    return 0;
}

// Until the list is first opened or focused it holds only the memo shown,
// as the listing would show it: listing a folder of thousands of memos
// would hold the window up at start, and an open list is listed anew anyway.
// At start the look for any memo was made meanwhile (`look`); afterwards
// it is made here.
void CFileList::ShowCurrentMemoOnly(CStartLook* look)
{
    SendMessageA(m_hWnd, CB_RESETCONTENT, 0, 0);
    char folder[kPathSize];
    bool anyMemo = false;
    if (FormatMemoFolder(folder, sizeof(folder))) {
        ScopedCurrentDirectory inMemoFolder(folder);
        // Each search reads the whole folder: the shown memo, when there is
        // one, also tells that there is a memo.
        anyMemo = inMemoFolder.ok() &&
                  (ListShownMemo(m_hWnd) || (look ? look->HasAnyMemo() : FindListedMemo(kMemoFilePattern, nullptr)));
    }
    EnableWindow(m_hWnd, anyMemo);
}

// A timer's message comes after the input and the paints that are waiting,
// so the pop-up's click and paint go first.
void CFileList::CatchUpAfterPopUp()
{
    SetTimer(m_hWnd, LIST_CATCHUP_TIMER, USER_TIMER_MINIMUM, nullptr);
}

// The folder is watched from the first pop-up on, which leaves start-up
// without the watch's cost; that first look lists the shown memo anew.
void CFileList::CatchUp()
{
    if (!m_watch.Changed()) return;
    char folder[kPathSize];
    if (FormatMemoFolder(folder, sizeof(folder))) m_watch.Start(folder);
    m_bListed = false;
    ShowCurrentMemoOnly(nullptr);
}

// The search ignores case, so a memo file whose name differs from PrevFile
// only in case is still the one shown.
void CFileList::SelectPrevFile()
{
    char entry[kMemoNameSize + 4];
    if (!FormatMemoFileName(entry, sizeof(entry), g_config->PrevFile)) return;
    LRESULT index = SendMessageA(m_hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry));
    SendMessageA(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// A listing in full leaves nothing for a pending look to catch up with.
void CFileList::Refresh()
{
    KillTimer(m_hWnd, LIST_CATCHUP_TIMER);
    m_bListed = true;
    SendMessageA(m_hWnd, CB_RESETCONTENT, 0, 0);
    // Shown once the start directory is back: the box runs a message loop
    // whose handlers name files relative to it.
    const char* failure = ListMemoFolder();
    if (failure) ShowMessageBox(failure, kErrorCaption);
    EnableWindow(m_hWnd, SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0) > 0);
    SendMessageA(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

// Fills the list from the memo folder; returns the text of the message to
// show, or null. A missing memo folder lists nothing rather than the files
// of whatever folder is current.
const char* CFileList::ListMemoFolder()
{
    char memoDir[kPathSize];
    if (!FormatMemoFolder(memoDir, sizeof(memoDir))) return nullptr;
    m_watch.Start(memoDir);
    ScopedCurrentDirectory inMemoFolder(memoDir);
    if (!inMemoFolder.ok()) return nullptr;
    LRESULT result = SendMessageA(m_hWnd, CB_DIR, DDL_READWRITE, reinterpret_cast<LPARAM>(kMemoFilePattern));
    DWORD error = GetLastError();
    DropEntriesThatAreNoMemos();
    if (result == CB_ERRSPACE) return kNoMemoryText;
    if (result == CB_ERR && error != ERROR_FILE_NOT_FOUND) return kListingFailedText;
    return nullptr;
}

// The entries are read from the list's own list box: each message to the
// list itself passes the list's object and is handed on to the list box, for
// every one of up to thousands of entries. Without the list box all entries
// stay, as the listing gave them.
void CFileList::DropEntriesThatAreNoMemos()
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetComboBoxInfo(m_hWnd, &info)) return;
    for (LRESULT i = SendMessageA(info.hwndList, LB_GETCOUNT, 0, 0) - 1; i >= 0; --i) {
        char entry[kPathSize];
        LRESULT length = SendMessageA(info.hwndList, LB_GETTEXTLEN, i, 0);
        bool keep = length >= 0 && length < kPathSize &&
                    SendMessageA(info.hwndList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry)) != LB_ERR &&
                    IsMemoFileName(entry);
        if (!keep) SendMessageA(m_hWnd, CB_DELETESTRING, i, 0);
    }
}
