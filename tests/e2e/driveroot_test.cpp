// The program kept at the root of a drive, as a portable copy on a USB stick
// (E:\): its memos and their Startup links work as in any folder.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/harness.h"
#include "tests/e2e/links_probe.h"

namespace {
const int kDeleteMemo = 3;
const int kStartupBox = 202;
// tools/test maps this drive of the test prefix to a folder of its own.
const char kDrive[] = "M:";

// The drive's memo folder and settings, removed before and after the test.
class DriveRootFiles {
public:
    DriveRootFiles() { Remove(); }
    ~DriveRootFiles() { Remove(); }
    static bool Available() { return GetFileAttributesA((std::string(kDrive) + "\\").c_str()) != INVALID_FILE_ATTRIBUTES; }

private:
    static void Remove()
    {
        const std::string memo = std::string(kDrive) + "\\memo\\";
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((memo + "*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do DeleteFileA((memo + entry.cFileName).c_str());
            while (FindNextFileA(find, &entry));
            FindClose(find);
        }
        RemoveDirectoryA(memo.c_str());
        DeleteFileA((std::string(kDrive) + "\\MossvanePad.ini").c_str());
    }
};
}  // namespace

TEST(DriveRoot, TheMemosStartupLinkSurvivesARestartAndAHideAndGoesWithDelete)
{
    ASSERT_TRUE(DriveRootFiles::Available()) << "drive " << kDrive << " is not mapped: run the tests with tools/test";
    DriveRootFiles files;
    StartupLinksCleanup cleanup(kDrive);
    const std::string root = std::string(kDrive) + "\\";
    MemoApp app;
    ASSERT_TRUE(app.Start(root));
    app.TypeText("Receipts\r\nkeep until May");
    ASSERT_TRUE(app.ClickCheckBox(kStartupBox));
    auto links = StartupLinksInto(kDrive);
    ASSERT_EQ(1u, links.size());
    EXPECT_EQ(root + "memo\\Receipts.txt", links[0].second.target);
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("Receipts", IniValue(root + "MossvanePad.ini", "ReadFile", "PrevFile"));

    ASSERT_TRUE(app.Start(root));
    EXPECT_TRUE(app.IsChecked(kStartupBox)) << "the memo's link is found again";
    ActivateOtherWindow();
    ASSERT_TRUE(app.WaitHidden());
    EXPECT_EQ(1u, StartupLinksInto(kDrive).size()) << "a hide keeps the link";

    ASSERT_TRUE(app.PopUpByRequest());
    ASSERT_TRUE(app.Command(kDeleteMemo));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((root + "memo\\Receipts.txt").c_str()));
    EXPECT_EQ(0u, StartupLinksInto(kDrive).size()) << "the link goes with the memo";
    EXPECT_EQ(0u, app.EndFromTray());
}
