#pragma once
// The per-user Startup folder as the system's layout names it for a logon
// name. No windows.h here: a plain rule.
#include <cstddef>

// Writes the folder, with its trailing backslash, for a system of the given
// major version. False (out empty) when it would not fit into size bytes.
bool FormatStartupDir(int majorVersion, const char* userName, char* out, size_t size);
