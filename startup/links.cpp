#include "startup/links.h"

HRESULT CreateShellLink(const char*, const char*, const char*, const char*)
{
    return E_NOTIMPL;
}

HRESULT ReadShellLink(HWND, const char*, char* path, char* description)
{
    path[0] = '\0';
    description[0] = '\0';
    return E_NOTIMPL;
}

void CreateMemoLink(const char*) {}
void RenameMemoLink(const char*, const char*) {}
void DeleteMemoLink(const char*) {}

bool FindMemoLink(HWND, const char*, char* linkName)
{
    linkName[0] = '\0';
    return false;
}

void UpdateAutostartLink(HWND, bool) {}
