#pragma once
// The per-user Startup folder as a path with its trailing backslash. No
// windows.h here: plain rules.
#include <cstddef>

// Writes the folder, with its trailing backslash, for a system of the given
// major version. False (out empty) when it would not fit into size bytes.
// Only for when the shell cannot name the folder itself.
bool FormatStartupDir(int majorVersion, const char* userName, char* out, size_t size);

// Copies folder into out and ends it with a backslash unless its last
// character already is one; isLeadByte tells double-byte characters apart,
// whose second byte may equal a backslash. False (out empty) when it would
// not fit.
bool FormatFolderPath(char* out, size_t size, const char* folder, bool (*isLeadByte)(unsigned char));
