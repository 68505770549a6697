#include "app/memofolder.h"

#include <windows.h>

#include "app/bounded.h"
#include "app/globals.h"
#include "app/scopedhandles.h"

bool HasMemoFolder(const char* dir)
{
    char pattern[kPathSize];
    if (!FormatBounded(pattern, sizeof(pattern), "%s\\*", dir)) return false;
    WIN32_FIND_DATAA entry;
    ScopedFind find(pattern, entry);
    if (!find.ok()) return false;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && lstrcmpA(entry.cFileName, "memo") == 0) return true;
    } while (find.Next(entry));
    return false;
}
