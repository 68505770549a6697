// Naming and matching of the Startup-folder links, and the folder path.
#include "startup/linkrules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "startup/startuppath.h"

namespace {
TEST(LinkRules, PathsAreBuiltFromTheirPartsAndRefusedWhenTooLong)
{
    char out[260];
    ASSERT_TRUE(FormatLinkPath(out, sizeof(out), "C:\\S\\", "買い物 100%"));
    EXPECT_STREQ("C:\\S\\買い物 100%.lnk", out);
    ASSERT_TRUE(FormatMemoTarget(out, sizeof(out), "C:\\app\\memo", "todo"));
    EXPECT_STREQ("C:\\app\\memo\\todo.txt", out);
    ASSERT_TRUE(FormatProgramTarget(out, sizeof(out), "C:\\app\\"));
    EXPECT_STREQ("C:\\app\\MossvanePad.exe", out);
    ASSERT_TRUE(FormatProgramTarget(out, sizeof(out), "E:\\"));
    EXPECT_STREQ("E:\\MossvanePad.exe", out) << "at a drive's root";
    EXPECT_FALSE(FormatLinkPath(out, sizeof(out), "", "todo")) << "no Startup folder, no link";
    EXPECT_STREQ("", out);

    std::string dir = "C:\\" + std::string(250, 'd') + "\\";
    EXPECT_TRUE(FormatLinkPath(out, sizeof(out), dir.c_str(), "a"));
    EXPECT_EQ(259u, strlen(out));
    EXPECT_FALSE(FormatLinkPath(out, sizeof(out), dir.c_str(), "ab"));
    EXPECT_STREQ("", out) << "a path that does not fit is refused, not cut";
    EXPECT_FALSE(FormatMemoTarget(out, sizeof(out), dir.c_str(), "ab"));
    EXPECT_FALSE(FormatProgramTarget(out, sizeof(out), dir.c_str()));
}

TEST(LinkRules, LinkNameIsTheFileNameWithoutItsLinkEnding)
{
    struct Case {
        const char* file;
        bool ok;
        const char* name;
    } cases[] = {
        {"todo.lnk", true, "todo"},
        {"Todo.LNK", true, "Todo"},
        {".lnk", true, ""},
        {"ソ.lnk", true, "ソ"},
        {"a.b.lnk", true, "a.b"},
        {"x.lnk2", false, ""},
        {"lnk", false, ""},
        {"todo.txt", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        char name[260] = "stale";
        EXPECT_EQ(c.ok, LinkNameOfFile(name, sizeof(name), c.file));
        EXPECT_STREQ(c.name, name);
    }
    char small[4];
    EXPECT_FALSE(LinkNameOfFile(small, sizeof(small), "abcd.lnk")) << "the name needs 5 bytes";
    EXPECT_STREQ("", small);
}

TEST(LinkRules, MemoLinkNeedsOurDescriptionAndExactlyTheMemoTarget)
{
    const char* target = "C:\\app\\memo\\todo.txt";
    struct Case {
        const char* description;
        const char* path;
        bool matches;
    } cases[] = {
        {"MossvanePad", "C:\\app\\memo\\todo.txt", true},
        {"MossvanePad", "C:\\other\\memo\\todo.txt", false},
        {"MossvanePad", "C:\\app\\memo\\Todo.txt", false},
        {"MossvanePad", "C:\\app\\memo\\todo.txt ", false},
        {"mossvanepad", "C:\\app\\memo\\todo.txt", false},
        {"", "C:\\app\\memo\\todo.txt", false},
        {"MossvanePad ", "C:\\app\\memo\\todo.txt", false},
        {"MossvanePad", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.description) + " | " + c.path);
        EXPECT_EQ(c.matches, IsMemoLink(c.description, c.path, target));
    }
    EXPECT_FALSE(IsMemoLink("MossvanePad", "", "")) << "a target that could not be formed matches nothing";
}

bool IsShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

TEST(LinkRules, NumberedNamesAreThoseAMemoFileWouldTake)
{
    char out[260];
    ASSERT_TRUE(FormatNumberedLinkPath(out, sizeof(out), "C:\\S\\", "Backup", 1));
    EXPECT_STREQ("C:\\S\\Backup.lnk", out);
    ASSERT_TRUE(FormatNumberedLinkPath(out, sizeof(out), "C:\\S\\", "Backup", 12));
    EXPECT_STREQ("C:\\S\\Backup (12).lnk", out);

    struct Case {
        const char* linkName;
        bool numbered;
    };
    const Case cases[] = {
        {"MossvanePad", true},        {"MossvanePad (2)", true},     {"MossvanePad (9999)", true},
        {"MossvanePad (1)", false},   {"MossvanePad (02)", false},   {"MossvanePad (10000)", false},
        {"MossvanePad (2) x", false}, {"MossvanePad (old)", false},  {"MossvanePad at logon", false},
        {"mossvanepad", false},       {"Pad (2)", false},            {"MossvanePad (-2)", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.linkName);
        EXPECT_EQ(c.numbered, IsNumberedLinkName(c.linkName, "MossvanePad"));
    }
}

TEST(StartupPath, FolderGetsExactlyOneTrailingBackslash)
{
    struct Case {
        const char* folder;
        const char* path;
    } cases[] = {
        {"C:\\Users\\taro\\Startup", "C:\\Users\\taro\\Startup\\"},
        {"D:\\", "D:\\"},
        // ソ in Shift-JIS is 0x83 0x5C: its second byte is no backslash.
        {"C:\\\x83\x5C", "C:\\\x83\x5C\\"},
        {"C:\\\x83\x5C\\", "C:\\\x83\x5C\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        char out[260];
        ASSERT_TRUE(FormatFolderPath(out, sizeof(out), c.folder, IsShiftJisLeadByte));
        EXPECT_STREQ(c.path, out);
    }
    std::string full(258, 'f');
    char out[260];
    EXPECT_TRUE(FormatFolderPath(out, sizeof(out), full.c_str(), IsShiftJisLeadByte));
    full += 'f';
    EXPECT_FALSE(FormatFolderPath(out, sizeof(out), full.c_str(), IsShiftJisLeadByte));
    EXPECT_STREQ("", out);
}
}  // namespace
