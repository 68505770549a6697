// What every key pressed on the desktop costs while MossvanePad runs: the
// hook library looks the memo window up and sends it WM_SHOWMEMO, and the
// hidden window answers at once. Measured side by side with the floor, one
// cross-process send to a window of another process that does nothing.
#include <windows.h>

#include <functional>
#include <string>

#include "app/messages.h"
#include "bench/benches.h"
#include "tests/e2e/harness.h"

const char kSinkArgument[] = "--sink";

namespace {
const WPARAM kKeyA = 'A';  // a key other than Z: the memo window's quick path
const UINT kSendTimeoutMs = 200;
const char kSinkClass[] = "MossvaneBenchSink";
const int kWarmUpRounds = 300;
const int kRounds = 5000;

LRESULT CALLBACK SinkProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SHOWMEMO) return 0;
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

// The do-nothing window, in a second copy of this program.
class Sink {
public:
    Sink()
    {
        char exe[MAX_PATH];
        GetModuleFileNameA(nullptr, exe, sizeof(exe));
        std::string commandLine = "\"" + std::string(exe) + "\" " + kSinkArgument;
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

std::vector<Row> BenchKeys(const MemoApp& app)
{
    Sink sink;
    const HWND memo = app.Window();
    const HWND sinkWnd = sink.Window();
    if (!sinkWnd || IsWindowVisible(memo)) return {{"per key: (no do-nothing window or memo shown)", "us", {}, ""}};
    std::vector<Path> paths = {
        {{"per key: floor, send to a do-nothing window", "us", {}, ""}, [sinkWnd] { SendKey(sinkWnd); }},
        {{"per key: hook path, FindWindowA + send", "us", {}, ""},
         [] { SendKey(FindWindowA(MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE)); }},
        {{"  of which: send to the hidden memo window", "us", {}, ""}, [memo] { SendKey(memo); }},
        {{"  of which: FindWindowA", "us", {}, ""}, [] { FindWindowA(MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE); }},
    };
    Measure(paths);
    std::vector<Row> rows;
    const double floor = Median(paths.front().row.samples);
    for (Path& path : paths) {
        path.row.note = Format("%.2fx floor", Median(path.row.samples) / floor);
        rows.push_back(path.row);
    }
    rows[1].note += " (goal <= 1.20x)";
    return rows;
}
