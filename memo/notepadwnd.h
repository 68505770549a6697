#pragma once
#include "app/subclassbase.h"

// The memo editor: the multi-line EDIT control that shows one memo.
class CNotepadWnd final : public CSubClassBase {
public:
    CNotepadWnd();
    ~CNotepadWnd();
    bool IsValid() const { return m_pszName != nullptr; }

    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    char* m_pszName;       // kMemoNameSize bytes, owned: the memo being loaded or deleted
    DWORD m_dwRead = 0;    // bytes read by the last load
};
