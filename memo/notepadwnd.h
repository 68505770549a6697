#pragma once
#include "app/subclassbase.h"

#include <string>

#include "memo/memostore.h"
#include "memo/textfeed.h"

class CStartLook;

// The memo editor: the multi-line EDIT control that shows one memo. The memo
// on disk (memo\<title>.txt, named after the first line), what this program
// last read or wrote of it, its journal and its Startup link belong to the
// memo store it calls.
class CNotepadWnd final : public CSubClassBase {
public:
    CNotepadWnd();
    ~CNotepadWnd();
    bool IsValid() const { return m_pszName != nullptr; }

    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The length of an edit control's text in the control's own units
    // (notepadsearch.cpp); -1 when it cannot be told.
    static LRESULT EditLength(HWND edit);

    // Empties the editor, then shows memo `name` unless `clear` is set, and
    // records what the editor now holds as PrevFile: `name` when its text is
    // shown, "null" when cleared or when the memo is missing or unreadable (so
    // that the next save cannot replace a memo that was never shown). A memo
    // file that exists but cannot be read is reported in a message box, once
    // the file is closed and PrevFile settled.
    void LoadMemo(bool clear, const char* name);
    // Saves the text under the title of its first line (renaming the memo
    // when the title changed) and records it as PrevFile. An empty editor
    // saves nothing, and a memo not edited since it was loaded or saved is
    // left as it is on disk. Text with characters the memo file cannot hold
    // is stored only when the user says so. False when the text was not
    // stored (a message box has said why); it stays in the editor, marked
    // edited.
    bool SaveMemo();
    // The save before the program ends. True when the text is safe: stored,
    // or, when that failed, kept in the journal for the next start (the
    // message box says so). False when the user keeps editing or the text
    // could be kept nowhere: the program must not end then.
    bool SaveBeforeEnd();
    // Compares the memo's file with what this program last read or wrote,
    // as every save does first: a cheap look, at the pop-up and every two
    // seconds while the window shows. A file changed elsewhere is shown when
    // nothing was edited here; edits here are stored as a new memo at the
    // next save.
    // A file deleted elsewhere takes an unedited memo out of the editor.
    void LookElsewhere();
    // Journals the text now, for a window that goes whatever the save did.
    void KeepInJournal();
    // Whether the last save was turned down by the user, who keeps editing.
    bool IsKeptForEditing() const { return m_bKeptForEditing; }
    // Whether the text was edited since it was last loaded or saved.
    bool IsModified() const;
    // Whether a long memo is still going into the editor piece by piece
    // (textpieces.h). The editor is hidden and read-only meanwhile, a note
    // stands in its place, and the program answers as ever; saves, the
    // journal and the clipboard take the whole text all the same.
    bool IsFilling() const { return m_feed.IsActive(); }
    // Whether a memo's text is going into the editor: its change notices are
    // no edits.
    bool IsTakingText() const { return IsFilling() || m_bPuttingText; }
    // Whether the memo shown, or being shown, has any text.
    bool HasText() const;
    // The text changed: it is journaled within two seconds, by a timer.
    void NoteEdit();
    // Moves the memo as the editor shows it to the Recycle Bin (stored
    // first, unsaved edits and all), removes its Startup link if it has one,
    // and empties the editor. Where there is no Recycle Bin the user is asked
    // first, and the memo's file is deleted for good. Characters the memo
    // file cannot hold are asked about as at a save. False when the memo
    // stays: the user said no, or was told why it could not go.
    bool DeleteMemo();
    // Whether the current memo is to have a Startup link; the next save
    // makes or removes it.
    void MarkStartup(bool marked) { m_store.MarkStartup(marked); }
    bool IsMarkedStartup() const { return m_store.IsMarkedStartup(); }
    // Puts the whole text on the clipboard as CF_UNICODETEXT and CF_TEXT.
    void CopyToClipboard();
    // Appends a "yyyy/m/d h:m:s" line at the end of the text.
    void InsertTimestamp();
    // The whole text as the editor shows it, unsaved edits and all, in
    // UTF-16; also while a long memo still fills in. Empty when there is
    // no memory for it.
    std::u16string ShownCharacters() const;
    // The memo whose file the text belongs to: PrevFile, or "null" for a
    // text never stored or one detached from a file changed elsewhere.
    std::string FileMemo() const { return m_store.FileMemo(); }
    // The selection, and a new one scrolled into view, in UTF-16 units of
    // `shown` (ShownCharacters()).
    void GetSelectedCharacters(const std::u16string& shown, size_t& start, size_t& end) const;
    void SelectCharacters(const std::u16string& shown, size_t start, size_t end);

    char* m_pszName;       // kMemoNameSize bytes, owned: the memo being loaded
    DWORD m_dwRead = 0;    // bytes read by the last load

private:
    void OnCommand(HWND hWnd, WORD id);
    void OnMouseMove(HWND hWnd, WPARAM keys);
    LRESULT OnPopupClick(HWND hWnd, WPARAM keys, LPARAM at);
    LRESULT OnMouseLeave(HWND hWnd);
    LRESULT OnInitCtrl(HWND hWnd, CStartLook* look);
    // The editor's own menu (notepadmenu.cpp).
    LRESULT OnContextMenu(HWND hWnd, LPARAM at);
    void RunMenuCommand(HWND hWnd, UINT id);
    void OnJournalTimer();
    static const UINT_PTR kJournalTimer = 1;
    void OnLookTimer();
    static const UINT_PTR kLookTimer = 3;
    static const UINT kLookEveryMs = 2000;

    bool ShowRead(const char* name, std::unique_ptr<char[]> text);
    DWORD ShowText(std::unique_ptr<char[]> text, size_t size, bool edited);
    bool PutText(const char* text, size_t size);
    DWORD ShowCharacters(const std::wstring& characters, bool edited);
    // The characters of a memo file in a Unicode encoding, shown unedited.
    DWORD ShowDecoded(const char* bytes, size_t size);
    // The bytes the memo's file is to hold: the text itself, or for a memo
    // in a Unicode encoding its characters encoded, in `file`, which `bytes`
    // and `size` then point into. False when there is no memory for them.
    bool FileBytes(const char* text, int length, std::string& file, const char*& bytes, DWORD& size) const;
    void StartFilling(std::unique_ptr<char[]> text, size_t size, bool edited);
    void OnFillTimer();
    static const UINT_PTR kFillTimer = 2;
    void FinishFilling();
    void StopFilling();
    void ShowFillNote();
    void PlaceFillNote();
    void ShowFillFailure(bool restored);
    void ShowRestoreFailure(DWORD error);
    std::unique_ptr<char[]> ReadText(size_t extra, int& length) const;
    void MoveCaretToEnd();
    // inMemoFolder: whether the memo folder may hold a journal.
    bool RestoreFromJournal(bool inMemoFolder);
    // The questions before a save or a Delete writes the text; each text
    // says which of the two it is.
    bool ConfirmRewrite(const char* unstorableAfter, const char* unheldText);
    bool ConfirmUnstorable(const char* after);
    // Whether the editor shows exactly `text`.
    bool IsShowing(const char* text, int length) const;
    // The whole text in UTF-16; `ansi` is what ReadText gave.
    std::wstring WideText(const char* ansi, int length) const;
    void ShowSaveFailure(const std::string& name, DWORD error);
    DWORD JournalNow();
    // The look of LookElsewhere and what the editor does about its finding.
    ShownAction Reconcile();
    void ShowNewText();
    void LeaveMemo();
    // Tells where both texts are once a detached text is stored as `stored`,
    // or went to the Recycle Bin (`deleted`).
    void TellKeptAsNew(const std::string& left, const std::string& stored, bool deleted);
    void TellNotDeleted();

    CMemoStore m_store;
    CTextFeed m_feed;
    HWND m_hFillNote = nullptr;      // stands in the editor's place while it fills
    bool m_bPuttingText = false;     // a short memo is going in at once
    bool m_bFillingRestored = false; // the text filling in comes from the journal
    bool m_bJournalDue = false;      // the journal timer runs
    bool m_bKeptForEditing = false;
    bool m_bEnding = false;          // the save is the last one of this run
    bool m_bJournaledAtEnd = false;  // that save failed, and the text went into the journal
};
