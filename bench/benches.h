#pragma once
// The benchmarks; each returns its lines of the table.
#include <vector>

#include "bench/measure.h"

class MemoApp;

// The per-key cost of the hook path against one cross-process send; the
// memo window must be hidden.
std::vector<Row> BenchKeys(const MemoApp& app);
// The do-nothing window of the per-key floor, run in a second copy of the
// benchmark program started with kSinkArgument.
extern const char kSinkArgument[];
int RunSink();

// From the show request to the window shown with the editor focused.
std::vector<Row> BenchPopUp(const MemoApp& app);
// Start to ready and private memory, against Wine's notepad; binary sizes.
std::vector<Row> BenchStart();
// The memo list's refresh with 100 to 10,000 memos.
std::vector<Row> BenchList();
// Saving, loading and switching memos of 1 KB to 1 MB.
std::vector<Row> BenchMemos();
