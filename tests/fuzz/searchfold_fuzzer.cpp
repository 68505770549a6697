// Fuzzes the search's fold. Built natively with libFuzzer and the
// sanitizers: the input, read as UTF-16, is copied to a buffer of its exact
// size, so any read past it is caught. Folding what the fold gave changes
// nothing, and every folded byte maps back into the text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "memo/searchfold.h"

namespace {
void Require(bool condition)
{
    if (!condition) abort();
}

// The fold's UTF-8 back to UTF-16; it writes only whole characters.
std::u16string Utf16Of(const std::string& utf8)
{
    std::u16string text;
    for (size_t at = 0; at < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[at]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        Require(at + length <= utf8.size());
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t i = 1; i < length; ++i) c = (c << 6) | (utf8[at + i] & 0x3F);
        if (c < 0x10000) {
            text.push_back(static_cast<char16_t>(c));
        } else {
            text.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
        at += length;
    }
    return text;
}

void CheckFold(const char16_t* text, size_t length, bool kanaAsOne)
{
    std::string folded;
    std::vector<uint32_t> origins;
    FoldForSearch(text, length, kanaAsOne, folded, &origins);
    Require(origins.size() == folded.size() + 1 && origins.back() == length);
    for (size_t i = 0; i + 1 < origins.size(); ++i) Require(origins[i] <= origins[i + 1] && origins[i] < length);

    const std::u16string once = Utf16Of(folded);
    std::string twice;
    FoldForSearch(once.data(), once.size(), kanaAsOne, twice);
    Require(twice == folded);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t length = size / 2;
    std::unique_ptr<char16_t[]> text(new char16_t[length ? length : 1]);
    memcpy(text.get(), data, length * 2);
    CheckFold(text.get(), length, true);
    CheckFold(text.get(), length, false);

    // The first half typed, the whole searched: each place found lies in the text.
    const std::u16string whole(text.get(), length);
    const SearchQuery query = ParseSearchQuery(whole.substr(0, length / 2), size % 2 != 0);
    size_t after = 0;
    for (const TextSpan& span : FindWords(whole, query)) {
        Require(span.start >= after && span.start < span.end && span.end <= length);
        after = span.end;
        LineAround(whole, span, 80);
    }
    std::unique_ptr<char[]> bytes(new char[size ? size : 1]);
    memcpy(bytes.get(), data, size);
    for (size_t at = 0; at < size; ++at) {
        const size_t end = EndOfWholeRun(bytes.get(), size, at, [](unsigned char c) { return c >= 0x81; });
        Require(end >= at && end <= size);
        at = end;
    }
    Require(CutAtWholeCharacter(bytes.get(), size) <= size);
    return 0;
}
