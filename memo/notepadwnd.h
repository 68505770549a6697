#pragma once
#include "app/subclassbase.h"

// The memo editor: the multi-line EDIT control that shows one memo, and the
// memo store on disk (memo\<title>.txt, named after the first line).
class CNotepadWnd final : public CSubClassBase {
public:
    CNotepadWnd();
    ~CNotepadWnd();
    bool IsValid() const { return m_pszName != nullptr; }

    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Empties the editor, then shows memo `name` unless `clear` is set.
    void LoadMemo(bool clear, const char* name);
    // Saves the text under the title of its first line (renaming the memo
    // when the title changed) and records it as PrevFile.
    void SaveMemo();
    // Deletes the current memo's file and empties the editor.
    void DeleteMemo();
    void CopyToClipboard();
    // Appends a "yyyy/m/d h:m:s" line at the end of the text.
    void InsertTimestamp();

    char* m_pszName;       // kMemoNameSize bytes, owned: the memo being loaded or deleted
    DWORD m_dwRead = 0;    // bytes read by the last load
};
