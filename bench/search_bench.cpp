// The search across memos at 1,000 and 5,000 memos of 2 KB of mixed
// Japanese and ASCII Shift-JIS text: the first search, each keystroke of a
// word typed character by character, the memory the search keeps, against
// the floor of listing the folder and reading its files once. The search
// runs in this process, driven as the search window drives it.
#include <windows.h>

#include <memory>
#include <string>

#include "bench/benches.h"
#include "bench/memo_files.h"
#include "memo/memosearch.h"
#include "tests/e2e/harness.h"

namespace {
const int kRounds = 5;
const DWORD kStepMs = 30;  // as the search window steps it
const size_t kMemoBytes = 2048;

// Words a memo is made of, the common with the rare: a typed word narrows
// the hits as it grows.
const char* const kWords[] = {
    "会議", "予定", "資料", "確認", "東京", "メモ", "買い物", "電話", "連絡", "報告", "ｶﾞｲﾄﾞ", "ＵＳＢ",
    "meeting", "project", "report", "backup", "server", "invoice", "travel", "phone", "the", "and", "to",
};

// A memo of exactly kMemoBytes bytes whose words depend on its number: each
// line holds a reference "ref-" and five digits, rare across memos.
std::string SearchMemoText(int number)
{
    unsigned seed = static_cast<unsigned>(number) * 2654435761u + 1;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    std::string text = Format("memo %05d\r\n", number);
    for (;;) {
        std::string line = Format("ref-%05u ", next() % 100000);
        while (line.size() < 50) {
            line += kWords[next() % (sizeof(kWords) / sizeof(kWords[0]))];
            line += (next() % 3) ? " " : "、";
        }
        line += "\r\n";
        if (text.size() + line.size() > kMemoBytes) break;
        text += line;
    }
    text.append(kMemoBytes - text.size(), 'x');
    return text;
}

// One search to its end, as the window runs it: a start, then steps.
double SearchMs(CMemoSearch& search, const std::u16string& typed)
{
    const double start = NowMicros();
    search.Start(ParseSearchQuery(typed, true), "null", u"");
    while (!search.Step(kStepMs)) {
    }
    return (NowMicros() - start) / 1000;
}

// The folder listed and every memo file read once, nothing else.
double FloorMs(const std::string& folder)
{
    const double start = NowMicros();
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*.txt").c_str(), &entry);
    std::string bytes(kMemoBytes, '\0');
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &entry)) {
        HANDLE file = CreateFileA((folder + entry.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        DWORD read = 0;
        ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(file);
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    return (NowMicros() - start) / 1000;
}

double ListingMs(const std::string& folder)
{
    const double start = NowMicros();
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*.txt").c_str(), &entry);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &entry)) {
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    return (NowMicros() - start) / 1000;
}

// Each keystroke of the words, typed one character after the other.
Row KeystrokeRow(int count, CMemoSearch& search, const std::u16string& words, const char* note)
{
    Row row{Format("search: keystroke, %d memos", count), "ms", {}, note};
    for (int round = 0; round < kRounds; ++round) {
        for (size_t length = 1; length <= words.size(); ++length) row.samples.push_back(SearchMs(search, words.substr(0, length)));
    }
    return row;
}

std::vector<Row> BenchSearchAt(int count)
{
    MemoApp app;
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    double total = 0;
    for (int i = 0; i < count; ++i) {
        const std::string name = Format("memo %05d", i);
        app.WriteFile("memo\\" + name + ".txt", SearchMemoText(i));
        total += kMemoBytes;
    }
    // Files written within 2 seconds of their read are read again by the next search.
    Sleep(2500);
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof(previous), previous);
    SetCurrentDirectoryA(app.Dir().c_str());
    const std::string folder = app.PathOf("memo\\");

    std::vector<Row> rows;
    Row floor{Format("search: floor, %d memos listed and read once", count), "ms", {}, ""};
    Row listing{Format("search: folder listing alone, %d memos", count), "ms", {}, "one listing a keystroke"};
    for (int round = 0; round < kRounds; ++round) {
        floor.samples.push_back(FloorMs(folder));
        listing.samples.push_back(ListingMs(folder));
    }
    Row first{Format("search: first search, %d memos", count), "ms", {}, ""};
    Row memory{Format("search: memory kept, %d memos", count), "MB", {}, ""};
    for (int round = 0; round < kRounds; ++round) {
        auto search = std::make_unique<CMemoSearch>();
        first.samples.push_back(SearchMs(*search, u"m"));
        memory.samples.push_back(search->KeptBytes() / (1024.0 * 1024));
    }
    first.note = Format("%.1fx the floor (goal at 5,000: 1 s)", Median(first.samples) / Median(floor.samples));
    memory.note = Format("folded texts, hits' files and bookkeeping: %.2fx the files' %.1f MB (goal: within 2x)", Median(memory.samples) * 1024 * 1024 / total,
                         total / (1024 * 1024));
    rows.push_back(floor);
    rows.push_back(listing);
    rows.push_back(first);
    rows.push_back(memory);

    CMemoSearch search;
    Row ahead{Format("search: reading ahead, %d memos", count), "ms", {}, "steps before any search, as while idle"};
    const double aheadStart = NowMicros();
    while (!search.Step(kStepMs)) {
    }
    ahead.samples.push_back((NowMicros() - aheadStart) / 1000);
    Row afterAhead{Format("search: first search after reading ahead, %d memos", count), "ms", {}, ""};
    afterAhead.samples.push_back(SearchMs(search, u"m"));
    rows.push_back(ahead);
    rows.push_back(afterAhead);
    rows.push_back(KeystrokeRow(count, search, u"meeting", "\"meeting\": every memo a hit, 100 listed (goal: 100 ms)"));
    rows.push_back(KeystrokeRow(count, search, u"会議 ﾒﾓ", "two words: a kanji pair, then half-width katakana"));
    rows.push_back(KeystrokeRow(count, search, u"ref-04711", "\"ref-04711\": narrows to a few memos"));
    SetCurrentDirectoryA(previous);
    return rows;
}
}  // namespace

std::vector<Row> BenchSearch()
{
    std::vector<Row> rows = BenchSearchAt(1000);
    std::vector<Row> more = BenchSearchAt(5000);
    rows.insert(rows.end(), more.begin(), more.end());
    return rows;
}
