#include "app/shortcutkey.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
const unsigned char kCtrl = kShortcutCtrl, kShift = kShortcutShift, kAlt = kShortcutAlt, kWin = kShortcutWin;

TEST(ShortcutKey, ReadsModifiersAndAKeyInAnyCaseAndSpacing)
{
    struct Case {
        const char* text;
        unsigned char vk;
        unsigned char mods;
    };
    const Case cases[] = {
        {"Alt+Z", 'Z', kAlt},
        {"Ctrl+Shift+M", 'M', kCtrl | kShift},
        {"  ctrl + SHIFT +m ", 'M', kCtrl | kShift},
        {"\tALT+z", 'Z', kAlt},
        {"Shift+Ctrl+M", 'M', kCtrl | kShift},
        {"Control+Alt+Delete", 0x2E, kCtrl | kAlt},
        {"Alt+Alt+Z", 'Z', kAlt},
        {"Win+Space", 0x20, kWin},
        {"Ctrl+Shift+Alt+Win+F24", 0x87, kCtrl | kShift | kAlt | kWin},
        {"Alt+F1", 0x70, kAlt},
        {"alt+f12", 0x7B, kAlt},
        {"Ctrl+7", '7', kCtrl},
        {"Ctrl+0", '0', kCtrl},
        {"Alt+Numpad5", 0x65, kAlt},
        {"Alt+Esc", 0x1B, kAlt},
        {"Alt+escape", 0x1B, kAlt},
        {"Ctrl+PgDn", 0x22, kCtrl},
        {"Ctrl+OemComma", 0xBC, kCtrl},
        {"Win+Oem102", 0xE2, kWin},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ShortcutKey key = {0, 0};
        ASSERT_TRUE(ParseShortcutKey(c.text, key));
        EXPECT_EQ(c.vk, key.vk);
        EXPECT_EQ(c.mods, key.mods);
    }
}

// None of these names a usable shortcut, and the key passed in stays.
TEST(ShortcutKey, RefusesTextThatNamesNoUsableShortcut)
{
    const char* const texts[] = {
        "", "   ", "Z", "Shift+Z", "Shift+F5",            // no modifier, or Shift alone: ordinary typing
        "Alt", "Ctrl+Alt", "Ctrl+Shift", "Alt+Win",      // modifiers alone
        "Alt+", "+Z", "Alt++Z", "Alt+ +Z", "Alt+Z+",    // an empty part
        "Alt+Zz", "Alt+F0", "Alt+F25", "Alt+F01", "Alt+F100", "Alt+Numpad10", "Alt+Numpad",
        "Alt+Plus", "Alt+\x82\x60", "Meta+Z", "Alt Z", "Alt-Z", "Alt+Z junk",
        "Alt+Shift", "Ctrl+Win",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        ShortcutKey key = {0x42, kCtrl};
        EXPECT_FALSE(ParseShortcutKey(text, key));
        EXPECT_EQ(0x42, key.vk);
        EXPECT_EQ(kCtrl, key.mods);
    }
    ShortcutKey key = kDefaultShortcutKey;
    EXPECT_FALSE(ParseShortcutKey(nullptr, key));
}

TEST(ShortcutKey, TellsWhyAKeyCannotBeTheShortcut)
{
    struct Case {
        ShortcutKey key;
        ShortcutProblem problem;
    };
    const Case cases[] = {
        {{'Z', kAlt}, ShortcutProblem::kNone},
        {{'Z', kCtrl | kAlt}, ShortcutProblem::kNone},
        {{0x70, kWin}, ShortcutProblem::kNone},
        {{0, kAlt}, ShortcutProblem::kNoKey},
        {{0x10, kShift}, ShortcutProblem::kNoKey},     // Shift pressed with Shift
        {{0x12, kAlt}, ShortcutProblem::kNoKey},
        {{0xA3, kCtrl}, ShortcutProblem::kNoKey},      // the right Ctrl key
        {{0x5B, kWin}, ShortcutProblem::kNoKey},
        {{'Z', 0}, ShortcutProblem::kNoModifier},
        {{'Z', kShift}, ShortcutProblem::kNoModifier},
        {{0x70, 0}, ShortcutProblem::kNoModifier},
        {{0xE9, kAlt}, ShortcutProblem::kUnnamedKey},
        {{0x01, kCtrl}, ShortcutProblem::kUnnamedKey},  // a mouse button's code
        {{'Z', kAlt | 0x10}, ShortcutProblem::kUnnamedKey},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "vk " << int(c.key.vk) << " mods " << int(c.key.mods));
        EXPECT_EQ(static_cast<int>(c.problem), static_cast<int>(CheckShortcutKey(c.key)));
    }
}

TEST(ShortcutKey, RefusesKeysOthersActOnAndWarnsOfAltGrCharacters)
{
    struct Case {
        ShortcutKey key;
        ShortcutRisk risk;
    };
    const Case cases[] = {
        {{'Z', kAlt}, ShortcutRisk::kNone},
        {{'M', kCtrl | kShift}, ShortcutRisk::kNone},
        {{'B', kCtrl}, ShortcutRisk::kNone},
        {{'C', kCtrl | kShift}, ShortcutRisk::kNone},
        {{'A', kCtrl}, ShortcutRisk::kEditingKey},
        {{'C', kCtrl}, ShortcutRisk::kEditingKey},
        {{'V', kCtrl}, ShortcutRisk::kEditingKey},
        {{'X', kCtrl}, ShortcutRisk::kEditingKey},
        {{'Y', kCtrl}, ShortcutRisk::kEditingKey},
        {{'Z', kCtrl}, ShortcutRisk::kEditingKey},
        {{'S', kCtrl}, ShortcutRisk::kEditingKey},
        {{'P', kCtrl}, ShortcutRisk::kEditingKey},
        {{0x09, kAlt}, ShortcutRisk::kSystemKey},
        {{0x09, kAlt | kShift}, ShortcutRisk::kSystemKey},
        {{0x1B, kAlt}, ShortcutRisk::kSystemKey},
        {{0x20, kAlt}, ShortcutRisk::kSystemKey},
        {{0x73, kAlt}, ShortcutRisk::kSystemKey},
        {{0x1B, kCtrl}, ShortcutRisk::kSystemKey},
        {{0x1B, kCtrl | kShift}, ShortcutRisk::kSystemKey},
        {{0x2E, kCtrl | kAlt}, ShortcutRisk::kSystemKey},
        {{0x73, kCtrl | kAlt}, ShortcutRisk::kNone},
        {{0x09, kCtrl}, ShortcutRisk::kNone},
        {{'Q', kCtrl | kAlt}, ShortcutRisk::kAltGrLetter},
        {{'E', kCtrl | kAlt | kShift}, ShortcutRisk::kAltGrLetter},
        {{'7', kCtrl | kAlt}, ShortcutRisk::kAltGrLetter},
        {{0xDB, kCtrl | kAlt}, ShortcutRisk::kAltGrLetter},
        {{'Q', kCtrl | kAlt | kWin}, ShortcutRisk::kNone},
        {{0x70, kCtrl | kAlt}, ShortcutRisk::kNone},
        {{'Z', kAlt | kShift}, ShortcutRisk::kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "vk " << int(c.key.vk) << " mods " << int(c.key.mods));
        EXPECT_EQ(static_cast<int>(c.risk), static_cast<int>(JudgeShortcutForTyping(c.key)));
    }
}

TEST(ShortcutKey, WritesTheCanonicalTextOrNothing)
{
    struct Case {
        ShortcutKey key;
        const char* text;
    };
    const Case cases[] = {
        {kDefaultShortcutKey, "Alt+Z"},
        {{'M', kShift | kCtrl}, "Ctrl+Shift+M"},
        {{0x7B, kWin | kAlt | kShift | kCtrl}, "Ctrl+Shift+Alt+Win+F12"},
        {{0x20, kCtrl}, "Ctrl+Space"},
        {{0x22, kCtrl}, "Ctrl+PageDown"},
        {{0x69, kAlt}, "Alt+Numpad9"},
        {{'Z', 0}, "Z"},  // written as it is; reading refuses it
        {{0xBB, kCtrl}, "Ctrl+OemPlus"},
        {{0xE9, kAlt}, ""},
        {{'Z', kAlt | 0x40}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        char out[64] = "junk";
        EXPECT_EQ(c.text[0] != '\0', FormatShortcutKey(c.key, out, sizeof(out)));
        EXPECT_STREQ(c.text, out);
    }
    char small[6];
    memset(small, 'x', sizeof(small));
    EXPECT_TRUE(FormatShortcutKey(kDefaultShortcutKey, small, sizeof(small))) << "exactly fits";
    EXPECT_FALSE(FormatShortcutKey({'M', kCtrl | kShift}, small, sizeof(small)));
    EXPECT_STREQ("", small) << "a cut text is no text";
}

// Every key with a name and every set of modifiers that makes it usable
// comes back as it was written; the text never holds the separator but
// between parts.
TEST(ShortcutKey, EveryUsableKeyReadsBackAsItWasWritten)
{
    int usable = 0;
    for (int vk = 0; vk < 256; ++vk) {
        for (int mods = 0; mods < 16; ++mods) {
            const ShortcutKey key = {static_cast<unsigned char>(vk), static_cast<unsigned char>(mods)};
            char text[64];
            bool written = FormatShortcutKey(key, text, sizeof(text));
            ShortcutKey back = {0, 0};
            bool read = written && ParseShortcutKey(text, back);
            if (CheckShortcutKey(key) != ShortcutProblem::kNone) {
                EXPECT_FALSE(read) << text;
                continue;
            }
            ++usable;
            ASSERT_TRUE(written) << "vk " << vk << " mods " << mods;
            ASSERT_TRUE(read) << text;
            EXPECT_EQ(key, back) << text;
            const std::string name = text;
            EXPECT_EQ(std::string::npos, name.find("++")) << text;
            EXPECT_NE('+', name.back()) << text;
        }
    }
    EXPECT_GT(usable, 100 * 14) << "letters, digits, F-keys, the numpad and the named keys";
}
}  // namespace
