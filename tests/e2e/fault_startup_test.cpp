// Faults of the shell's Startup folder, brought on the real program: the
// folder missing at start or deleted while it runs (it is made again and
// the link written into it), and the folder read-only (the memo is saved
// all the same, the link that cannot be made or moved is told of, and
// neither the Startup box nor the autostart setting claims a link that is
// not there). The Startup folder is shared by every test: each one puts it
// back as it was, however it ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/fault_env.h"
#include "tests/e2e/links_probe.h"

namespace {
const int kSettingButton = 4;
const int kStartupBox = 202;
// The settings window's controls in creation order.
enum { kWidthEdit = 7, kAutoStart = 10, kDone = 11 };
const char kLinkFailed[] = "スタートアップへのショートカットの作成に失敗しました";
const char kMoveFailed[] = "スタートアップのショートカットの名前の変更に失敗しました";
const char kAutostartOnFailed[] = "スタートアップへの登録に失敗しました";
const char kAutostartOffFailed[] = "スタートアップからの削除に失敗しました";

using Names = std::vector<std::string>;

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

// The shell's Startup folder without its trailing backslash.
std::string StartupFolder()
{
    std::string folder = ShellStartupFolder();
    if (!folder.empty()) folder.pop_back();
    return folder;
}

bool FolderExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Moves every file of folder `from` into folder `to`, replacing what is there.
void MoveFilesInto(const std::string& from, const std::string& to)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((from + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        MoveFileExA((from + "\\" + entry.cFileName).c_str(), (to + "\\" + entry.cFileName).c_str(),
                    MOVEFILE_REPLACE_EXISTING);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

// The Startup folder moved aside for the life of the object, as if deleted,
// and put back when it ends with whatever the program wrote into a folder
// it made in its place. A folder left aside by a run that was killed is put
// back first.
class StartupFolderAside {
public:
    StartupFolderAside() : m_folder(StartupFolder()), m_aside(m_folder + ".aside")
    {
        if (FolderExists(m_aside)) PutBack();
        m_bMoved = !m_folder.empty() && MoveFileA(m_folder.c_str(), m_aside.c_str());
    }
    ~StartupFolderAside()
    {
        if (m_bMoved) PutBack();
    }
    bool ok() const { return m_bMoved; }

    StartupFolderAside(const StartupFolderAside&) = delete;
    StartupFolderAside& operator=(const StartupFolderAside&) = delete;

private:
    void PutBack() const
    {
        if (FolderExists(m_folder)) {
            MoveFilesInto(m_folder, m_aside);
            RemoveDirectoryA(m_folder.c_str());
        }
        MoveFileA(m_aside.c_str(), m_folder.c_str());
    }
    std::string m_folder;
    std::string m_aside;
    bool m_bMoved = false;
};

Names LinkNames(const MemoApp& app)
{
    Names names;
    for (const auto& link : StartupLinksInto(app.Dir())) names.push_back(link.first);
    return names;
}

// The one link into the app's folder is memo `name`'s own, under its name.
void ExpectOnlyMemoLink(const MemoApp& app, const std::string& name, const std::string& memoFile)
{
    SCOPED_TRACE(name);
    auto links = StartupLinksInto(app.Dir());
    ASSERT_EQ(1u, links.size());
    EXPECT_EQ(name + ".lnk", links[0].first);
    EXPECT_EQ(app.PathOf("memo\\" + memoFile + ".txt"), links[0].second.target);
    EXPECT_EQ("MossvanePad", links[0].second.description);
}

// A click posted, for a control whose handler brings up a message box.
void PostClick(HWND button)
{
    PostMessageA(button, BM_CLICK, 0, 0);
}

HWND SettingControl(HWND setting, int index)
{
    HWND control = GetWindow(setting, GW_CHILD);
    while (control && index-- > 0) control = GetWindow(control, GW_HWNDNEXT);
    return control;
}

HWND OpenSettings(const MemoApp& app)
{
    if (!app.Command(kSettingButton)) return nullptr;
    std::vector<HWND> found = TopLevelWindowsOf(app.ProcessId(), "SettingWnd");
    return found.size() == 1 && IsWindowVisible(found.front()) ? found.front() : nullptr;
}

bool IsAutostartChecked(HWND setting)
{
    return SendMessageA(SettingControl(setting, kAutoStart), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

TEST(FaultStartup, MissingAtStartIsMadeAgainAndTakesTheMemoLink)
{
    RecordProperty("fault", "Startup folder missing when the program starts; a memo then marked Startup");
    MemoApp app;
    StartupFolderAside aside;
    StartupLinksCleanup cleanup(app.Dir());
    ASSERT_TRUE(aside.ok());
    ASSERT_FALSE(FolderExists(StartupFolder()));
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(FolderExists(StartupFolder())) << "made again at start";

    const std::string text = "Morning\r\nstretch";
    app.TypeText(text);
    ASSERT_TRUE(app.ClickCheckBox(kStartupBox));
    EXPECT_EQ(nullptr, app.WaitForMessageBox(1000));
    ExpectOnlyMemoLink(app, "Morning", "Morning");
    EXPECT_TRUE(app.IsChecked(kStartupBox));
    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ(text, app.Memo("Morning"));
    RecordProperty("outcome", "no message; the folder was made again at start and the memo's link written "
                              "into it");
}

TEST(FaultStartup, DeletedWhileRunningIsMadeAgainAtTheNextSaveOfAMarkedMemo)
{
    RecordProperty("fault", "Startup folder deleted while the program runs: a marked memo edited and hidden, "
                            "then renamed and hidden");
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    ASSERT_TRUE(app.Start());
    app.TypeText("Morning\r\nstretch");
    ASSERT_TRUE(app.ClickCheckBox(kStartupBox));
    ASSERT_EQ(Names{"Morning.lnk"}, LinkNames(app));
    StartupFolderAside aside;
    ASSERT_TRUE(aside.ok());

    const std::string edited = "Morning\r\nstretch, then tea";
    app.TypeText(edited);
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ(nullptr, app.WaitForMessageBox(1000));
    EXPECT_EQ(edited, app.Memo("Morning"));
    EXPECT_TRUE(FolderExists(StartupFolder())) << "made again by the save";
    ExpectOnlyMemoLink(app, "Morning", "Morning");
    EXPECT_TRUE(app.IsChecked(kStartupBox));

    ASSERT_TRUE(DeleteFileA((ShellStartupFolder() + "Morning.lnk").c_str()));
    ASSERT_TRUE(RemoveDirectoryA(StartupFolder().c_str()));
    ASSERT_TRUE(app.PopUp());
    const std::string renamed = "Evening\r\nread";
    app.TypeText(renamed);
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ(nullptr, app.WaitForMessageBox(1000));
    EXPECT_EQ(renamed, app.Memo("Evening"));
    EXPECT_FALSE(app.FileExists("memo\\Morning.txt"));
    ExpectOnlyMemoLink(app, "Evening", "Evening");
    EXPECT_TRUE(app.IsChecked(kStartupBox));
    EXPECT_EQ(0u, app.EndFromTray());
    RecordProperty("outcome", "no message; the save made the folder again and wrote the memo's link into it, "
                              "under the memo's new name after a rename; the memo saved");
}

TEST(FaultStartup, ReadOnlyFolderKeepsTheMemoAndTellsOfTheLinkItCannotMakeOrMove)
{
    std::string why = WhyNoMounts();
    if (!why.empty()) GTEST_SKIP() << why;
    RecordProperty("fault", "Startup folder read-only (a tmpfs remounted ro): a marked memo edited, then "
                            "renamed, on hiding; then a memo marked Startup");
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    app.WriteFile("memo\\kept.txt", "kept\r\nstored before the fault");
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=kept\r\n");
    UnixMount folder = UnixMount::Tmpfs(StartupFolder(), "1m");
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.ClickCheckBox(kStartupBox));
    ASSERT_EQ(Names{"kept.lnk"}, LinkNames(app));
    ASSERT_TRUE(folder.Remount("ro"));

    const std::string edited = "kept\r\nedited, its link in a read-only folder";
    app.TypeText(edited);
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ(nullptr, app.WaitForMessageBox(1000)) << "the memo's link is there already";
    EXPECT_EQ(edited, app.Memo("kept"));
    EXPECT_TRUE(app.IsChecked(kStartupBox));

    ASSERT_TRUE(app.PopUp());
    const std::string renamed = "renamed\r\nits link cannot follow";
    app.TypeText(renamed);
    std::string seen = ReadAndDismiss(DeactivateIntoMessageBox(app));
    EXPECT_TRUE(StartsWith(seen, std::string(kMoveFailed) + " kept.lnk: ")) << seen;
    EXPECT_TRUE(app.WaitHidden());
    EXPECT_EQ("<no box>", ReadAndDismiss(app.WaitForMessageBox(3000))) << "one failed save, one message";
    EXPECT_EQ(renamed, app.Memo("renamed"));
    EXPECT_EQ(Names{"renamed.txt"}, app.MemoFiles());
    ExpectOnlyMemoLink(app, "kept", "kept");
    EXPECT_FALSE(app.IsChecked(kStartupBox)) << "no link to the memo is there";

    ASSERT_TRUE(Pin(app));
    ASSERT_TRUE(app.PopUp());
    PostClick(app.Child(kStartupBox));
    seen = ReadAndDismiss(app.WaitForMessageBox());
    EXPECT_TRUE(StartsWith(seen, std::string(kLinkFailed) + " renamed.lnk: ")) << seen;
    EXPECT_TRUE(WaitUntil([&] { return !app.IsChecked(kStartupBox); }));
    EXPECT_EQ(Names{"kept.lnk"}, LinkNames(app));
    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ(renamed, app.Memo("renamed"));
    EXPECT_EQ(Names{"renamed.txt"}, app.MemoFiles());
    RecordProperty("outcome", "the memo saved each time; its existing link served while the title stayed; "
                              "the rename and the marking told of with their messages, the old link left "
                              "as it was and the Startup box unchecked");
}

TEST(FaultStartup, ReadOnlyFolderTellsOfTheAutostartLinkAndTheSettingFollowsTheFolder)
{
    std::string why = WhyNoMounts();
    if (!why.empty()) GTEST_SKIP() << why;
    RecordProperty("fault", "Startup folder read-only (a tmpfs remounted ro): the autostart setting turned on "
                            "with Done, and off again once its link was made");
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    UnixMount folder = UnixMount::Tmpfs(StartupFolder(), "1m");
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(Pin(app));
    ASSERT_TRUE(folder.Remount("ro"));

    HWND setting = OpenSettings(app);
    ASSERT_TRUE(setting);
    SendMessageA(SettingControl(setting, kWidthEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("480"));
    SendMessageA(SettingControl(setting, kAutoStart), BM_CLICK, 0, 0);
    PostClick(SettingControl(setting, kDone));
    std::string seen = ReadAndDismiss(app.WaitForMessageBox());
    EXPECT_TRUE(StartsWith(seen, std::string(kAutostartOnFailed) + ": ")) << seen;
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(setting); }));
    RECT client;
    GetClientRect(app.Window(), &client);
    EXPECT_EQ(480, client.right) << "the other settings are applied";
    EXPECT_FALSE(IsAutostartChecked(setting));
    EXPECT_EQ(Names{}, LinkNames(app));

    ASSERT_TRUE(folder.Remount("rw"));
    ASSERT_EQ(setting, OpenSettings(app));
    SendMessageA(SettingControl(setting, kAutoStart), BM_CLICK, 0, 0);
    SendMessageA(SettingControl(setting, kDone), BM_CLICK, 0, 0);
    EXPECT_EQ(nullptr, app.WaitForMessageBox(1000));
    ASSERT_EQ(Names{"MossvanePad.lnk"}, LinkNames(app));

    ASSERT_TRUE(folder.Remount("ro"));
    ASSERT_EQ(setting, OpenSettings(app));
    SendMessageA(SettingControl(setting, kAutoStart), BM_CLICK, 0, 0);
    PostClick(SettingControl(setting, kDone));
    seen = ReadAndDismiss(app.WaitForMessageBox());
    EXPECT_TRUE(StartsWith(seen, std::string(kAutostartOffFailed) + ": ")) << seen;
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(setting); }));
    EXPECT_TRUE(IsAutostartChecked(setting)) << "the link is still there";
    EXPECT_EQ(Names{"MossvanePad.lnk"}, LinkNames(app));
    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("1", app.Ini("Setting", "Startup"));
    RecordProperty("outcome", "turning it on and off each told of with its message; the setting and its box "
                              "went back to what the folder held; the other settings applied; a clean exit");
}
}  // namespace
