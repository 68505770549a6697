#include "memo/searchfold.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace {
std::string Fold(const std::u16string& text, bool kanaAsOne = true)
{
    std::string folded;
    FoldForSearch(text.data(), text.size(), kanaAsOne, folded);
    return folded;
}

bool Finds(const std::u16string& text, const std::u16string& typed, bool kanaAsOne = true)
{
    return HasEveryWord(Fold(text, kanaAsOne), ParseSearchQuery(typed, kanaAsOne));
}

bool IsShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

struct FoldCase {
    std::u16string text;
    const char* folded;  // UTF-8
};

void ExpectFolds(const FoldCase* cases, size_t count, bool kanaAsOne)
{
    for (size_t i = 0; i < count; ++i) {
        EXPECT_EQ(cases[i].folded, Fold(cases[i].text, kanaAsOne)) << "case " << i;
    }
}

TEST(SearchFold, CaseDoesNotMatterInAnyScript)
{
    const FoldCase cases[] = {
        {u"USB Stick", u8"usb stick"},
        {u"ÀÉÎÕÜ×ß", u8"àéîõü×ß"},
        {u"ĀĞŁŒŠŽŸſİ", u8"āğłœšžÿsi"},
        {u"ΑΒΓΔ ΆΈΌΏ ΣΟΦΟΣ σοφος", u8"αβγδ άέόώ σοφοσ σοφοσ"},
        {u"ДОМ Ёлка ЎЄЇ", u8"дом ёлка ўєї"},
        {u"ＡＢＣａｂｃ", u8"abcabc"},
    };
    ExpectFolds(cases, std::size(cases), true);
}

TEST(SearchFold, WidthDoesNotMatterEitherWay)
{
    const FoldCase cases[] = {
        {u"ＵＳＢ１２３！", u8"usb123!"},
        {u"a\u3000b", u8"a b"},
        {u"ｶﾞｲﾄﾞ", u8"ガイド"},
        {u"ﾊﾟｿｺﾝ ｳﾞｧｲｵﾘﾝ ｺｰﾋｰ", u8"パソコン ヴァイオリン コーヒー"},
        {u"｢ｱ｣､｡", u8"「ア」、。"},
        // Marks with nothing to take them stay marks.
        {u"ﾞｱﾞﾟa", u8"゛ア゛゜a"},
        {u"カ\u3099", u8"ガ"},
    };
    ExpectFolds(cases, std::size(cases), false);
    EXPECT_TRUE(Finds(u"ガイド", u"ｶﾞｲﾄﾞ", false));
    EXPECT_TRUE(Finds(u"ｶﾞｲﾄﾞ", u"ガイド", false));
    EXPECT_TRUE(Finds(u"ＵＳＢ", u"usb"));
    EXPECT_FALSE(Finds(u"ｶﾞｲﾄﾞ", u"カイ", false)) << "a composed kana is not the plain one";
}

TEST(SearchFold, KanaSwitchMakesHiraganaAndKatakanaOne)
{
    const FoldCase on[] = {
        {u"ガイド", u8"がいど"},
        {u"ｶﾞｲﾄﾞ", u8"がいど"},
        {u"ヴ ｳﾞ ヽヾ ヵヶ ー ヷ", u8"ゔ ゔ ゝゞ ゕゖ ー ヷ"},
    };
    ExpectFolds(on, std::size(on), true);
    EXPECT_TRUE(Finds(u"ひらがな", u"ヒラガナ"));
    EXPECT_FALSE(Finds(u"ひらがな", u"ヒラガナ", false));
    EXPECT_TRUE(Finds(u"ﾜﾞ", u"\u30F7", false));
    EXPECT_TRUE(Finds(u"ﾜﾞ", u"\u30F7"));
    EXPECT_TRUE(Finds(u"\u30F7", u"ﾜﾞ"));
}

TEST(SearchFold, BlanksSplitWordsThatMustAllAppear)
{
    const SearchQuery query = ParseSearchQuery(u" ａｂ\u3000cd\tＥ  ", true);
    ASSERT_EQ(3u, query.words.size());
    EXPECT_EQ("ab", query.words[0]);
    EXPECT_EQ("cd", query.words[1]);
    EXPECT_EQ("e", query.words[2]);
    EXPECT_TRUE(ParseSearchQuery(u" \u3000\t", true).words.empty());
    EXPECT_TRUE(Finds(u"e first\r\nthen CD and ab", u"ab\u3000cd e"));
    EXPECT_FALSE(Finds(u"ab and cd", u"ab cd e"));
}

// Characters are matched, never bytes: in Shift-JIS the second byte of 表
// and ソ is '\' and that of 、 is 'A'.
TEST(SearchFold, MatchesCharactersNotBytes)
{
    EXPECT_FALSE(Finds(u"表ソ、", u"\\"));
    EXPECT_FALSE(Finds(u"表ソ、", u"A"));
    EXPECT_TRUE(Finds(u"表ソ、", u"ソ"));
    // A lead byte at the end, or before a byte that cannot follow one, is
    // a character of its own; the bytes after it are read as they are.
    struct Case {
        std::string bytes;
        size_t from;
        size_t end;
    } const cases[] = {
        {"abc", 0, 3},
        {"\x95\x5C\x83\x5C\x81\x41", 0, 6},
        {"ab\x81", 0, 2},
        {"\x81 abc", 0, 0},
        {"\x81 abc", 1, 5},
        {"\x82\x0D\x0A", 0, 0},
        {"\x82\x7F", 0, 0},
        {"\x82\xFD", 0, 0},
        {"\x82\x80\xE0", 0, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.end, EndOfWholeRun(c.bytes.data(), c.bytes.size(), c.from, IsShiftJisLead)) << c.bytes;
    }
}

// What is found maps back to the characters it came from, also where one
// folded character came from two.
TEST(SearchFold, FoundWordsMapBackToTheText)
{
    struct Span {
        size_t start, end;
    };
    struct Case {
        std::u16string text;
        std::u16string typed;
        std::vector<Span> spans;
    } const cases[] = {
        {u"Ab ab AB", u"ab", {{0, 2}, {3, 5}, {6, 8}}},
        {u"xｶﾞｲﾄﾞy", u"ガイド", {{1, 6}}},
        {u"ｶﾞｲﾄﾞ", u"ｶﾞ", {{0, 2}}},
        {u"\U0001F600ＵＳＢ!", u"usb", {{2, 5}}},
        {u"abcd", u"bc abc", {{0, 3}}},
        {u"aaaa", u"aa", {{0, 2}, {2, 4}}},
        {u"no hit", u"zz", {}},
    };
    for (const Case& c : cases) {
        const std::vector<TextSpan> spans = FindWords(c.text, ParseSearchQuery(c.typed, true));
        ASSERT_EQ(c.spans.size(), spans.size()) << std::string(c.typed.begin(), c.typed.end());
        for (size_t i = 0; i < spans.size(); ++i) {
            EXPECT_EQ(c.spans[i].start, spans[i].start) << i;
            EXPECT_EQ(c.spans[i].end, spans[i].end) << i;
        }
    }
}

TEST(SearchFold, BrokenTextFoldsWithoutReadingPastIt)
{
    const std::u16string loneHigh(1, char16_t(0xD800));
    const std::u16string loneLow(1, char16_t(0xDC00));
    EXPECT_EQ(u8"\uFFFDa", Fold(loneHigh + u"a"));
    EXPECT_EQ(u8"a\uFFFD", Fold(u"a" + loneLow));
    EXPECT_EQ(u8"\uFFFD", Fold(loneHigh));
    std::vector<uint32_t> origins;
    std::string folded;
    const std::u16string text = u"ﾞｶﾞ" + loneHigh;
    FoldForSearch(text.data(), text.size(), true, folded, &origins);
    EXPECT_EQ(u8"゛が\uFFFD", folded);
    const std::vector<uint32_t> expected = {0, 0, 0, 1, 1, 1, 3, 3, 3, 4};
    EXPECT_EQ(expected, origins);
}

TEST(SearchFold, HitLineIsTheLineAroundTheHit)
{
    const std::u16string text = u"first\r\nsecond line\nthird";
    EXPECT_EQ(u"second line", LineAround(text, {9, 12}, 80));
    EXPECT_EQ(u"first", LineAround(text, {0, 1}, 80));
    EXPECT_EQ(u"third", LineAround(text, {21, 26}, 80));
    const std::u16string longLine = std::u16string(100, u'x') + u"word" + std::u16string(100, u'y');
    const std::u16string cut = LineAround(longLine, {100, 104}, 40);
    EXPECT_EQ(40u, cut.size());
    EXPECT_NE(std::u16string::npos, cut.find(u"word"));
}

TEST(SearchFold, PartReadFileEndsOnAWholeCharacter)
{
    struct Case {
        std::string bytes;
        size_t cut;
    } const cases[] = {
        {"abc", 3},
        {"a\xE3\x81\x82", 4},
        {"a\xE3\x81", 1},
        {"a\xE3", 1},
        {"a\xF0\x9F\x98", 1},
        {std::string("\xFF\xFE" "a\0b", 5), 4},
        {std::string("\xFF\xFE" "a\0\x3D\xD8", 6), 4},
        {std::string("\xFE\xFF\0a\xD8\x3D", 6), 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.cut, CutAtWholeCharacter(c.bytes.data(), c.bytes.size())) << c.bytes;
    }
}
}  // namespace
