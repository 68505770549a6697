#pragma once
// The memo the editor shows, as this program last read or wrote its file,
// and what to do when the file is found otherwise: another program, or a
// sync tool on behalf of another computer, may change or delete it at any
// time. No windows.h here: plain rules, tested on their own.
#include <cstddef>
#include <cstdint>
#include <string>

#include "memo/journalformat.h"
#include "memo/memoencoding.h"

// The file as this program last read or wrote it.
struct FileSeen {
    MemoStamp stamp;      // size and last write time; not present: no file
    uint32_t crc = 0;     // CRC-32 of its bytes
    uint64_t seenAt = 0;  // when its bytes were last known to be these (a FILETIME)
};

// What a look at the file found.
enum class Elsewhere {
    Same,     // as seen
    Touched,  // the same bytes under a new time (sync tools touch files)
    Changed,  // other bytes
    Deleted,  // no file any more
};

// What the editor does about it.
enum class ShownAction {
    None,        // the save goes on as usual
    ShowNew,     // no edits here: the new text is shown quietly
    KeepAsNew,   // edits here: they are stored as a new memo, the file is left alone
    Leave,       // no edits here: the memo leaves the editor and is not written back
    StoreAgain,  // edits here: they are stored again under their title
};

ShownAction DecideShownAction(Elsewhere found, bool edited);

class CShownMemo {
public:
    // The file of memo `name` as read or stored just now: `bytes` are all of it.
    void Take(const std::string& name, const MemoStamp& stamp, const void* bytes, size_t size, uint64_t now);
    // No file stands behind the text (a new memo, an emptied editor).
    void Forget();
    // The text no longer belongs to the file (edits here, other bytes there):
    // its next store makes a new memo. DetachedFrom names the memo it left.
    void Detach();
    bool IsDetached() const { return !m_detachedFrom.empty(); }
    // The file was found deleted while the text was edited here: the name
    // stays the memo's, and a file found there again is another's.
    void MarkGone();
    bool IsGone() const { return m_gone; }
    const std::string& DetachedFrom() const { return m_detachedFrom; }

    // Whether the text shown as memo `name` has a file this program knows.
    bool Knows(const std::string& name) const;
    const MemoStamp& Stamp() const { return m_seen.stamp; }
    // Whether the file's attributes now leave its bytes to be read before
    // anything is known. A write time within two seconds of the moment the
    // bytes were last known could hide a rewrite of the same size on file
    // systems that keep times to two seconds.
    bool NeedsBytes(const MemoStamp& now) const;
    // What the file is now: `bytes` where NeedsBytes asked for them, else null.
    Elsewhere Compare(const MemoStamp& now, const void* bytes, size_t size) const;
    // The file was found Touched: its new time is taken as seen, at `now`.
    void TakeTouch(const MemoStamp& now, uint64_t at);

    MemoEncoding Encoding() const { return m_encoding; }
    void SetEncoding(MemoEncoding encoding) { m_encoding = encoding; }

private:
    std::string m_name;  // the memo the record is of; empty for none
    FileSeen m_seen;
    std::string m_detachedFrom;
    bool m_gone = false;
    MemoEncoding m_encoding = MemoEncoding::ShiftJis;
};
