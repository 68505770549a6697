#include "app/msgbox.h"

#include "app/globals.h"

void ShowMessageBox(const char* text, const char* caption)
{
    g_bMessageBox = TRUE;
    MessageBoxA(nullptr, text, caption, MB_OK);
    g_bMessageBox = FALSE;
}

bool AskYesDefaultNo(const char* text, const char* caption)
{
    g_bMessageBox = TRUE;
    int answer = MessageBoxA(nullptr, text, caption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    g_bMessageBox = FALSE;
    return answer == IDYES;
}

void ShowRefusal(HWND owner, const char* text, const char* caption)
{
    g_bMessageBox = TRUE;
    MessageBoxA(owner, text, caption, MB_OK | MB_ICONWARNING);
    g_bMessageBox = FALSE;
}
