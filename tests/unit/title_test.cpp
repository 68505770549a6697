#include "memo/title.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// The lead bytes of code page 932 (Shift-JIS).
bool IsCp932LeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Shift-JIS spelled out in bytes, so that the cases hold whatever the
// compiler's execution character set (the sanitizer build on the host has
// none but UTF-8).
const std::string kA = "\x82\xA0";                      // あ
const std::string kI = "\x82\xA2";                      // い
const std::string kShopping = "\x94\x83\x82\xA2\x95\xA8";  // 買い物
const std::string kList = "\x83\x8A\x83\x58\x83\x67";      // リスト
const std::string kMilk = "\x8B\x8D\x93\xFB";              // 牛乳
const std::string kIdeographicSpace = "\x81\x40";

std::string Repeat(const std::string& s, int count)
{
    std::string result;
    for (int i = 0; i < count; ++i) result += s;
    return result;
}

struct Case {
    const char* name;
    std::string text;
    std::string expected;
};

template <size_t N>
void ExpectTitles(const Case (&cases)[N])
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, DeriveTitle(c.text.c_str(), IsCp932LeadByte));
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
        {"Japanese", kShopping + kList + "\r\n" + kMilk, kShopping + kList},
        {"trail byte 0x5C is no backslash", "\x95\x5C\x8E\xA6", "\x95\x5C\x8E\xA6"},
        {"trail byte 0x7C is no bar", "\x83\x7C\x83\x93", "\x83\x7C\x83\x93"},
        {"empty text", "", ""},
        {"only forbidden characters", "\\/:*?\"<>|", ""},
        {"spaces before the line break give the empty title", "   \r\nabc", ""},
    };
    ExpectTitles(cases);
}

TEST(Title, CountsTwentyColumnsAndTwentyOneWhenADoubleByteCharacterStartsAtNineteen)
{
    const Case cases[] = {
        {"25 letters give 20", "abcdefghijklmnopqrstuvwxy", "abcdefghijklmnopqrst"},
        {"15 double-byte characters give 10", Repeat(kA, 15), Repeat(kA, 10)},
        {"19 letters then double-byte: 21 columns", "abcdefghijklmnopqrs" + kA + kI, "abcdefghijklmnopqrs" + kA},
        {"20 letters then double-byte: 20 columns", "abcdefghijklmnopqrst" + kA, "abcdefghijklmnopqrst"},
        {"one letter and ten double-byte", "a" + Repeat(kI, 11), "a" + Repeat(kI, 10)},
        {"forbidden characters take no column", "::::::::::abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrst"},
    };
    ExpectTitles(cases);
}

TEST(Title, TrimsOnlyTrailingSingleByteSpaces)
{
    const Case cases[] = {
        {"trailing spaces cut", "memo   \r\nx", "memo"},
        {"leading spaces kept", "  memo", "  memo"},
        {"inner spaces kept", "a  b", "a  b"},
        {"spaces before a double-byte character kept", "ab  " + kA, "ab  " + kA},
        {"double-byte space never trimmed", "memo" + kIdeographicSpace, "memo" + kIdeographicSpace},
        {"single space after a double-byte space cut", "memo" + kIdeographicSpace + " ", "memo" + kIdeographicSpace},
        {"spaces cut at the column limit", "abcdefghijklmnopq   xyz", "abcdefghijklmnopq"},
    };
    ExpectTitles(cases);
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
    ExpectTitles(cases);
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
    ExpectTitles(cases);
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
