#include "startup/startupdir.h"

#include <windows.h>
#include <shlobj.h>

#include "app/globals.h"
#include "startup/startuppath.h"

namespace {
bool IsLeadByte(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}

// The default layout puts the folder on drive C: under the logon name,
// which is wrong wherever the system drive or the profile folder differ;
// it serves only when the shell has no answer.
bool FormatDefaultStartupDir(int majorVersion)
{
    char user[kPathSize] = "";
    DWORD size = sizeof(user);
    if (!GetUserNameA(user, &size)) user[0] = '\0';
    return FormatStartupDir(majorVersion, user, g_szStartupDir, kPathSize);
}
}  // namespace

bool InitStartupDir(int majorVersion)
{
    char folder[MAX_PATH];
    HRESULT hr = SHGetFolderPathA(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder);
    if (hr == S_OK) return FormatFolderPath(g_szStartupDir, kPathSize, folder, IsLeadByte);
    return FormatDefaultStartupDir(majorVersion);
}
