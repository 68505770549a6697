#include "startup/startuppath.h"

#include "app/bounded.h"

bool FormatStartupDir(int majorVersion, const char* userName, char* out, size_t size)
{
    if (majorVersion == 5)
        return FormatBounded(out, size, "C:\\Documents and Settings\\%s\\Start Menu\\Programs\\Startup\\", userName);
    return FormatBounded(out, size, "C:\\Users\\%s\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\",
                         userName);
}
