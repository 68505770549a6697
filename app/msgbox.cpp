#include "app/msgbox.h"

#include "app/globals.h"

namespace {
const UINT kYesDefaultNo = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;
}  // namespace

ScopedBoxUp::ScopedBoxUp()
{
    ++g_nMessageBoxes;
}

ScopedBoxUp::~ScopedBoxUp()
{
    --g_nMessageBoxes;
}

void ShowMessageBox(const char* text, const char* caption)
{
    ScopedBoxUp up;
    MessageBoxA(nullptr, text, caption, MB_OK);
}

bool AskYesDefaultNo(const char* text, const char* caption)
{
    ScopedBoxUp up;
    return MessageBoxA(nullptr, text, caption, kYesDefaultNo) == IDYES;
}

bool AskYesDefaultNo(const wchar_t* text, const wchar_t* caption)
{
    ScopedBoxUp up;
    return MessageBoxW(nullptr, text, caption, kYesDefaultNo) == IDYES;
}

void ShowRefusal(HWND owner, const char* text, const char* caption)
{
    ScopedBoxUp up;
    MessageBoxA(owner, text, caption, MB_OK | MB_ICONWARNING);
}

bool AskRefusalYesDefaultNo(HWND owner, const char* text, const char* caption)
{
    ScopedBoxUp up;
    return MessageBoxA(owner, text, caption, kYesDefaultNo) == IDYES;
}
