#pragma once
#include "app/subclassbase.h"

#include <string>

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
    // that the next save cannot replace a memo that was never shown). A memo
    // file that exists but cannot be read is reported in a message box.
    void LoadMemo(bool clear, const char* name);
    // Saves the text under the title of its first line (renaming the memo
    // when the title changed) and records it as PrevFile. An empty editor
    // saves nothing, and a memo not edited since it was loaded or saved is
    // left as it is on disk. False when the text could not be stored (a
    // message box has said why); it stays in the editor, marked edited.
    bool SaveMemo();
    // Whether the text was edited since it was last loaded or saved.
    bool IsModified() const;
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
    DWORD SaveInMemoFolder(const char* text, DWORD length, std::string& name);
    bool IsStoredUnchanged(const std::string& current) const;
    void UpdateStartupLink(const char* name);
};
