#include "memo/memoname.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {
// Case folded as a file system that knows only ASCII letters folds it; the
// program's own fold, for every script, is tested against the system's.
std::string Lower(const std::string& name)
{
    std::string s = name;
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

// Memo files as a case-insensitive file system sees them.
MemoExistsPredicate Existing(std::set<std::string> names)
{
    std::set<std::string> lowered;
    for (const std::string& name : names) lowered.insert(Lower(name));
    return [lowered](const std::string& name) { return lowered.count(Lower(name)) != 0; };
}

struct Case {
    const char* name;
    const char* title;
    const char* current;
    std::set<std::string> existing;
    const char* expected;
};

void ExpectNames(const Case* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        std::optional<std::string> got = ChooseMemoName(c.title, c.current, Existing(c.existing), Lower);
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(std::string(c.expected), *got);
    }
}

TEST(MemoName, KeepsTheTitleWhenFreeOrTheCurrentMemosOwn)
{
    const Case cases[] = {
        {"free title", "abc", "null", {}, "abc"},
        {"same memo saved again", "abc", "abc", {"abc"}, "abc"},
        {"case-only change of the current memo", "Abc", "abc", {"abc"}, "Abc"},
        {"renamed memo to a free title", "new", "old", {"old"}, "new"},
        {"Japanese title", "\x94\x83\x82\xA2\x95\xA8", "null", {"\x94\x83\x95\xA8"}, "\x94\x83\x82\xA2\x95\xA8"},
        {"current memo already numbered keeps its number", "abc", "abc (2)", {"abc", "abc (2)"}, "abc (2)"},
    };
    ExpectNames(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(MemoName, NumbersATitleThatNamesAnotherMemo)
{
    const Case cases[] = {
        {"another memo of that name", "abc", "null", {"abc"}, "abc (2)"},
        {"another memo differing in case", "abc", "xyz", {"Abc", "xyz"}, "abc (2)"},
        {"first free number", "abc", "null", {"abc", "abc (2)", "ABC (3)"}, "abc (4)"},
    };
    ExpectNames(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(MemoName, NeverUsesNullOrADeviceName)
{
    const Case cases[] = {
        {"null", "null", "null", {}, "null (2)"},
        {"NULL in any case", "Null", "null", {}, "Null (2)"},
        {"con", "con", "null", {}, "con (2)"},
        {"CON upper case", "CON", "null", {}, "CON (2)"},
        {"device with extension", "COM1.txt", "null", {}, "COM1 (2).txt"},
        {"device with trailing dot", "nul.", "null", {}, "nul (2)."},
        {"device with spaces before the extension", "aux  .log", "null", {}, "aux (2)  .log"},
        {"every port digit", "lpt9", "null", {}, "lpt9 (2)"},
        {"port zero", "com0", "null", {}, "com0 (2)"},
        {"console input", "conin$", "null", {}, "conin$ (2)"},
        {"numbered device name taken", "prn", "null", {"prn (2)"}, "prn (3)"},
        {"current memo with a device-like title is still numbered", "con", "con", {}, "con (2)"},
        {"two-digit port is a plain name", "com10", "null", {}, "com10"},
        {"longer word is a plain name", "console", "null", {}, "console"},
        {"null with an extension is a plain name", "null.txt", "null", {}, "null.txt"},
    };
    ExpectNames(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(MemoName, EmptyTitleIsStoredAsDotTxtAndNumberedWhenTaken)
{
    const Case cases[] = {
        {"first empty title", "", "null", {}, ""},
        {"the empty-titled memo saved again", "", "", {""}, ""},
        {"second empty-titled memo", "", "null", {""}, " (2)"},
        {"another memo becoming empty-titled", "", "abc", {"", "abc"}, " (2)"},
    };
    ExpectNames(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(MemoName, RefusesWhenEveryNumberIsTaken)
{
    auto everything = [](const std::string&) { return true; };
    EXPECT_FALSE(ChooseMemoName("abc", "null", everything, Lower).has_value());
    EXPECT_EQ("abc", ChooseMemoName("abc", "ABC", everything, Lower).value_or("<none>"));
}

TEST(MemoName, LongestNameIsTheLongestTitleWithTheLastNumber)
{
    const std::string title = "abcdefghijklmnopqrs\x82\xA0";
    const std::string last = title + " (9999)";
    auto allButTheLast = [&](const std::string& name) { return name != last; };
    std::string got = ChooseMemoName(title, "null", allButTheLast, Lower).value_or("<none>");
    EXPECT_EQ(last, got);
    EXPECT_EQ(kLongestMemoName, got.size());
}
}  // namespace
