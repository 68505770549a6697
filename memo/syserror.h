#pragma once
#include <windows.h>

#include <string>

// Stands for the calling thread's last error (GetLastError).
constexpr DWORD kLastError = static_cast<DWORD>(-1);

// The system's message for an error code in the user's language; empty
// when the system has none.
std::string GetSystemErrorText(DWORD error);

// A message box (no owner, MB_OK) with the system's message for the error as
// its text and the caption given. Take kLastError before any other call can
// change it.
void ShowSystemError(const char* caption, DWORD error);
