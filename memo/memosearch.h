#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "memo/foldedtext.h"
#include "memo/searchfold.h"

// One memo a search found.
struct SearchHit {
    std::string name;     // the memo's name, as g_config->PrevFile and the list know it ("null" for a text never stored)
    std::u16string line;  // the line around its first hit, as the memo's text has it (not folded), at most ~80 characters
};

// The characters of a memo file's bytes, for searching: a Unicode file as
// the editor reads it, any other as Shift-JIS through the ANSI code page,
// where a lead byte without its trail byte is a character of its own.
std::u16string DecodeForSearch(const char* bytes, size_t size);

// Finds memos of the memo folder by what they say. Keeps each memo's text
// folded in memory, read again when its file changed; the memo shown is
// searched as the editor shows it. Works in steps on the caller's thread,
// so that the window that calls it answers between them.
class CMemoSearch {
public:
    CMemoSearch() = default;

    // A new search, giving up the one under way: `shownName` is the memo
    // shown (g_config->PrevFile), `shownText` its whole text as the editor
    // shows it, unsaved edits and all.
    void Start(const SearchQuery& query, const std::string& shownName, const std::u16string& shownText);
    // Goes on for about `budgetMs` milliseconds (reading and folding memo
    // files not read yet or changed, then matching). True once the search
    // started last is complete (Hits() then final). Called with no search
    // started, it reads ahead, so the first search costs less.
    bool Step(DWORD budgetMs);
    // The hits of the search started last: the shown memo's first, then the
    // others in the memo list's order. Complete only once Step said so.
    const std::vector<SearchHit>& Hits() const { return m_hits; }
    // How many more memos hold every word than Hits() lists.
    size_t MoreHits() const { return m_nMoreHits; }
    // The last query started (for F3 / Shift+F3 in the shown memo).
    const SearchQuery& LastQuery() const { return m_query; }
    // About how many bytes of memory the search keeps.
    size_t KeptBytes() const;

    // The most hits listed: their lines are taken from their files' bytes.
    static const size_t kMostHits = 100;
    // The most of one memo file that is read: its start is searched.
    static const DWORD kMostBytesOfMemo = 1024 * 1024;
    // The most characters of a hit's line.
    static const size_t kLineLength = 80;

    CMemoSearch(const CMemoSearch&) = delete;
    CMemoSearch& operator=(const CMemoSearch&) = delete;

private:
    // A memo file as the listing found it and as it was last read.
    struct Memo {
        std::string file;        // its name in the memo folder ("<name>.txt")
        std::string key;         // its memo name as the file system compares it
        uint64_t listedSize = 0, listedTime = 0;  // as listed last
        uint64_t readSize = 0, readTime = 0;      // as read last
        uint64_t readAt = 0;     // when it was read (a FILETIME); 0: never
        unsigned listing = 0;    // the last listing that found it
        bool remote = false;     // its bytes are not on this computer (kRemoteData)
        std::string folded;      // its text, folded
        bool isHit = false;      // listed among the hits of the search under way
        bool hasBytes = false;   // its file's bytes are kept, for its line
        std::string bytes;
    };
    enum class Phase { kIdle, kShown, kList, kRead, kLines, kDone };

    bool StepPhase(DWORD deadline);
    bool StepShown(DWORD deadline);
    bool StepList();
    bool StepRead(DWORD deadline);
    bool StepLines(DWORD deadline);
    void ReadAndMatch(size_t index, bool matching);
    void EndListing();
    void ListEntry(const WIN32_FIND_DATAA& entry);
    bool NeedsReading(const Memo& memo) const;
    bool ReadBytes(const Memo& memo, std::string& bytes) const;
    bool ReadMemo(Memo& memo);
    void KeepBytes(Memo& memo, const std::string& bytes);
    void ForgetBytes(Memo& memo);
    bool TakeLine(Memo& memo, SearchHit& hit);
    void DropHitsGone();

    std::string m_folder;                 // the memo folder with its trailing backslash
    std::vector<Memo> m_memos;            // in the order the folder lists them
    std::unordered_map<std::string, size_t> m_byFile;  // index in m_memos by file name
    std::vector<size_t> m_listed;         // the listing's memos in its order, indexes in m_memos
    uint64_t m_nListedBytes = 0;          // the size of the memo files listed last
    size_t m_nKeptBytes = 0;              // of files' bytes kept for the hits' lines
    std::string m_bytes;                  // the file read last
    unsigned m_nListing = 0;
    bool m_bListedOnce = false;

    Phase m_phase = Phase::kIdle;
    bool m_bSearching = false;            // a search was started
    size_t m_nNext = 0;                   // the next memo (or hit) of the phase under way
    SearchQuery m_query;
    std::string m_shownKey;               // the shown memo's name as compared; empty for none
    std::vector<SearchHit> m_hits;
    std::vector<size_t> m_hitMemos;       // the memo of each hit after the shown memo's
    size_t m_nMoreHits = 0;
    bool m_bShownHit = false;
    std::string m_shownName;
    CFoldedText m_shown;                  // the shown memo's text as last searched, folded
};
