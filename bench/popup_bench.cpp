// The pop-up's latency: from the show request that a second start sends
// (WM_SHOWMEMO, lParam 1) to the window in front with the editor focused,
// which the program reaches through the click it synthesises.
#include <windows.h>

#include "app/messages.h"
#include "bench/benches.h"
#include "tests/e2e/harness.h"

namespace {
const int kWarmUpRounds = 3;
const int kRounds = 30;
}  // namespace

std::vector<Row> BenchPopUp(const MemoApp& app)
{
    Row total{"pop-up: show request to editor focused", "ms", {}, "goal <= 16 ms (one frame)"};
    Row handler{"  of which: handling the request", "ms", {}, "until SendMessage returns"};
    const HWND memo = app.Window();
    auto isUp = [&] { return GetForegroundWindow() == memo && app.FocusWindow() == app.Editor(); };
    for (int round = -kWarmUpRounds; round < kRounds; ++round) {
        ActivateOtherWindow();
        if (!WaitUntil([&] { return !IsWindowVisible(memo) && !isUp(); })) break;
        const double start = NowMicros();
        SendMessageA(memo, WM_SHOWMEMO, 0, 1);
        const double handled = NowMicros();
        if (!PollUntil(isUp)) break;
        const double up = NowMicros();
        if (round < 0) continue;
        total.samples.push_back((up - start) / 1000);
        handler.samples.push_back((handled - start) / 1000);
    }
    return {total, handler};
}
