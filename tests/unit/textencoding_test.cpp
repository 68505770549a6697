#include "memo/textencoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {
MemoEncoding Detect(const std::string& bytes)
{
    return DetectEncoding(bytes.data(), bytes.size());
}

const char* Name(MemoEncoding encoding)
{
    static const char* const kNames[] = {"ShiftJis", "Utf8", "Utf8Bom", "Utf16Le", "Utf16Be"};
    return kNames[static_cast<int>(encoding)];
}

TEST(TextEncoding, DetectsUnicodeOnlyWhereTheWholeFileDecodes)
{
    struct Case {
        const char* what;
        std::string bytes;
        MemoEncoding expected;
    } const cases[] = {
        {"UTF-8 with BOM", "\xEF\xBB\xBF" "caf\xC3\xA9 \xE2\x99\xAB", MemoEncoding::Utf8Bom},
        {"UTF-8 BOM alone", "\xEF\xBB\xBF", MemoEncoding::Utf8Bom},
        {"UTF-8 without BOM", "caf\xC3\xA9 \xE2\x99\xAB", MemoEncoding::Utf8},
        {"UTF-8 Latin letters only", "caf\xC3\xA9", MemoEncoding::Utf8},
        {"UTF-8 kana and kanji", "\xE3\x81\x82\xE6\x97\xA5\xE6\x9C\xAC", MemoEncoding::Utf8},
        {"UTF-8 Cyrillic", "\xD0\x9F\xD1\x80\xD0\xB8", MemoEncoding::Utf8},
        {"UTF-8 beyond the BMP", "\xF0\xA0\xAE\xB7", MemoEncoding::Utf8},
        {"UTF-16 LE with BOM", std::string("\xFF\xFE" "c\0\xE9\0k&=\xD8\x00\xDE", 12), MemoEncoding::Utf16Le},
        {"UTF-16 BE with BOM", std::string("\xFE\xFF\0c\x26k", 6), MemoEncoding::Utf16Be},
        {"plain ASCII", "plain\r\ntext", MemoEncoding::ShiftJis},
        {"empty", "", MemoEncoding::ShiftJis},
        {"Shift-JIS hiragana", "\x82\xA0\x82\xA2", MemoEncoding::ShiftJis},
        {"UTF-8 BOM, then a broken character", "\xEF\xBB\xBF" "caf\xC3", MemoEncoding::ShiftJis},
        {"UTF-8 with a NUL", std::string("caf\xC3\xA9\0x", 7), MemoEncoding::ShiftJis},
        {"UTF-8 overlong slash", "a\xC0\xAF", MemoEncoding::ShiftJis},
        {"UTF-8 encoded surrogate", "a\xED\xA0\x80", MemoEncoding::ShiftJis},
        {"UTF-8 past U+10FFFF", "a\xF4\x90\x80\x80", MemoEncoding::ShiftJis},
        {"UTF-16 of an odd size", std::string("\xFF\xFE" "c\0d", 5), MemoEncoding::ShiftJis},
        {"UTF-16 lone high surrogate", std::string("\xFF\xFE\x3D\xD8" "c\0", 6), MemoEncoding::ShiftJis},
        {"UTF-16 lone low surrogate", std::string("\xFF\xFE\x00\xDE", 4), MemoEncoding::ShiftJis},
        {"UTF-16 with a NUL", std::string("\xFF\xFE" "c\0\0\0", 6), MemoEncoding::ShiftJis},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(Name(c.expected), Name(Detect(c.bytes))) << c.what;
    }
}

// Shift-JIS texts whose bytes happen to form valid UTF-8: half-width
// katakana pairs, and level-2 kanji before a full-width mark.
TEST(TextEncoding, ShiftJisThatIsValidUtf8StaysShiftJis)
{
    struct Case {
        const char* text;  // as a reader sees it
        std::string bytes;
    } const cases[] = {
        {"hai (half-width)", "\xCA\xB2"},
        {"misu (half-width)", "\xD0\xBD"},
        {"masu (half-width)", "\xCF\xBD"},
        {"hiro (half-width, long marks)", "\xCB\xB0\xDB\xB0"},
        {"Re: hai", "Re: \xCA\xB2"},
        {"haruka + ideographic comma", "\xEA\xA1\x81\x41"},
        {"rin + full-width !", "\xEA\xA3\x81\x49"},
        {"gyou + ideographic full stop", "\xEA\x9F\x81\x42"},
        {"maki + long mark", "\xEA\xA0\x81\x5B"},
    };
    for (const Case& c : cases) {
        std::u16string asUtf8;
        ASSERT_TRUE(DecodeText(c.bytes.data(), c.bytes.size(), MemoEncoding::Utf8, asUtf8)) << c.text;
        EXPECT_STREQ("ShiftJis", Name(Detect(c.bytes))) << c.text;
    }
}

TEST(TextEncoding, DecodesEveryCharacterAndEncodesTheSameBytesBack)
{
    const std::u16string text = u"caf\u00E9 \u266B\r\n\u65E5\u672C \U00020BB7";
    const MemoEncoding all[] = {MemoEncoding::Utf8, MemoEncoding::Utf8Bom, MemoEncoding::Utf16Le,
                                MemoEncoding::Utf16Be};
    for (MemoEncoding encoding : all) {
        const std::string bytes = EncodeText(text, encoding);
        EXPECT_STREQ(Name(encoding), Name(Detect(bytes)));
        std::u16string back;
        ASSERT_TRUE(DecodeText(bytes.data(), bytes.size(), encoding, back)) << Name(encoding);
        EXPECT_TRUE(back == text) << Name(encoding) << ": every character, the surrogate pair too";
        EXPECT_EQ(bytes, EncodeText(back, encoding)) << Name(encoding);
    }
    EXPECT_EQ("\xEF\xBB\xBF", EncodeText(u"", MemoEncoding::Utf8Bom)) << "the BOM is kept";
    EXPECT_EQ(std::string("\xFE\xFF\x26\x6B", 4), EncodeText(u"\u266B", MemoEncoding::Utf16Be));
    EXPECT_EQ("a\xED\xA0\xBD", EncodeText(u"a\xD83D", MemoEncoding::Utf8)) << "a lone surrogate is kept";
    std::u16string none = u"x";
    EXPECT_FALSE(DecodeText("\xEF\xBB", 2, MemoEncoding::Utf8Bom, none)) << "a BOM cut short";
    EXPECT_TRUE(none.empty());
}
}  // namespace
