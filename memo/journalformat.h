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
    std::string text;      // the editor's text, byte for byte
};

// A signature, the fields with their lengths, and a CRC-32 of everything
// before it.
std::string EncodeJournal(const JournalRecord& record);
// Nothing unless the bytes are a whole journal: signature, lengths that add
// up to the size exactly, and the checksum.
std::optional<JournalRecord> DecodeJournal(const std::string& bytes);

// CRC-32 (the polynomial of zip), continued from `crc` (0 to start).
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);
