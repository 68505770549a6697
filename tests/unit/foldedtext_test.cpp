#include "memo/foldedtext.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::u16string Lines(const std::u16string& line, int count)
{
    std::u16string text;
    for (int i = 0; i < count; ++i) text += line;
    return text;
}

int FoldWhole(CFoldedText& folded)
{
    int pieces = 1;
    while (!folded.FoldPiece()) ++pieces;
    return pieces;
}

// A long shown memo is folded over several steps; the line of its first
// hit is found wherever it lies, also in a later piece.
TEST(FoldedText, FoldsALongTextInPiecesAndFindsTheLineOfItsFirstHit)
{
    const std::u16string text = Lines(u"plain line\r\n", 20000) + u"the ＮＥＥＤＬＥ and ｶﾞｲﾄﾞ\r\n" +
                                Lines(u"needle again\r\n", 3);
    CFoldedText folded;
    folded.Take(text, true);
    std::u16string line;
    EXPECT_FALSE(folded.FindFirstHitLine(ParseSearchQuery(u"needle", true), 80, line)) << "not folded yet";
    EXPECT_GT(FoldWhole(folded), 2);
    ASSERT_TRUE(folded.FindFirstHitLine(ParseSearchQuery(u"がいど needle", true), 80, line));
    EXPECT_EQ(u"the ＮＥＥＤＬＥ and ｶﾞｲﾄﾞ", line);
    EXPECT_FALSE(folded.FindFirstHitLine(ParseSearchQuery(u"needle absent", true), 80, line));

    // The same text again is not folded again; another switch or text is.
    folded.Take(text, true);
    EXPECT_TRUE(folded.FoldPiece());
    folded.Take(text, false);
    EXPECT_FALSE(folded.FindFirstHitLine(ParseSearchQuery(u"ガイド", false), 80, line));
    FoldWhole(folded);
    EXPECT_FALSE(folded.FindFirstHitLine(ParseSearchQuery(u"がいど", false), 80, line));
    EXPECT_TRUE(folded.FindFirstHitLine(ParseSearchQuery(u"ガイド", false), 80, line));
    folded.Take(u"one line, no break, a word", true);
    EXPECT_EQ(1, FoldWhole(folded));
    ASSERT_TRUE(folded.FindFirstHitLine(ParseSearchQuery(u"WORD", true), 80, line));
    EXPECT_EQ(u"one line, no break, a word", line);
}
}  // namespace
