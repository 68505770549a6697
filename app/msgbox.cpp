#include "app/msgbox.h"

#include "app/globals.h"

void ShowMessageBox(const char* text, const char* caption)
{
    g_bMessageBox = TRUE;
    MessageBoxA(nullptr, text, caption, MB_OK);
    g_bMessageBox = FALSE;
}

void ShowRefusal(HWND owner, const char* text, const char* caption)
{
    g_bMessageBox = TRUE;
    MessageBoxA(owner, text, caption, MB_OK | MB_ICONWARNING);
    g_bMessageBox = FALSE;
}
