#include "memo/syserror.h"

#include "app/msgbox.h"

std::string GetSystemErrorText(DWORD error)
{
    char* buffer = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<char*>(&buffer), 0, nullptr);
    if (length == 0 || !buffer) return std::string();
    std::string text(buffer, length);
    LocalFree(buffer);
    return text;
}

void ShowSystemError(const char* caption, DWORD error)
{
    if (error == kLastError) error = GetLastError();
    ShowMessageBox(GetSystemErrorText(error).c_str(), caption);
}
