#pragma once
// Writing into fixed-size character buffers without ever passing their end.
// No windows.h here: these are plain rules, tested on their own.
#include <cstddef>

// Formats into out (size bytes). Returns false, leaving out as an empty
// string, when the result would not fit with its terminator.
bool FormatBounded(char* out, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Copies src into out (size bytes). Returns false, leaving out empty, when
// src does not fit with its terminator.
bool CopyBounded(char* out, size_t size, const char* src);
