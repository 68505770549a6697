#pragma once
// How the search compares texts: both sides folded to one form, so that case,
// width and (on request) hiragana against katakana do not matter. No
// windows.h here: one answer on every system, tested and fuzzed on its own.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What a search looks for: the words the user typed, each folded.
struct SearchQuery {
    std::vector<std::string> words;  // folded (FoldForSearch), UTF-8; empty for a query of blanks only
    bool kanaAsOne = true;           // hiragana and katakana match each other
};
// A stretch of a text, in UTF-16 units of that text: [start, end).
struct TextSpan {
    size_t start = 0;
    size_t end = 0;
};

// Folds UTF-16 text for matching and appends it to `folded` as UTF-8.
// `origins`, where given, receives for each byte appended the index in `text`
// of the first UTF-16 unit of the character it came from, then one entry
// more: `length` (so a folded byte range maps back to a UTF-16 span).
// Letters of Latin, Greek and Cyrillic fold to small letters, full-width
// ASCII and the full-width blank to ASCII, half-width katakana to full-width
// with a voiced mark after it composed onto it (so a composed character spans
// both units), and, with `kanaAsOne`, katakana to hiragana. A lone surrogate
// folds to U+FFFD.
void FoldForSearch(const char16_t* text, size_t length, bool kanaAsOne, std::string& folded,
                   std::vector<uint32_t>* origins = nullptr);
// The words of what the user typed, split at blanks (U+0020, tab, U+3000), each folded.
SearchQuery ParseSearchQuery(const std::u16string& typed, bool kanaAsOne);
// Whether every word of `query` is somewhere in `folded` (FoldForSearch's output).
bool HasEveryWord(const std::string& folded, const SearchQuery& query);
// Every place in `text` where a word of `query` is, in order, not overlapping.
std::vector<TextSpan> FindWords(const std::u16string& text, const SearchQuery& query);

// The line of `text` that holds `span`, without its line break; a line longer
// than `most` units is cut to `most` around the span's start (never inside a
// surrogate pair).
std::u16string LineAround(const std::u16string& text, TextSpan span, size_t most);

// Where the run of Shift-JIS bytes starting at `from` ends that the code
// page converts as it is: at the first lead byte with no valid trail byte
// after it (at the end of the bytes, or before one outside 0x40-0x7E and
// 0x80-0xFC), or at `size`. Such a lead byte is one character of its own, so
// that the byte after it is read as what it is.
size_t EndOfWholeRun(const char* bytes, size_t size, size_t from, bool (*isLeadByte)(unsigned char));

// A cut of `size` bytes of a memo file read only in part, shortened so that
// it ends on a whole character of UTF-8 or, after a UTF-16 byte-order mark,
// of UTF-16: the start of a file in a Unicode encoding still decodes as one.
size_t CutAtWholeCharacter(const char* bytes, size_t size);
