// Cold start to ready, MossvanePad against Wine's own notepad.exe started
// and waited for the same way, in turns: with an empty folder, with a 1 MB
// memo shown last (notepad opening the same file) and with 10,000 memos.
// With the empty folder and the 10,000 memos a third takes its turn: the
// floor window with the memo window's controls, which shows itself as it
// starts and does nothing else, what a window of these controls costs to
// start. With the 10,000 memos, the looks into the memo folder that the
// program makes before it answers, each timed on its own. The private
// memory of each once it is up; the sizes of the program's two binaries;
// each folder's start taken apart step by step as well (start_split.cpp).
#include <windows.h>
#include <psapi.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "app/messages.h"
#include "bench/benches.h"
#include "bench/launch.h"
#include "bench/memo_files.h"
#include "bench/start_split.h"
#include "tests/e2e/harness.h"

namespace {
struct Series {
    int warmUpRounds;
    int rounds;
    bool withMemory;
    bool withFloor;
};
const Series kEmptyFolder{1, 10, true, true};
// Started after the empty folder's rounds, which warmed Wine up.
const Series kLongestMemoSeries{0, 4, false, false};
const Series kManyMemosSeries{0, 10, false, true};
const DWORD kSettleMs = 1000;  // before the memory is read: background threads finish starting
const DWORD kAnswerMs = 5000;
const DWORD kReadyCapMs = 30000;
const char kLongestMemo[] = "memo 1 MB";
const int kFolderLookRounds = 20;

struct Samples {
    std::vector<double> readyMs, privateKB, workingSetKB;
};

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Wine reports no private usage for another process, and its own view of
// the address space misses what the Unix libraries (X11, fonts) allocate.
// So the Linux kernel is asked: the process's resident anonymous memory,
// found by its program file among the processes of this Wine prefix.
double PrivateKB(const std::string& exe)
{
    char prefix[MAX_PATH] = "";
    GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof(prefix));
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
    if (find == INVALID_HANDLE_VALUE) return -1;
    double kb = -1;
    do {
        const std::string dir = std::string("Z:\\proc\\") + entry.cFileName + "\\";
        if (!isdigit(static_cast<unsigned char>(entry.cFileName[0]))) continue;
        if (ReadWholeFile(dir + "cmdline").compare(0, exe.size() + 1, exe.c_str(), exe.size() + 1) != 0) continue;
        if (ReadWholeFile(dir + "environ").find(std::string("WINEPREFIX=") + prefix + '\0') == std::string::npos) continue;
        const std::string status = ReadWholeFile(dir + "status");
        const size_t at = status.find("RssAnon:");
        if (at != std::string::npos) kb = atof(status.c_str() + at + 8);
    } while (kb < 0 && FindNextFileA(find, &entry));
    FindClose(find);
    return kb;
}

void RecordMemory(const Program& program, HANDLE process, Samples& samples)
{
    Sleep(kSettleMs);
    const double privateKB = PrivateKB(program.exe);
    if (privateKB >= 0) samples.privateKB.push_back(privateKB);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(process, &counters, sizeof(counters)))
        samples.workingSetKB.push_back(counters.WorkingSetSize / 1024.0);
}

// One start until ready, then the program is closed (and killed if it does
// not end in time); `samples` null for a warm-up round.
void StartOnce(const Program& program, Samples* samples, bool withMemory)
{
    Launched launched(program);
    const double readyMs = launched.WaitReady(kAnswerMs, kReadyCapMs);
    if (readyMs >= 0 && samples) {
        samples->readyMs.push_back(readyMs);
        if (withMemory) RecordMemory(program, launched.Process(), *samples);
    }
    launched.Close();
}

struct Turns {
    Samples pad, notepad, floor;
};

Program ShownFloor(FloorKind kind)
{
    return {BenchmarkPath(), FloorArguments(kind) + " " + kShownArgument, "", kFloorClass};
}

Program PadIn(const MemoApp& app)
{
    return {app.PathOf("MossvanePad.exe"), "", app.Dir(), MAIN_WINDOW_CLASS};
}

// The start split in the folder of `app`; with an empty folder beside the
// floor that first loads the program's libraries too.
std::vector<Row> SplitIn(const MemoApp& app, bool manyMemos)
{
    const NamedProgram controls{"the floor", ShownFloor(FloorKind::Controls)};
    if (manyMemos) return SplitStart(PadIn(app), {controls}, ", 10,000 memos");
    const NamedProgram libraries{"the floor with the program's libraries", ShownFloor(FloorKind::ControlsAndLibraries)};
    return SplitStart(PadIn(app), {controls, libraries}, "");
}

// The program in the folder of `app`, as set up, and notepad with
// `notepadArgument`, in turns, and the floor where the series has it.
Turns StartInTurns(const MemoApp& app, const std::string& notepadArgument, const Series& series)
{
    const Program pad = PadIn(app);
    const Program notepad{NotepadPath(), notepadArgument, "", "Notepad"};
    const Program floor = ShownFloor(FloorKind::Controls);
    Turns turns;
    for (int round = -series.warmUpRounds; round < series.rounds; ++round) {
        StartOnce(pad, round >= 0 ? &turns.pad : nullptr, series.withMemory);
        StartOnce(notepad, round >= 0 ? &turns.notepad : nullptr, series.withMemory);
        if (series.withFloor) StartOnce(floor, round >= 0 ? &turns.floor : nullptr, false);
    }
    return turns;
}

// Empty when either side has no figure.
std::string Ratio(const std::vector<double>& ours, const std::vector<double>& notepads, const char* goal = "")
{
    if (ours.empty() || notepads.empty()) return "";
    return Format("%.2fx notepad%s", Median(ours) / Median(notepads), goal);
}

std::vector<Row> ReadyRows(const std::string& what, const Turns& turns, const char* notepadNote)
{
    std::vector<Row> rows = {
        {"start to ready" + what + ": MossvanePad", "ms", turns.pad.readyMs,
         Ratio(turns.pad.readyMs, turns.notepad.readyMs, " (goal <= 1.00x)")},
        {"start to ready" + what + ": Wine notepad", "ms", turns.notepad.readyMs, notepadNote},
    };
    if (turns.floor.readyMs.empty() || turns.pad.readyMs.empty()) return rows;
    rows.push_back({"start to ready" + what + ": a window with the memo window's controls", "ms", turns.floor.readyMs,
                    Ratio(turns.floor.readyMs, turns.notepad.readyMs) +
                        Format("; MossvanePad %.2fx this one", Median(turns.pad.readyMs) / Median(turns.floor.readyMs))});
    return rows;
}

// Notepad opens the same file; the check that every start showed the
// memo: the program names the memo it showed last when it ends, and
// forgets it when it could not show it.
std::vector<Row> StartWithLongestMemo()
{
    MemoApp app;
    WriteLastMemo(app, kLongestMemo, MemoText(kLongestMemo, 1024 * 1024));
    std::vector<Row> rows = ReadyRows(", 1 MB last memo",
                                      StartInTurns(app, Quoted(MemoPath(app, kLongestMemo)), kLongestMemoSeries),
                                      "the same file as its argument");
    if (app.Ini("ReadFile", "PrevFile") != kLongestMemo) rows[0] = {rows[0].name, "ms", {}, "the memo was not shown"};
    return rows;
}

double MsToRun(void (*look)(const std::string&), const std::string& folder)
{
    const double start = NowMicros();
    look(folder);
    return (NowMicros() - start) / 1000;
}

void LookForAnyMemo(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*.txt").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

void LookForLeftovers(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "~memo*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

void LookForAbsentName(const std::string& folder)
{
    GetFileAttributesA((folder + "~memorename.tmp").c_str());
}

// The looks into the memo folder that the program makes as it starts, each
// timed on its own, in turns: whether the folder has any memo, and whether
// it has any of the files an interrupted save leaves behind, both on a
// thread of their own while the window is made; and one for a name that is
// not there, as each of the three the window's thread made for those files
// until 2026-12-10.
std::vector<Row> FolderLooks(const MemoApp& app)
{
    const std::string folder = app.PathOf("memo") + "\\";
    std::vector<double> anyMemo, leftovers, absentName;
    for (int round = 0; round < kFolderLookRounds; ++round) {
        anyMemo.push_back(MsToRun(LookForAnyMemo, folder));
        leftovers.push_back(MsToRun(LookForLeftovers, folder));
        absentName.push_back(MsToRun(LookForAbsentName, folder));
    }
    return {{"10,000 memos: the look for any memo", "ms", anyMemo, "at start, beside the window's making"},
            {"10,000 memos: the look for leftovers", "ms", leftovers, "at start, beside the window's making"},
            {"10,000 memos: the look for a name not there", "ms", absentName,
             "three at each start until 2026-12-10, on the window's thread"}};
}

// The series, the looks and the split all in one folder, written once.
std::vector<Row> StartWithManyMemos()
{
    MemoApp app;
    WriteSmallMemos(app, 10000);
    std::vector<Row> rows = ReadyRows(", 10,000 memos", StartInTurns(app, "", kManyMemosSeries), "");
    for (const std::vector<Row>& more : {FolderLooks(app), SplitIn(app, true)})
        rows.insert(rows.end(), more.begin(), more.end());
    return rows;
}

Row FileSize(const char* name, const std::string& path, const char* note)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {name, "KB", {}, ""};
    return {name, "KB", {data.nFileSizeLow / 1024.0}, note};
}
}  // namespace

std::vector<Row> BenchStart()
{
    MemoApp app;
    const Turns turns = StartInTurns(app, "", kEmptyFolder);
    std::vector<Row> rows = ReadyRows("", turns, "");
    for (const std::vector<Row>& more : {SplitIn(app, false), StartWithLongestMemo(), StartWithManyMemos()})
        rows.insert(rows.end(), more.begin(), more.end());
    const std::vector<Row> rest = {
        {"private memory: MossvanePad", "KB", turns.pad.privateKB, Ratio(turns.pad.privateKB, turns.notepad.privateKB)},
        {"private memory: Wine notepad", "KB", turns.notepad.privateKB, ""},
        {"working set: MossvanePad", "KB", turns.pad.workingSetKB,
         Ratio(turns.pad.workingSetKB, turns.notepad.workingSetKB)},
        {"working set: Wine notepad", "KB", turns.notepad.workingSetKB, ""},
        FileSize("binary: MossvanePad.exe", app.PathOf("MossvanePad.exe"), "C++ runtimes linked in statically"),
        FileSize("binary: MossvaneHook.dll", app.PathOf("MossvaneHook.dll"), ""),
        FileSize("binary: Wine notepad.exe", NotepadPath(), "for comparison"),
    };
    rows.insert(rows.end(), rest.begin(), rest.end());
    return rows;
}

std::vector<Row> BenchStartSplit()
{
    MemoApp empty;
    MemoApp many;
    WriteSmallMemos(many, 10000);
    std::vector<Row> rows = SplitIn(empty, false);
    const std::vector<Row> more = SplitIn(many, true);
    rows.insert(rows.end(), more.begin(), more.end());
    return rows;
}
