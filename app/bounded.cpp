#include "app/bounded.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

bool FormatBounded(char* out, size_t size, const char* format, ...)
{
    if (!out || size == 0) return false;
    va_list args;
    va_start(args, format);
    int needed = vsnprintf(out, size, format, args);
    va_end(args);
    if (needed < 0 || static_cast<size_t>(needed) >= size) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool CopyBounded(char* out, size_t size, const char* src)
{
    if (!out || size == 0) return false;
    size_t length = strlen(src);
    if (length >= size) {
        out[0] = '\0';
        return false;
    }
    memcpy(out, src, length + 1);
    return true;
}
