#include "app/curdir.h"

#include "startup/startuppath.h"

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

namespace {
bool IsLeadByteOfCodePage(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}
}  // namespace

bool GetCurrentFolderPath(char* out, DWORD size)
{
    char dir[MAX_PATH];
    if (!GetCurrentDirectoryBounded(dir, sizeof(dir))) {
        if (out && size > 0) out[0] = '\0';
        return false;
    }
    return FormatFolderPath(out, size, dir, IsLeadByteOfCodePage);
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
