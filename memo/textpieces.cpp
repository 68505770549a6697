#include "memo/textpieces.h"

namespace {
// Laid out at once in about 25 ms; every longer text goes in pieces.
const size_t kShowAtOnceSize = 16 * 1024;
// A line of this length is laid out at once in about 10 ms; the time grows
// with the square of the length.
const size_t kLongLine = 2 * 1024;
// The piece sizes that laid out fastest in all: each piece costs Wine's
// control time for the whole text so far, and a longer piece of a long line
// costs more in layout than it saves in pieces. A piece of ordinary lines
// takes about 100 ms.
const size_t kMaxPiece = 64 * 1024;
const size_t kMaxLineRun = 1024;

bool IsLineBreakAt(const char* text, size_t size, size_t at)
{
    return text[at] == '\r' && at + 1 < size && text[at + 1] == '\n';
}
}  // namespace

bool IsSlowToShow(const char* text, size_t size)
{
    if (size > kShowAtOnceSize) return true;
    size_t lineStart = 0;
    for (size_t at = 0; at < size; ++at) {
        if (text[at] == '\n')
            lineStart = at + 1;
        else if (at - lineStart >= kLongLine)
            return true;
    }
    return false;
}

size_t NextPieceEnd(const char* text, size_t size, size_t from, LeadBytePredicate isLeadByte)
{
    size_t lineStart = from;
    size_t at = from;
    while (at < size) {
        size_t step = 1;
        if (IsLineBreakAt(text, size, at) || (isLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < size))
            step = 2;
        at += step;
        if (text[at - 1] == '\n') lineStart = at;
        if (at - from >= kMaxPiece || at - lineStart >= kMaxLineRun) break;
    }
    return at;
}
