// Delete: what the user sees goes to the Recycle Bin, from where it comes
// back whole; where it cannot simply go there, nothing the user made goes
// without their saying so, and a delete that fails says so.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Memo "Receipts", stored, is the one shown at start.
void StoreReceipts(const MemoApp& app)
{
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    app.WriteFile("memo\\Receipts.txt", "Receipts\r\nstored");
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=Receipts\r\n");
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

    // Rewritten elsewhere while the question is up: Yes deletes nothing,
    // and the editor shows the other text.
    const std::string theirs = "Receipts\r\nchanged on the other computer";
    app.PostCommand(kDeleteMemo);
    HWND question = app.WaitForMessageBox();
    ASSERT_TRUE(question);
    app.WriteFile("memo\\Receipts.txt", theirs);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    HWND notice = app.WaitForMessageBox();
    EXPECT_EQ("メモが別の場所で変更されました", notice ? MemoApp::WindowText(notice) : "<no box>");
    if (notice) MemoApp::DismissMessageBox(notice);
    EXPECT_EQ(theirs, app.Memo("Receipts"));
    EXPECT_TRUE(WaitUntil([&] { return app.EditorText() == theirs; })) << app.EditorText();

    EXPECT_EQ("ごみ箱に移せません", DeleteAndAnswer(app, false));
    // The delete goes on after the answer; the editor is emptied last.
    EXPECT_TRUE(WaitUntil([&] { return app.EditorText().empty(); }));
    EXPECT_FALSE(app.FileExists("memo\\Receipts.txt")) << "Yes deletes it for good";
    EXPECT_EQ(0u, LinkCount(app));

    app.TypeText("Draft\r\nnever stored");
    EXPECT_EQ("ごみ箱に移せません", DeleteAndAnswer(app, true)) << "a memo never stored is asked for too";
    EXPECT_EQ("Draft\r\nnever stored", app.EditorText());
    EXPECT_EQ(0u, app.EndFromTray());
}

// A stored memo edited, and a memo never stored, each deleted: the bin holds
// the text as shown, and a restore from it shows that text again.
TEST(MemoDelete, TheRecycleBinGetsTheTextAsShownUnsavedEditsIncluded)
{
    MemoApp app;
    ASSERT_NO_FATAL_FAILURE(StoreReceipts(app));
    TrashedFile receipts("Receipts.txt");
    TrashedFile draft("Draft.txt");
    ASSERT_TRUE(app.Start());
    const std::string edited = "Receipts\r\nstored, and this edit never saved";
    app.TypeText(edited);
    ASSERT_TRUE(app.Command(kDeleteMemo));
    EXPECT_EQ(edited, receipts.Content());
    EXPECT_EQ("", app.EditorText());

    const std::string draftText = "Draft\r\nnever stored";
    app.TypeText(draftText);
    ASSERT_TRUE(app.Command(kDeleteMemo));
    EXPECT_EQ(draftText, draft.Content()) << "named by its title";
    EXPECT_EQ(std::vector<std::string>{}, app.StoredMemoFiles());

    ASSERT_TRUE(draft.RestoreTo(app.PathOf("memo\\Draft.txt")));
    ASSERT_TRUE(app.PickMemo("Draft.txt"));
    EXPECT_EQ(draftText, app.EditorText()) << "back from the bin as it was shown";
    EXPECT_EQ(0u, app.EndFromTray());
}

// Characters the memo file cannot hold are asked about first; No, and a
// write that fails, keep the memo and the text shown.
TEST(MemoDelete, AnEditThatCannotBeStoredKeepsTheMemo)
{
    MemoApp app;
    ASSERT_NO_FATAL_FAILURE(StoreReceipts(app));
    ASSERT_TRUE(app.Start());
    SendMessageW(app.Editor(), EM_SETSEL, 0, -1);
    SendMessageW(app.Editor(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"Receipts\r\ncaf\u00e9 \u266b"));
    const std::string shown = app.EditorText();
    EXPECT_EQ("保存できない文字があります", DeleteAndAnswer(app, true));
    EXPECT_EQ("Receipts\r\nstored", app.Memo("Receipts"));
    EXPECT_EQ(shown, app.EditorText());

    app.TypeText("Receipts\r\nedited");
    HANDLE held = CreateFileA(app.PathOf("memo\\Receipts.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ("メモの削除に失敗しました", DeleteAndAnswer(app, true));
    CloseHandle(held);
    EXPECT_EQ("Receipts\r\nstored", app.Memo("Receipts"));
    EXPECT_EQ("Receipts\r\nedited", app.EditorText());
    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("Receipts\r\nedited", app.Memo("Receipts")) << "still the memo, stored at the end";
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
