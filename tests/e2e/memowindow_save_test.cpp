// Saving the memo: when the memo window hides, under the title of its first
// line, and never at the cost of another memo's text.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

namespace {
const int kNewMemo = 1;

// Clicks another program: the memo window saves and hides.
void Deactivate(MemoApp& app)
{
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == app.Window(); })) << "the memo window is not active";
    ActivateOtherWindow();
    ASSERT_TRUE(app.WaitHidden()) << "the memo window did not hide";
}

// A second start pops the hidden window up again.
void PopUp(MemoApp& app)
{
    ASSERT_TRUE(app.PopUp());
}

using Files = std::vector<std::string>;

TEST(MemoSave, TypedMemoIsStoredByteForByteWhenTheWindowHides)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    const std::string text = "買い物リスト\r\nmilk 100%\r\n\r\n卵 ～ 10個";
    app.TypeText(text);
    Deactivate(app);

    EXPECT_EQ((Files{"買い物リスト.txt"}), app.MemoFiles()) << "one memo, no temporary file left";
    EXPECT_EQ(text, app.Memo("買い物リスト")) << "CR LF, Shift-JIS, no byte-order mark, no NUL";
    PopUp(app);
    EXPECT_EQ(text, app.EditorText()) << "the memo stays in the editor";
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("買い物リスト", app.Ini("ReadFile", "PrevFile"));
}

TEST(MemoSave, FirstLineNamesTheFileAndFollowsItsChanges)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    app.TypeText("alpha\r\nbody");
    Deactivate(app);
    EXPECT_EQ((Files{"alpha.txt"}), app.MemoFiles());

    PopUp(app);
    app.TypeText("beta\r\nbody");
    Deactivate(app);
    EXPECT_EQ((Files{"beta.txt"}), app.MemoFiles()) << "renamed, not copied";
    EXPECT_EQ("beta\r\nbody", app.Memo("beta"));

    PopUp(app);
    Deactivate(app);
    EXPECT_EQ((Files{"beta.txt"}), app.MemoFiles()) << "the same text saved again renames nothing";
    EXPECT_EQ("beta\r\nbody", app.Memo("beta"));

    PopUp(app);
    app.TypeText("Beta\r\nbody");
    Deactivate(app);
    EXPECT_EQ((Files{"Beta.txt"}), app.MemoFiles()) << "a change of case alone renames";

    PopUp(app);
    app.TypeText("");
    Deactivate(app);
    EXPECT_EQ((Files{"Beta.txt"}), app.MemoFiles()) << "an empty editor writes nothing";
    EXPECT_EQ("Beta\r\nbody", app.Memo("Beta"));
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("Beta", app.Ini("ReadFile", "PrevFile"));
}

TEST(MemoSave, TitlesThatNameAnotherMemoNullOrADeviceGetADistinctName)
{
    MemoApp app;
    ASSERT_TRUE(app.FolderExists("memo") || CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    app.WriteFile("memo\\shop.txt", "shop\r\nthe older list");
    app.WriteFile("memo\\.txt", "\r\nthe older untitled memo");
    ASSERT_TRUE(app.Start());

    struct Case {
        const char* text;
        const char* savedAs;
    };
    const Case cases[] = {
        {"shop\r\nthe newer list", "shop (2)"},
        {"SHOP\r\nanother list", "SHOP (3)"},
        {"null\r\nnot the name of no memo", "null (2)"},
        {"con\r\na device name", "con (2)"},
        {"LPT1.txt\r\na device name with an extension", "LPT1 (2).txt"},
        {"   \r\nonly spaces on the first line", " (2)"},
    };
    Files expected = {".txt", "shop.txt"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        app.TypeText(c.text);
        ASSERT_TRUE(app.Command(kNewMemo)) << "new memo saves the current one first";
        EXPECT_EQ("", app.EditorText());
        EXPECT_EQ(c.text, app.Memo(c.savedAs));
        expected.push_back(std::string(c.savedAs) + ".txt");
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, app.MemoFiles());
    EXPECT_EQ("shop\r\nthe older list", app.Memo("shop"));
    EXPECT_EQ("\r\nthe older untitled memo", app.Memo(""));
    ASSERT_EQ(0u, app.EndFromTray());
}
}  // namespace
