// Memo files changed, touched or deleted by another program while the
// program runs, as a sync tool does for another computer: what the other
// program wrote is never written over, and neither side's text is lost.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/fault_env.h"
#include "tests/e2e/harness.h"

namespace {
const int kNewMemo = 1;
const char kNoticeCaption[] = "メモが別の場所で変更されました";

using Files = std::vector<std::string>;

class Elsewhere : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.Start()); }

    std::string MemoPath(const std::string& name) const { return app.PathOf("memo\\" + name + ".txt"); }
    void Write(const std::string& name, const std::string& text) const { app.WriteFile("memo\\" + name + ".txt", text); }

    // As a sync tool stores a file that came from elsewhere: whole under a
    // temporary name, then renamed over the memo.
    void WriteByRename(const std::string& name, const std::string& text) const
    {
        const std::string temp = app.PathOf("memo\\.~sync-" + name + ".tmp");
        app.WriteFile("memo\\.~sync-" + name + ".tmp", text);
        ASSERT_TRUE(MoveFileExA(temp.c_str(), MemoPath(name).c_str(), MOVEFILE_REPLACE_EXISTING));
    }

    // A later time on the same bytes.
    void Touch(const std::string& name) const
    {
        HANDLE file = CreateFileA(MemoPath(name).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        ULONGLONG later = LastWriteTime(MemoPath(name)) + 10ULL * 10000000;
        FILETIME time = {static_cast<DWORD>(later), static_cast<DWORD>(later >> 32)};
        EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
        CloseHandle(file);
    }

    void Store(const std::string& text)
    {
        app.TypeText(text);
        ASSERT_TRUE(Deactivate(app));
    }

    // The hide that finds `mine` edited here and `theirs` written elsewhere:
    // both are kept, and one notice names where.
    void HideKeepingBoth(const std::string& title, const std::string& mine, const std::string& theirs)
    {
        const std::string seen = ReadAndDismiss(DeactivateIntoMessageBox(app));
        EXPECT_NE(std::string::npos, seen.find(kNoticeCaption)) << seen;
        EXPECT_NE(std::string::npos, seen.find(title + ".txt")) << seen;
        EXPECT_NE(std::string::npos, seen.find(title + " (2).txt")) << seen;
        ASSERT_TRUE(app.WaitHidden());
        EXPECT_EQ("<no box>", ReadAndDismiss(app.WaitForMessageBox(1500))) << "one notice";
        EXPECT_EQ(theirs, app.Memo(title));
        EXPECT_EQ(mine, app.Memo(title + " (2)"));
    }

    MemoApp app;
};

TEST_F(Elsewhere, AnUneditedMemoShowsWhatTheFileHoldsAndNeverWritesItBack)
{
    Store("note\r\nfirst");

    // (a) rewritten in place while the window was hidden
    const std::string theirs = "note\r\nfrom the other computer";
    Write("note", theirs);
    ASSERT_TRUE(app.PopUp());
    EXPECT_TRUE(app.WaitUntilShown(theirs)) << app.EditorText();
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ(theirs, app.Memo("note")) << "byte for byte the other program's";

    // rewritten while the window shows
    ASSERT_TRUE(app.PopUp());
    const std::string meanwhile = "note\r\nwhile the window shows";
    Write("note", meanwhile);
    EXPECT_TRUE(app.WaitUntilShown(meanwhile)) << app.EditorText();
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ(meanwhile, app.Memo("note"));

    // (e) a temporary file renamed over the memo
    const std::string renamed = "note\r\nrenamed into place";
    WriteByRename("note", renamed);
    ASSERT_TRUE(app.PopUp());
    EXPECT_TRUE(app.WaitUntilShown(renamed)) << app.EditorText();
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ(renamed, app.Memo("note"));
    EXPECT_EQ((Files{"note.txt"}), app.StoredMemoFiles());

    // a sync tool's leftover and its conflict copy: only the copy is a memo
    app.WriteFile("memo\\note.txt~", "partial");
    Write("note.sync-conflict", "note\r\nthe other side");
    EXPECT_FALSE(app.SelectInList("note.txt~"));
    EXPECT_TRUE(app.SelectInList("note.sync-conflict.txt"));

    // (f) deleted
    ASSERT_TRUE(DeleteFileA(MemoPath("note").c_str()));
    ASSERT_TRUE(app.PopUp());
    EXPECT_TRUE(app.WaitUntilShown("")) << app.EditorText();
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ((Files{"note.sync-conflict.txt", "note.txt~"}), app.StoredMemoFiles())
        << "a memo deleted elsewhere does not come back";
    EXPECT_FALSE(app.SelectInList("note.txt")) << "nor is it listed";
}

TEST_F(Elsewhere, EditsHereAreKeptBesideAChangeElsewhere)
{
    Store("plan\r\nv1");

    // (b) a change of another size while the user types
    ASSERT_TRUE(app.PopUp());
    app.TypeText("plan\r\nmine");
    Write("plan", "plan\r\ntheirs, longer");
    HideKeepingBoth("plan", "plan\r\nmine", "plan\r\ntheirs, longer");

    // (c) one character changed, the size kept
    ASSERT_TRUE(app.PopUp());
    ASSERT_TRUE(app.Command(kNewMemo));
    Store("same\r\nabc");
    ASSERT_TRUE(app.PopUp());
    app.TypeText("same\r\nabcd");
    Write("same", "same\r\nabX");
    HideKeepingBoth("same", "same\r\nabcd", "same\r\nabX");

    // (d) only the time changed: an ordinary save
    ASSERT_TRUE(app.PopUp());
    ASSERT_TRUE(app.Command(kNewMemo));
    Store("touch\r\n1");
    ASSERT_TRUE(app.PopUp());
    Touch("touch");
    app.TypeText("touch\r\n2");
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ("<no box>", ReadAndDismiss(app.WaitForMessageBox(1500)));
    EXPECT_EQ("touch\r\n2", app.Memo("touch"));

    // (g) deleted while edited: stored again under its title
    ASSERT_TRUE(app.PopUp());
    app.TypeText("touch\r\n3");
    ASSERT_TRUE(DeleteFileA(MemoPath("touch").c_str()));
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ("touch\r\n3", app.Memo("touch"));
    EXPECT_EQ((Files{"plan (2).txt", "plan.txt", "same (2).txt", "same.txt", "touch.txt"}), app.StoredMemoFiles());
}

// (h) while the journal's timer runs out and looks again and again
TEST_F(Elsewhere, ABurstOfChangesGivesOneNoticeAndOneNewMemo)
{
    Store("burst\r\n0");
    ASSERT_TRUE(app.PopUp());
    app.TypeText("burst\r\nmine");
    std::string last;
    for (int i = 1; i <= 10; ++i) {
        last = "burst\r\ntheirs " + std::to_string(i);
        if (i % 2) Write("burst", last);
        else WriteByRename("burst", last);
        Sleep(300);
    }
    HideKeepingBoth("burst", "burst\r\nmine", last);
    EXPECT_EQ((Files{"burst (2).txt", "burst.txt"}), app.StoredMemoFiles());

    ASSERT_TRUE(app.PopUp());
    EXPECT_EQ("burst\r\nmine", app.EditorText()) << "the user's text stays in the editor";
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ("<no box>", ReadAndDismiss(app.WaitForMessageBox(1500)));
}
}  // namespace
