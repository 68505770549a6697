#pragma once
// The start of the program and of floor windows, step by step: when each
// window is made and focused, counted from CreateProcess, up to the answer.
#include <string>
#include <vector>

#include "bench/launch.h"
#include "bench/measure.h"

struct NamedProgram {
    std::string name;
    Program program;
};

// `floors` in turns with the program; each step of the program is noted
// with when the first floor reached it.
std::vector<Row> SplitStart(const Program& pad, const std::vector<NamedProgram>& floors, const std::string& what);
