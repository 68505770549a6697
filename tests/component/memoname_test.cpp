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
        // 83 41 and 83 61, 83 42 and 83 62: a byte-wise fold of the trail
        // byte would take each pair for one name.
        {"ア", "ヂ", false},
        {"ィ", "ッ", false},
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
    EXPECT_EQ("ヂ", ChooseMemoName("ヂ", "null", taken({"ア"}), FoldMemoName).value_or("<none>"))
        << "a trail byte is not folded like a letter";
    EXPECT_EQ("ヂ", ChooseMemoName("ヂ", "ア", taken({"ア"}), FoldMemoName).value_or("<none>"))
        << "a new name, not a change of case of the current one";
}
}  // namespace
