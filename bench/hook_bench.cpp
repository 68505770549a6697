// What every key pressed on the desktop costs while MossvanePad runs: the
// hook library looks the memo window up and sends it WM_SHOWMEMO, and the
// hidden window answers at once. Measured side by side with the floor, one
// cross-process send to a window of another process that does nothing.
//
// Run through bench/run. With --sink the program is that do-nothing window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

namespace {
const UINT kShowMemo = 0x8001;  // the same message number for both windows
const WPARAM kKeyA = 'A';       // a key other than Z: the memo window's quick path
const UINT kSendTimeoutMs = 200;
const char kSinkClass[] = "MossvaneBenchSink";
const int kWarmUpRounds = 300;
const int kRounds = 5000;

LRESULT CALLBACK SinkProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kShowMemo) return 0;
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

int RunSink()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SinkProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kSinkClass;
    if (!RegisterClassA(&wc)) return 1;
    if (!CreateWindowA(kSinkClass, kSinkClass, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

// The do-nothing window, in a second copy of this program.
class Sink {
public:
    Sink()
    {
        char exe[MAX_PATH];
        GetModuleFileNameA(nullptr, exe, sizeof(exe));
        std::string commandLine = "\"" + std::string(exe) + "\" --sink";
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        if (CreateProcessA(exe, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
            WaitUntil([this] { return (m_hWnd = FindWindowA(kSinkClass, kSinkClass)) != nullptr; });
    }
    ~Sink()
    {
        if (m_hWnd) PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
        if (!m_pi.hProcess) return;
        if (WaitForSingleObject(m_pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(m_pi.hProcess, 1);
        CloseHandle(m_pi.hThread);
        CloseHandle(m_pi.hProcess);
    }
    HWND Window() const { return m_hWnd; }

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_hWnd = nullptr;
};

// The hook library's send, as it makes it for every key.
void SendKey(HWND hWnd)
{
    DWORD_PTR ignored;
    SendMessageTimeoutA(hWnd, kShowMemo, kKeyA, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
}

struct Path {
    const char* name;
    std::function<void()> run;
    std::vector<double> micros;
};

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Each round times one call of every path, in an order that turns with the
// round, so that drift in the machine's load falls on all paths alike.
void Measure(std::vector<Path>& paths)
{
    const size_t n = paths.size();
    for (int round = -kWarmUpRounds; round < kRounds; ++round) {
        for (size_t i = 0; i < n; ++i) {
            Path& path = paths[(i + static_cast<size_t>(round + kWarmUpRounds)) % n];
            const double start = Now();
            path.run();
            const double elapsed = Now() - start;
            if (round >= 0) path.micros.push_back(elapsed);
        }
    }
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void PrintTable(const std::vector<Path>& paths)
{
    const double floor = Median(paths.front().micros);
    printf("%-44s %10s %10s %10s %8s\n", "per key (microseconds)", "median", "min", "max", "ratio");
    for (const Path& path : paths) {
        const auto range = std::minmax_element(path.micros.begin(), path.micros.end());
        const double median = Median(path.micros);
        printf("%-44s %10.1f %10.1f %10.1f %7.2fx\n", path.name, median, *range.first, *range.second,
               median / floor);
    }
    printf("\n%d rounds after %d warm-up rounds; ratio = median / median of the floor; goal: hook path <= 1.20x\n",
           kRounds, kWarmUpRounds);
}

int RunBenchmark()
{
    MemoApp app;
    if (!app.Start()) {
        fprintf(stderr, "MossvanePad did not start\n");
        return 1;
    }
    ActivateOtherWindow();
    if (!app.WaitHidden()) {
        fprintf(stderr, "the memo window did not hide\n");
        return 1;
    }
    Sink sink;
    if (!sink.Window()) {
        fprintf(stderr, "the do-nothing window did not come up\n");
        return 1;
    }
    const HWND memo = app.Window();
    const HWND sinkWnd = sink.Window();
    std::vector<Path> paths = {
        {"floor: send to a do-nothing window", [sinkWnd] { SendKey(sinkWnd); }, {}},
        {"hook path: FindWindowA + send to the memo", [] { SendKey(FindWindowA("MossvanePad", "MossvanePad")); }, {}},
        {"  of which: send to the hidden memo window", [memo] { SendKey(memo); }, {}},
        {"  of which: FindWindowA", [] { FindWindowA("MossvanePad", "MossvanePad"); }, {}},
    };
    Measure(paths);
    PrintTable(paths);
    app.EndFromTray();
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], "--sink") == 0) return RunSink();
    return RunBenchmark();
}
