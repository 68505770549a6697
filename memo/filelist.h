#pragma once
#include "app/subclassbase.h"

// The memo list: a drop-down list of the memo files.
class CFileList final : public CSubClassBase {
public:
    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Re-reads the memo folder into the list; leaves nothing selected.
    void Refresh();
};
