#include "app/msgbox.h"

#include "app/globals.h"

namespace {
// Every box of the program is shown through this: while it is up, the memo
// window neither hides nor takes a command that would load or save.
template <typename Show>
int WhileBoxIsUp(Show show)
{
    g_bMessageBox = TRUE;
    int answer = show();
    g_bMessageBox = FALSE;
    return answer;
}

const UINT kYesDefaultNo = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;
}  // namespace

void ShowMessageBox(const char* text, const char* caption)
{
    WhileBoxIsUp([&] { return MessageBoxA(nullptr, text, caption, MB_OK); });
}

bool AskYesDefaultNo(const char* text, const char* caption)
{
    return WhileBoxIsUp([&] { return MessageBoxA(nullptr, text, caption, kYesDefaultNo); }) == IDYES;
}

bool AskYesDefaultNo(const wchar_t* text, const wchar_t* caption)
{
    return WhileBoxIsUp([&] { return MessageBoxW(nullptr, text, caption, kYesDefaultNo); }) == IDYES;
}

void ShowRefusal(HWND owner, const char* text, const char* caption)
{
    WhileBoxIsUp([&] { return MessageBoxA(owner, text, caption, MB_OK | MB_ICONWARNING); });
}

bool AskRefusalYesDefaultNo(HWND owner, const char* text, const char* caption)
{
    return WhileBoxIsUp([&] { return MessageBoxA(owner, text, caption, kYesDefaultNo); }) == IDYES;
}
