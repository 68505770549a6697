// MossvanePad's benchmarks: run through bench/run, which prints one table of
// medians, minima and maxima over repeated runs. Figures, not a test.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <exception>

#include "bench/benches.h"
#include "tests/e2e/harness.h"

namespace {
void Append(std::vector<Row>& rows, const std::vector<Row>& more)
{
    rows.insert(rows.end(), more.begin(), more.end());
}

// The hook path and the pop-up share one running program with its window hidden.
std::vector<Row> BenchRunningProgram()
{
    MemoApp app;
    if (!app.Start()) return {{"per key and pop-up: (the program did not start)", "", {}, ""}};
    ActivateOtherWindow();
    app.WaitHidden();
    std::vector<Row> rows = BenchKeys(app);
    Append(rows, BenchPopUp(app));
    app.EndFromTray();
    return rows;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], kSinkArgument) == 0) return RunSink();
    try {
        std::vector<Row> rows;
        fprintf(stderr, "per key and pop-up...\n");
        Append(rows, BenchRunningProgram());
        fprintf(stderr, "start-up and memory...\n");
        Append(rows, BenchStart());
        fprintf(stderr, "memo list...\n");
        Append(rows, BenchList());
        fprintf(stderr, "save and load...\n");
        Append(rows, BenchMemos());
        PrintTable(rows);
    } catch (const std::exception& e) {
        fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
