#pragma once
#include <windows.h>

// GetCurrentDirectoryA into a buffer of the given size; false (buffer empty)
// when the call fails or the path does not fit.
bool GetCurrentDirectoryBounded(char* out, DWORD size);

// The current directory with one trailing backslash, at the root of a drive
// ("E:\\") as in any folder ("C:\\app\\"): the one folder path that the paths of
// the program's own files are formed from. False (out empty) as above.
bool GetCurrentFolderPath(char* out, DWORD size);

// Makes a folder the current directory for the life of the object and puts
// the previous one back when it ends, whichever way the scope is left.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const char* dir);
    ~ScopedCurrentDirectory();
    bool ok() const { return m_bSwitched; }

    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    char m_szPrevious[MAX_PATH];
    bool m_bSwitched = false;
};
