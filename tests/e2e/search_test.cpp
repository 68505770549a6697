// The search window of the real program: what it finds as the user types,
// how a hit is opened, and the keys and the menu that lead to it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/harness.h"

namespace {
const int kEditor = 200;
const int kField = 101;
const int kHitList = 103;
const int kStatus = 104;

HWND SearchWindow(const MemoApp& app)
{
    std::vector<HWND> windows = TopLevelWindowsOf(app.ProcessId(), "SearchWnd");
    return windows.empty() ? nullptr : windows.front();
}

bool IsSearchUp(const MemoApp& app)
{
    HWND search = SearchWindow(app);
    return search && IsWindowVisible(search) && GetForegroundWindow() == search &&
           app.FocusWindow() == GetDlgItem(search, kField);
}

// Ctrl+F in the editor, as the user presses it.
bool OpenSearch(const MemoApp& app)
{
    if (!app.FocusChild(kEditor)) return false;
    PressKeys({VK_CONTROL, 'F'});
    return WaitUntil([&] { return IsSearchUp(app); }, 10000);
}

// Wine hands a list entry of another process over in UTF-16 whichever form
// is asked for, so it is asked for in that form.
std::vector<std::string> Rows(HWND search)
{
    std::vector<std::string> rows;
    HWND list = GetDlgItem(search, kHitList);
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        WCHAR wide[512] = L"";
        if (SendMessageW(list, LB_GETTEXTLEN, i, 0) >= 512) continue;
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
        char text[1024] = "";
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
        rows.push_back(text);
    }
    return rows;
}

// A row is the memo's title, a dash, and the line of its first hit.
bool HasTitleAndLine(const std::string& row, const std::string& title, const std::string& line)
{
    return row.size() > title.size() + line.size() && row.compare(0, title.size() + 1, title + " ") == 0 &&
           row.compare(row.size() - line.size() - 1, line.size() + 1, " " + line) == 0;
}

std::string Status(HWND search)
{
    return MemoApp::WindowText(GetDlgItem(search, kStatus));
}

// Puts `query` into the field as typing would (the field notifies), and
// waits for the search to end: the status then counts the hits.
bool Search(HWND search, const std::wstring& query)
{
    SendMessageW(GetDlgItem(search, kField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(query.c_str()));
    return WaitUntil([&] {
        const std::string status = Status(search);
        return status.find("件") != std::string::npos || status == "見つかりません";
    }, 15000);
}

// A double-click on a row of the list, as the list receives it: posted, so
// that no double-click time of a busy machine splits it in two clicks.
void DoubleClickRow(HWND search, int row)
{
    HWND list = GetDlgItem(search, kHitList);
    RECT rc = {};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc));
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        PostMessageW(list, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    }
}

// What the editor has selected, as the user would copy it.
std::string SelectedText(const MemoApp& app)
{
    SendMessageA(app.Editor(), WM_COPY, 0, 0);
    return ClipboardText();
}

DWORD SelectionStart(const MemoApp& app)
{
    DWORD start = 0, end = 0;
    SendMessageA(app.Editor(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start;
}

DWORD SelectionEnd(const MemoApp& app)
{
    DWORD start = 0, end = 0;
    SendMessageA(app.Editor(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return end;
}

std::string Lines(int from, int to, const std::string& prefix)
{
    std::string text;
    for (int i = from; i <= to; ++i) text += prefix + std::to_string(i) + "\r\n";
    return text;
}

// Among 30 memos, a word only on line 20 of one, after Japanese text: Enter
// saves the memo shown, with its unsaved edit, and opens that memo with
// exactly the word selected.
TEST(Search, EnterOpensTheMemoOfAWordOnLine20WithTheWordSelected)
{
    MemoApp app;
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    for (int i = 0; i < 30; ++i) app.WriteFile("memo\\memo " + std::to_string(i) + ".txt", Lines(1, 25, "行 "));
    const std::string target = "memo 17\r\n" + Lines(2, 19, "行 ") + "日本語のあとに zebracorn です\r\n" +
                               Lines(21, 25, "行 ");
    app.WriteFile("memo\\memo 17.txt", target);
    ASSERT_TRUE(app.Start());
    app.TypeText("shown before\r\nnot stored yet");

    ASSERT_TRUE(OpenSearch(app));
    HWND search = SearchWindow(app);
    ASSERT_TRUE(Search(search, L"ZebraCorn"));
    std::vector<std::string> rows = Rows(search);
    ASSERT_EQ(1u, rows.size()) << Status(search);
    EXPECT_TRUE(HasTitleAndLine(rows[0], "memo 17", "日本語のあとに zebracorn です")) << rows[0];

    // Enter at once after typing opens a hit of what was typed, not one of
    // the list still showing the search before.
    ASSERT_TRUE(Search(search, L"行"));
    ASSERT_LT(1u, Rows(search).size());
    SendMessageW(GetDlgItem(search, kField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"ZebraCorn"));
    PressKeys({VK_RETURN});
    ASSERT_TRUE(app.WaitUntilShown(target));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(search); }, 5000)) << "the search window goes";
    EXPECT_TRUE(IsWindowVisible(app.Window()));
    EXPECT_EQ(app.Editor(), app.FocusWindow());
    EXPECT_EQ("zebracorn", SelectedText(app)) << "exactly the word, after double-byte text";
    const LRESULT firstLine = SendMessageA(app.Editor(), EM_GETFIRSTVISIBLELINE, 0, 0);
    EXPECT_TRUE(firstLine > 0 && firstLine <= 19) << "line 20 scrolled into view from the top: " << firstLine;
    char listed[MAX_PATH] = "";
    SendMessageA(app.Child(201), WM_GETTEXT, sizeof(listed), reinterpret_cast<LPARAM>(listed));
    EXPECT_STREQ("memo 17.txt", listed) << "the memo list shows it";
    EXPECT_EQ("shown before\r\nnot stored yet", app.Memo("shown before")) << "the memo left was saved first";
    ASSERT_EQ(0u, app.EndFromTray());
}

// A memo long enough to go into the editor piece by piece has its hit
// selected once it is all in.
TEST(Search, AHitInAMemoThatFillsInPiecesIsSelectedOnceItIsIn)
{
    MemoApp app;
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    const std::string text = "long memo\r\n" + Lines(2, 599, "a line of a long memo, number ") + "the needle\r\n" +
                             Lines(601, 700, "a line of a long memo, number ");
    app.WriteFile("memo\\long memo.txt", text);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(OpenSearch(app));
    HWND search = SearchWindow(app);
    ASSERT_TRUE(Search(search, L"needle"));
    ASSERT_EQ(1u, Rows(search).size()) << Status(search);
    PressKeys({VK_RETURN});
    ASSERT_TRUE(app.WaitUntilShown(text));
    EXPECT_TRUE(WaitUntil([&] { return SelectedText(app) == "needle"; }, 5000)) << SelectedText(app);
    const LRESULT firstLine = SendMessageA(app.Editor(), EM_GETFIRSTVISIBLELINE, 0, 0);
    EXPECT_TRUE(firstLine > 500 && firstLine <= 599) << "line 600 scrolled into view: " << firstLine;
    ASSERT_EQ(0u, app.EndFromTray());
}

// Full-width letters by half-width typing, a UTF-8 memo by a character
// Shift-JIS lacks, and the memo shown as the editor shows it, unsaved words
// and all, opened in place.
TEST(Search, WidthAndCaseAndTheUnsavedTextOfTheMemoShownMatch)
{
    MemoApp app;
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    app.WriteFile("memo\\cables.txt", "cables\r\nＵＳＢ ケーブル\r\n");
    app.WriteFile("memo\\other.txt", "other\r\nnothing here\r\n");
    app.WriteFile("memo\\esperanto.txt", "esperanto\r\n\xC4\x89iu tago\r\n");  // ĉiu, in UTF-8
    ASSERT_TRUE(app.Start());
    app.TypeText("draft\r\nthe word typedonly is new");

    ASSERT_TRUE(OpenSearch(app));
    HWND search = SearchWindow(app);
    for (BYTE key : {'U', 'S', 'B'}) PressKeys({key});
    ASSERT_TRUE(WaitUntil([&] { return Status(search) == "1 件"; }, 15000)) << Status(search);
    EXPECT_TRUE(HasTitleAndLine(Rows(search).at(0), "cables", "ＵＳＢ ケーブル")) << Rows(search).at(0);
    PressKeys({VK_DOWN});
    EXPECT_TRUE(WaitUntil([&] { return app.FocusWindow() == GetDlgItem(search, kHitList); }, 5000))
        << "Down goes from the field to the list";
    EXPECT_EQ(0, SendMessageW(GetDlgItem(search, kHitList), LB_GETCURSEL, 0, 0)) << "on its first hit";
    PressKeys({VK_UP});
    EXPECT_TRUE(WaitUntil([&] { return app.FocusWindow() == GetDlgItem(search, kField); }, 5000))
        << "and Up at its top comes back";

    // Typed: the characters reach the field through the program's message
    // loop as they are.
    HWND field = GetDlgItem(search, kField);
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    for (WCHAR c : {L'\x0108', L'i', L'u'}) PostMessageW(field, WM_CHAR, c, 1);
    ASSERT_TRUE(WaitUntil([&] { return Status(search) == "1 件"; }, 15000)) << Status(search);
    EXPECT_EQ(0u, Rows(search).at(0).find("esperanto ")) << Rows(search).at(0);

    ASSERT_TRUE(Search(search, L"TypedOnly"));
    ASSERT_EQ(1u, Rows(search).size()) << Status(search);
    PressKeys({VK_RETURN});
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(search); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return SelectedText(app) == "typedonly"; }, 5000)) << SelectedText(app);
    EXPECT_EQ("draft\r\nthe word typedonly is new", app.EditorText()) << "selected in place, not reloaded";
    EXPECT_NE(0, SendMessageA(app.Editor(), EM_GETMODIFY, 0, 0)) << "and still unsaved";
    EXPECT_EQ(std::vector<std::string>({"cables.txt", "esperanto.txt", "other.txt"}), app.StoredMemoFiles());
    ASSERT_EQ(0u, app.EndFromTray());
}

// A memo rewritten by another program is searched as it is now.
TEST(Search, AMemoRewrittenElsewhereIsFoundByItsNewWordOnly)
{
    MemoApp app;
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    app.WriteFile("memo\\rewritten.txt", "rewritten\r\noldword\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(OpenSearch(app));
    HWND search = SearchWindow(app);
    ASSERT_TRUE(Search(search, L"oldword"));
    ASSERT_EQ(1u, Rows(search).size());

    app.WriteFile("memo\\rewritten.txt", "rewritten\r\nthe newword now, longer\r\n");
    ASSERT_TRUE(Search(search, L"newword"));
    EXPECT_EQ(1u, Rows(search).size()) << Status(search);
    ASSERT_TRUE(Search(search, L"oldword"));
    EXPECT_EQ(0u, Rows(search).size()) << Status(search);

    ASSERT_TRUE(Search(search, L"newword"));
    DoubleClickRow(search, 0);
    EXPECT_TRUE(app.WaitUntilShown("rewritten\r\nthe newword now, longer\r\n")) << "a double-click opens the hit";
    EXPECT_EQ("newword", SelectedText(app));

    // Edited here and rewritten elsewhere: the file is searched as it is
    // now, and the text typed here as a memo of its own, not under its name.
    app.TypeText("typedword");
    app.WriteFile("memo\\rewritten.txt", "rewritten\r\nthe thirdword now\r\n");
    ASSERT_TRUE(OpenSearch(app));
    ASSERT_TRUE(Search(search, L"thirdword"));
    ASSERT_EQ(1u, Rows(search).size()) << Status(search);
    EXPECT_TRUE(HasTitleAndLine(Rows(search)[0], "rewritten", "the thirdword now")) << Rows(search)[0];
    ASSERT_TRUE(Search(search, L"typedword"));
    ASSERT_EQ(1u, Rows(search).size()) << Status(search);
    EXPECT_NE(0u, Rows(search)[0].rfind("rewritten", 0)) << Rows(search)[0];
    app.Kill();
}

// The memo window stays up behind the search window; Esc gives the editor
// back; another program's activation closes both, saving the memo. The
// memo window's keys do nothing in the search window.
TEST(Search, EscGivesTheEditorBackAndAnotherProgramHidesBoth)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    app.TypeText("kept memo\r\nedited");
    ASSERT_TRUE(OpenSearch(app));
    HWND search = SearchWindow(app);
    EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(app.Window()); }, 1500))
        << "the memo window stays up while the search window is active";
    EXPECT_FALSE(app.FileExists("memo\\kept memo.txt")) << "and saves nothing";
    PressKeys({VK_CONTROL, 'A'});
    PressKeys({VK_CONTROL, 'N'});
    PressKeys({VK_CONTROL, 'D'});
    // A key typed after them reaching the field says they were all handled.
    PressKeys({'Q'});
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(GetDlgItem(search, kField), WM_GETTEXTLENGTH, 0, 0) > 0; }, 5000));
    EXPECT_EQ("kept memo\r\nedited", app.EditorText()) << "Ctrl+N is no new memo here, nor Ctrl+D a delete";
    EXPECT_EQ(SelectionEnd(app), SelectionStart(app)) << "nor Ctrl+A a selection in the editor";

    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(search); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == app.Window(); }, 5000));
    EXPECT_EQ(app.Editor(), app.FocusWindow());
    EXPECT_TRUE(IsWindowVisible(app.Window()));

    ASSERT_TRUE(OpenSearch(app));
    ActivateOtherWindow();
    EXPECT_TRUE(app.WaitHidden()) << "another program's window hides the memo window";
    EXPECT_FALSE(IsWindowVisible(search));
    EXPECT_EQ("kept memo\r\nedited", app.Memo("kept memo")) << "and saves the memo";
    ASSERT_EQ(0u, app.EndFromTray());
}

// F3 and Shift+F3 go round the places of the last search in the memo
// shown; the editor's menu offers the search, from the keyboard too.
TEST(Search, F3GoesRoundTheHitsAndTheEditorsMenuOpensTheSearch)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    app.TypeText("fruit\r\napple pie, apple tart, applesauce");
    ASSERT_TRUE(app.FocusChild(kEditor));
    PressKeys({VK_F3});
    ASSERT_TRUE(WaitUntil([&] { return IsSearchUp(app); }, 10000)) << "F3 without a search opens the window";
    HWND search = SearchWindow(app);
    ASSERT_TRUE(Search(search, L"APPLE"));
    PressKeys({VK_RETURN});
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(search) && app.FocusWindow() == app.Editor(); }, 5000));
    EXPECT_EQ(7u, SelectionStart(app));

    struct Step {
        bool back;
        DWORD start;
    };
    const Step steps[] = {{false, 18}, {false, 30}, {false, 7}, {true, 30}, {true, 18}};
    for (const Step& step : steps) {
        if (step.back) PressKeys({VK_SHIFT, VK_F3});
        else PressKeys({VK_F3});
        EXPECT_TRUE(WaitUntil([&] { return SelectionStart(app) == step.start; }, 5000))
            << (step.back ? "Shift+F3 to " : "F3 to ") << step.start << ", got " << SelectionStart(app);
    }
    EXPECT_EQ("apple", SelectedText(app));

    PressKeys({VK_SHIFT, VK_F10});
    ASSERT_TRUE(WaitUntil([&] { return !TopLevelWindowsOf(app.ProcessId(), "#32768").empty(); }, 5000))
        << "Shift+F10 opens the editor's menu";
    PressKeys({'F'});
    EXPECT_TRUE(WaitUntil([&] { return IsSearchUp(app); }, 10000)) << "its search item opens the window";
    ASSERT_EQ(0u, app.EndFromTray());
}
}  // namespace
