// Loading and deleting memos, and the editor's set-up.
#include <gtest/gtest.h>

#include <cstring>

#include "app/globals.h"
#include "app/messages.h"
#include "tests/component/allocation_limit.h"
#include "tests/component/notepad_fixture.h"

namespace {
class NotepadLoad : public NotepadTest {};

TEST_F(NotepadLoad, ShowsTheMemoWithTheCaretAtTheEndAndRecordsIt)
{
    WriteMemoFile("abc.txt", "abc\r\nline two");
    m_notepad.LoadMemo(false, "abc");
    EXPECT_EQ("abc\r\nline two", Text());
    EXPECT_EQ(13u, m_notepad.m_dwRead);
    EXPECT_EQ(std::make_pair(DWORD{13}, DWORD{13}), Selection());
    EXPECT_EQ("abc", PrevFile());
}

TEST_F(NotepadLoad, ShowsNulsAsSpaces)
{
    WriteMemoFile("abc.txt", std::string("abc\0def\0", 8));
    m_notepad.LoadMemo(false, "abc");
    EXPECT_EQ("abc def ", Text());
    EXPECT_EQ(8u, m_notepad.m_dwRead);
}

TEST_F(NotepadLoad, MissingReservedOrOverlongNamesEmptyTheEditorAndGiveNull)
{
    WriteMemoFile("null.txt", "not a memo");
    WriteMemoFile("abc.txt", "abc");
    const std::string names[] = {"missing", "null", "NULL", "con", std::string(300, 'n')};
    for (const std::string& name : names) {
        SCOPED_TRACE(name.substr(0, 20));
        m_notepad.LoadMemo(false, "abc");
        ASSERT_EQ("abc", Text());
        m_notepad.LoadMemo(false, name.c_str());
        EXPECT_EQ("", Text());
        EXPECT_EQ("null", PrevFile());
    }
}

TEST_F(NotepadLoad, ClearEmptiesTheEditorWithoutReading)
{
    WriteMemoFile("abc.txt", "abc");
    m_notepad.LoadMemo(false, "abc");
    m_notepad.LoadMemo(true, "abc");
    EXPECT_EQ("", Text());
    EXPECT_EQ("null", PrevFile());
}

TEST_F(NotepadLoad, FileTooLargeToReadShowsTheReadFailure)
{
    WriteMemoFile("huge.txt", std::string(2 << 20, 'x'));
    SetText("before");
    MessageBoxWatcher watcher;
    {
        ScopedAllocationLimit tooLarge(1 << 20);
        m_notepad.LoadMemo(false, "huge");
    }
    EXPECT_EQ(std::vector<std::string>{"ファイルの読み込みに失敗しました"}, watcher.Stop());
    EXPECT_EQ("", Text());
    EXPECT_EQ("null", PrevFile()) << "a memo never shown must not be replaced by the next save";
}

TEST_F(NotepadLoad, InitLoadsPrevFileAndSetsTheFont)
{
    WriteMemoFile("abc.txt", "abc\r\nstored");
    g_config->SetPrevFile("abc");
    EXPECT_EQ(0, SendMessageA(m_hEdit, WM_INITCTRL, 0, 0));
    EXPECT_EQ("abc\r\nstored", Text());
    EXPECT_EQ("abc", PrevFile());
    EXPECT_STREQ("メイリオ", g_ctrlFont.lfFaceName);
    EXPECT_EQ(21, g_ctrlFont.lfHeight);
    EXPECT_NE(0, SendMessageA(m_hEdit, WM_GETFONT, 0, 0));
}

TEST_F(NotepadLoad, DeleteRemovesTheCurrentMemoAndEmptiesTheEditor)
{
    WriteMemoFile("abc.txt", "abc");
    WriteMemoFile("other.txt", "other");
    m_notepad.LoadMemo(false, "abc");
    m_notepad.DeleteMemo();
    EXPECT_EQ("", Text());
    EXPECT_EQ("null", PrevFile());
    EXPECT_EQ(std::vector<std::string>{"other.txt"}, MemoFolderEntries());
    m_notepad.DeleteMemo();
    EXPECT_EQ(std::vector<std::string>{"other.txt"}, MemoFolderEntries()) << "no memo: nothing deleted";
}

TEST_F(NotepadLoad, DestroyingTheEditorPostsTheQuitMessage)
{
    DestroyWindow(m_hEdit);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, msg.wParam);
}
}  // namespace
