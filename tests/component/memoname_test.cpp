// Memo names compared as the file system compares them, with the program's
// fold of the ANSI code page (Shift-JIS here).
#include "memo/memoname.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "memo/memofiles.h"

namespace {
TEST(MemoNameFold, ComparesNamesAsTheFileSystemDoes)
{
    struct SameCase {
        const char* a;
        const char* b;
        bool same;
    };
    const SameCase cases[] = {
        {"abc", "ABC", true},
        {"abc", "abcd", false},
        {"", "", true},
        {"買い物", "買い物", true},
        {"ア", "ッ", false},  // 0x83 0x41 and 0x83 0x61: a trail byte is no letter
        {"xア", "Xア", true},
        {"ａｂｃ", "ＡＢＣ", true},
        {"αβγ", "ΑΒΓ", true},
        {"абв", "АБВ", true},
        {"ａｂｃ", "abc", false},
        {"あ", "ア", false},
    };
    for (const SameCase& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(c.same, IsSameMemoName(c.a, c.b, FoldMemoName));
    }
}

TEST(MemoNameFold, CaseOnlyChangeOfAnyLetterKeepsTheCurrentMemosName)
{
    auto taken = [](std::initializer_list<const char*> names) {
        return [names](const std::string& name) {
            for (const char* existing : names) {
                if (IsSameMemoName(name, existing, FoldMemoName)) return true;
            }
            return false;
        };
    };
    EXPECT_EQ("ＡＢＣ", ChooseMemoName("ＡＢＣ", "ａｂｃ", taken({"ａｂｃ"}), FoldMemoName).value_or("<none>"));
    EXPECT_EQ("ＡＢＣ (2)", ChooseMemoName("ＡＢＣ", "null", taken({"ａｂｃ"}), FoldMemoName).value_or("<none>"));
    EXPECT_EQ("ッ (2)", ChooseMemoName("ッ", "ア", taken({"ア", "ッ"}), FoldMemoName).value_or("<none>"))
        << "a trail byte is not folded like a letter";
}
}  // namespace
