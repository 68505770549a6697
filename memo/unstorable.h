#pragma once
#include <windows.h>

#include <string>

// The characters of a window's text that the ANSI code page cannot hold,
// each once, in the order they first appear (a pair of surrogates counts as
// one); empty when the text can be stored as it is. A paste can bring such
// characters into the editor, which shows them; stored, they would become
// other characters without a word.
std::wstring FindUnstorableCharacters(HWND hWnd);

// A window's text as its characters.
std::wstring ReadWindowCharacters(HWND hWnd);

// Whether `length` bytes of ANSI text convert to exactly `characters`.
bool ConvertsTo(const char* text, int length, const std::wstring& characters);

// Whether the ANSI code page reads the bytes as characters that give back
// the same bytes: false for bytes of another encoding, a lead byte with a
// bad trail byte or none. The editor holds such bytes as other characters.
bool IsHeldExactly(const char* bytes, size_t size);
