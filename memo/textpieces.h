#pragma once
// How a memo's text goes into the editor. Wine's edit control lays out a
// text at once in time that grows with the square of its longest line, and
// a large text takes seconds: such a text is put in piece by piece, each
// piece short enough to be laid out in a few milliseconds, so that the
// program answers between them. No windows.h here: a plain rule, tested on
// its own.
#include <cstddef>

#include "memo/title.h"

// Whether the text is to go in piece by piece: it is long, or one of its
// lines is.
bool IsSlowToShow(const char* text, size_t size);

// Where the piece that starts at `from` ends: after at most 64 KB, and
// after at most 1 KB of one line. A piece never ends inside a double-byte
// character or between the CR and the LF of a line break, so that each
// piece converts to the same characters as it does within the whole text.
// Returns `size` at the end; always more than `from` while `from` < `size`.
size_t NextPieceEnd(const char* text, size_t size, size_t from, LeadBytePredicate isLeadByte);
