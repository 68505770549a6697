#pragma once
// The benchmarks; each returns its lines of the table.
#include <windows.h>

#include <string>
#include <vector>

#include "bench/measure.h"

// The floor window (floor_window.cpp) runs in a second copy of the benchmark
// program, started with FloorArguments: kFloorArgument and the kind's name,
// "plain" for one not layered, "controls" for one with the memo window's
// controls, "libraries" for one with them that first loads the system
// libraries the program loads as it starts; then kShownArgument for one that
// shows itself as it starts.
extern const char kFloorArgument[];
extern const char kShownArgument[];
enum class FloorKind { Layered, Plain, Controls, ControlsAndLibraries };
std::string FloorArguments(FloorKind kind);
std::string BenchmarkPath();  // this program's own, to start it as a floor
FloorKind FloorKindNamed(const char* argument);  // null or unknown: Layered
int RunFloorWindow(FloorKind kind, bool shown);
extern const char kFloorClass[];
class FloorWindow {
public:
    explicit FloorWindow(FloorKind kind = FloorKind::Layered);  // starts it and waits for its (hidden) window
    ~FloorWindow();  // ends it
    HWND Window() const { return m_hWnd; }

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_hWnd = nullptr;
};

// The per-key cost of the hook path to the hidden memo window, against one
// send to the floor window.
std::vector<Row> BenchKeys(HWND memo, HWND floor);
// Takes the activation away from a pop-up window (the memo window or the
// floor window) and waits until it has hidden and its thread is idle again.
bool HideAndSettle(HWND window);
// From the show request to the window shown with its edit box focused.
std::vector<Row> BenchPopUp(HWND memo, HWND floor);
// The same pop-up done step by step from the benchmark, each step timed on
// its own, on the memo window and the floor window.
std::vector<Row> SplitPopUp(HWND memo, HWND floor);
// The memo window's name for one of its controls, by its id; the floor's
// controls have the same ids.
std::string ControlName(HWND control);
// Whether the editor (IDC_EDIT) of a pop-up window has the focus in the
// foreground window.
bool IsUp(HWND window);
// Start to ready and private memory, against Wine's notepad; binary sizes;
// the start split.
std::vector<Row> BenchStart();
// The start of the program and of the floor windows with the memo window's
// controls, step by step, with an empty folder and with 10,000 memos.
std::vector<Row> BenchStartSplit();
// Start to ready and to the whole memo shown, the last memo one of very
// long lines, against Wine's notepad.
std::vector<Row> BenchLongLines();
// The memo list's refresh with 100 to 10,000 memos.
std::vector<Row> BenchList();
// Saving, loading and switching memos of 1 KB to 1 MB.
std::vector<Row> BenchMemos();
// The search across memos at 1,000 and 5,000 memos: first search, keystrokes, memory.
std::vector<Row> BenchSearch();
