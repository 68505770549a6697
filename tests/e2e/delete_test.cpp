// Delete where the memo cannot simply go to the Recycle Bin: nothing the
// user made goes without their saying so, and a delete that fails says so.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/harness.h"
#include "tests/e2e/links_probe.h"

namespace {
const int kDeleteMemo = 3;
const int kStartupBox = 202;

// Wine keeps its Recycle Bin in $XDG_DATA_HOME/Trash and makes only the last
// folder of that: under a folder that does not exist there is none, as on a
// USB stick or a network folder under Windows. The program inherits it.
class NoRecycleBin {
public:
    NoRecycleBin()
    {
        char old[1024] = "";
        m_bHad = GetEnvironmentVariableA("XDG_DATA_HOME", old, sizeof(old)) > 0;
        m_old = old;
        SetEnvironmentVariableA("XDG_DATA_HOME", "/nonexistent-mossvane-folder/share");
    }
    ~NoRecycleBin() { SetEnvironmentVariableA("XDG_DATA_HOME", m_bHad ? m_old.c_str() : nullptr); }

private:
    bool m_bHad = false;
    std::string m_old;
};

size_t LinkCount(const MemoApp& app)
{
    return StartupLinksInto(app.Dir()).size();
}

// A stored memo with its Startup link, shown in the editor.
void StartWithLinkedMemo(MemoApp& app, const std::string& text)
{
    ASSERT_TRUE(app.Start());
    app.TypeText(text);
    ASSERT_TRUE(app.ClickCheckBox(kStartupBox));
    ASSERT_EQ(1u, LinkCount(app));
    ASSERT_EQ(text, app.Memo("Receipts"));
}

// Deletes and takes the box that comes up; its caption.
std::string DeleteAndAnswer(MemoApp& app, bool defaultAnswer)
{
    app.PostCommand(kDeleteMemo);
    HWND box = app.WaitForMessageBox();
    if (!box) return "<no box>";
    std::string caption = MemoApp::WindowText(box);
    WPARAM answer = defaultAnswer ? LOWORD(SendMessageA(box, DM_GETDEFID, 0, 0)) : IDYES;
    PostMessageA(box, WM_COMMAND, answer, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    return caption;
}

void ExpectAllKept(MemoApp& app, const std::string& text)
{
    EXPECT_EQ(text, app.Memo("Receipts"));
    EXPECT_EQ(1u, LinkCount(app)) << "the memo's Startup link stays";
    EXPECT_TRUE(app.IsChecked(kStartupBox));
    EXPECT_EQ(text, app.EditorText());
}
}  // namespace

TEST(MemoDelete, WithoutARecycleBinTheUserIsAskedAndTheDefaultKeepsEverything)
{
    const std::string text = "Receipts\r\nkeep them until May";
    NoRecycleBin noBin;
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    StartWithLinkedMemo(app, text);

    EXPECT_EQ("ごみ箱に移せません", DeleteAndAnswer(app, true));
    ExpectAllKept(app, text);

    EXPECT_EQ("ごみ箱に移せません", DeleteAndAnswer(app, false));
    // The delete goes on after the answer; the editor is emptied last.
    EXPECT_TRUE(WaitUntil([&] { return app.EditorText().empty(); }));
    EXPECT_FALSE(app.FileExists("memo\\Receipts.txt")) << "Yes deletes it for good";
    EXPECT_EQ(0u, LinkCount(app));
    EXPECT_EQ(0u, app.EndFromTray());
}

TEST(MemoDelete, AMemoHeldOpenElsewhereIsKeptWithItsLinkAndTheUserIsTold)
{
    const std::string text = "Receipts\r\nfor the tax office";
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    StartWithLinkedMemo(app, text);

    HANDLE held = CreateFileA(app.PathOf("memo\\Receipts.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ("メモの削除に失敗しました", DeleteAndAnswer(app, true));
    CloseHandle(held);
    ExpectAllKept(app, text);

    ASSERT_TRUE(app.Command(kDeleteMemo)) << "once it is free, Delete works without a question";
    EXPECT_FALSE(app.FileExists("memo\\Receipts.txt"));
    EXPECT_EQ(0u, LinkCount(app));
    EXPECT_EQ(0u, app.EndFromTray());
}
