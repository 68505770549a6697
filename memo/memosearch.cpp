#include "memo/memosearch.h"

#include <algorithm>
#include <new>

#include "app/scopedhandles.h"
#include "memo/memofiles.h"
#include "memo/memoname.h"
#include "memo/textencoding.h"

namespace {
// FAT keeps write times to 2 seconds: a file written again within 2 seconds
// of its read may show the same time and size as the text that was read.
const uint64_t kWriteTimeGrain = 2 * 10000000ull;
// FILE_ATTRIBUTE_OFFLINE, and the recall attributes of Windows 10's
// online-only files, which XP's headers lack.
const DWORD kRemoteData = FILE_ATTRIBUTE_OFFLINE | 0x00040000 | 0x00400000;
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
    // No character takes more units of UTF-16 than bytes of the code page.
    const size_t at = text.size();
    text.resize(at + size);
    // wchar_t is UTF-16 on Windows.
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(size),
                                           reinterpret_cast<wchar_t*>(&text[at]), static_cast<int>(size));
    text.resize(at + (length > 0 ? length : 0));
}

bool Passed(DWORD deadline)
{
    return static_cast<LONG>(GetTickCount() - deadline) >= 0;
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
    m_shownName = shownName;
    m_bShownHit = false;
    m_shown.Take(shownText, query.kanaAsOne);
    m_phase = Phase::kShown;
}

// The shown memo first, folded over as many steps as its length needs.
// Then the folder is listed anew, so that memos changed, added or removed
// elsewhere are searched as they are now: a change notification would miss
// some on network folders.
bool CMemoSearch::StepShown(DWORD deadline)
{
    while (!m_query.words.empty() && !m_shown.FoldPiece()) {
        if (Passed(deadline)) return false;
    }
    SearchHit hit;
    if (m_shown.FindFirstHitLine(m_query, kLineLength, hit.line)) {
        hit.name = m_shownName;
        m_hits.push_back(std::move(hit));
        m_bShownHit = true;
    }
    m_phase = Phase::kList;
    return true;
}

// Out of memory, the search ends with the hits found so far; a memo whose
// reading it cut off is read again by the next search.
bool CMemoSearch::Step(DWORD budgetMs)
{
    const DWORD deadline = GetTickCount() + budgetMs;
    if (m_phase == Phase::kIdle && !m_bListedOnce) m_phase = Phase::kList;
    const auto over = [this] { return m_phase == Phase::kIdle || m_phase == Phase::kDone; };
    try {
        while (!over()) {
            if (!StepPhase(deadline) || (!over() && Passed(deadline))) return false;
        }
    } catch (const std::bad_alloc&) {
        DropHitsGone();
        m_phase = m_bSearching ? Phase::kDone : Phase::kIdle;
    }
    return true;
}

// Goes on with the phase under way; false where the time ran out first.
bool CMemoSearch::StepPhase(DWORD deadline)
{
    switch (m_phase) {
    case Phase::kShown: return StepShown(deadline);
    case Phase::kList: return StepList();
    case Phase::kRead: return StepRead(deadline);
    case Phase::kLines: return StepLines(deadline);
    default: return true;
    }
}

// The whole folder in one go, which takes Wine about 20 ms at 5,000 memos: a
// listing left open between steps would hold the memo folder open, so that
// it could not be renamed or moved meanwhile, for as long as no step came.
bool CMemoSearch::StepList()
{
    m_listed.clear();
    ++m_nListing;
    char folder[MAX_PATH];
    if (FormatMemoFolder(folder, sizeof(folder))) {
        m_folder = folder;
        WIN32_FIND_DATAA entry;
        ScopedFind find((m_folder + kMemoFilePattern).c_str(), entry);
        for (bool more = find.ok(); more; more = find.Next(entry)) ListEntry(entry);
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
    memo.remote = (entry.dwFileAttributes & kRemoteData) != 0;
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
    m_nListedBytes = 0;
    m_nKeptBytes = 0;
    for (size_t i = 0; i < m_memos.size(); ++i) {
        m_byFile.emplace(m_memos[i].file, i);
        m_nListedBytes += std::min<uint64_t>(m_memos[i].listedSize, kMostBytesOfMemo);
        m_nKeptBytes += m_memos[i].bytes.size();
    }
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

// The bytes of the memo's file, at most as many as the listing found (and
// kMostBytesOfMemo), cut after a whole character. The listing's size and
// time, taken before the read, stand for what was read: a change after the
// listing shows in the next one. Asking the open file for them would cost
// Wine more than opening it.
bool CMemoSearch::ReadBytes(const Memo& memo, std::string& bytes) const
{
    bytes.clear();
    // A file whose bytes are elsewhere (a sync tool's online-only file, an
    // archived one) would be fetched by the read, memo after memo, while the
    // window waits: it is searched once it is on this computer.
    if (memo.remote) return false;
    const std::string path = m_folder + memo.file;
    HANDLE hFile = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    // One byte more than is taken tells a file that grew since the listing
    // (or goes on past the cap): it is then cut after a whole character.
    const size_t taken = static_cast<size_t>(std::min<uint64_t>(memo.listedSize, kMostBytesOfMemo));
    bytes.resize(taken + 1);
    DWORD read = 0;
    const bool ok = ReadFile(hFile, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(hFile);
    if (!ok) return false;
    bytes.resize(std::min<size_t>(read, taken));
    if (read > taken) bytes.resize(CutAtWholeCharacter(bytes.data(), bytes.size()));
    return true;
}

// Reads and folds the memo's file into it; its bytes are left in m_bytes.
// False (the memo as it was) when the file cannot be read.
bool CMemoSearch::ReadMemo(Memo& memo)
{
    const uint64_t readAt = Now();
    if (!ReadBytes(memo, m_bytes)) return false;
    const std::u16string text = DecodeForSearch(m_bytes.data(), m_bytes.size());
    memo.folded.clear();
    FoldForSearch(text.data(), text.size(), m_query.kanaAsOne, memo.folded);
    memo.folded.shrink_to_fit();
    memo.readSize = memo.listedSize;
    memo.readTime = memo.listedTime;
    memo.readAt = readAt;
    ForgetBytes(memo);
    return true;
}

// The bytes of memos listed as hits are kept for their lines, within a
// quarter of the memo files' size, so that the next keystroke, which lists
// mostly the same memos, need not read their files again.
void CMemoSearch::KeepBytes(Memo& memo, const std::string& bytes)
{
    if (m_nKeptBytes + bytes.size() > m_nListedBytes / 4) return;
    memo.bytes = bytes;
    memo.hasBytes = true;
    m_nKeptBytes += bytes.size();
}

void CMemoSearch::ForgetBytes(Memo& memo)
{
    if (!memo.hasBytes) return;
    m_nKeptBytes -= memo.bytes.size();
    std::string().swap(memo.bytes);
    memo.hasBytes = false;
}

// Reads what is not read yet or changed, and matches each memo, in the
// listing's order.
bool CMemoSearch::StepRead(DWORD deadline)
{
    const bool matching = m_bSearching && !m_query.words.empty();
    while (m_nNext < m_memos.size()) {
        ReadAndMatch(m_nNext++, matching);
        if (Passed(deadline)) return false;
    }
    m_nNext = 0;
    m_phase = !m_bSearching ? Phase::kIdle : matching ? Phase::kLines : Phase::kDone;
    return true;
}

void CMemoSearch::ReadAndMatch(size_t index, bool matching)
{
    Memo& memo = m_memos[index];
    memo.isHit = false;
    const bool read = NeedsReading(memo) && ReadMemo(memo);
    if (!matching || memo.key == m_shownKey || !HasEveryWord(memo.folded, m_query)) return;
    if (m_hitMemos.size() + (m_bShownHit ? 1 : 0) >= kMostHits) {
        ++m_nMoreHits;
        return;
    }
    memo.isHit = true;
    if (read) KeepBytes(memo, m_bytes);
    m_hitMemos.push_back(index);
    SearchHit hit;
    hit.name = MemoNameOfFile(memo.file);
    m_hits.push_back(std::move(hit));
}

// The line of each hit listed, from its file's bytes: what is kept of every
// memo is folded only. A memo whose file is gone or changed since so that
// it holds the words no more is no hit.
bool CMemoSearch::StepLines(DWORD deadline)
{
    const size_t first = m_bShownHit ? 1 : 0;
    while (m_nNext < m_hitMemos.size()) {
        const size_t at = m_nNext++;
        if (!TakeLine(m_memos[m_hitMemos[at]], m_hits[first + at])) m_hits[first + at].name.clear();
        if (Passed(deadline)) return false;
    }
    DropHitsGone();
    for (Memo& memo : m_memos) {
        if (!memo.isHit) ForgetBytes(memo);
    }
    m_phase = Phase::kDone;
    return true;
}

// Hits whose memo turned out gone or changed are left without a name.
void CMemoSearch::DropHitsGone()
{
    m_hits.erase(std::remove_if(m_hits.begin(), m_hits.end(), [](const SearchHit& hit) { return hit.name.empty(); }),
                 m_hits.end());
}

bool CMemoSearch::TakeLine(Memo& memo, SearchHit& hit)
{
    if (!memo.hasBytes || NeedsReading(memo)) {
        if (!ReadMemo(memo)) return false;
        KeepBytes(memo, m_bytes);
    }
    const std::string& bytes = memo.hasBytes ? memo.bytes : m_bytes;
    const std::u16string text = DecodeForSearch(bytes.data(), bytes.size());
    const std::vector<TextSpan> spans = FindWords(text, m_query);
    if (spans.empty() || !HasEveryWord(memo.folded, m_query)) return false;
    hit.line = LineAround(text, spans.front(), kLineLength);
    return true;
}

size_t CMemoSearch::KeptBytes() const
{
    size_t kept = sizeof(*this) + m_memos.capacity() * sizeof(Memo) + m_shown.KeptBytes() + m_bytes.capacity();
    for (const Memo& memo : m_memos) {
        kept += memo.folded.capacity() + memo.bytes.capacity() + memo.file.capacity() + memo.key.capacity();
        // A node of the index by file name: its copy of the name, the index, two pointers.
        kept += memo.file.capacity() + sizeof(std::string) + 3 * sizeof(void*);
    }
    return kept + m_byFile.bucket_count() * sizeof(void*);
}
