#include "memo/memosearch.h"

#include <algorithm>

#include "memo/memofiles.h"
#include "memo/memoname.h"
#include "memo/textencoding.h"

namespace {
// FAT keeps write times to 2 seconds: a file written again within 2 seconds
// of its read may show the same time and size as the text that was read.
const uint64_t kWriteTimeGrain = 2 * 10000000ull;
const char16_t kLoneLeadByte = 0xFFFD;

uint64_t Join(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }
uint64_t Join(const FILETIME& time) { return Join(time.dwHighDateTime, time.dwLowDateTime); }

uint64_t Now()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return Join(now);
}

void AppendAnsi(const char* bytes, size_t size, std::u16string& text)
{
    if (size == 0) return;
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(size), nullptr, 0);
    if (length <= 0) return;
    const size_t at = text.size();
    text.resize(at + length);
    // wchar_t is UTF-16 on Windows.
    MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(size), reinterpret_cast<wchar_t*>(&text[at]), length);
}

bool TimeIsUp(DWORD start, DWORD budgetMs)
{
    return GetTickCount() - start >= budgetMs;
}
}  // namespace

std::u16string DecodeForSearch(const char* bytes, size_t size)
{
    std::u16string text;
    const MemoEncoding encoding = DetectEncoding(bytes, size);
    if (encoding != MemoEncoding::ShiftJis && DecodeText(bytes, size, encoding, text)) return text;
    text.reserve(size);
    for (size_t at = 0; at < size;) {
        const size_t end = EndOfWholeRun(bytes, size, at, IsAnsiLeadByte);
        AppendAnsi(bytes + at, end - at, text);
        if (end == size) break;
        text.push_back(kLoneLeadByte);
        at = end + 1;
    }
    return text;
}

CMemoSearch::~CMemoSearch()
{
    CloseListing();
}

void CMemoSearch::Start(const SearchQuery& query, const std::string& shownName, const std::u16string& shownText)
{
    // What is kept is folded for one setting of the kana switch: the other
    // setting reads every memo again.
    if (query.kanaAsOne != m_query.kanaAsOne) {
        for (Memo& memo : m_memos) memo.readAt = 0;
    }
    m_query = query;
    m_bSearching = true;
    m_hits.clear();
    m_hitMemos.clear();
    m_nMoreHits = 0;
    m_shownKey = shownName == kNoMemoName ? std::string() : FoldMemoName(shownName);
    MatchShownMemo(shownName, shownText);
    // Memos changed, added or removed elsewhere are found by listing the
    // folder anew: a change notification would miss some on network folders.
    BeginListing();
}

void CMemoSearch::MatchShownMemo(const std::string& shownName, const std::u16string& shownText)
{
    m_bShownHit = false;
    if (m_query.words.empty()) return;
    if (shownText != m_shownText || m_bShownFoldedKana != m_query.kanaAsOne || m_shownFolded.empty()) {
        m_shownText = shownText;
        m_bShownFoldedKana = m_query.kanaAsOne;
        m_shownFolded.clear();
        FoldForSearch(shownText.data(), shownText.size(), m_query.kanaAsOne, m_shownFolded);
    }
    if (!HasEveryWord(m_shownFolded, m_query)) return;
    const std::vector<TextSpan> spans = FindWords(shownText, m_query);
    SearchHit hit;
    hit.name = shownName;
    if (!spans.empty()) hit.line = LineAround(shownText, spans.front(), kLineLength);
    m_hits.push_back(std::move(hit));
    m_bShownHit = true;
}

bool CMemoSearch::Step(DWORD budgetMs)
{
    const DWORD start = GetTickCount();
    if (m_phase == Phase::kIdle && !m_bListedOnce) BeginListing();
    for (;;) {
        bool finished = true;
        switch (m_phase) {
        case Phase::kList: finished = StepList(start + budgetMs); break;
        case Phase::kRead: finished = StepRead(start + budgetMs); break;
        case Phase::kLines: finished = StepLines(start + budgetMs); break;
        case Phase::kIdle:
        case Phase::kDone: return true;
        }
        if (!finished || TimeIsUp(start, budgetMs)) return false;
    }
}

void CMemoSearch::CloseListing()
{
    if (m_hFind != INVALID_HANDLE_VALUE) FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
}

void CMemoSearch::BeginListing()
{
    CloseListing();
    m_phase = Phase::kList;
    m_listed.clear();
    ++m_nListing;
    char folder[MAX_PATH];
    if (!FormatMemoFolder(folder, sizeof(folder))) return;
    m_folder = folder;
    WIN32_FIND_DATAA entry;
    m_hFind = FindFirstFileA((m_folder + kMemoFilePattern).c_str(), &entry);
    if (m_hFind != INVALID_HANDLE_VALUE) ListEntry(entry);
}

// Lists until the folder has no more or the time is up.
bool CMemoSearch::StepList(DWORD deadline)
{
    WIN32_FIND_DATAA entry;
    while (m_hFind != INVALID_HANDLE_VALUE) {
        if (!FindNextFileA(m_hFind, &entry)) {
            CloseListing();
            break;
        }
        ListEntry(entry);
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
    }
    EndListing();
    return true;
}

void CMemoSearch::ListEntry(const WIN32_FIND_DATAA& entry)
{
    if (!IsListedMemo(entry)) return;
    auto found = m_byFile.find(entry.cFileName);
    size_t index;
    if (found != m_byFile.end()) {
        index = found->second;
        if (m_memos[index].listing == m_nListing) return;
    } else {
        index = m_memos.size();
        Memo memo;
        memo.file = entry.cFileName;
        memo.key = FoldMemoName(MemoNameOfFile(memo.file));
        m_memos.push_back(std::move(memo));
        m_byFile.emplace(entry.cFileName, index);
    }
    Memo& memo = m_memos[index];
    memo.listing = m_nListing;
    memo.listedSize = Join(entry.nFileSizeHigh, entry.nFileSizeLow);
    memo.listedTime = Join(entry.ftLastWriteTime);
    m_listed.push_back(index);
}

// Memos gone from the folder are dropped; the rest take the listing's order.
void CMemoSearch::EndListing()
{
    std::vector<Memo> kept;
    kept.reserve(m_listed.size());
    for (size_t index : m_listed) kept.push_back(std::move(m_memos[index]));
    m_memos = std::move(kept);
    m_listed.clear();
    m_byFile.clear();
    for (size_t i = 0; i < m_memos.size(); ++i) m_byFile.emplace(m_memos[i].file, i);
    m_bListedOnce = true;
    m_phase = Phase::kRead;
    m_nNext = 0;
}

bool CMemoSearch::NeedsReading(const Memo& memo) const
{
    if (memo.readAt == 0 || memo.listedSize != memo.readSize || memo.listedTime != memo.readTime) return true;
    const uint64_t apart = memo.readAt > memo.readTime ? memo.readAt - memo.readTime : memo.readTime - memo.readAt;
    return apart < kWriteTimeGrain;
}

// Reads and folds the memo's file; `text`, where given, receives its
// characters. False (the memo as it was) when the file cannot be read.
bool CMemoSearch::ReadMemo(Memo& memo, std::u16string* text)
{
    const std::string path = m_folder + memo.file;
    HANDLE hFile = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    const uint64_t readAt = Now();
    BY_HANDLE_FILE_INFORMATION info;
    std::string bytes;
    DWORD read = 0;
    bool ok = GetFileInformationByHandle(hFile, &info) != FALSE;
    if (ok) {
        const uint64_t size = Join(info.nFileSizeHigh, info.nFileSizeLow);
        bytes.resize(static_cast<size_t>(std::min<uint64_t>(size, kMostBytesOfMemo)));
        ok = bytes.empty() || ReadFile(hFile, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    }
    CloseHandle(hFile);
    if (!ok) return false;
    bytes.resize(read);
    // A file read only in part is cut after its last whole character.
    if (read == kMostBytesOfMemo) bytes.resize(CutAtWholeCharacter(bytes.data(), bytes.size()));
    std::u16string characters = DecodeForSearch(bytes.data(), bytes.size());
    memo.folded.clear();
    FoldForSearch(characters.data(), characters.size(), m_query.kanaAsOne, memo.folded);
    memo.folded.shrink_to_fit();
    memo.readSize = Join(info.nFileSizeHigh, info.nFileSizeLow);
    memo.readTime = Join(info.ftLastWriteTime);
    memo.readAt = readAt;
    if (text) *text = std::move(characters);
    return true;
}

// Reads what is not read yet or changed, and matches each memo, in the
// listing's order.
bool CMemoSearch::StepRead(DWORD deadline)
{
    const bool matching = m_bSearching && !m_query.words.empty();
    for (; m_nNext < m_memos.size(); ++m_nNext) {
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
        Memo& memo = m_memos[m_nNext];
        if (NeedsReading(memo)) ReadMemo(memo, nullptr);
        if (!matching || memo.key == m_shownKey || !HasEveryWord(memo.folded, m_query)) continue;
        if (m_hitMemos.size() < kMostHits - (m_bShownHit ? 1 : 0)) {
            m_hitMemos.push_back(m_nNext);
            SearchHit hit;
            hit.name = MemoNameOfFile(memo.file);
            m_hits.push_back(std::move(hit));
        } else {
            ++m_nMoreHits;
        }
    }
    m_nNext = 0;
    m_phase = matching ? Phase::kLines : Phase::kDone;
    if (!m_bSearching) m_phase = Phase::kIdle;
    return true;
}

// The line of each hit listed, from its file read again: what is kept is
// folded only. A file changed since so that it holds the words no more is
// no hit.
bool CMemoSearch::StepLines(DWORD deadline)
{
    const size_t first = m_bShownHit ? 1 : 0;
    for (; m_nNext < m_hitMemos.size(); ++m_nNext) {
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
        std::u16string text;
        Memo& memo = m_memos[m_hitMemos[m_nNext]];
        if (!ReadMemo(memo, &text)) continue;
        const std::vector<TextSpan> spans = FindWords(text, m_query);
        if (!HasEveryWord(memo.folded, m_query) || spans.empty()) {
            m_hits[first + m_nNext].name.clear();
            continue;
        }
        m_hits[first + m_nNext].line = LineAround(text, spans.front(), kLineLength);
    }
    m_hits.erase(std::remove_if(m_hits.begin(), m_hits.end(), [](const SearchHit& hit) { return hit.name.empty(); }),
                 m_hits.end());
    m_phase = Phase::kDone;
    return true;
}
