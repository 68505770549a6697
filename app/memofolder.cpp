#include "app/memofolder.h"

#include <windows.h>

#include "app/bounded.h"
#include "app/globals.h"

bool HasMemoFolder(const char* dir)
{
    char pattern[kPathSize];
    if (!FormatBounded(pattern, sizeof(pattern), "%s\\*", dir)) return false;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(pattern, &entry);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && lstrcmpA(entry.cFileName, "memo") == 0) {
            found = true;
            break;
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return found;
}
