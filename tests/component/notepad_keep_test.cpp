// What the memo store keeps when a memo is not edited, cannot be written or
// cannot be read: every stored byte, and the edited text in the editor.
#include <gtest/gtest.h>

#include "app/globals.h"
#include "tests/component/notepad_fixture.h"

namespace {
using Entries = std::vector<std::string>;

class NotepadKeep : public NotepadTest {
protected:
    // Holds a memo file open without sharing, as another program can.
    HANDLE Lock(const std::string& file) const
    {
        return CreateFileA(MemoPath(file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
};

TEST_F(NotepadKeep, UneditedMemoStaysByteForByteWhateverTheEditorMadeOfIt)
{
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"NUL bytes", std::string("nul\r\nbefore\0after\0\0end", 23)},
        {"lead byte at the very end", "lead\r\nends with \x82"},
        {"lead byte before an invalid trail byte", "trail\r\n\x81\x7f and \x82\r\n"},
        {"lead byte before a NUL", std::string("both\r\n\x82\0", 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteMemoFile("odd.txt", c.bytes);
        m_notepad.LoadMemo(false, "odd");
        ASSERT_EQ("odd", PrevFile());
        EXPECT_TRUE(m_notepad.SaveMemo());
        EXPECT_EQ(c.bytes, ReadMemoFile("odd.txt").value_or("<missing>"));
        EXPECT_EQ(Entries{"odd.txt"}, MemoFolderEntries()) << "not renamed after its first line either";
        EXPECT_EQ("odd", PrevFile());
    }
}

TEST_F(NotepadKeep, EditedMemoWithNulsKeepsWhatFollowsThem)
{
    WriteMemoFile("zero.txt", std::string("zero\r\nbefore\0after", 18));
    m_notepad.LoadMemo(false, "zero");
    SendMessageA(m_hEdit, EM_SETSEL, 18, 18);
    SendMessageA(m_hEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("!"));
    EXPECT_TRUE(m_notepad.IsModified());
    EXPECT_TRUE(m_notepad.SaveMemo());
    EXPECT_EQ("zero\r\nbefore after!", ReadMemoFile("zero.txt").value_or("<missing>"));
    EXPECT_FALSE(m_notepad.IsModified());
}

TEST_F(NotepadKeep, TimeStampIsAnEditAndASavedMemoIsNotWrittenAgain)
{
    WriteMemoFile("abc.txt", "abc");
    m_notepad.LoadMemo(false, "abc");
    m_notepad.InsertTimestamp();
    EXPECT_TRUE(m_notepad.SaveMemo());
    std::string stamped = ReadMemoFile("abc.txt").value_or("<missing>");
    EXPECT_EQ(Text(), stamped);
    EXPECT_GT(stamped.size(), 3u);

    WriteMemoFile("abc.txt", "abc\r\nchanged by another program");
    EXPECT_TRUE(m_notepad.SaveMemo());
    EXPECT_EQ("abc\r\nchanged by another program", ReadMemoFile("abc.txt").value_or("<missing>"))
        << "nothing was edited since the save";
}

TEST_F(NotepadKeep, UneditedMemoWhoseFileVanishedStaysGoneAndAnEditedOneIsWrittenAgain)
{
    WriteMemoFile("abc.txt", "abc\r\nshown");
    m_notepad.LoadMemo(false, "abc");
    ASSERT_TRUE(DeleteFileA(MemoPath("abc.txt").c_str()));
    EXPECT_TRUE(m_notepad.SaveMemo());
    EXPECT_EQ("<missing>", ReadMemoFile("abc.txt").value_or("<missing>")) << "deleted elsewhere, it does not come back";

    WriteMemoFile("abc.txt", "abc\r\nshown");
    m_notepad.LoadMemo(false, "abc");
    ASSERT_TRUE(DeleteFileA(MemoPath("abc.txt").c_str()));
    ASSERT_TRUE(RemoveDirectoryA((m_folder.path() + "\\memo").c_str()));
    SetText("abc\r\nedited");
    EXPECT_TRUE(m_notepad.SaveMemo()) << "the memo folder is made again";
    EXPECT_EQ("abc\r\nedited", ReadMemoFile("abc.txt").value_or("<missing>"));
}

TEST_F(NotepadKeep, ReadOnlyMemoIsNeitherReplacedNorRenamed)
{
    WriteMemoFile("abc.txt", "abc\r\nprotected");
    ASSERT_TRUE(SetFileAttributesA(MemoPath("abc.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    m_notepad.LoadMemo(false, "abc");
    EXPECT_TRUE(m_notepad.SaveMemo()) << "an unedited memo needs no write";

    MessageBoxWatcher watcher;
    SetText("abc\r\nedited");
    EXPECT_FALSE(m_notepad.SaveMemo());
    SetText("xyz\r\nedited");
    EXPECT_FALSE(m_notepad.SaveMemo());
    const Entries captions = {"ファイルの保存に失敗しました abc.txt", "ファイルの保存に失敗しました xyz.txt"};
    EXPECT_EQ(captions, watcher.Stop());
    EXPECT_EQ("abc\r\nprotected", ReadMemoFile("abc.txt").value_or("<missing>"));
    EXPECT_EQ(Entries{"abc.txt"}, MemoFolderEntries());
    EXPECT_EQ("abc", PrevFile());
    EXPECT_TRUE(m_notepad.IsModified()) << "the edit stays in the editor for the next try";
    SetFileAttributesA(MemoPath("abc.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(NotepadKeep, MemoHeldByAnotherProgramIsReportedOnLoadAndKeptOnSave)
{
    WriteMemoFile("abc.txt", "abc\r\nstored");
    HANDLE held = Lock("abc.txt");
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    MessageBoxWatcher loadWatcher;
    m_notepad.LoadMemo(false, "abc");
    EXPECT_EQ(Entries{"ファイルの読み込みに失敗しました"}, loadWatcher.Stop());
    EXPECT_EQ("", Text());
    EXPECT_EQ("null", PrevFile());
    CloseHandle(held);

    m_notepad.LoadMemo(false, "abc");
    held = Lock("abc.txt");
    SetText("abc\r\nedited");
    MessageBoxWatcher saveWatcher;
    EXPECT_FALSE(m_notepad.SaveMemo());
    EXPECT_EQ(Entries{"ファイルの保存に失敗しました abc.txt"}, saveWatcher.Stop());
    CloseHandle(held);
    EXPECT_EQ("abc\r\nstored", ReadMemoFile("abc.txt").value_or("<missing>"));
    EXPECT_TRUE(m_notepad.SaveMemo()) << "still marked edited, so the next save writes it";
    EXPECT_EQ("abc\r\nedited", ReadMemoFile("abc.txt").value_or("<missing>"));
}

// Two files that both look current would come back as two memos.
TEST_F(NotepadKeep, ARenameWhoseOldFileCannotBeRemovedIsReportedAndLeavesOneFile)
{
    WriteMemoFile("old.txt", "old\r\nstored");
    m_notepad.LoadMemo(false, "old");
    HANDLE held = Lock("old.txt");
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    SetText("new\r\nretitled");
    MessageBoxWatcher watcher;
    EXPECT_FALSE(m_notepad.SaveMemo());
    EXPECT_EQ(1u, watcher.Stop().size()) << "the failure is told";
    CloseHandle(held);
    EXPECT_EQ(Entries{"old.txt"}, MemoFolderEntries());
    EXPECT_EQ("old\r\nstored", ReadMemoFile("old.txt").value_or("<missing>"));
    EXPECT_EQ("old", PrevFile());
    EXPECT_TRUE(m_notepad.SaveMemo()) << "still marked edited, so the next save renames it";
    EXPECT_EQ(Entries{"new.txt"}, MemoFolderEntries());
}
}  // namespace
