// The Startup-folder links against the real shell link object, in a
// temporary Startup folder.
#include "startup/links.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/curdir.h"
#include "app/globals.h"
#include "startup/startupdir.h"
#include "tests/e2e/links_probe.h"

namespace {
std::string CurrentDirectory()
{
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(dir), dir);
    return dir;
}

void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = dir + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Touch(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(file);
}

// A program folder <root>\app with its memo folder and one memo, and a
// Startup folder <root>\Startup\ that g_szStartupDir names for the test.
class StartupLinks : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        char name[MAX_PATH];
        GetTempFileNameA(temp, "mvl", 0, name);
        DeleteFileA(name);
        m_root = name;
        m_app = m_root + "\\app";
        m_memo = m_app + "\\memo";
        m_startup = m_root + "\\Startup\\";
        for (const std::string& dir : {m_root, m_app, m_memo, m_startup}) CreateDirectoryA(dir.c_str(), nullptr);
        Touch(m_memo + "\\todo.txt");
        Touch(m_app + "\\MossvanePad.exe");
        lstrcpynA(m_savedStartupDir, g_szStartupDir, kPathSize);
        lstrcpynA(g_szStartupDir, m_startup.c_str(), kPathSize);
        m_start = CurrentDirectory();
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(m_start.c_str());
        lstrcpynA(g_szStartupDir, m_savedStartupDir, kPathSize);
        g_bStartupLink = FALSE;
        // Under Wine every link saved starts a helper process that keeps the
        // saver's current directory, one of these folders, for a moment.
        for (int tries = 0; tries < 100 && Exists(m_root); ++tries) {
            RemoveTree(m_root);
            if (Exists(m_root)) Sleep(100);
        }
    }
    std::vector<std::string> Links() const
    {
        std::vector<std::string> names = LinkFilesIn(m_startup);
        std::sort(names.begin(), names.end());
        return names;
    }
    void ExpectLink(const std::string& file, const std::string& target, const std::string& workingDir,
                    const std::string& description) const
    {
        SCOPED_TRACE(file);
        LinkFields fields = ReadLinkBack(m_startup + file);
        ASSERT_TRUE(fields.ok);
        EXPECT_EQ(target, fields.target);
        EXPECT_EQ(workingDir, fields.workingDir);
        EXPECT_EQ(description, fields.description);
        EXPECT_EQ("", fields.arguments);
    }

    std::string m_root, m_app, m_memo, m_startup, m_start;
    char m_savedStartupDir[kPathSize];
};

TEST_F(StartupLinks, ShellLinkIsWrittenAndReadBackThroughCom)
{
    std::string link = m_startup + "a.lnk";
    EXPECT_EQ(S_OK, CreateShellLink(link.c_str(), (m_memo + "\\todo.txt").c_str(), m_memo.c_str(), "note"));
    ExpectLink("a.lnk", m_memo + "\\todo.txt", m_memo, "note");
    ASSERT_EQ(S_OK, CreateShellLink(link.c_str(), (m_app + "\\MossvanePad.exe").c_str(), m_app.c_str(), nullptr));
    ExpectLink("a.lnk", m_app + "\\MossvanePad.exe", m_app, "");

    ScopedCurrentDirectory inStartup(m_startup.c_str());
    char path[kPathSize] = "x";
    char description[kPathSize] = "x";
    EXPECT_TRUE(SUCCEEDED(ReadShellLink(nullptr, "a.lnk", path, description)));
    EXPECT_EQ(m_app + "\\MossvanePad.exe", path);
    EXPECT_STREQ("", description);

    Touch(m_startup + "broken.lnk");
    for (const char* file : {"broken.lnk", "missing.lnk"}) {
        SCOPED_TRACE(file);
        lstrcpyA(path, "x");
        lstrcpyA(description, "x");
        EXPECT_TRUE(FAILED(ReadShellLink(nullptr, file, path, description)));
        EXPECT_STREQ("", path);
        EXPECT_STREQ("", description);
    }
}

TEST_F(StartupLinks, MemoLinkIsCreatedFollowsItsMemosRenameAndIsDeleted)
{
    {
        ScopedCurrentDirectory inMemo(m_memo.c_str());
        EXPECT_EQ(ERROR_SUCCESS, CreateMemoLink("todo"));
        EXPECT_EQ(m_memo, CurrentDirectory());
        ExpectLink("todo.lnk", m_memo + "\\todo.txt", m_memo, "MossvanePad");

        EXPECT_EQ(ERROR_SUCCESS, RenameMemoLink("shopping", "todo"));
        EXPECT_EQ(std::vector<std::string>{"shopping.lnk"}, Links());
        ExpectLink("shopping.lnk", m_memo + "\\shopping.txt", m_memo, "MossvanePad");
        EXPECT_EQ(ERROR_SUCCESS, RenameMemoLink("other", "gone")) << "no link to move is no failure";

        EXPECT_EQ(ERROR_SUCCESS, RenameMemoLink("Shopping", "shopping")) << "a change of case only";
        std::vector<std::string> links = Links();
        ASSERT_EQ(1u, links.size());
        EXPECT_EQ(0, lstrcmpiA("shopping.lnk", links[0].c_str())) << links[0];
        ExpectLink(links[0], m_memo + "\\Shopping.txt", m_memo, "MossvanePad");

        std::string longName(240, 'n');
        EXPECT_NE(ERROR_SUCCESS, RenameMemoLink(longName.c_str(), "Shopping"));
        EXPECT_TRUE(Links().empty()) << "the old link, whose memo file is gone, does not stay behind";
        EXPECT_EQ(ERROR_SUCCESS, CreateMemoLink("todo"));
    }
    ScopedCurrentDirectory inApp(m_app.c_str());
    g_bStartupLink = TRUE;
    DeleteMemoLink("todo");
    EXPECT_FALSE(g_bStartupLink);
    EXPECT_TRUE(Links().empty());
}

TEST_F(StartupLinks, LinkThatIsRightIsReadNotWrittenAgain)
{
    ScopedCurrentDirectory inMemo(m_memo.c_str());
    ASSERT_EQ(ERROR_SUCCESS, CreateMemoLink("todo"));
    const SYSTEMTIME newYear2001 = {2001, 1, 1, 1, 0, 0, 0, 0};
    FILETIME longAgo = {};
    SystemTimeToFileTime(&newYear2001, &longAgo);
    auto setWritten = [&](const FILETIME& time) {
        HANDLE file = CreateFileA((m_startup + "todo.lnk").c_str(), FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        SetFileTime(file, nullptr, nullptr, &time);
        CloseHandle(file);
    };
    auto written = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExA((m_startup + "todo.lnk").c_str(), GetFileExInfoStandard, &data);
        return data.ftLastWriteTime.dwHighDateTime;
    };
    setWritten(longAgo);
    ASSERT_EQ(longAgo.dwHighDateTime, written());
    EXPECT_EQ(ERROR_SUCCESS, CreateMemoLink("todo"));
    EXPECT_EQ(longAgo.dwHighDateTime, written()) << "nothing changed, nothing written";

    ASSERT_TRUE(WriteLink(m_startup + "todo.lnk", m_memo + "\\todo.txt", m_root, "MossvanePad"));
    setWritten(longAgo);
    EXPECT_EQ(ERROR_SUCCESS, CreateMemoLink("todo"));
    EXPECT_NE(longAgo.dwHighDateTime, written()) << "a wrong working folder is put right";
    ExpectLink("todo.lnk", m_memo + "\\todo.txt", m_memo, "MossvanePad");
    EXPECT_EQ(std::vector<std::string>{"todo.lnk"}, Links());
}

TEST_F(StartupLinks, LinksOfTheMemosNameThatAreAnothersGetANumberedNeighbour)
{
    Touch(m_memo + "\\Backup.txt");
    ASSERT_TRUE(WriteLink(m_startup + "Backup.lnk", m_root + "\\backup tool.exe", m_root, "the user's backup"));
    ASSERT_TRUE(WriteLink(m_startup + "Errands.lnk", m_root + "\\copy\\memo\\Errands.txt", m_root, "MossvanePad"));
    auto expectForeignIntact = [&] {
        ExpectLink("Backup.lnk", m_root + "\\backup tool.exe", m_root, "the user's backup");
        ExpectLink("Errands.lnk", m_root + "\\copy\\memo\\Errands.txt", m_root, "MossvanePad");
    };
    {
        ScopedCurrentDirectory inMemo(m_memo.c_str());
        EXPECT_EQ(ERROR_SUCCESS, CreateMemoLink("Backup"));
        EXPECT_EQ(ERROR_SUCCESS, CreateMemoLink("Backup"));
        EXPECT_EQ((std::vector<std::string>{"Backup (2).lnk", "Backup.lnk", "Errands.lnk"}), Links());
        ExpectLink("Backup (2).lnk", m_memo + "\\Backup.txt", m_memo, "MossvanePad");

        EXPECT_EQ(ERROR_SUCCESS, RenameMemoLink("Errands", "Backup"));
        EXPECT_EQ((std::vector<std::string>{"Backup.lnk", "Errands (2).lnk", "Errands.lnk"}), Links());
        ExpectLink("Errands (2).lnk", m_memo + "\\Errands.txt", m_memo, "MossvanePad");
        expectForeignIntact();

        RemoveMemoLink("Errands");
        EXPECT_EQ((std::vector<std::string>{"Backup.lnk", "Errands.lnk"}), Links()) << "unmarked";
        expectForeignIntact();
        ASSERT_EQ(ERROR_SUCCESS, CreateMemoLink("Errands"));
    }
    ScopedCurrentDirectory inApp(m_app.c_str());
    char linkName[kPathSize];
    ASSERT_TRUE(FindMemoLink(nullptr, "Errands", linkName));
    EXPECT_STREQ("Errands (2)", linkName);
    NameLinkAfterMemo("Errands", linkName);
    ASSERT_TRUE(MoveFileA((m_startup + "Errands (2).lnk").c_str(), (m_startup + "My errands.lnk").c_str()));
    NameLinkAfterMemo("Errands", "My errands");
    EXPECT_EQ((std::vector<std::string>{"Backup.lnk", "Errands (2).lnk", "Errands.lnk"}), Links())
        << "a link the user renamed gets the memo's first free name";
    DeleteMemoLink("Errands");
    EXPECT_EQ((std::vector<std::string>{"Backup.lnk", "Errands.lnk"}), Links()) << "deleted";
    expectForeignIntact();
}

TEST_F(StartupLinks, LinksOfAMemosNameThatAreNotItsOwnAreLeftAlone)
{
    ASSERT_TRUE(WriteLink(m_startup + "todo.lnk", m_root + "\\tool.exe", m_root, "a tool of the user"));
    ScopedCurrentDirectory inMemo(m_memo.c_str());
    RenameMemoLink("moved", "todo");
    DeleteMemoLink("todo");
    RemoveMemoLink("todo");
    EXPECT_EQ(std::vector<std::string>{"todo.lnk"}, Links());

    ASSERT_TRUE(WriteLink(m_startup + "todo.lnk", m_root + "\\copy\\memo\\todo.txt", m_root, "MossvanePad"));
    RemoveMemoLink("todo");
    EXPECT_EQ(std::vector<std::string>{"todo.lnk"}, Links()) << "the memo of another copy of the program";

    CreateMemoLink("todo");
    DeleteFileA((m_memo + "\\todo.txt").c_str());
    RemoveMemoLink("todo");
    EXPECT_EQ(std::vector<std::string>{"todo.lnk"}, Links())
        << "the memo's own link goes, even once its file is gone, and the other copy's stays";
    EXPECT_EQ(m_memo, CurrentDirectory());
}

TEST_F(StartupLinks, MemoLinkIsFoundByTargetAndDescriptionWhateverItsName)
{
    ASSERT_TRUE(WriteLink(m_startup + "decoy folder.lnk", m_root + "\\other\\memo\\todo.txt", m_root, "MossvanePad"));
    ASSERT_TRUE(WriteLink(m_startup + "decoy text.lnk", m_memo + "\\todo.txt", m_memo, "Other"));
    ScopedCurrentDirectory inApp(m_app.c_str());
    char linkName[kPathSize] = "stale";
    EXPECT_FALSE(FindMemoLink(nullptr, "todo", linkName)) << "another folder's memo or another description";
    EXPECT_STREQ("", linkName);

    ASSERT_TRUE(WriteLink(m_startup + "My todo.lnk", m_memo + "\\todo.txt", m_memo, "MossvanePad"));
    EXPECT_TRUE(FindMemoLink(nullptr, "todo", linkName));
    EXPECT_STREQ("My todo", linkName);
    EXPECT_EQ(m_app, CurrentDirectory());
    EXPECT_FALSE(FindMemoLink(nullptr, "Todo", linkName)) << "the target is compared exactly";
}

TEST_F(StartupLinks, AutostartLinkIsMadeOnceAndOnlyItsOwnFixedNameIsRemoved)
{
    ScopedCurrentDirectory inApp(m_app.c_str());
    UpdateAutostartLink(nullptr, true);
    EXPECT_EQ(std::vector<std::string>{"MossvanePad.lnk"}, Links());
    ExpectLink("MossvanePad.lnk", m_app + "\\MossvanePad.exe", m_app, "");
    UpdateAutostartLink(nullptr, true);
    EXPECT_EQ(std::vector<std::string>{"MossvanePad.lnk"}, Links());

    UpdateAutostartLink(nullptr, false);
    EXPECT_TRUE(Links().empty());
    UpdateAutostartLink(nullptr, false);
    EXPECT_EQ(m_app, CurrentDirectory());

    ASSERT_TRUE(WriteLink(m_startup + "Pad.lnk", m_app + "\\MossvanePad.exe", m_app, nullptr));
    UpdateAutostartLink(nullptr, true);
    EXPECT_EQ(std::vector<std::string>{"Pad.lnk"}, Links()) << "any link to the program counts";
    UpdateAutostartLink(nullptr, false);
    EXPECT_EQ(std::vector<std::string>{"Pad.lnk"}, Links()) << "only the fixed name is removed";

    ASSERT_TRUE(WriteLink(m_startup + "MossvanePad.lnk", m_root + "\\copy\\MossvanePad.exe", m_root, nullptr));
    UpdateAutostartLink(nullptr, false);
    EXPECT_EQ((std::vector<std::string>{"MossvanePad.lnk", "Pad.lnk"}), Links())
        << "the fixed name of another copy of the program stays";

    ASSERT_TRUE(DeleteFileA((m_startup + "Pad.lnk").c_str()));
    EXPECT_EQ(ERROR_SUCCESS, UpdateAutostartLink(nullptr, true));
    EXPECT_EQ((std::vector<std::string>{"MossvanePad (2).lnk", "MossvanePad.lnk"}), Links());
    ExpectLink("MossvanePad (2).lnk", m_app + "\\MossvanePad.exe", m_app, "");
    ExpectLink("MossvanePad.lnk", m_root + "\\copy\\MossvanePad.exe", m_root, "");
    EXPECT_EQ(ERROR_SUCCESS, UpdateAutostartLink(nullptr, false));
    EXPECT_EQ(std::vector<std::string>{"MossvanePad.lnk"}, Links()) << "only this copy's own link goes";
}

TEST_F(StartupLinks, WithoutAStartupFolderOrRoomForThePathNothingIsTouched)
{
    std::string longName(240, 'n');
    ScopedCurrentDirectory inMemo(m_memo.c_str());
    EXPECT_EQ(DWORD{ERROR_FILENAME_EXCED_RANGE}, CreateMemoLink(longName.c_str()));
    EXPECT_TRUE(Links().empty());
    char linkName[kPathSize];
    EXPECT_FALSE(FindMemoLink(nullptr, longName.c_str(), linkName));

    g_szStartupDir[0] = '\0';
    Touch(m_memo + "\\todo.lnk");
    EXPECT_NE(ERROR_SUCCESS, CreateMemoLink("new"));
    RenameMemoLink("renamed", "todo");
    EXPECT_NE(ERROR_SUCCESS, UpdateAutostartLink(nullptr, true));
    EXPECT_EQ(ERROR_SUCCESS, UpdateAutostartLink(nullptr, false)) << "no link can be there to remove";
    EXPECT_FALSE(FindMemoLink(nullptr, "todo", linkName));
    DeleteMemoLink("todo");
    EXPECT_TRUE(Exists(m_memo + "\\todo.lnk")) << "names are never taken relative to the current folder";
    EXPECT_FALSE(Exists(m_memo + "\\new.lnk"));
    EXPECT_FALSE(Exists(m_memo + "\\MossvanePad.lnk"));
    EXPECT_EQ(m_memo, CurrentDirectory());
}

TEST(StartupDir, IsTheShellsStartupFolderWithATrailingBackslash)
{
    char saved[kPathSize];
    lstrcpynA(saved, g_szStartupDir, kPathSize);
    ASSERT_TRUE(InitStartupDir(6));
    std::string dir = g_szStartupDir;
    lstrcpynA(g_szStartupDir, saved, kPathSize);

    EXPECT_EQ(ShellStartupFolder(), dir);
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ('\\', dir.back());
    DWORD attributes = GetFileAttributesA(dir.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << dir;
}
}  // namespace
