#pragma once

// MessageBoxA without owner and with MB_OK, with g_bMessageBox set while it
// is up so that the memo window does not hide under it.
void ShowMessageBox(const char* text, const char* caption);

// A question with Yes and No whose default, for Enter or a closed box, is No;
// g_bMessageBox as above. True only for Yes.
bool AskYesDefaultNo(const char* text, const char* caption);
