// Start-up with a memo of very long lines shown last: until the memo window
// answers, and until its editor holds the whole memo, against Wine's
// notepad opening the same file, in turns. Wine's edit control may take
// minutes to wrap such lines, with the program's thread blocked, so every
// wait has a cap, and a process still busy then is killed.
#include <windows.h>

#include <initializer_list>
#include <string>

#include "app/messages.h"
#include "bench/benches.h"
#include "bench/launch.h"
#include "bench/memo_files.h"
#include "tests/e2e/harness.h"

namespace {
const int kRounds = 3;
const DWORD kCapMs = 60000;    // from the start, for both waits
const DWORD kAnswerMs = 200;   // a blocked thread does not count as answering
const DWORD kAfterKillMs = 3000;
const size_t kLineBytes = 20000;
const int kLines = 10;
const char kName[] = "long lines";

struct Timings {
    Row ready, whole;
    int missedReady = 0, missedWhole = 0;
};

HWND MemoEditor(HWND window)
{
    return GetDlgItem(window, IDC_EDIT);
}

HWND NotepadEditor(HWND window)
{
    return FindWindowExA(window, nullptr, "Edit", nullptr);
}

// Asked with a short timeout: the editor's thread may be busy for minutes.
bool Holds(HWND editor, size_t size)
{
    DWORD_PTR length = 0;
    return editor && SendMessageTimeoutA(editor, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &length) &&
           length == size;
}

// A program that answers is closed, as a user would; one that is still
// busy is killed, and the seconds that Wine then makes the next start wait
// are waited out here.
void End(Launched& launched, bool answering)
{
    if (answering && launched.Close()) return;
    launched.Kill();
    Sleep(kAfterKillMs);
}

// The editor is asked once the window is ready.
void StartOnce(const Program& program, HWND (*editorOf)(HWND), size_t size, Timings& timings)
{
    Launched launched(program);
    const double readyMs = launched.WaitReady(kAnswerMs, kCapMs);
    if (readyMs < 0 || readyMs > kCapMs) {
        ++timings.missedReady;
        ++timings.missedWhole;
        End(launched, false);
        return;
    }
    timings.ready.samples.push_back(readyMs);
    const HWND editor = editorOf(launched.Window());
    const DWORD left = kCapMs - static_cast<DWORD>(readyMs);
    const bool whole = PollUntil([&] { return Holds(editor, size); }, left) && launched.ElapsedMs() <= kCapMs;
    if (whole)
        timings.whole.samples.push_back(launched.ElapsedMs());
    else
        ++timings.missedWhole;
    End(launched, whole);
}

std::string RatioNote(const Row& ours, const Row& notepads)
{
    if (ours.samples.empty() || notepads.samples.empty()) return "";
    return Format("%.2fx notepad", Median(ours.samples) / Median(notepads.samples));
}

std::string MissedNote(int missed)
{
    if (missed == 0) return "";
    return Format("%d of %d not reached within %lu s", missed, kRounds, static_cast<unsigned long>(kCapMs / 1000));
}

std::string Joined(std::initializer_list<std::string> parts)
{
    std::string joined;
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        joined += (joined.empty() ? "" : "; ") + part;
    }
    return joined;
}
}  // namespace

std::vector<Row> BenchLongLines()
{
    MemoApp app;
    const std::string text = LongLinesText(kName, kLineBytes, kLines);
    WriteLastMemo(app, kName, text);
    const Program pad{app.PathOf("MossvanePad.exe"), "", app.Dir(), MAIN_WINDOW_CLASS};
    const Program notepad{NotepadPath(), Quoted(MemoPath(app, kName)), "", "Notepad"};
    const std::string what = Format("%lu KB memo of %lu-byte lines", static_cast<unsigned long>(text.size() / 1024),
                                    static_cast<unsigned long>(kLineBytes));
    Timings ours{{"long lines: start to ready, MossvanePad", "ms", {}, ""},
                {"long lines: start to whole memo, MossvanePad", "ms", {}, ""}};
    Timings theirs{{"long lines: start to ready, Wine notepad", "ms", {}, ""},
                  {"long lines: start to whole memo, Wine notepad", "ms", {}, ""}};
    for (int round = 0; round < kRounds; ++round) {
        StartOnce(pad, MemoEditor, text.size(), ours);
        StartOnce(notepad, NotepadEditor, text.size(), theirs);
    }
    ours.ready.note = Joined({RatioNote(ours.ready, theirs.ready), MissedNote(ours.missedReady), what});
    ours.whole.note = Joined({RatioNote(ours.whole, theirs.whole), MissedNote(ours.missedWhole)});
    theirs.ready.note = Joined({MissedNote(theirs.missedReady), "the same file as its argument"});
    theirs.whole.note = MissedNote(theirs.missedWhole);
    return {ours.ready, ours.whole, theirs.ready, theirs.whole};
}
