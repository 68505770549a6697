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

    // Empties the editor, then shows memo `name` unless `clear` is set, and
    // records what the editor now holds as PrevFile: `name` when its text is
    // shown, "null" when cleared or when the memo is missing or unreadable (so
    // that the next save cannot replace a memo that was never shown).
    void LoadMemo(bool clear, const char* name);
    // Saves the text under the title of its first line (renaming the memo
    // when the title changed) and records it as PrevFile. An empty editor
    // saves nothing.
    void SaveMemo();
    // Deletes the current memo's file and empties the editor.
    void DeleteMemo();
    // Puts the whole text on the clipboard as CF_TEXT.
    void CopyToClipboard();
    // Appends a "yyyy/m/d h:m:s" line at the end of the text.
    void InsertTimestamp();

    char* m_pszName;       // kMemoNameSize bytes, owned: the memo being loaded or deleted
    DWORD m_dwRead = 0;    // bytes read by the last load

private:
    void OnCommand(HWND hWnd, WORD id);
    void OnMouseMove(HWND hWnd, WPARAM keys);
    LRESULT OnMouseLeave(HWND hWnd);
    LRESULT OnInitCtrl(HWND hWnd);

    bool ShowMemoFile(HANDLE hFile);
    void UpdateStartupLink(const char* name);
};
