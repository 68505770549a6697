// Memo files that other programs wrote in UTF-8 or UTF-16: shown as their
// characters, never written again unedited, and written back in their own
// encoding when edited, without a question about characters Shift-JIS lacks.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "memo/journalformat.h"
#include "memo/textencoding.h"
#include "tests/e2e/fault_env.h"

namespace {
struct EncodedMemo {
    const char* name;
    MemoEncoding encoding;
};

const EncodedMemo kMemos[] = {
    {"bom", MemoEncoding::Utf8Bom},
    {"plain", MemoEncoding::Utf8},
    {"wide", MemoEncoding::Utf16Le},
    {"big-endian", MemoEncoding::Utf16Be},
};

// "<name>\r\ncafé ♫ 𠮷"
std::u16string Characters(const EncodedMemo& memo)
{
    const std::string name = memo.name;
    return std::u16string(name.begin(), name.end()) + u"\r\ncaf\u00E9 \u266B \U00020BB7";
}

std::u16string EditorCharacters(const MemoApp& app)
{
    std::vector<wchar_t> buffer(4096, L'\0');
    SendMessageW(app.Editor(), WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return std::u16string(buffer.data(), buffer.data() + wcslen(buffer.data()));
}

ULONGLONG WriteTime(const MemoApp& app, const std::string& name)
{
    return LastWriteTime(app.PathOf("memo\\" + name + ".txt"));
}

TEST(OtherEncodings, ShownAsTheirCharactersAndNeverRewrittenUnedited)
{
    MemoApp app;
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    std::vector<ULONGLONG> written;
    for (const EncodedMemo& memo : kMemos) {
        app.WriteFile(std::string("memo\\") + memo.name + ".txt", EncodeText(Characters(memo), memo.encoding));
        written.push_back(WriteTime(app, memo.name));
    }
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=bom\r\n");
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(Characters(kMemos[0]) == EditorCharacters(app)) << "shown at start: " << app.EditorText();

    for (int round = 0; round < 2; ++round) {
        for (const EncodedMemo& memo : kMemos) {
            SCOPED_TRACE(memo.name);
            ASSERT_TRUE(app.PickMemo(std::string(memo.name) + ".txt"));
            EXPECT_TRUE(Characters(memo) == EditorCharacters(app)) << "shown: " << app.EditorText();
            ASSERT_TRUE(Deactivate(app)) << "hidden without a question";
            ASSERT_TRUE(app.PopUp());
        }
    }
    for (size_t i = 0; i < sizeof(kMemos) / sizeof(kMemos[0]); ++i) {
        SCOPED_TRACE(kMemos[i].name);
        EXPECT_EQ(EncodeText(Characters(kMemos[i]), kMemos[i].encoding), app.Memo(kMemos[i].name));
        EXPECT_EQ(written[i], WriteTime(app, kMemos[i].name)) << "not even written again";
    }

    // Edited: a character typed at the end, one Shift-JIS has and one it lacks.
    for (const EncodedMemo& memo : kMemos) {
        SCOPED_TRACE(memo.name);
        ASSERT_TRUE(app.PickMemo(std::string(memo.name) + ".txt"));
        SendMessageW(app.Editor(), EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
        SendMessageW(app.Editor(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\u3042\u266A"));
        ASSERT_TRUE(Deactivate(app)) << "stored without a question";
        EXPECT_EQ(EncodeText(Characters(memo) + u"\u3042\u266A", memo.encoding), app.Memo(memo.name))
            << "its own encoding, every character";
        ASSERT_TRUE(app.PopUp());
    }
    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ((std::vector<std::string>{"big-endian.txt", "bom.txt", "plain.txt", "wide.txt"}), app.StoredMemoFiles());
}

// The journal holds the characters; the memo's file tells its encoding again
// at the next start.
TEST(OtherEncodings, AKillWhileEditingBringsEveryCharacterBackAndTheSaveKeepsTheEncoding)
{
    const EncodedMemo memo = {"plain", MemoEncoding::Utf8};
    MemoApp app;
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    const std::string stored = EncodeText(Characters(memo), memo.encoding);
    app.WriteFile("memo\\plain.txt", stored);
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=plain\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(Pin(app));
    SendMessageW(app.Editor(), EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
    SendMessageW(app.Editor(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L" \u266A"));
    const std::u16string typed = Characters(memo) + u" \u266A";
    const std::string journal = "memo\\" + JournalFile();
    EXPECT_TRUE(WaitUntil([&] {
        std::optional<JournalRecord> record = DecodeJournal(app.FileExists(journal) ? app.ReadFile(journal) : "");
        return record && record->wide == typed;
    })) << "journaled with every character";
    app.Kill();
    EXPECT_EQ(stored, app.Memo("plain")) << "the kill stored nothing";

    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(typed == EditorCharacters(app)) << "back: " << app.EditorText();
    ASSERT_TRUE(Deactivate(app)) << "stored without a question";
    EXPECT_EQ(EncodeText(typed, memo.encoding), app.Memo("plain"));
    EXPECT_EQ(0u, app.EndFromTray());
}
}  // namespace
