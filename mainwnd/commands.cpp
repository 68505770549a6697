#include "app/config.h"
#include "app/globals.h"
#include "app/messages.h"
#include "controls/buttonwnd.h"
#include "controls/pinwnd.h"
#include "mainwnd/mainwnd.h"
#include "memo/filelist.h"
#include "memo/memoname.h"
#include "memo/notepadwnd.h"

namespace {
bool IsChecked(HWND checkBox)
{
    return SendMessageA(checkBox, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}
}  // namespace

LRESULT CMainWnd::OnCommand(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (g_nMessageBoxes > 0 && RefuseBehindMessageBox(LOWORD(wParam), HIWORD(wParam))) return 0;
    if (!lParam && HIWORD(wParam) == 1 && OnStripKey(LOWORD(wParam))) return 0;
    switch (LOWORD(wParam)) {
    case IDC_NEWMEMO:
        NewMemo();
        break;
    case IDC_COPYMEMO:
        m_pNotepad->CopyToClipboard();
        RepaintButton(IDC_COPYMEMO);
        break;
    case IDC_DELETEMEMO:
        DeleteCurrentMemo();
        break;
    case IDC_SETTING:
        ShowSettingWnd();
        RepaintButton(IDC_SETTING);
        break;
    case IDC_EDIT:
        // A memo going in, at once or piece by piece, is no edit.
        if (HIWORD(wParam) != EN_CHANGE || m_pNotepad->IsTakingText()) return 0;
        UpdateStartupBox();
        m_pNotepad->NoteEdit();
        return 0;
    case IDC_FILELIST:
        if (HIWORD(wParam) == CBN_SELCHANGE) SwitchToSelectedMemo();
        else if (HIWORD(wParam) == CBN_DROPDOWN) m_pFileList->Refresh();
        else if (HIWORD(wParam) == CBN_CLOSEUP && m_bListByKey) ReturnFromListToEditor();
        break;
    case IDC_STARTUP:
        // The save creates or removes the memo's link to match the box.
        m_pNotepad->MarkStartup(IsChecked(m_hStartup));
        m_pNotepad->SaveMemo();
        break;
    case IDC_SHORTCUT:
        m_bShortcut = IsChecked(m_hShortcut);
        break;
    case IDC_PIN:
        OnPinClicked(hWnd);
        break;
    case ID_SEARCH:
        ShowSearchWnd();
        return 0;
    case ID_FINDNEXT:
    case ID_FINDPREV:
        FindNextHit(LOWORD(wParam) == ID_FINDPREV);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

// The program's message boxes have no owner, so the memo window stays usable
// behind one, while the load or save that raised it is still on its way. A
// command that would load or save then is refused, and the list and the
// Startup box go back to what the editor holds.
bool CMainWnd::RefuseBehindMessageBox(WORD id, WORD code)
{
    switch (id) {
    case IDC_NEWMEMO:
    case IDC_DELETEMEMO:
    case ID_SEARCH:
    case ID_FINDNEXT:
    case ID_FINDPREV:
        return true;
    case IDC_FILELIST:
        if (code != CBN_SELCHANGE) return false;
        m_pFileList->Refresh();
        return true;
    case IDC_STARTUP:
        SendMessageA(m_hStartup, BM_SETCHECK, m_pNotepad->IsMarkedStartup() ? BST_CHECKED : BST_UNCHECKED, 0);
        return true;
    }
    return false;
}

// A memo that could not be saved stays in the editor: emptying it would
// throw the text away.
void CMainWnd::NewMemo()
{
    if (!m_pNotepad->SaveMemo()) return;
    m_pNotepad->LoadMemo(true, kNoMemoName);
    SendMessageA(m_hStartup, BM_SETCHECK, BST_UNCHECKED, 0);
    m_pNotepad->MarkStartup(false);
    m_pFileList->Refresh();
    UpdateStartupBox();
    RepaintButton(IDC_NEWMEMO);
}

// The memo shown changed under the editor: it left it, or its text was
// stored as a new memo. Behind a message box the list is left for later.
LRESULT CMainWnd::OnMemoMoved()
{
    if (g_nMessageBoxes == 0) m_pFileList->Refresh();
    SyncStartupLink(g_config->PrevFile);
    UpdateStartupBox();
    return 0;
}

// No confirmation where the memo's file goes to the Recycle Bin, from where
// the user can take it back; its Startup link, if it has one, goes with it.
void CMainWnd::DeleteCurrentMemo()
{
    if (m_pNotepad->DeleteMemo()) {
        SendMessageA(m_hStartup, BM_SETCHECK, BST_UNCHECKED, 0);
        m_pFileList->Refresh();
        UpdateStartupBox();
    }
    RepaintButton(IDC_DELETEMEMO);
}

// The memo being left is saved under its title first; the list's text is the
// chosen file's name, from which the memo's name is taken.
// The load records the chosen memo as PrevFile only when its text is shown,
// so that a memo that could not be read is never replaced by the next save.
// A memo that could not be saved stays shown, and the list no longer claims
// another one is.
void CMainWnd::SwitchToSelectedMemo()
{
    if (!LeaveShownMemo()) return;
    HWND list = m_pFileList->m_hWnd;
    char file[kPathSize];
    int length = GetWindowTextLengthA(list);
    if (length >= kPathSize) return;
    GetWindowTextA(list, file, sizeof(file));
    if (!IsMemoFileName(file)) return;
    ShowChosenMemo(MemoNameOfFile(file));
}

bool CMainWnd::LeaveShownMemo()
{
    if (m_pNotepad->SaveMemo()) return true;
    m_pFileList->Refresh();
    return false;
}

void CMainWnd::ShowChosenMemo(const std::string& name)
{
    // A hit waiting for a memo to fill in is no hit in the memo chosen now.
    m_selectWhenFilled.clear();
    m_pNotepad->LoadMemo(false, name.c_str());
    // The Startup box and the mark describe the memo now shown: none when the
    // chosen one could not be read.
    SyncStartupLink(g_config->PrevFile);
    UpdateStartupBox();
}

// A key of the strip (an accelerator: code 1, no control) does what a click
// on the control does; the editor keeps the focus, but for the list, which
// the user goes through with the arrow keys and leaves with Enter or Esc.
bool CMainWnd::OnStripKey(WORD id)
{
    switch (id) {
    case IDC_FILELIST:
        // A list left empty at start is listed now; with no memo at all
        // there is nothing to pick.
        if (!IsWindowEnabled(m_pFileList->m_hWnd)) m_pFileList->Refresh();
        if (!IsWindowEnabled(m_pFileList->m_hWnd)) return true;
        m_bListByKey = TRUE;
        SetFocus(m_pFileList->m_hWnd);
        SendMessageA(m_pFileList->m_hWnd, CB_SHOWDROPDOWN, TRUE, 0);
        return true;
    case IDC_STARTUP:
        ToggleCheckBox(m_hStartup, id);
        return true;
    case IDC_SHORTCUT:
        ToggleCheckBox(m_hShortcut, id);
        return true;
    case IDC_PIN:
        ToggleCheckBox(m_pPin->m_hWnd, id);
        return true;
    }
    return false;
}

// A box that cannot be clicked (the Startup box of an empty memo) ignores
// its key as well.
void CMainWnd::ToggleCheckBox(HWND box, WORD id)
{
    if (!box || !IsWindowEnabled(box)) return;
    SendMessageA(box, BM_SETCHECK, IsChecked(box) ? BST_UNCHECKED : BST_CHECKED, 0);
    SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(box));
}

void CMainWnd::ReturnFromListToEditor()
{
    m_bListByKey = FALSE;
    SetFocus(m_pNotepad->m_hWnd);
}

// Unpinning leaves the window top-most; only hiding on deactivation returns.
void CMainWnd::OnPinClicked(HWND hWnd)
{
    m_bPinned = IsChecked(m_pPin->m_hWnd);
    if (m_bPinned) SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CMainWnd::RepaintButton(int id)
{
    InvalidateRect(m_pButtons[id - IDC_NEWMEMO].m_hWnd, nullptr, TRUE);
}
