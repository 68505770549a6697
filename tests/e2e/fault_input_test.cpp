// Bad and large input for the real program: memo files the editor cannot
// show as they are (NUL bytes, broken double-byte pairs), a memo of 10 MB,
// and a memo folder of 2,000 memos. Loading, hiding and switching leave
// every file byte for byte as it was unless the user edited it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/fault_env.h"

namespace {
const int kNewMemo = 1;
const int kFileList = 201;

struct OddMemo {
    const char* name;
    std::string bytes;
};

const OddMemo kOddMemos[] = {
    {"zeros", std::string("zeros\r\nbefore\0after\0\0end", 24)},
    {"lead", "lead\r\nends with a lead byte \x82"},
    {"trail", "trail\r\n\x81\x7f is no pair, nor \x82\r\n"},
};

std::string MemoPath(const MemoApp& app, const std::string& name)
{
    return app.PathOf("memo\\" + name + ".txt");
}

TEST(FaultInput, OddBytesStayByteForByteUnlessEditedAndANulNeverCutsAMemo)
{
    RecordProperty("fault", "memos with NUL bytes, a lead byte at the very end, a lead byte before an "
                            "invalid trail byte: loaded at start and by the list, hidden unedited; then edited");
    MemoApp app;
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    for (const OddMemo& memo : kOddMemos) app.WriteFile(std::string("memo\\") + memo.name + ".txt", memo.bytes);
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=zeros\r\n");
    std::vector<ULONGLONG> written;
    for (const OddMemo& memo : kOddMemos) written.push_back(LastWriteTime(MemoPath(app, memo.name)));
    ASSERT_TRUE(app.Start());
    EXPECT_EQ("zeros\r\nbefore after  end", app.EditorText()) << "NULs show as spaces";

    for (const OddMemo& memo : kOddMemos) {
        SCOPED_TRACE(memo.name);
        ASSERT_TRUE(app.PickMemo(std::string(memo.name) + ".txt"));
        EXPECT_NE("", app.EditorText());
        ASSERT_TRUE(Deactivate(app));
        ASSERT_TRUE(app.PopUp());
    }
    for (size_t i = 0; i < sizeof(kOddMemos) / sizeof(kOddMemos[0]); ++i) {
        SCOPED_TRACE(kOddMemos[i].name);
        EXPECT_EQ(kOddMemos[i].bytes, app.Memo(kOddMemos[i].name));
        EXPECT_EQ(written[i], LastWriteTime(MemoPath(app, kOddMemos[i].name)))
            << "not even written again";
    }

    ASSERT_TRUE(app.PickMemo("zeros.txt"));
    SendMessageA(app.Editor(), EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
    SendMessageA(app.Editor(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("!"));
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ("zeros\r\nbefore after  end!", app.Memo("zeros")) << "what followed the NULs is kept";
    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ((std::vector<std::string>{"lead.txt", "trail.txt", "zeros.txt"}), app.MemoFiles());
    RecordProperty("outcome", "unedited memos not written again (same bytes, same time stamp); NULs shown as "
                              "spaces, and an edit keeps everything after them");
}

// About 10 MB of lines as people write them: ASCII and double-byte text.
std::string TenMegabytes()
{
    const std::string line = "big memo line of ASCII and 日本語のテキスト、ひらがな。\r\n";
    std::string text = "big\r\n";
    text.reserve(10 * 1024 * 1024 + line.size());
    while (text.size() + line.size() <= 10 * 1024 * 1024) text += line;
    return text;
}

TEST(FaultInput, TenMegabyteMemoIsShownKeptAndEditable)
{
    RecordProperty("fault", "a memo of 10 MB: loaded at start, hidden unedited, then typed into and saved");
    MemoApp app;
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    const std::string big = TenMegabytes();
    app.WriteFile("memo\\big.txt", big);
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=big\r\n");
    ULONGLONG written = LastWriteTime(MemoPath(app, "big"));
    ASSERT_TRUE(app.Start()) << "the window does not wait for the memo";
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ(written, LastWriteTime(MemoPath(app, "big")));

    ASSERT_TRUE(app.PopUp());
    ASSERT_TRUE(app.WaitUntilShown(big, 600000)) << "Wine's editor lays out 10 MB slowly";
    SendMessageA(app.Editor(), EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
    SendMessageA(app.Editor(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("typed at the end"));
    ASSERT_TRUE(Deactivate(app));
    std::string saved = app.Memo("big");
    EXPECT_EQ(big.size() + 16, saved.size());
    EXPECT_TRUE(saved == big + "typed at the end") << "the saved memo differs from the loaded one plus the typing";
    EXPECT_EQ(0u, app.EndFromTray());
    RecordProperty("outcome", "shown whole, not written again unedited; typing past 30,000 characters works "
                              "and the save holds every byte");
}

std::string NumberedName(int i)
{
    char name[16];
    snprintf(name, sizeof(name), "m%04d", i);
    return name;
}

std::string NumberedText(int i)
{
    return NumberedName(i) + "\r\nmemo number " + std::to_string(i);
}

TEST(FaultInput, TwoThousandMemosAreListedLoadedSwitchedAndKept)
{
    const int kMemos = 2000;
    RecordProperty("fault", "2,000 memos in the memo folder: listed, loaded at start and by the list, "
                            "edited, and a new memo whose title one of them has");
    MemoApp app;
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    for (int i = 0; i < kMemos; ++i) app.WriteFile("memo\\" + NumberedName(i) + ".txt", NumberedText(i));
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=m1000\r\n");
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(NumberedText(1000), app.EditorText());
    HWND list = app.Child(kFileList);
    EXPECT_EQ(1, SendMessageA(list, CB_GETCOUNT, 0, 0)) << "until opened, the list holds the memo shown";
    SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_EQ(kMemos, SendMessageA(list, CB_GETCOUNT, 0, 0));
    SendMessageA(list, CB_SHOWDROPDOWN, FALSE, 0);

    ASSERT_TRUE(app.PickMemo("m1999.txt"));
    EXPECT_EQ(NumberedText(1999), app.EditorText());
    const std::string edited = "m1999\r\nedited";
    app.TypeText(edited);
    ASSERT_TRUE(app.Command(kNewMemo));
    const std::string clash = "m0005\r\nthe title of another memo";
    app.TypeText(clash);
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ(0u, app.EndFromTray());

    EXPECT_EQ(edited, app.Memo("m1999"));
    EXPECT_EQ(clash, app.Memo("m0005 (2)"));
    std::vector<std::string> files = app.MemoFiles();
    EXPECT_EQ(static_cast<size_t>(kMemos + 1), files.size());
    int intact = 0;
    for (int i = 0; i < kMemos - 1; ++i) intact += app.Memo(NumberedName(i)) == NumberedText(i);
    EXPECT_EQ(kMemos - 1, intact) << "every memo not edited is as it was";
    RecordProperty("outcome", "all 2,000 listed; loads, the switch and the saves correct; the clashing title "
                              "numbered; every other memo byte for byte as before");
}
}  // namespace
