#pragma once

// MessageBoxA without owner and with MB_OK, with g_bMessageBox set while it
// is up so that the memo window does not hide under it.
void ShowMessageBox(const char* text, const char* caption);
