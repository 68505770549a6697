#include "startup/startuppath.h"

#include "app/bounded.h"

bool FormatStartupDir(int majorVersion, const char* userName, char* out, size_t size)
{
    if (majorVersion == 5)
        return FormatBounded(out, size, "C:\\Documents and Settings\\%s\\Start Menu\\Programs\\Startup\\", userName);
    return FormatBounded(out, size, "C:\\Users\\%s\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\",
                         userName);
}

namespace {
bool EndsWithBackslash(const char* folder, bool (*isLeadByte)(unsigned char))
{
    bool lastIsBackslash = false;
    for (const char* p = folder; *p; ++p) {
        lastIsBackslash = *p == '\\';
        if (isLeadByte(static_cast<unsigned char>(*p)) && p[1]) ++p;
    }
    return lastIsBackslash;
}
}  // namespace

bool FormatFolderPath(char* out, size_t size, const char* folder, bool (*isLeadByte)(unsigned char))
{
    if (EndsWithBackslash(folder, isLeadByte)) return CopyBounded(out, size, folder);
    return FormatBounded(out, size, "%s\\", folder);
}
