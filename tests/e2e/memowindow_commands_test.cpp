// The memo window's buttons, check boxes and keyboard commands.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/links_probe.h"

namespace {
const int kNewMemo = 1;
const int kCopyMemo = 2;
const int kDeleteMemo = 3;
const int kFileList = 201;
const int kStartupBox = 202;
const int kEdit = 200;

using Files = std::vector<std::string>;

bool IsEnabled(const MemoApp& app, int id)
{
    return IsWindowEnabled(app.Child(id)) != FALSE;
}

DWORD Selection(const MemoApp& app)
{
    return static_cast<DWORD>(SendMessageA(app.Editor(), EM_GETSEL, 0, 0));
}

TEST(MemoCommands, NewMemoSavesTheCurrentOneAndStartsEmptyWithTheStartupBoxOff)
{
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    ASSERT_TRUE(app.Start());
    EXPECT_FALSE(IsEnabled(app, kStartupBox)) << "an empty memo cannot go into the Startup folder";
    app.TypeText("first memo\r\ntext");
    EXPECT_TRUE(IsEnabled(app, kStartupBox)) << "typing enables the Startup box";
    ASSERT_TRUE(app.ClickCheckBox(kStartupBox));
    EXPECT_TRUE(app.IsChecked(kStartupBox));
    EXPECT_EQ("first memo\r\ntext", app.Memo("first memo")) << "the Startup box saves the memo with its link";

    app.TypeText("first memo\r\nmore text");
    ASSERT_TRUE(app.Command(kNewMemo));
    EXPECT_EQ("first memo\r\nmore text", app.Memo("first memo"));
    EXPECT_EQ("", app.EditorText());
    EXPECT_FALSE(app.IsChecked(kStartupBox));
    EXPECT_FALSE(IsEnabled(app, kStartupBox));
    EXPECT_TRUE(IsWindowVisible(app.Window()));

    app.TypeText("x");
    EXPECT_TRUE(IsEnabled(app, kStartupBox));
    app.TypeText("");
    EXPECT_FALSE(IsEnabled(app, kStartupBox)) << "clearing the text disables it again";
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ((Files{"first memo.txt"}), app.MemoFiles()) << "the empty new memo was not written";
    EXPECT_EQ("null", app.Ini("ReadFile", "PrevFile"));
}

TEST(MemoCommands, DeleteRemovesOnlyTheCurrentMemoAndEmptiesTheEditor)
{
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    app.WriteFile("memo\\keep.txt", "keep\r\nthis one");
    app.WriteFile("memo\\gone.txt", "gone\r\nthis one");
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=gone\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_EQ("gone\r\nthis one", app.EditorText());

    ASSERT_TRUE(app.Command(kDeleteMemo));
    EXPECT_EQ((Files{"keep.txt"}), app.MemoFiles());
    EXPECT_EQ("", app.EditorText());
    EXPECT_FALSE(IsEnabled(app, kStartupBox));

    // With no current memo, a Startup box checked by its command takes no
    // link with the memo, and leaves no mark for the next one.
    SendMessageA(app.Child(kStartupBox), BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(app.Command(kStartupBox));
    app.TypeText("never saved");
    ASSERT_TRUE(app.Command(kDeleteMemo));
    EXPECT_FALSE(app.IsChecked(kStartupBox));
    EXPECT_EQ("", app.EditorText());
    EXPECT_EQ((Files{"keep.txt"}), app.MemoFiles());
    EXPECT_EQ(0u, StartupLinksInto(app.Dir()).size());
    app.TypeText("later\r\nnote");
    ASSERT_TRUE(app.Command(kNewMemo));
    EXPECT_EQ("later\r\nnote", app.Memo("later"));
    EXPECT_EQ(0u, StartupLinksInto(app.Dir()).size()) << "the mark went with the deleted memo";
    EXPECT_EQ("keep\r\nthis one", app.Memo("keep"));
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("null", app.Ini("ReadFile", "PrevFile"));
}

// The list's own filling is another control's work; the test puts the
// entries in as the folder listing would.
void PickFromList(const MemoApp& app, const char* file)
{
    HWND list = app.Child(kFileList);
    LRESULT index = SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(file));
    SendMessageA(list, CB_SETCURSEL, index, 0);
    ASSERT_TRUE(app.Command(kFileList, CBN_SELCHANGE));
}

TEST(MemoCommands, PickingAMemoSavesTheShownOneAndLoadsThePickedOne)
{
    MemoApp app;
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    app.WriteFile("memo\\first.txt", "first\r\nmemo");
    app.WriteFile("memo\\second.txt", "second\r\nmemo");
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=first\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_EQ("first\r\nmemo", app.EditorText());
    app.TypeText("first\r\nchanged");

    PickFromList(app, "second.txt");
    EXPECT_EQ("first\r\nchanged", app.Memo("first")) << "the memo being left is saved";
    EXPECT_EQ("second\r\nmemo", app.EditorText());
    EXPECT_FALSE(app.IsChecked(kStartupBox)) << "the picked memo has no Startup link";
    EXPECT_TRUE(IsEnabled(app, kStartupBox));

    PickFromList(app, "gone.txt");
    EXPECT_EQ("", app.EditorText()) << "a memo that vanished shows as empty";
    EXPECT_FALSE(IsEnabled(app, kStartupBox));
    EXPECT_EQ((Files{"first.txt", "second.txt"}), app.MemoFiles());
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("null", app.Ini("ReadFile", "PrevFile")) << "no memo is shown, so none is current";
    EXPECT_EQ("second\r\nmemo", app.Memo("second"));
}

TEST(MemoCommands, CopyPutsTheWholeTextOnTheClipboardAndChangesNothingElse)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    std::string text = "長いメモ\r\n";
    while (text.size() < 3000) text += "0123456789 あいうえお\r\n";
    app.TypeText(text);
    HWND list = app.Child(kFileList);
    LRESULT entries = SendMessageA(list, CB_GETCOUNT, 0, 0);

    ASSERT_TRUE(app.Command(kCopyMemo));
    EXPECT_EQ(text, ClipboardText()) << "more than the first 1023 bytes";
    EXPECT_EQ(text, app.EditorText());
    EXPECT_EQ(Files{}, app.MemoFiles()) << "copying saves nothing";
    EXPECT_EQ(entries, SendMessageA(list, CB_GETCOUNT, 0, 0));
    ASSERT_EQ(0u, app.EndFromTray());
}

TEST(MemoCommands, CtrlAInAnotherControlSelectsTheWholeMemo)
{
    MemoApp app;
    // The list is disabled, and cannot take the focus, while no memo exists.
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    app.WriteFile("memo\\other.txt", "other");
    ASSERT_TRUE(app.Start());
    const std::string text = "select\r\nall of this";
    app.TypeText(text);
    SendMessageA(app.Editor(), EM_SETSEL, 3, 3);
    // The settings window has no fields of its own yet; the memo list stands
    // in for "a control other than the editor".
    ASSERT_TRUE(app.FocusChild(kFileList));

    PressKeys({VK_CONTROL, 'A'});
    DWORD all = MAKELONG(0, text.size());
    EXPECT_TRUE(WaitUntil([&] { return Selection(app) == all; }, 5000))
        << "selection " << LOWORD(Selection(app)) << ".." << HIWORD(Selection(app));
    EXPECT_EQ(app.Child(kFileList), app.FocusWindow()) << "the focus stays where it was";
    EXPECT_EQ(text, app.EditorText());
    ASSERT_EQ(0u, app.EndFromTray());
}

TEST(MemoCommands, CtrlTAppendsATimeStampAtTheEndWhereverTheCaretIs)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    const std::string text = "stamp\r\nhere";
    app.TypeText(text);
    SendMessageA(app.Editor(), EM_SETSEL, 2, 2);
    ASSERT_TRUE(app.FocusChild(kEdit));
    SYSTEMTIME before;
    GetLocalTime(&before);

    PressKeys({VK_CONTROL, 'T'});
    ASSERT_TRUE(WaitUntil([&] { return app.EditorText().size() > text.size(); }, 5000));
    std::string got = app.EditorText();
    ASSERT_EQ(text, got.substr(0, text.size()));
    // Plain numbers without leading zeros, between two line breaks.
    const std::regex stamp(R"(\r\n(\d{4})/([1-9]|1[0-2])/([1-9]|[12]\d|3[01]) ([0-9]|1\d|2[0-3]):([0-9]|[1-5]\d):([0-9]|[1-5]\d)\r\n)");
    std::smatch parts;
    std::string appended = got.substr(text.size());
    ASSERT_TRUE(std::regex_match(appended, parts, stamp)) << appended;
    EXPECT_EQ(std::to_string(before.wYear), parts[1].str());
    EXPECT_EQ(std::to_string(before.wMonth), parts[2].str());
    DWORD end = static_cast<DWORD>(got.size());
    EXPECT_EQ(MAKELONG(end, end), Selection(app)) << "the caret moves to the end";
    ASSERT_EQ(0u, app.EndFromTray());
}

TEST(MemoCommands, CtrlShiftCCopiesEveryCharacterShown)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    const std::wstring text = L"caf\u00e9 \u266b";
    SendMessageW(app.Editor(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    ASSERT_TRUE(app.FocusChild(kEdit));
    PressKeys({VK_CONTROL, VK_SHIFT, 'C'});
    std::wstring copied;
    EXPECT_TRUE(WaitUntil([&] { return (copied = ClipboardUnicodeText()) == text; }, 5000))
        << "CF_UNICODETEXT holds " << copied.size() << " characters, the first " << (copied.empty() ? 0 : copied[0]);
    app.TypeText("stored without a question");
    ASSERT_EQ(0u, app.EndFromTray());
}

TEST(MemoCommands, CtrlTLeavesCharactersTheMemoFileCannotHoldAsTheyAre)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    const std::wstring text = L"caf\u00e9 \u266b\r\n\u00fcber \U0001F600";
    SendMessageW(app.Editor(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ASSERT_TRUE(app.FocusChild(kEdit));

    PressKeys({VK_CONTROL, 'T'});
    std::wstring got;
    ASSERT_TRUE(WaitUntil([&] {
        wchar_t buffer[256] = L"";
        SendMessageW(app.Editor(), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
        got = buffer;
        return got.size() > text.size();
    }, 5000));
    EXPECT_EQ(text, got.substr(0, text.size())) << "nothing before the stamp is changed";
    EXPECT_EQ(L"\r\n", got.substr(got.size() - 2));
    app.TypeText("stored without a question");
    ASSERT_EQ(0u, app.EndFromTray());
}

TEST(MemoCommands, CtrlTOnAnEmptyMemoEnablesTheStartupBox)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    ASSERT_FALSE(IsEnabled(app, kStartupBox));
    ASSERT_TRUE(app.FocusChild(kEdit));
    PressKeys({VK_CONTROL, 'T'});
    ASSERT_TRUE(WaitUntil([&] { return !app.EditorText().empty(); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(app, kStartupBox); }, 5000)) << "the stamp is text like any other";
    ASSERT_EQ(0u, app.EndFromTray());
}
}  // namespace
