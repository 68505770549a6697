// What every key pressed on the desktop costs while MossvanePad runs: the
// hook library looks the memo window up and sends it WM_SHOWMEMO, and the
// hidden window answers at once. Measured side by side with the floor, one
// cross-process send to a window of another process that does nothing.
#include <windows.h>

#include <functional>

#include "app/messages.h"
#include "bench/benches.h"

namespace {
const WPARAM kKeyA = 'A';  // a key other than Z: the memo window's quick path
const UINT kSendTimeoutMs = 200;
const int kWarmUpRounds = 300;
const int kRounds = 5000;

// The hook library's send, as it makes it for every key.
void SendKey(HWND hWnd)
{
    DWORD_PTR ignored;
    SendMessageTimeoutA(hWnd, WM_SHOWMEMO, kKeyA, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
}

struct Path {
    Row row;
    std::function<void()> run;
};

// Each round times one call of every path, in an order that turns with the
// round, so that drift in the machine's load falls on all paths alike.
void Measure(std::vector<Path>& paths)
{
    const size_t n = paths.size();
    for (int round = -kWarmUpRounds; round < kRounds; ++round) {
        for (size_t i = 0; i < n; ++i) {
            Path& path = paths[(i + static_cast<size_t>(round + kWarmUpRounds)) % n];
            const double start = NowMicros();
            path.run();
            const double elapsed = NowMicros() - start;
            if (round >= 0) path.row.samples.push_back(elapsed);
        }
    }
}
}  // namespace

std::vector<Row> BenchKeys(HWND memo, HWND floor)
{
    std::vector<Path> paths = {
        {{"per key: floor, send to a do-nothing window", "us", {}, ""}, [floor] { SendKey(floor); }},
        {{"per key: hook path, FindWindowA + send", "us", {}, ""},
         [] { SendKey(FindWindowA(MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE)); }},
        {{"  of which: send to the hidden memo window", "us", {}, ""}, [memo] { SendKey(memo); }},
        {{"  of which: FindWindowA", "us", {}, ""}, [] { FindWindowA(MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE); }},
        // The unit of Wine's costs: one request to the wineserver and its answer.
        {{"  one server round trip: IsWindow", "us", {}, ""}, [memo] { IsWindow(memo); }},
    };
    Measure(paths);
    std::vector<Row> rows;
    const double floorMedian = Median(paths.front().row.samples);
    for (Path& path : paths) {
        path.row.note = Format("%.2fx floor", Median(path.row.samples) / floorMedian);
        rows.push_back(path.row);
    }
    rows[1].note += " (goal <= 1.20x)";
    return rows;
}
