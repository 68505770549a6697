#include "startup/startupdir.h"

#include <windows.h>

#include "app/globals.h"
#include "startup/startuppath.h"

bool InitStartupDir(int majorVersion)
{
    char user[kPathSize] = "";
    DWORD size = sizeof(user);
    if (!GetUserNameA(user, &size)) user[0] = '\0';
    return FormatStartupDir(majorVersion, user, g_szStartupDir, kPathSize);
}
