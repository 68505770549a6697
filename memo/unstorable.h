#pragma once
#include <windows.h>

#include <string>

// The characters of a window's text that the ANSI code page cannot hold,
// each once, in the order they first appear (a pair of surrogates counts as
// one); empty when the text can be stored as it is. A paste can bring such
// characters into the editor, which shows them; stored, they would become
// other characters without a word.
std::wstring FindUnstorableCharacters(HWND hWnd);
