// Saving memos: names, renames and the safety of what is already stored.
#include <gtest/gtest.h>

#include "app/globals.h"
#include "memo/memofiles.h"
#include "startup/links.h"
#include "tests/component/notepad_fixture.h"

namespace {
using Entries = std::vector<std::string>;

class NotepadSave : public NotepadTest {};

TEST_F(NotepadSave, WritesExactlyTheEditorsBytesAndRecordsTheTitle)
{
    const std::string text = "買い物 100%\r\n牛乳\r\n\\表示";
    SaveNewMemo(text);
    EXPECT_EQ("買い物 100%", PrevFile());
    EXPECT_EQ(text, ReadMemoFile("買い物 100%.txt").value_or("<missing>"))
        << "CR LF, Shift-JIS, no byte-order mark, no NUL";
    EXPECT_EQ(Entries{"買い物 100%.txt"}, MemoFolderEntries()) << "no temporary file stays behind";
}

TEST_F(NotepadSave, ChangingTheFirstLineRenamesTheFile)
{
    SaveNewMemo("abc\r\nbody");
    SetText("xyz\r\nbody");
    m_notepad.SaveMemo();
    EXPECT_EQ(Entries{"xyz.txt"}, MemoFolderEntries());
    EXPECT_EQ("xyz\r\nbody", ReadMemoFile("xyz.txt").value_or("<missing>"));
    EXPECT_EQ("xyz", PrevFile());
}

TEST_F(NotepadSave, SameTitleTwiceReplacesTheTextInPlace)
{
    SaveNewMemo("abc\r\none");
    SetText("abc\r\ntwo");
    m_notepad.SaveMemo();
    EXPECT_EQ(Entries{"abc.txt"}, MemoFolderEntries());
    EXPECT_EQ("abc\r\ntwo", ReadMemoFile("abc.txt").value_or("<missing>"));
    EXPECT_EQ("abc", PrevFile());
}

TEST_F(NotepadSave, ChangingOnlyTheCaseRenamesTheFile)
{
    SaveNewMemo("abc\r\nbody");
    SetText("Abc\r\nbody");
    m_notepad.SaveMemo();
    EXPECT_EQ(Entries{"Abc.txt"}, MemoFolderEntries());
    EXPECT_EQ("Abc", PrevFile());
}

TEST_F(NotepadSave, EmptyEditorWritesNothing)
{
    SaveNewMemo("abc\r\nkept");
    SetText("");
    m_notepad.SaveMemo();
    EXPECT_EQ(Entries{"abc.txt"}, MemoFolderEntries());
    EXPECT_EQ("abc\r\nkept", ReadMemoFile("abc.txt").value_or("<missing>"));
    EXPECT_EQ("abc", PrevFile());
}

TEST_F(NotepadSave, TitleOfAnotherMemoGetsANumberAndLeavesThatMemoIntact)
{
    WriteMemoFile("Abc.txt", "Abc\r\nthe other memo");
    WriteMemoFile("other.txt", "other\r\n");
    m_notepad.LoadMemo(false, "other");
    SetText("abc\r\nedited");
    m_notepad.SaveMemo();
    EXPECT_EQ("Abc\r\nthe other memo", ReadMemoFile("Abc.txt").value_or("<missing>"));
    EXPECT_EQ("abc\r\nedited", ReadMemoFile("abc (2).txt").value_or("<missing>"));
    EXPECT_EQ((Entries{"Abc.txt", "abc (2).txt"}), MemoFolderEntries()) << "other.txt was renamed";
    EXPECT_EQ("abc (2)", PrevFile());
    SaveNewMemo("ABC");
    EXPECT_EQ("ABC (3)", PrevFile());
}

TEST_F(NotepadSave, NullAndDeviceTitlesGetSafeNames)
{
    WriteMemoFile("null.txt", "left alone");
    const struct {
        const char* text;
        const char* name;
    } cases[] = {{"null\r\n", "null (2)"}, {"con\r\n", "con (2)"}, {"COM1.txt\r\n", "COM1 (2).txt"}, {"Nul", "Nul (2)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SaveNewMemo(c.text);
        EXPECT_EQ(c.name, PrevFile());
        EXPECT_EQ(c.text, ReadMemoFile(std::string(c.name) + ".txt").value_or("<missing>"));
    }
    EXPECT_EQ("left alone", ReadMemoFile("null.txt").value_or("<missing>"));
}

TEST_F(NotepadSave, TwoEmptyTitledMemosKeepTheirOwnFiles)
{
    SaveNewMemo("   \r\nfirst");
    EXPECT_EQ("", PrevFile());
    SaveNewMemo(" \r\nsecond");
    EXPECT_EQ(" (2)", PrevFile());
    EXPECT_EQ("   \r\nfirst", ReadMemoFile(".txt").value_or("<missing>"));
    EXPECT_EQ(" \r\nsecond", ReadMemoFile(" (2).txt").value_or("<missing>"));
}

TEST_F(NotepadSave, FailedReplaceShowsTheMessageAndLeavesThePreviousFile)
{
    SaveNewMemo("abc\r\nstored");
    HANDLE held = CreateFileA(MemoPath("abc.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    SetText("abc\r\nchanged");
    MessageBoxWatcher watcher;
    m_notepad.SaveMemo();
    std::vector<std::string> captions = watcher.Stop();
    CloseHandle(held);
    EXPECT_EQ(Entries{"ファイルの保存に失敗しました abc.txt"}, captions);
    EXPECT_TRUE(watcher.FlagWasSetWhileUp());
    EXPECT_EQ(0, g_nMessageBoxes);
    EXPECT_EQ("abc\r\nstored", ReadMemoFile("abc.txt").value_or("<missing>"));
    EXPECT_EQ(Entries{"abc.txt"}, MemoFolderEntries()) << "the temporary file is removed";
    EXPECT_EQ("abc", PrevFile());
}

TEST_F(NotepadSave, UnwritableTemporaryFileLeavesARenameUndone)
{
    SaveNewMemo("abc\r\nstored");
    ASSERT_TRUE(CreateDirectoryA(MemoPath(kMemoTempFile).c_str(), nullptr));
    SetText("xyz\r\nchanged");
    MessageBoxWatcher watcher;
    m_notepad.SaveMemo();
    EXPECT_EQ(Entries{"ファイルの保存に失敗しました xyz.txt"}, watcher.Stop());
    EXPECT_EQ("abc\r\nstored", ReadMemoFile("abc.txt").value_or("<missing>"));
    EXPECT_EQ((Entries{"abc.txt", kMemoTempFile}), MemoFolderEntries());
    EXPECT_EQ("abc", PrevFile());
}

TEST_F(NotepadSave, FolderNamedLikeTheTitleCountsAsTaken)
{
    ASSERT_TRUE(CreateDirectoryA(MemoPath("xyz.txt").c_str(), nullptr));
    SaveNewMemo("xyz");
    EXPECT_EQ("xyz (2)", PrevFile());
    EXPECT_EQ("xyz", ReadMemoFile("xyz (2).txt").value_or("<missing>"));
}

TEST_F(NotepadSave, RemovesTheStartupLinkOfAnUnmarkedMemoButNoOtherFileOfItsName)
{
    TempMemoFolder startup;
    std::string dir = startup.path() + "\\";
    lstrcpynA(g_szStartupDir, dir.c_str(), kPathSize);
    std::string link = dir + "abc.lnk";
    CloseHandle(CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    SaveNewMemo("abc");
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(link.c_str())) << "not the memo's link";
    CreateShellLink(link.c_str(), MemoPath("abc.txt").c_str(), m_folder.path().c_str(), "MossvanePad");
    m_notepad.LoadMemo(false, "abc");
    m_notepad.SaveMemo();
    g_szStartupDir[0] = '\0';
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(link.c_str()));
    EXPECT_EQ("abc", ReadMemoFile("abc.txt").value_or("<missing>")) << "the memo itself stays";
}
}  // namespace
