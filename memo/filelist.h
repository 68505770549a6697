#pragma once
#include "app/subclassbase.h"
#include "memo/folderwatch.h"
#include "memo/startlook.h"

// The memo list: a drop-down list of the memo files (<name>.txt) of the
// memo folder. The selection lives in the control.
class CFileList final : public CSubClassBase {
public:
    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Re-reads the memo folder into the list; leaves nothing selected and
    // the list disabled while it is empty.
    void Refresh();
    // Called as the window pops up: once the pop-up is done, memos added,
    // removed or renamed elsewhere since the folder was listed make the list
    // start over from the memo shown, as at start; an unchanged folder costs
    // no listing.
    void CatchUpAfterPopUp();
    // Selects the entry of the memo shown (PrevFile), if listed.
    void SelectPrevFile();

private:
    LRESULT OnInitCtrl(CStartLook* look);
    void ShowCurrentMemoOnly(CStartLook* look);
    void CatchUp();
    const char* ListMemoFolder();
    void DropEntriesThatAreNoMemos();

    bool m_bListed = false;  // the memo folder was listed into the list
    CFolderWatch m_watch;    // since the list was last filled from the folder
};
