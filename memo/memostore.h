#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "memo/journal.h"
#include "memo/journalformat.h"
#include "memo/shownmemo.h"

// A Startup link that a save could not make or move, told of once the memo
// is stored.
struct LinkFailure {
    DWORD error = ERROR_SUCCESS;
    const char* caption = nullptr;  // a format for the link's file name
    std::string link;               // the link's name without ".lnk"
};

// The memo on disk: loading, storing and deleting memo files of the memo
// folder, the recovery journal of the text being edited, and which Startup
// link a save touches. The current memo is g_config->PrevFile; what its file
// was when last read or stored is the shown memo's (shownmemo.h), which the
// store asks before it writes. The editor window only shows the text and
// tells the user what went wrong.
class CMemoStore {
public:
    // Reads memo `name` whole into text (a NUL after the bytes; owned by the
    // caller). `missing` tells a memo that is not there, which is no error,
    // from one that cannot be read.
    DWORD Read(const std::string& name, std::unique_ptr<char[]>& text, DWORD& size, bool& missing);
    // Stores the editor's text (`edited`: changed since loaded or stored)
    // under the memo name chosen for `name`, its title, and records it as
    // PrevFile; `name` goes out as the name used. The memo's Startup link
    // follows the mark: made, moved along or removed. An unedited memo whose
    // file is there is not written again. The journal goes once the text is
    // stored. `linkDropped` is set when the link could not be made and the
    // mark was taken back. A text detached from its memo's file (Detach) is
    // stored as a new memo beside it, without a Startup link: the link stays
    // with the memo it was made for.
    DWORD Store(const char* text, DWORD length, bool edited, std::string& name, LinkFailure& linkFailure,
                bool& linkDropped);
    // Whether Delete can put the current memo in the Recycle Bin; false where
    // its folder has none, and a delete would destroy it for good. `hasText`:
    // the editor holds text, which goes too when no file holds the memo.
    bool CanRecycle(bool hasText) const;
    // Moves what the user sees to the Recycle Bin: the editor's text (`edited`
    // as for Store) is stored first, as a save would store it, so that the
    // memo's file in the bin holds it, and a memo never stored goes there as
    // a file named by its title. An empty editor adds nothing. `forGood`
    // deletes the current memo's file for good and stores nothing. Once the
    // file is gone, its Startup link and the journal go too. ERROR_SUCCESS,
    // or why the memo is still there: where the text could not be stored,
    // every file is as it was; where it was stored but stayed, it is the
    // current memo as after a save.
    // `file`: the bytes the memo's file is to hold, where they are not the
    // text itself (EncodeCharacters); null otherwise.
    DWORD Delete(const char* text, DWORD length, const std::string* file, bool edited, bool forGood);

    // Whether a save writes the editor's characters in a Unicode encoding:
    // the current memo's file was found in one (another program wrote it),
    // and is written back in it. A new memo is Shift-JIS.
    bool StoresCharacters() const { return SaveEncoding() != MemoEncoding::ShiftJis; }
    // The bytes a save of `characters` writes, in the current memo's
    // encoding, BOM and all.
    std::string EncodeCharacters(const std::wstring& characters) const;

    // Looks at the current memo's file: its attributes, and its bytes only
    // where those leave it open whether they are what this program last read
    // or wrote. A file that changed only its time is taken as seen.
    Elsewhere Look();
    // The editor's text no longer belongs to the current memo's file, which
    // changed elsewhere while the text was edited here.
    void Detach() { m_shown.Detach(); }
    // The current memo's file was deleted elsewhere while the text was
    // edited here: the text is stored again under its title, as a new file
    // that replaces none.
    void MarkGone() { m_shown.MarkGone(); }
    // The memo a detached text was taken from; empty when none was.
    const std::string& DetachedFrom() const { return m_shown.DetachedFrom(); }
    // The memo whose file the editor's text belongs to: PrevFile, or "null"
    // for a text detached from it.
    std::string FileMemo() const;
    // The editor holds no memo's text any more.
    void Forget() { m_shown.Forget(); }
    // The encoding the current memo's file was read in.
    MemoEncoding Encoding() const { return m_shown.Encoding(); }

    // Brings back a memo that a run ended in the middle of a change of case
    // left under a name no list shows.
    void RecoverInterruptedRename();

    // Whether the current memo is to have a Startup link.
    void MarkStartup(bool marked);
    bool IsMarkedStartup() const;

    // Whether the current memo's file holds bytes that the editor cannot give
    // back as they are (neither Shift-JIS nor a Unicode encoding it reads:
    // an encoding of another code page, a broken pair), which
    // a save of an edit would replace.
    bool HoldsUnheldBytes() const;

    // Journals the editor's text as belonging to the current memo: as a save
    // would store it, and its characters (`wide`, `wideLength` of them; none
    // where the text converts to them as it is).
    DWORD WriteJournal(const char* text, DWORD length, const wchar_t* wide, size_t wideLength);
    void RemoveJournal() { m_journal.Remove(); }
    // Keeps the journal FindJournal gave, whose text could not be shown: it
    // stays for the next start. Where it is; empty when there is none.
    std::string KeepJournal();
    // The journal left by a run that did not store its text, if any;
    // inMemoFolder false leaves the memo folder out, known to hold none.
    std::optional<JournalRecord> FindJournal(bool inMemoFolder) { return m_journal.Find(inMemoFolder); }
    // The memo a journal's text is to be restored as: a memo whose file
    // holds the text already (`stored` is set then), else the memo it names
    // when its file is still as the journal knew it, otherwise "null" (a
    // memo of its own, stored under a free name).
    std::string RestoreTarget(const JournalRecord& record, bool& stored);
    // A journal's text found stored as memo `holder` (RestoreTarget) by a
    // save that was renaming the memo and ended before it removed the old
    // file: that file, still as the journal knew it, goes to the Recycle Bin
    // (where there is none it stays), and the memo's Startup link follows.
    void FinishRename(const JournalRecord& record, const std::string& holder);
    // The memo `name` the restored text belongs to, as the journal knew it.
    void AdoptRestored(const JournalRecord& record, const std::string& name);

private:
    // "<memo folder>\<name>.txt"; false when it cannot be formed.
    bool FormatMemoPath(const std::string& name, char* path, size_t size) const;
    DWORD WriteInMemoFolder(const char* text, DWORD length, bool edited, std::string& name,
                            const std::string& current, bool& written);
    void TakeStored(const std::string& name, const char* text, DWORD length);
    void FollowWithLink(bool written, const std::string& name, const std::string& current,
                        LinkFailure& linkFailure, bool& linkDropped);
    bool IsStoredUnchanged(bool edited, const std::string& current) const;
    // The memo whose file holds exactly `text`, memo `preferred` before any
    // other; empty when none does.
    std::string FindStoredText(const std::string& text, const std::string& preferred) const;
    // Takes memo `name`'s file as read: what it was, its encoding, and
    // whether its bytes are all the editor gives back.
    void TakeRead(const std::string& name, const MemoStamp& stamp, const char* bytes, size_t size, uint64_t at);
    MemoEncoding SaveEncoding() const;
    void UpdateStartupLink(const char* name, LinkFailure& linkFailure, bool& linkDropped);

    CRecoveryJournal m_journal;
    CShownMemo m_shown;  // the current memo's file as last loaded or stored
    std::string m_unheldMemo;  // the memo whose file HoldsUnheldBytes, if any
};
