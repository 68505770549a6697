#pragma once
#include <windows.h>

// Counts a box of the program, or of the shell on the program's behalf, as
// up for as long as it lives: while any is, the memo window neither hides
// nor takes a command that would load or save (g_nMessageBoxes). A box
// raised while another is up leaves the outer one counted.
class ScopedBoxUp {
public:
    ScopedBoxUp();
    ~ScopedBoxUp();
    ScopedBoxUp(const ScopedBoxUp&) = delete;
    ScopedBoxUp& operator=(const ScopedBoxUp&) = delete;
};

// MessageBoxA without owner and with MB_OK, counted as up (ScopedBoxUp) so
// that the memo window does not hide under it.
void ShowMessageBox(const char* text, const char* caption);

// A question with Yes and No whose default, for Enter or a closed box, is No;
// counted as above. True only for Yes.
bool AskYesDefaultNo(const char* text, const char* caption);
// The same in UTF-16, for a text that names characters the ANSI code page
// has not.
bool AskYesDefaultNo(const wchar_t* text, const wchar_t* caption);

// The same for a refusal of what the user entered in a window of ours: the
// box belongs to that window, so that it stays in front of it even when the
// window is top-most.
void ShowRefusal(HWND owner, const char* text, const char* caption);
// A question about what the user entered there, in the same way: Yes and
// No, No the default; true only for Yes.
bool AskRefusalYesDefaultNo(HWND owner, const char* text, const char* caption);
