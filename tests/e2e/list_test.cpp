// The memo list of the real program: what it lists and selects, and
// switching memos with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/links_probe.h"

namespace {
const int kNewMemo = 1;
const int kFileList = 201;
const int kStartupBox = 202;

using Names = std::vector<std::string>;

// Wine hands an entry of another process's list over in UTF-16 whichever
// form is asked for, so it is asked for in that form.
Names Entries(const MemoApp& app)
{
    Names entries;
    HWND list = app.Child(kFileList);
    LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        WCHAR wide[MAX_PATH] = L"";
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
        char text[MAX_PATH * 2] = "";
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
        entries.push_back(text);
    }
    return entries;
}

Names Sorted(Names names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// The selected entry, or "<none>".
std::string Selected(const MemoApp& app)
{
    LRESULT index = SendMessageA(app.Child(kFileList), CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return "<none>";
    return Entries(app).at(static_cast<size_t>(index));
}

// Opens and closes the list as a click on its arrow does.
void DropDown(const MemoApp& app)
{
    SendMessageA(app.Child(kFileList), CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(app.Child(kFileList), CB_SHOWDROPDOWN, FALSE, 0);
}

// Picks an entry as the user does: the list is opened, the selection
// changes, the list notifies.
bool Pick(const MemoApp& app, const std::string& entry)
{
    DropDown(app);
    HWND list = app.Child(kFileList);
    LRESULT index = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(entry.c_str()));
    if (index == CB_ERR) return false;
    SendMessageA(list, CB_SETCURSEL, index, 0);
    return app.Command(kFileList, CBN_SELCHANGE);
}

TEST(MemoList, EmptyFolderGivesADisabledListUntilTheFirstMemoIsSaved)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    HWND list = app.Child(kFileList);
    EXPECT_EQ(Names{}, Entries(app));
    EXPECT_FALSE(IsWindowEnabled(list));
    EXPECT_EQ(nullptr, app.WaitForMessageBox(2000)) << "an empty memo folder is no error";

    app.TypeText("first\r\nmemo");
    ASSERT_TRUE(app.Command(kNewMemo));
    EXPECT_EQ(Names{"first.txt"}, Entries(app));
    EXPECT_TRUE(IsWindowEnabled(list));
    EXPECT_EQ("<none>", Selected(app));
    EXPECT_EQ(0u, app.EndFromTray());
}

TEST(MemoList, StartsOnPrevFileWhateverItsCaseAndAnyRefreshSelectsNothing)
{
    MemoApp app;
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    app.WriteFile("memo\\Todo.txt", "Todo\r\ncall home");
    app.WriteFile("memo\\zeta.txt", "zeta");
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=todo\r\n");
    ASSERT_TRUE(app.Start());
    EXPECT_EQ("Todo.txt", Selected(app));
    EXPECT_EQ(Names{"Todo.txt"}, Entries(app)) << "until opened or focused, only the memo shown";
    EXPECT_EQ("Todo\r\ncall home", app.EditorText());
    ASSERT_TRUE(app.FocusChild(kFileList));
    EXPECT_EQ(2u, Entries(app).size()) << "the keyboard moves through every memo";
    EXPECT_EQ("Todo.txt", Selected(app));

    DropDown(app);
    EXPECT_EQ(2u, Entries(app).size());
    EXPECT_EQ("<none>", Selected(app)) << "even though the current memo is listed";
    EXPECT_EQ(0u, app.EndFromTray());
}

TEST(MemoList, PickedMemoBringsItsStartupStateAndItsRenamedLinkGetsItsName)
{
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    app.WriteFile("memo\\alpha.txt", "alpha\r\none");
    app.WriteFile("memo\\beta.txt", "beta\r\ntwo");
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=alpha\r\n");
    std::string startup = ShellStartupFolder();
    ASSERT_TRUE(WriteLink(startup + "Beta at logon.lnk", app.PathOf("memo\\beta.txt"), app.PathOf("memo"),
                          "MossvanePad"));
    ASSERT_TRUE(app.Start());
    EXPECT_FALSE(app.IsChecked(kStartupBox));

    ASSERT_TRUE(Pick(app, "beta.txt"));
    EXPECT_EQ("beta\r\ntwo", app.EditorText());
    EXPECT_TRUE(app.IsChecked(kStartupBox));
    auto links = StartupLinksInto(app.Dir());
    ASSERT_EQ(1u, links.size());
    EXPECT_EQ("beta.lnk", links[0].first) << "the renamed link got the memo's name back";

    ASSERT_TRUE(Pick(app, "alpha.txt"));
    EXPECT_FALSE(app.IsChecked(kStartupBox));
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ(1u, StartupLinksInto(app.Dir()).size()) << "leaving a memo keeps its link";
}

// Another program (a sync tool, an editor) adds, removes and renames memo
// files while the window is hidden; a sync tool's own files lie beside them.
TEST(MemoList, MemosChangedElsewhereShowAsTheyAreAfterAPopUpAndWhenDroppedDown)
{
    MemoApp app;
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    ASSERT_TRUE(app.Start());
    HWND list = app.Child(kFileList);
    EXPECT_FALSE(IsWindowEnabled(list));

    ActivateOtherWindow();
    ASSERT_TRUE(app.WaitHidden());
    app.WriteFile("memo\\alpha.txt", "alpha");
    app.WriteFile("memo\\beta.txt", "beta");
    app.WriteFile("memo\\gamma.txt", "gamma");
    ASSERT_TRUE(app.PopUpByRequest());
    EXPECT_TRUE(WaitUntil([list] { return IsWindowEnabled(list) != FALSE; })) << "memos arrived in an empty folder";
    ASSERT_TRUE(Pick(app, "alpha.txt"));
    EXPECT_EQ(Sorted({"alpha.txt", "beta.txt", "gamma.txt"}), Sorted(Entries(app)));

    ActivateOtherWindow();
    ASSERT_TRUE(app.WaitHidden());
    ASSERT_TRUE(DeleteFileA(app.PathOf("memo\\beta.txt").c_str()));
    ASSERT_TRUE(MoveFileA(app.PathOf("memo\\gamma.txt").c_str(), app.PathOf("memo\\omega.txt").c_str()));
    app.WriteFile("memo\\delta.txt", "delta");
    app.WriteFile("memo\\alpha (conflict copy).txt", "alpha elsewhere");
    app.WriteFile("memo\\.syncing.delta.txt.tmp", "half");
    app.WriteFile("memo\\~delta.txt~", "half");
    ASSERT_TRUE(app.PopUpByRequest());
    EXPECT_TRUE(WaitUntil([&app] {
        for (const std::string& entry : Entries(app))
            if (!app.FileExists("memo\\" + entry)) return false;
        return true;
    })) << "a memo that is gone is still listed";
    EXPECT_EQ("alpha.txt", Selected(app));
    EXPECT_EQ("alpha", app.EditorText());

    const Names now = Sorted({"alpha (conflict copy).txt", "alpha.txt", "delta.txt", "omega.txt"});
    ASSERT_TRUE(app.FocusChild(kFileList));
    EXPECT_EQ(now, Sorted(Entries(app))) << "the keyboard moves through the memos as they are";
    EXPECT_EQ("alpha.txt", Selected(app));
    DropDown(app);
    EXPECT_EQ(now, Sorted(Entries(app)));
    EXPECT_EQ("alpha", app.EditorText());
    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("half", app.ReadFile("memo\\.syncing.delta.txt.tmp"));
}

TEST(MemoList, FilesNamedNullOrAfterADeviceAreNotOfferedAndStayOnDisk)
{
    MemoApp app;
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    app.WriteFile("memo\\abc.txt", "abc");
    app.WriteFile("memo\\Null.txt", "copied in");
    // Only a name that skips the device check can make such a file.
    std::string device = "\\\\?\\" + app.PathOf("memo\\aux.txt");
    HANDLE file = CreateFileA(device.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);

    ASSERT_TRUE(app.Start());
    DropDown(app);
    EXPECT_EQ(Names{"abc.txt"}, Entries(app));
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("copied in", app.Memo("Null"));
    EXPECT_TRUE(DeleteFileA(device.c_str())) << "it was still there";
}
}  // namespace
