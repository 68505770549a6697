// Fuzzes the title derivation with arbitrary bytes read as Shift-JIS and
// checks what every title must satisfy. Built natively with libFuzzer and
// the sanitizers, so any read past the text or the title is caught too.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "memo/title.h"

namespace {
bool IsShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool IsForbiddenSingleByte(unsigned char c)
{
    return c < 0x20 || strchr("\\/:*?\"<>|", c) != nullptr;
}

void Require(bool condition)
{
    if (!condition) abort();
}

// Walks the title character by character: single bytes must be allowed in a
// file name and not a line break, the title must not end in a single-byte
// space, and it holds at most 20 columns, or 21 when a double-byte character
// starts at column 19.
void CheckTitle(const std::string& title)
{
    Require(title.size() <= 21);
    size_t i = 0;
    bool lastIsSpace = false;
    size_t lastStart = 0;
    while (i < title.size()) {
        unsigned char c = static_cast<unsigned char>(title[i]);
        lastStart = i;
        if (IsShiftJisLeadByte(c) && i + 1 < title.size()) {
            lastIsSpace = false;
            i += 2;
            continue;
        }
        Require(!IsForbiddenSingleByte(c));
        lastIsSpace = c == ' ';
        ++i;
    }
    Require(!lastIsSpace);
    if (title.size() == 21) Require(lastStart == 19 && IsShiftJisLeadByte(static_cast<unsigned char>(title[19])));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The editor's text is NUL-terminated; an embedded NUL ends it early.
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string first = DeriveTitle(text.c_str(), IsShiftJisLeadByte);
    CheckTitle(first);
    Require(first == DeriveTitle(text.c_str(), IsShiftJisLeadByte));
    return 0;
}
