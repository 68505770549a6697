#include "memo/title.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// The lead bytes of code page 932 (Shift-JIS).
bool IsCp932LeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

struct Case {
    const char* name;
    const char* text;
    const char* expected;
};

void ExpectTitles(const Case* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(std::string(cases[i].expected), DeriveTitle(cases[i].text, IsCp932LeadByte));
    }
}

TEST(Title, TakesTheFirstLineWithoutForbiddenCharacters)
{
    const Case cases[] = {
        {"first line only", "Shopping list\r\nmilk\r\n", "Shopping list"},
        {"forbidden characters dropped", "a:b/c*d", "abcd"},
        {"every forbidden character", "1\\2/3:4*5?6\"7<8>9|0", "1234567890"},
        {"leading blank lines passed over", "\r\n\r\nabc\r\ndef", "abc"},
        {"bare LF breaks too", "ab\ncd", "ab"},
        {"control bytes cannot be in a file name", "a\tb\x01" "c", "abc"},
        {"percent kept", "100% done", "100% done"},
        {"Japanese", "買い物リスト\r\n牛乳", "買い物リスト"},
        {"trail byte 0x5C is no backslash", "\x95\x5C\x8E\xA6", "\x95\x5C\x8E\xA6"},
        {"trail byte 0x7C is no bar", "\x83\x7C\x83\x93", "\x83\x7C\x83\x93"},
        {"empty text", "", ""},
        {"only forbidden characters", "\\/:*?\"<>|", ""},
        {"spaces before the line break give the empty title", "   \r\nabc", ""},
    };
    ExpectTitles(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(Title, CountsTwentyColumnsAndTwentyOneWhenADoubleByteCharacterStartsAtNineteen)
{
    const Case cases[] = {
        {"25 letters give 20", "abcdefghijklmnopqrstuvwxy", "abcdefghijklmnopqrst"},
        {"15 double-byte characters give 10", "あいうえおかきくけこさしすせそ", "あいうえおかきくけこ"},
        {"19 letters then double-byte: 21 columns", "abcdefghijklmnopqrsあい", "abcdefghijklmnopqrsあ"},
        {"20 letters then double-byte: 20 columns", "abcdefghijklmnopqrstあ", "abcdefghijklmnopqrst"},
        {"one letter and ten double-byte", "aあいうえおかきくけこ", "aあいうえおかきくけこ"},
        {"forbidden characters take no column", "::::::::::abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrst"},
    };
    ExpectTitles(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(Title, TrimsOnlyTrailingSingleByteSpaces)
{
    const Case cases[] = {
        {"trailing spaces cut", "memo   \r\nx", "memo"},
        {"leading spaces kept", "  memo", "  memo"},
        {"inner spaces kept", "a  b", "a  b"},
        {"spaces before a double-byte character kept", "ab  あ", "ab  あ"},
        {"double-byte space never trimmed", "memo\x81\x40", "memo\x81\x40"},
        {"single space after a double-byte space cut", "memo\x81\x40 ", "memo\x81\x40"},
        {"spaces cut at the column limit", "abcdefghijklmnopq   xyz", "abcdefghijklmnopq"},
    };
    ExpectTitles(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(Title, SkipsUrlPrefixesAnywhereInTheScan)
{
    const Case cases[] = {
        {"http path", "http://example.com/a/b", "example.comab"},
        {"https", "https://a.jp/x?y", "a.jpxy"},
        {"ftp", "ftp://files", "files"},
        {"prefix in the middle", "see http://x.jp/", "see x.jp"},
        {"prefix alone on the first line", "http://\r\nnext line", "next line"},
        {"prefix at the end of the text", "abc https://", "abc"},
        {"upper case is no prefix", "HTTP://x", "HTTPx"},
        {"no second prefix test right after a prefix", "http://http://x", "httpx"},
        {"forbidden character after a prefix, then a prefix again", "http://:ftp://y", "y"},
        {"a cut prefix is text", "http:/x", "httpx"},
    };
    ExpectTitles(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(Title, IllFormedShiftJisStaysInsideTheText)
{
    const char leadThenEnd[] = {'a', 'b', '\x82', '\0', 'Z', 'Z', 'Z', '\0'};
    EXPECT_EQ("ab", DeriveTitle(leadThenEnd, IsCp932LeadByte)) << "a lead byte before the NUL is dropped";
    const Case cases[] = {
        {"lead byte before a line break", "ab\x82\r\nxy", "ab"},
        {"lead byte before a forbidden character", "\x82:c", "c"},
        {"lead byte alone at the start", "\x82", ""},
        {"lead byte before a letter makes a pair", "\x82" "A", "\x82" "A"},
    };
    ExpectTitles(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(Title, SkipUrlPrefixReturnsThePositionPastAPrefix)
{
    struct PrefixCase {
        const char* text;
        size_t position;
        size_t expected;
    };
    const PrefixCase cases[] = {
        {"http://x", 0, 7}, {"https://x", 0, 8}, {"ftp://x", 0, 6}, {"a http://", 2, 9},
        {"http:/", 0, 0},   {"ftp", 0, 0},       {"", 0, 0},        {"xhttps://", 0, 0},
    };
    for (const PrefixCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expected, SkipUrlPrefix(c.text, c.position));
    }
}
}  // namespace
