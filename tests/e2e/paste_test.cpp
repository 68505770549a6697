// Text the memo file cannot hold: a paste of Unicode characters that
// Shift-JIS has no code for is asked about before anything is stored.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "memo/journalformat.h"
#include "tests/e2e/fault_env.h"

namespace {
const int kEditor = 200;
const std::string kKept = "kept\r\nstored";
using Files = std::vector<std::string>;

bool PutUnicodeOnClipboard(const std::wstring& text)
{
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool ok = block != nullptr;
    if (ok) {
        memcpy(GlobalLock(block), text.c_str(), bytes);
        GlobalUnlock(block);
        ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        if (!ok) GlobalFree(block);
    }
    CloseClipboard();
    return ok;
}

void Answer(HWND box, int button)
{
    PostMessageA(box, WM_COMMAND, button, 0);
    WaitUntil([&] { return !IsWindow(box); });
}

std::wstring EditorCharacters(const MemoApp& app)
{
    wchar_t buffer[1024] = L"";
    SendMessageW(app.Editor(), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

// The stored memo "kept" shown, with `pasted` pasted at its end.
void StartAndPaste(MemoApp& app, const std::wstring& pasted)
{
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    app.WriteFile("memo\\kept.txt", kKept);
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=kept\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(PutUnicodeOnClipboard(pasted));
    SendMessageA(app.Editor(), EM_SETSEL, -1, -1);
    SendMessageA(app.Editor(), WM_PASTE, 0, 0);
}

TEST(Paste, CharactersShiftJisCannotHoldAreAskedAboutBeforeAnythingIsStored)
{
    MemoApp app;
    // "café ☃ 𠮷野家"
    ASSERT_NO_FATAL_FAILURE(StartAndPaste(app, L"\r\ncaf\u00e9 \u2603 \U00020BB7\u91ce\u5bb6"));

    ASSERT_TRUE(app.FocusChild(kEditor));
    HWND box = DeactivateIntoMessageBox(app);
    ASSERT_TRUE(box) << "no question before the save; shown: " << app.EditorText() << " stored: " << app.Memo("kept");
    std::string question = MemoApp::MessageBoxText(box);
    EXPECT_NE(std::string::npos, question.find("保存できません")) << question;
    EXPECT_EQ(kKept, app.Memo("kept")) << "nothing stored while the question is up";
    Answer(box, IDNO);
    EXPECT_FALSE(app.WaitHidden(1500)) << "kept up to edit";
    EXPECT_EQ(kKept, app.Memo("kept")) << "nothing stored without the user's say";

    ASSERT_TRUE(app.FocusChild(kEditor));
    box = DeactivateIntoMessageBox(app);
    ASSERT_TRUE(box);
    Answer(box, IDYES);
    EXPECT_TRUE(app.WaitHidden());
    std::string stored = app.Memo("kept");
    EXPECT_EQ(app.EditorText(), stored) << "stored as is once the user said so";
    EXPECT_NE(kKept, stored);
    EXPECT_EQ(0u, app.EndFromTray());
}

TEST(Paste, WhatIsTypedWhileTheQuestionIsUpIsWhatIsStored)
{
    MemoApp app;
    ASSERT_NO_FATAL_FAILURE(StartAndPaste(app, L"\r\ncaf\u00e9 \u2603"));
    ASSERT_TRUE(app.FocusChild(kEditor));
    HWND box = DeactivateIntoMessageBox(app);
    ASSERT_TRUE(box);

    const std::string typed = "kept\r\nstored, and typed behind the question";
    app.TypeText(typed);
    Answer(box, IDYES);
    EXPECT_TRUE(app.WaitHidden());
    EXPECT_EQ(typed, app.Memo("kept")) << "the text shown when the user answered";
    ASSERT_TRUE(app.PopUpByRequest());
    ASSERT_TRUE(app.Command(1)) << "New";
    EXPECT_EQ(typed, app.Memo("kept")) << "nothing typed is lost at the next New";
    EXPECT_EQ(0u, app.EndFromTray());
}
// The journal's two seconds pass before the kill.
TEST(Paste, CharactersShiftJisCannotHoldSurviveAKillAndAreAskedAboutAtTheNextSave)
{
    MemoApp app;
    const std::wstring pasted = L"\r\ncaf\u00e9 \u266b";
    ASSERT_NO_FATAL_FAILURE(StartAndPaste(app, pasted));
    const std::u16string shown = u"kept\r\nstored\r\ncaf\u00e9 \u266b";
    std::u16string journaled;
    EXPECT_TRUE(WaitUntil([&] {
        const std::string journal = "memo\\" + JournalFile();
        std::optional<JournalRecord> record = DecodeJournal(app.FileExists(journal) ? app.ReadFile(journal) : "");
        journaled = record ? record->wide : u"<none>";
        return journaled == shown;
    })) << "the journal holds " << journaled.size() << " characters";
    app.Kill();
    EXPECT_EQ(kKept, app.Memo("kept")) << "the kill stored nothing";

    ASSERT_TRUE(app.Start());
    const std::wstring back = EditorCharacters(app);
    EXPECT_TRUE(std::u16string(back.begin(), back.end()) == shown) << "every character is back";
    ASSERT_TRUE(app.FocusChild(kEditor));
    HWND box = DeactivateIntoMessageBox(app);
    ASSERT_TRUE(box) << "no question before the save; stored: " << app.Memo("kept");
    EXPECT_NE(std::string::npos, MemoApp::MessageBoxText(box).find("保存できません"));
    Answer(box, IDYES);
    EXPECT_TRUE(app.WaitHidden());
    EXPECT_EQ(app.EditorText(), app.Memo("kept"));
    EXPECT_EQ(0u, app.EndFromTray());
}

// The editor shows such bytes as other characters; a save of an edit would
// write those in their place.
TEST(Paste, MemoFileBytesShiftJisCannotHoldAreNeverRewrittenWithoutAQuestion)
{
    const std::string cases[] = {
        "kept\r\ncaf\xc3\xa9 \xe2\x98\x83 \xc3\r\n",  // UTF-8 with a character cut short
        "kept\r\nbad \x83\x0d\x0a trail",         // a lead byte with a bad trail byte
        "kept\r\nlone \x83",                      // a lone lead byte at the end
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes);
        MemoApp app;
        CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
        app.WriteFile("memo\\kept.txt", bytes);
        app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=kept\r\n");
        ASSERT_TRUE(app.Start());
        ASSERT_TRUE(app.FocusChild(kEditor));
        const size_t before = app.EditorText().size();
        PressKeys({VK_CONTROL, 'T'});
        ASSERT_TRUE(WaitUntil([&] { return app.EditorText().size() > before; }, 5000));

        HWND box = DeactivateIntoMessageBox(app);
        ASSERT_TRUE(box) << "stored without a question";
        EXPECT_NE(std::string::npos, MemoApp::MessageBoxText(box).find("Shift-JIS"));
        Answer(box, IDNO);
        EXPECT_FALSE(app.WaitHidden(1500)) << "kept up to edit";
        EXPECT_EQ(bytes, app.Memo("kept")) << "byte for byte as before";
        EXPECT_EQ(Files{"kept.txt"}, app.StoredMemoFiles());
        EXPECT_NE(0, SendMessageA(app.Editor(), EM_GETMODIFY, 0, 0)) << "the edit stays, unsaved";
    }
}
}  // namespace
