#include "app/curdir.h"

bool GetCurrentDirectoryBounded(char* out, DWORD size)
{
    if (!out || size == 0) return false;
    DWORD length = GetCurrentDirectoryA(size, out);
    if (length == 0 || length >= size) {
        out[0] = '\0';
        return false;
    }
    return true;
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const char* dir)
{
    if (!GetCurrentDirectoryBounded(m_szPrevious, sizeof(m_szPrevious))) return;
    m_bSwitched = SetCurrentDirectoryA(dir) != FALSE;
}

ScopedCurrentDirectory::~ScopedCurrentDirectory()
{
    if (m_bSwitched) SetCurrentDirectoryA(m_szPrevious);
}
