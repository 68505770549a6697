// The memo links and the program's autostart link in the shell's Startup
// folder, made and followed by the real program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/fault_env.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/links_probe.h"

namespace {
const int kNewMemo = 1;
const int kDeleteMemo = 3;
const int kFileList = 201;
const int kStartupBox = 202;

using Names = std::vector<std::string>;

Names LinkNames(const MemoApp& app)
{
    Names names;
    for (const auto& link : StartupLinksInto(app.Dir())) names.push_back(link.first);
    return names;
}

void ExpectMemoLink(const MemoApp& app, const std::string& name)
{
    SCOPED_TRACE(name);
    auto links = StartupLinksInto(app.Dir());
    ASSERT_EQ(1u, links.size());
    EXPECT_EQ(name + ".lnk", links[0].first);
    const LinkFields& link = links[0].second;
    EXPECT_EQ(app.PathOf("memo\\" + name + ".txt"), link.target);
    EXPECT_EQ(app.PathOf("memo"), link.workingDir);
    EXPECT_EQ("MossvanePad", link.description);
    EXPECT_EQ("", link.arguments);
}

void HideAndShowAgain(MemoApp& app)
{
    ActivateOtherWindow();
    ASSERT_TRUE(app.WaitHidden());
    // Up with the editor focused: the pop-up's own click, still on its way,
    // would otherwise land between selecting and replacing the text.
    ASSERT_TRUE(app.PopUpByRequest());
}

TEST(MemoLinks, StartupBoxMakesTheLinkWhichFollowsTheTitleAndGoesWithTheMemo)
{
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    ASSERT_TRUE(app.Start());
    app.TypeText("Shopping\r\nmilk");
    ASSERT_TRUE(app.ClickCheckBox(kStartupBox));
    ExpectMemoLink(app, "Shopping");
    ASSERT_TRUE(app.ClickCheckBox(kStartupBox));
    EXPECT_EQ(Names{}, LinkNames(app)) << "unchecking removes it";

    ASSERT_TRUE(app.ClickCheckBox(kStartupBox));
    app.TypeText("Groceries\r\nmilk");
    HideAndShowAgain(app);
    ExpectMemoLink(app, "Groceries");

    app.TypeText("Errands\r\nmilk");
    ASSERT_TRUE(app.ClickCheckBox(kStartupBox));
    EXPECT_TRUE(app.FileExists("memo\\Errands.txt"));
    EXPECT_EQ(Names{}, LinkNames(app)) << "renamed and unchecked in one save: no link is left behind";

    ASSERT_TRUE(app.ClickCheckBox(kStartupBox));
    ExpectMemoLink(app, "Errands");
    TrashedFile trashed("Errands.txt");
    ASSERT_TRUE(app.Command(kDeleteMemo));
    EXPECT_FALSE(app.FileExists("memo\\Errands.txt"));
    EXPECT_EQ("Errands\r\nmilk", trashed.Content()) << "in the Recycle Bin, to be taken back";
    EXPECT_EQ(Names{}, LinkNames(app));
    EXPECT_FALSE(app.IsChecked(kStartupBox));
    EXPECT_EQ(0u, app.EndFromTray());
}

TEST(MemoLinks, LinkTheUserRenamedIsFoundAtStartAndGetsTheMemosNameBack)
{
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    app.WriteFile("memo\\todo.txt", "todo\r\ncall home");
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=todo\r\n");
    std::string startup = ShellStartupFolder();
    ASSERT_TRUE(WriteLink(startup + "My morning list.lnk", app.PathOf("memo\\todo.txt"), app.PathOf("memo"),
                          "MossvanePad"));
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(app.IsChecked(kStartupBox));
    ExpectMemoLink(app, "todo");
    EXPECT_EQ(0u, app.EndFromTray());
}

TEST(MemoLinks, LinksOfAnotherFolderOrDescriptionOrOfAnotherProgramDoNotCount)
{
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    app.WriteFile("memo\\todo.txt", "todo\r\ncall home");
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=todo\r\n");
    std::string startup = ShellStartupFolder();
    ASSERT_TRUE(WriteLink(startup + "Todo elsewhere.lnk", app.PathOf("copy\\memo\\todo.txt"), app.PathOf("copy"),
                          "MossvanePad"));
    ASSERT_TRUE(WriteLink(startup + "Todo notes.lnk", app.PathOf("memo\\todo.txt"), app.PathOf("memo"), "Notes"));
    ASSERT_TRUE(WriteLink(startup + "todo.lnk", app.PathOf("todo.exe"), app.Dir(), "A tool of the user"));
    const Names all = {"Todo elsewhere.lnk", "Todo notes.lnk", "todo.lnk"};

    ASSERT_TRUE(app.Start());
    EXPECT_FALSE(app.IsChecked(kStartupBox));
    app.TypeText("todo\r\ncall home twice");
    ActivateOtherWindow();
    ASSERT_TRUE(app.WaitHidden());
    EXPECT_EQ("todo\r\ncall home twice", app.Memo("todo"));
    EXPECT_EQ(all, LinkNames(app)) << "the save of the unmarked memo removed none of them";
    EXPECT_EQ(app.PathOf("todo.exe"), ReadLinkBack(startup + "todo.lnk").target);
    EXPECT_EQ(0u, app.EndFromTray());
}

// A memo that cannot be read leaves no Startup mark on the empty editor, and
// while its message box is up the window refuses to load or save another.
TEST(MemoLinks, UnreadableMemoLeavesNoMarkAndNothingLoadsBehindItsBox)
{
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    app.WriteFile("memo\\todo.txt", "todo\r\ncall home");
    app.WriteFile("memo\\held.txt", "held\r\nopen elsewhere");
    app.WriteFile("memo\\other.txt", "other\r\nnever touched");
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=todo\r\n");
    for (const char* name : {"todo", "held"}) {
        ASSERT_TRUE(WriteLink(ShellStartupFolder() + name + ".lnk", app.PathOf(std::string("memo\\") + name + ".txt"),
                              app.PathOf("memo"), "MossvanePad"));
    }
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.IsChecked(kStartupBox));
    ASSERT_TRUE(Pin(app));
    ASSERT_TRUE(app.PopUp());

    FileLock lock(app.PathOf("memo\\held.txt"));
    ASSERT_TRUE(lock.ok());
    for (bool pickBehindTheBox : {false, true}) {
        SCOPED_TRACE(pickBehindTheBox ? "another memo picked behind the box" : "the box answered");
        ASSERT_TRUE(app.SelectInList("held.txt"));
        app.PostCommand(kFileList, CBN_SELCHANGE);
        HWND box = app.WaitForMessageBox();
        ASSERT_NE(nullptr, box);
        if (pickBehindTheBox) {
            ASSERT_TRUE(app.SelectInList("other.txt"));
            EXPECT_TRUE(app.Command(kFileList, CBN_SELCHANGE));
            EXPECT_EQ("", app.EditorText()) << "no memo is loaded behind the box";
        }
        std::string seen = ReadAndDismiss(box);
        EXPECT_EQ(0u, seen.find("ファイルの読み込みに失敗しました")) << seen;
        EXPECT_EQ("<no box>", ReadAndDismiss(app.WaitForMessageBox(2000)));
        EXPECT_EQ("", app.EditorText());
        EXPECT_FALSE(app.IsChecked(kStartupBox)) << "the memo not shown has no mark";
    }

    lock.Release();
    app.TypeText("fresh\r\ntyped after the failed pick");
    ASSERT_TRUE(app.Command(kNewMemo));
    Names links = LinkNames(app);
    std::sort(links.begin(), links.end());
    EXPECT_EQ((Names{"held.lnk", "todo.lnk"}), links) << "the new memo got no link";
    EXPECT_EQ((std::vector<std::string>{"fresh.txt", "held.txt", "other.txt", "todo.txt"}), app.StoredMemoFiles());
    EXPECT_EQ("other\r\nnever touched", app.Memo("other"));
    EXPECT_EQ(0u, app.EndFromTray());
}

TEST(AutostartLink, OnMakesOneLinkToTheProgramAndOffRemovesOnlyItsFixedName)
{
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    app.WriteFile("MossvanePad.ini", "[Setting]\r\nStartup=1\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_EQ(0u, app.EndFromTray());
    auto links = StartupLinksInto(app.Dir());
    ASSERT_EQ(1u, links.size());
    EXPECT_EQ("MossvanePad.lnk", links[0].first);
    EXPECT_EQ(app.PathOf("MossvanePad.exe"), links[0].second.target);
    EXPECT_EQ(app.Dir(), links[0].second.workingDir);
    EXPECT_EQ("", links[0].second.description);
    EXPECT_EQ("", links[0].second.arguments);

    std::string startup = ShellStartupFolder();
    ASSERT_TRUE(WriteLink(startup + "Pad at logon.lnk", app.PathOf("MossvanePad.exe"), app.Dir(), nullptr));
    app.WriteFile("MossvanePad.ini", "[Setting]\r\nStartup=0\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ(Names{"Pad at logon.lnk"}, LinkNames(app));

    app.WriteFile("MossvanePad.ini", "[Setting]\r\nStartup=1\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ(Names{"Pad at logon.lnk"}, LinkNames(app)) << "a link to the program under any name is enough";
}
}  // namespace
