#pragma once
// The Unicode encodings a memo file written by another program may be in.
// No windows.h here: a plain rule, tested and fuzzed on its own. Shift-JIS
// itself is the ANSI code page's, converted by Windows outside this file.
#include <cstddef>
#include <string>

#include "memo/memoencoding.h"

// The encoding the file's bytes are in. A Unicode encoding is chosen only
// where the whole file decodes to characters the editor can hold (no NUL,
// no lone surrogate) and encodes back to the very same bytes: UTF-8 or
// UTF-16 with a BOM, or UTF-8 without one where its characters are not
// better read as the half-width katakana or rare kanji of a Shift-JIS text
// that happens to be valid UTF-8. Anything else, plain ASCII included, is
// ShiftJis.
MemoEncoding DetectEncoding(const char* bytes, size_t size);

// The characters of bytes in a Unicode encoding, without the BOM. False,
// and `text` empty, where the bytes do not decode whole as DetectEncoding
// demands.
bool DecodeText(const char* bytes, size_t size, MemoEncoding encoding, std::u16string& text);

// Appends the UTF-8 bytes of one character; a surrogate, as its own three bytes.
void AppendUtf8(std::string& out, char32_t c);

// The bytes of `text` in a Unicode encoding, with the BOM the encoding has.
// A lone surrogate (typed or pasted) is written as its own three bytes in
// UTF-8, so that no character is lost; such a file then reads as Shift-JIS.
std::string EncodeText(const std::u16string& text, MemoEncoding encoding);
