// The memo list as a real COMBOBOX in a test window, over a temporary
// program folder.
#include "memo/filelist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/globals.h"
#include "app/messages.h"
#include "memo/memofiles.h"
#include "tests/component/notepad_fixture.h"

namespace {
std::string CurrentDirectory()
{
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(dir), dir);
    return dir;
}

void Touch(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(file);
}

// A program folder as the current directory, the settings record read from
// it, and the list's COMBOBOX in a plain parent window.
class FileList : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_app = m_folder.path();
        m_start = CurrentDirectory();
        SetCurrentDirectoryA(m_app.c_str());
        g_config = new CConfig;
        m_parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, nullptr,
                                   nullptr);
        m_combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_DISABLENOSCROLL, 0,
                                  0, 210, 25, m_parent, reinterpret_cast<HMENU>(IDC_FILELIST), nullptr, nullptr);
        m_list.Attach(m_combo);
    }
    void TearDown() override
    {
        DestroyWindow(m_parent);
        // The list ends the message loop when it is destroyed; not this one.
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        delete g_config;
        g_config = nullptr;
        SetCurrentDirectoryA(m_start.c_str());
    }
    void AddMemoFiles(std::initializer_list<const char*> files) const
    {
        for (const char* file : files) Touch(m_app + "\\memo\\" + file);
    }
    // As at start: the memo folder looked into meanwhile.
    void Init()
    {
        CStartLook look;
        look.Start();
        Init(look);
    }
    void Init(CStartLook& look) { SendMessageA(m_combo, WM_INITCTRL, 0, reinterpret_cast<LPARAM>(&look)); }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> entries;
        LRESULT count = SendMessageA(m_combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char text[MAX_PATH] = "";
            SendMessageA(m_combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        return entries;
    }
    LRESULT Selection() const { return SendMessageA(m_combo, CB_GETCURSEL, 0, 0); }

    TempMemoFolder m_folder;
    std::string m_app, m_start;
    HWND m_parent = nullptr;
    HWND m_combo = nullptr;
    CFileList m_list;
};

TEST_F(FileList, EmptyFolderGivesADisabledListUntilAMemoIsThere)
{
    MessageBoxWatcher watch;
    Init();
    EXPECT_EQ(0, SendMessageA(m_combo, CB_GETCOUNT, 0, 0));
    EXPECT_FALSE(IsWindowEnabled(m_combo));
    EXPECT_EQ(CB_ERR, Selection());

    Touch(m_app + "\\memo\\first.txt");
    m_list.Refresh();
    EXPECT_EQ(std::vector<std::string>{"first.txt"}, Entries());
    EXPECT_TRUE(IsWindowEnabled(m_combo));
    EXPECT_TRUE(watch.Stop().empty()) << "an empty memo folder is no error";
    EXPECT_EQ(m_app, CurrentDirectory());

    // The editor's set-up, between the start's look and the list's, may
    // bring a memo back from what an interrupted save left.
    DeleteFileA((m_app + "\\memo\\first.txt").c_str());
    AddMemoFiles({"~memorename.tmp"});
    CStartLook look;
    look.Start();
    ASSERT_TRUE(look.MayHoldLeftovers());
    AddMemoFiles({"brought back.txt"});
    Init(look);
    EXPECT_TRUE(IsWindowEnabled(m_combo)) << "a memo brought back at start";

    DeleteFileA((m_app + "\\memo\\brought back.txt").c_str());
    DeleteFileA((m_app + "\\memo\\~memorename.tmp").c_str());
    g_config->SetPrevFile("gone");
    Init();
    EXPECT_FALSE(IsWindowEnabled(m_combo)) << "the memo to be shown is gone, and no other is there";
}

TEST_F(FileList, StartsOnPrevFileWhateverItsCaseAndAnyRefreshSelectsNothing)
{
    AddMemoFiles({"Todo.txt", "alpha.txt"});
    g_config->SetPrevFile("todo");
    Init();
    EXPECT_EQ(std::vector<std::string>{"Todo.txt"}, Entries()) << "only the memo shown, as the folder names it";
    EXPECT_EQ(0, Selection());
    SendMessageA(m_combo, WM_SETFOCUS, 0, 0);
    ASSERT_EQ(2u, Entries().size()) << "listed in full before the keyboard moves through it";
    LRESULT selected = Selection();
    ASSERT_NE(CB_ERR, selected);
    EXPECT_EQ("Todo.txt", Entries()[selected]);

    m_list.Refresh();
    EXPECT_EQ(CB_ERR, Selection()) << "even with the current memo in the list";

    g_config->SetPrevFile("null");
    Init();
    EXPECT_EQ(CB_ERR, Selection());
    EXPECT_TRUE(IsWindowEnabled(m_combo)) << "there are memos to pick";
}

TEST_F(FileList, ListsOnlyMemoFilesOfTheMemoFolder)
{
    RemoveDirectoryA((m_app + "\\memo").c_str());
    Touch(m_app + "\\stray.txt");
    MessageBoxWatcher watch;
    Init();
    EXPECT_TRUE(Entries().empty()) << "without a memo folder nothing of the program's folder is listed";
    EXPECT_FALSE(IsWindowEnabled(m_combo));

    CreateDirectoryA((m_app + "\\memo").c_str(), nullptr);
    AddMemoFiles({"a.txt", "B.TXT", kMemoTempFile, "c.txt~", "d.txtbak", "e.txt.tmp", "f"});
    CreateDirectoryA((m_app + "\\memo\\folder.txt").c_str(), nullptr);
    m_list.Refresh();
    std::vector<std::string> entries = Entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ((std::vector<std::string>{"B.TXT", "a.txt"}), entries);
    EXPECT_TRUE(watch.Stop().empty());
    EXPECT_EQ(m_app, CurrentDirectory());
}
}  // namespace
