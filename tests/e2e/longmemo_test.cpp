// Memos that Wine's edit control lays out slowly (lines of 100 KB, a memo
// of megabytes) fill into the editor piece by piece: the window comes up at
// once and everything in it works while the memo fills in, and the memo is
// shown whole, byte for byte, in the end.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/fault_env.h"

namespace {
const int kNewMemo = 1;
const int kStartupBox = 202;
const DWORD kFilledWithinMs = 300000;

// About 1 MB in lines of 100 KB, ASCII and double-byte text mixed, so that
// pieces meet double-byte characters everywhere. Shown at once, it keeps
// Wine's edit control busy for minutes.
std::string LongLines()
{
    const std::string words = "long line with words and 日本語のテキスト、ひらがなカタカナ。 ";
    std::string text = "long\r\n";
    for (int line = 0; line < 10; ++line) {
        std::string one;
        while (one.size() < 100 * 1024) one += words;
        text += one + "\r\n";
    }
    return text;
}

bool IsFilling(const MemoApp& app)
{
    return !IsWindowVisible(app.Editor());
}

size_t EditorLength(const MemoApp& app)
{
    return static_cast<size_t>(SendMessageA(app.Editor(), WM_GETTEXTLENGTH, 0, 0));
}

::testing::AssertionResult FillsIn(const MemoApp& app, const std::string& text)
{
    if (app.WaitUntilShown(text, kFilledWithinMs)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the memo was not shown whole; editor length " << EditorLength(app);
}
}  // namespace

TEST(LongMemo, WindowWorksWhileAMemoOfLongLinesFillsInAndItIsShownWhole)
{
    MemoApp app;
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    const std::string text = LongLines();
    app.WriteFile("memo\\long.txt", text);
    app.WriteFile("memo\\other.txt", "other\r\nshort");
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=long\r\n");
    const ULONGLONG written = LastWriteTime(app.PathOf("memo\\long.txt"));
    ASSERT_TRUE(app.StartProcess());
    ASSERT_TRUE(app.WaitForWindow(20000)) << "the window must not wait for the memo";
    ASSERT_TRUE(Pin(app));

    ASSERT_TRUE(IsFilling(app));
    EXPECT_TRUE(IsWindowEnabled(app.Child(kStartupBox))) << "the memo has text, if not all in yet";
    RECT window = app.WindowRect();
    MoveMouse(window.left + 60, window.top + 80);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(app.Child(kNewMemo)); }, 5000))
        << "the mouse over the filling memo brings up the button bar";
    ASSERT_TRUE(app.PickMemo("other.txt")) << "the list works while a memo fills in";
    EXPECT_EQ("other\r\nshort", app.EditorText());
    ASSERT_TRUE(app.PickMemo("long.txt"));
    ASSERT_TRUE(IsFilling(app));
    ASSERT_TRUE(app.Command(kNewMemo)) << "New works while a memo fills in";
    EXPECT_EQ("", app.EditorText());
    EXPECT_FALSE(IsFilling(app));

    ASSERT_TRUE(app.PickMemo("long.txt"));
    ASSERT_TRUE(IsFilling(app));
    ASSERT_TRUE(app.ClickCheckBox(kStartupBox)) << "the save while filling stores nothing, it marks";
    EXPECT_EQ(written, LastWriteTime(app.PathOf("memo\\long.txt"))) << "an unedited memo is not written";
    ASSERT_TRUE(FillsIn(app, text));
    EXPECT_EQ(0, SendMessageA(app.Editor(), EM_GETFIRSTVISIBLELINE, 0, 0)) << "shown from the top";
    EXPECT_TRUE(app.IsChecked(kStartupBox));
    ASSERT_TRUE(app.ClickCheckBox(kStartupBox));

    SendMessageA(app.Editor(), EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
    SendMessageA(app.Editor(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("typed"));
    ASSERT_TRUE(app.Command(kNewMemo));
    EXPECT_TRUE(app.Memo("long") == text + "typed") << "the saved memo is the whole memo plus the typing";

    ASSERT_TRUE(app.PickMemo("long.txt"));
    ASSERT_TRUE(IsFilling(app));
    EXPECT_EQ(0u, app.EndFromTray()) << "the tray ends the program while a memo fills in";
    EXPECT_TRUE(app.Memo("long") == text + "typed");
}
