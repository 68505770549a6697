#include "memo/textpieces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
bool IsShiftJisLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Every piece of the text, in order.
std::vector<std::string> Pieces(const std::string& text)
{
    std::vector<std::string> pieces;
    for (size_t at = 0; at < text.size();) {
        size_t end = NextPieceEnd(text.c_str(), text.size(), at, IsShiftJisLead);
        if (end <= at) return {};
        pieces.push_back(text.substr(at, end - at));
        at = end;
    }
    return pieces;
}

// Whether the piece ends inside a double-byte character, walking it as the
// conversion of the whole text does.
bool EndsInsidePair(const std::string& piece)
{
    size_t at = 0;
    while (at < piece.size()) at += IsShiftJisLead(static_cast<unsigned char>(piece[at])) ? 2 : 1;
    return at > piece.size();
}

size_t LongestRunOfOneLine(const std::string& piece)
{
    size_t longest = 0;
    size_t run = 0;
    for (char c : piece) {
        run = c == '\n' ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}
}  // namespace

TEST(TextPieces, ShortTextsGoInAtOnceLongTextsAndLongLinesInPieces)
{
    const std::string lines(100, 'a');
    std::string letter;
    while (letter.size() < 15000) letter += lines + "\r\n";
    EXPECT_FALSE(IsSlowToShow(letter.c_str(), letter.size()));
    std::string book = letter + letter;
    EXPECT_TRUE(IsSlowToShow(book.c_str(), book.size()));
    std::string oneLongLine = "title\r\n" + std::string(3000, 'x');
    EXPECT_TRUE(IsSlowToShow(oneLongLine.c_str(), oneLongLine.size()));
}

TEST(TextPieces, PiecesMakeUpTheTextAndKeepCharactersAndLineBreaksWhole)
{
    // Double-byte characters and line breaks at every offset against the
    // piece limits, in long lines and in many short ones.
    for (size_t shift = 0; shift < 4; ++shift) {
        std::string text(shift, 'a');
        for (int i = 0; i < 3000; ++i) text += "\x93\xfa\x96\x7b\x8c\xea ";  // "日本語 " in Shift-JIS
        for (int i = 0; i < 3000; ++i) text += std::string(i % 7, '\x82') + "\xa0\r\n";
        text += "\x82";  // a lead byte with nothing after it
        SCOPED_TRACE(shift);
        std::vector<std::string> pieces = Pieces(text);
        ASSERT_FALSE(pieces.empty());
        std::string joined;
        for (const std::string& piece : pieces) {
            ASSERT_LE(piece.size(), 64u * 1024 + 1);
            EXPECT_LE(LongestRunOfOneLine(piece), 1024u + 1) << "a long line goes in pieces of about 1 KB";
            EXPECT_FALSE(piece.back() == '\r' && joined.size() + piece.size() < text.size());
            if (&piece != &pieces.back()) {
                EXPECT_FALSE(EndsInsidePair(piece));
            }
            joined += piece;
        }
        EXPECT_EQ(text, joined);
    }
}
