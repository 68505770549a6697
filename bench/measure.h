#pragma once
// Timing and the one table that bench/run prints.
#include <windows.h>

#include <string>
#include <vector>

double NowMicros();

// One line of the table: a figure measured over repeated runs.
struct Row {
    std::string name;
    const char* unit;
    std::vector<double> samples;
    std::string note;  // a ratio, a per-item cost, a goal; without samples, why
};

double Median(std::vector<double> values);
std::string Format(const char* format, ...);
void PrintTable(const std::vector<Row>& rows);

// Polls `done` every millisecond, handling this thread's messages meanwhile,
// until it is true or the time is up.
template <typename F>
bool PollUntil(F done, DWORD timeoutMs = 30000)
{
    const double end = NowMicros() + timeoutMs * 1000.0;
    for (;;) {
        if (done()) return true;
        if (NowMicros() > end) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(1);
    }
}
