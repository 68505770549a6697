#include "bench/measure.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

double NowMicros()
{
    static const double ticksPerMicro = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1e6;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMicro;
}

double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string Format(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    return text;
}

void PrintTable(const std::vector<Row>& rows)
{
    printf("%-46s %10s %10s %10s %-5s %s\n", "figure", "median", "min", "max", "unit", "note");
    for (const Row& row : rows) {
        if (row.samples.empty()) {
            printf("%-46s %10s %10s %10s %-5s not measured%s%s\n", row.name.c_str(), "-", "-", "-", row.unit,
                   row.note.empty() ? "" : ": ", row.note.c_str());
            continue;
        }
        const auto range = std::minmax_element(row.samples.begin(), row.samples.end());
        printf("%-46s %10.1f %10.1f %10.1f %-5s %s\n", row.name.c_str(), Median(row.samples), *range.first,
               *range.second, row.unit, row.note.c_str());
    }
}
