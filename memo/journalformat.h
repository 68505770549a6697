#pragma once
// The recovery journal's bytes. No windows.h here: a plain rule, tested on
// its own, so that a torn or foreign file is never taken for a journal.
#include <cstdint>
#include <optional>
#include <string>

// What the memo file looked like when the journaled text was based on it:
// its size and last write time. A memo without a file has none.
struct MemoStamp {
    bool present = false;
    uint64_t size = 0;
    uint64_t writeTime = 0;
    bool operator==(const MemoStamp& other) const
    {
        return present == other.present && size == other.size && writeTime == other.writeTime;
    }
};

struct JournalRecord {
    std::string memo;      // the memo it belongs to; "null" for a memo never stored
    MemoStamp base;        // that memo's file as the editor knew it
    uint64_t writtenAt = 0;  // when it was written (a FILETIME): the later of two journals wins
    std::string text;      // the editor's text as a save stores it, byte for byte
    // The editor's characters (UTF-16), some of which the text above may have
    // had to replace. Empty where the text converts to them as it is (a text
    // still going into the editor, a journal of an earlier version).
    std::u16string wide;
    // The copy of the program it belongs to: the Windows account it ran
    // under and its memo folder. Empty in a journal of an earlier version.
    std::string account;
    std::string folder;
    // The computer it ran on: a memo folder may be synced between computers
    // whose account and folder are spelled alike. Empty in a journal of a
    // version before.
    std::string computer;
};

// A signature, the fields with their lengths (the copy it belongs to before
// the text; the characters, little-endian, after it), and a CRC-32 of
// everything before it.
std::string EncodeJournal(const JournalRecord& record);
// Nothing unless the bytes are a whole journal: signature, lengths that add
// up to the size exactly, and the checksum. Journals of the earlier versions,
// which name no copy or hold no characters, are read too.
std::optional<JournalRecord> DecodeJournal(const std::string& bytes);
// The account and folder from the first bytes of a journal, without its
// text: enough to tell whose it is before writing over it. Nothing when the
// bytes start no journal that names its copy.
std::optional<JournalRecord> DecodeJournalOwner(const std::string& head);

// The journal's file name in the memo folder for a computer: the name is
// kept to letters, digits and '-', and any other byte is written as '_' and
// two hex digits, so that the names of two computers (which Windows gives
// in capitals) never give one file, and no "*.txt" pattern matches it, not
// even through its short name.
std::string JournalFileName(const std::string& computer);
// The same escaped name, for the names of the temporary folder.
std::string FileSafeName(const std::string& name);

// CRC-32 (the polynomial of zip), continued from `crc` (0 to start).
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);
