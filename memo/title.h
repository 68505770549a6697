#pragma once
// The title of a memo: the start of its first line, cut to fit a file name.
// No windows.h here: a plain rule, tested on its own.
#include <cstddef>
#include <string>

// Whether a byte starts a double-byte character of the ANSI code page.
using LeadBytePredicate = bool (*)(unsigned char);

// The position just past an "http://", "https://" or "ftp://" that begins at
// `position`, or `position` itself. Reads no byte past the text's NUL.
size_t SkipUrlPrefix(const char* text, size_t position);

// At most 20 columns (21 when a double-byte character starts at column 19)
// from the start of the text: leading line breaks, characters that a file
// name cannot hold and URL prefixes are passed over, the first line break
// after a copied character ends it, trailing single-byte spaces are cut.
std::string DeriveTitle(const char* text, LeadBytePredicate isLeadByte);
