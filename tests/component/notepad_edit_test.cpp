// The editor's commands: time stamp, select all, clipboard, mouse reports.
#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "app/messages.h"
#include "tests/component/notepad_fixture.h"

namespace {
class NotepadEdit : public NotepadTest {};

TEST_F(NotepadEdit, TimestampGoesAtTheEndWhereverTheCaretIs)
{
    SetText("line one\r\nline two");
    SendMessageA(m_hEdit, EM_SETSEL, 0, 0);
    SendMessageA(m_hEdit, WM_COMMAND, ID_TIMESTAMP, 0);
    std::string text = Text();
    std::regex stamped("line one\r\nline two\r\n[0-9]{4}/[1-9][0-9]?/[1-9][0-9]? [0-9]{1,2}:[0-9]{1,2}:[0-9]{1,2}\r\n");
    EXPECT_TRUE(std::regex_match(text, stamped)) << text;
    EXPECT_EQ(std::make_pair(DWORD(text.size()), DWORD(text.size())), Selection());
}

TEST_F(NotepadEdit, SelectAllSelectsTheWholeText)
{
    SetText("abc\r\ndef");
    SendMessageA(m_hEdit, EM_SETSEL, 2, 2);
    SendMessageA(m_hEdit, WM_COMMAND, ID_SELECTALL, 0);
    EXPECT_EQ(std::make_pair(DWORD{0}, DWORD{8}), Selection());
}

TEST_F(NotepadEdit, CopyPutsTheWholeTextOnTheClipboard)
{
    std::string text;
    while (text.size() < 5000) text += "あいう abc\r\n";
    SetText(text);
    m_notepad.CopyToClipboard();
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* copied = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    std::string got = copied ? copied : "<no CF_TEXT>";
    if (copied) GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(text.size(), got.size());
    EXPECT_EQ(text, got);
}

TEST_F(NotepadEdit, ClipboardHeldByAnotherThreadIsReportedAndNothingIsCopied)
{
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        OpenClipboard(nullptr);
        SetEvent(opened);
        WaitForSingleObject(release, 30000);
        CloseClipboard();
    });
    WaitForSingleObject(opened, 30000);
    SetText("not copied");
    MessageBoxWatcher watcher;
    m_notepad.CopyToClipboard();
    std::vector<std::string> captions = watcher.Stop();
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    EXPECT_EQ(std::vector<std::string>{"クリップボードを開くのに失敗しました"}, captions);
}

TEST_F(NotepadEdit, ReportsMouseActivityToTheParent)
{
    using Reports = std::vector<std::pair<WPARAM, LPARAM>>;
    SendMessageA(m_hEdit, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(m_hEdit, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, 5));
    SendMessageA(m_hEdit, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(7, 5));
    EXPECT_EQ((Reports{{0, SW_SHOW}, {0, SW_SHOW}}), s_editMouse) << "a drag with only the left button reports nothing";
    s_editMouse.clear();
    SendMessageA(m_hEdit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(m_hEdit, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ((Reports{{0, SW_HIDE}}), s_editMouse);
    s_editMouse.clear();
    EXPECT_EQ(0, SendMessageA(m_hEdit, WM_MOUSELEAVE, 0, 0));
    EXPECT_EQ((Reports{{1, 0}}), s_editMouse);
}
}  // namespace
