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

// Runs `bench` on the program started with its window hidden, and the floor window.
template <std::vector<Row> (*bench)(HWND, HWND)>
std::vector<Row> WithRunningProgram()
{
    MemoApp app;
    FloorWindow floor;
    if (!app.Start() || !floor.Window() || !HideAndSettle(app.Window()))
        return {{"(no memo window or floor window)", "", {}, ""}};
    std::vector<Row> rows = bench(app.Window(), floor.Window());
    app.EndFromTray();
    return rows;
}

struct Group {
    const char* name;
    std::vector<Row> (*run)();
};
const Group kGroups[] = {
    {"keys", WithRunningProgram<BenchKeys>},
    {"popup", WithRunningProgram<BenchPopUp>},
    {"split", WithRunningProgram<SplitPopUp>},
    {"start", BenchStart},
    {"startsplit", BenchStartSplit},
    {"longlines", BenchLongLines},
    {"list", BenchList},
    {"memos", BenchMemos},
    {"search", BenchSearch},
};

bool IsChosen(const char* name, int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], name) == 0) return true;
    }
    return argc < 2 && strcmp(name, "split") != 0 && strcmp(name, "startsplit") != 0;
}
}  // namespace

// Arguments name the groups to run (keys, popup, split, start, startsplit, longlines, list, memos,
// search); none runs all but split and startsplit, which popup and start include.
int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], kFloorArgument) == 0)
        return RunFloorWindow(FloorKindNamed(argc > 2 ? argv[2] : nullptr),
                              argc > 3 && strcmp(argv[3], kShownArgument) == 0);
    try {
        std::vector<Row> rows;
        for (const Group& group : kGroups) {
            if (!IsChosen(group.name, argc, argv)) continue;
            fprintf(stderr, "%s...\n", group.name);
            Append(rows, group.run());
        }
        PrintTable(rows);
    } catch (const std::exception& e) {
        fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
