// The recovery journal against the real program: text typed and never
// stored comes back after the process was ended hard, a journal that cannot
// be used is left alone, and nothing stored is ever lost on the way.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "memo/journalformat.h"
#include "tests/e2e/fault_env.h"

namespace {
const std::string kJournal = "memo\\" + JournalFile();
// Where the versions before journaled in the memo folder.
const char kEarlierJournal[] = "memo\\~memojournal.bin";

using Files = std::vector<std::string>;

bool IsEdited(const MemoApp& app)
{
    return SendMessageA(app.Editor(), EM_GETMODIFY, 0, 0) != 0;
}

// Types `text` a character every 100 ms, as a user typing on without a
// pause for some seconds; true when the journal held some of it before the
// typing ended.
bool TypeWithoutPause(const MemoApp& app, const std::string& text)
{
    bool journaledWhileTyping = false;
    for (size_t i = 1; i <= text.size(); ++i) {
        app.TypeText(text.substr(0, i));
        Sleep(100);
        if (i < text.size() && app.FileExists(kJournal)) journaledWhileTyping = true;
    }
    return journaledWhileTyping;
}

// Waits until the journal holds `text`.
::testing::AssertionResult WaitJournaled(const MemoApp& app, const std::string& text)
{
    std::string last;
    bool done = WaitUntil([&] {
        std::optional<JournalRecord> record = DecodeJournal(app.FileExists(kJournal) ? app.ReadFile(kJournal) : "");
        last = record ? record->text : "<no journal>";
        return record && record->text == text;
    });
    if (done) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the journal holds: " << last;
}

struct KillCase {
    const char* what;
    const char* stored;  // the memo shown at start; null: none
    const char* typed;
    Files after;         // the memo folder once the restored text is stored
};

TEST(Recovery, TextTypedBeforeAHardEndComesBackEditedAndIsStoredAtTheNextHide)
{
    const KillCase cases[] = {
        {"an edited memo", "kept\r\nbefore", "kept\r\nbefore, and typed on for a while", {"kept.txt"}},
        {"a new memo never saved", nullptr, "brand new\r\nnever stored anywhere yet", {"brand new.txt"}},
        {"a memo whose title the typing changed", "kept\r\nbefore", "renamed\r\nkept before", {"renamed.txt"}},
    };
    for (const KillCase& c : cases) {
        SCOPED_TRACE(c.what);
        MemoApp app;
        CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
        if (c.stored) {
            app.WriteFile("memo\\kept.txt", c.stored);
            app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=kept\r\n");
        }
        ASSERT_TRUE(app.Start());
        // Pinned while typing: a hide would store the text, and only the
        // journal is to hold it when the kill comes.
        ASSERT_TRUE(Pin(app));
        EXPECT_TRUE(TypeWithoutPause(app, c.typed)) << "typing on without a pause is journaled all the same";
        ASSERT_TRUE(WaitJournaled(app, c.typed));
        app.Kill();
        if (c.stored) {
            EXPECT_EQ(c.stored, app.Memo("kept")) << "the kill stored nothing";
        }

        ASSERT_TRUE(app.Start());
        EXPECT_EQ(c.typed, app.EditorText()) << "back, byte for byte";
        EXPECT_TRUE(IsEdited(app));
        ASSERT_TRUE(Deactivate(app));
        EXPECT_EQ(c.after, app.MemoFiles()) << "stored under its title; the journal is gone";
        EXPECT_EQ(c.typed, app.ReadFile("memo\\" + c.after[0]));
        EXPECT_EQ(0u, app.EndFromTray());
    }
}

struct JournalCase {
    const char* what;
    std::string bytes;       // the journal file found at start
    std::string shown;       // the editor's text at start
    Files stored;            // the memo folder after typing and a hide
    bool journalKept;        // the file is still there, as it was
};

JournalRecord Journal(const std::string& memo, MemoStamp base, const std::string& text)
{
    JournalRecord record;
    record.memo = memo;
    record.base = base;
    record.writtenAt = 1;
    record.text = text;
    char user[257] = "";
    DWORD size = sizeof(user);
    if (GetUserNameA(user, &size)) record.account = user;
    record.computer = ComputerName();
    return record;
}

TEST(Recovery, TornForeignOrStaleJournalsLoseNothingStored)
{
    const std::string kept = "kept\r\nstored";
    const std::string journaled = "kept\r\njournaled later";
    const std::string whole = EncodeJournal(Journal("kept", {true, 1, 1}, journaled));
    const JournalCase cases[] = {
        {"torn after its header", whole.substr(0, 20), kept, {"kept.txt"}, true},
        {"torn one byte short", whole.substr(0, whole.size() - 1), kept, {"kept.txt"}, true},
        {"one byte of its text changed", whole.substr(0, 60) + "X" + whole.substr(61), kept, {"kept.txt"}, true},
        {"another program's file", "kept\r\nnot a journal at all", kept, {"kept.txt"}, true},
        {"its memo changed since", whole, journaled, {"kept (2).txt", "kept.txt"}, false},
        {"its memo deleted since", EncodeJournal(Journal("gone", {true, 5, 5}, journaled)), journaled,
         {"kept (2).txt", "kept.txt"}, false},
    };
    for (const JournalCase& c : cases) {
        SCOPED_TRACE(c.what);
        MemoApp app;
        CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
        app.WriteFile("memo\\kept.txt", kept);
        app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=kept\r\n");
        app.WriteFile(kJournal, c.bytes);
        ASSERT_TRUE(app.Start());
        EXPECT_EQ(c.shown, app.EditorText());
        ASSERT_TRUE(Deactivate(app));
        EXPECT_EQ(kept, app.Memo("kept")) << "the stored memo is never written over";
        Files files = c.stored;
        if (c.journalKept) files.push_back(JournalFile());
        EXPECT_EQ(files, app.MemoFiles());
        if (c.journalKept) {
            EXPECT_EQ(c.bytes, app.ReadFile(kJournal)) << "left where it is, unchanged";
        } else {
            EXPECT_EQ(journaled, app.Memo("kept (2)"));
        }
        EXPECT_EQ(0u, app.EndFromTray());
    }
}

// The journal in the temporary folder that belongs to the program in `dir`.
std::vector<std::string> TempJournals()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    std::vector<std::string> found;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((std::string(temp) + "MossvanePad-*.journal").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return found;
    do found.push_back(std::string(temp) + entry.cFileName);
    while (FindNextFileA(find, &entry));
    FindClose(find);
    return found;
}

void RemoveTempJournals()
{
    for (const std::string& file : TempJournals()) DeleteFileA(file.c_str());
}

TEST(Recovery, FullMemoFolderJournalsToTheTempFolderAndAFailedEndKeepsTheText)
{
    std::string why = WhyNoMounts();
    if (!why.empty()) GTEST_SKIP() << why;
    RecordProperty("fault", "memo folder on a full disk (a 64 KiB tmpfs filled up): typing, then the tray icon");
    RemoveTempJournals();
    MemoApp app;
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    UnixMount disk = UnixMount::Tmpfs(app.PathOf("memo"), "64k");
    ASSERT_TRUE(disk.ok());
    app.WriteFile("memo\\kept.txt", "kept\r\nstored before the fault");
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=kept\r\n");
    ASSERT_TRUE(FillDisk(app.PathOf("memo\\filler.bin")));
    ASSERT_TRUE(app.Start());

    const std::string edited = "kept\r\n" + std::string(6000, 'e');
    app.TypeText(edited);
    EXPECT_TRUE(WaitUntil([] { return TempJournals().size() == 1; })) << "the journal went to the temporary folder";
    PostMessageA(app.Window(), 0x800A, 1001, WM_LBUTTONDOWN);
    std::string seen = ReadAndDismiss(app.WaitForMessageBox());
    EXPECT_NE(std::string::npos, seen.find("kept.txt")) << seen;
    EXPECT_NE(std::string::npos, seen.find("復元用の記録に残しました")) << "the box says where the text is: " << seen;
    EXPECT_EQ(0u, app.WaitForExit(30000)) << "the text is safe, so the program ends";
    EXPECT_EQ("kept\r\nstored before the fault", app.Memo("kept"));

    ASSERT_TRUE(DeleteFileA(app.PathOf("memo\\filler.bin").c_str()));
    ASSERT_TRUE(app.Start());
    // A line this long fills into the editor piece by piece after the start.
    EXPECT_TRUE(app.WaitUntilShown(edited)) << "back at the next start";
    EXPECT_TRUE(IsEdited(app));
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ(edited, app.Memo("kept"));
    EXPECT_TRUE(TempJournals().empty()) << "stored, so the journal is gone";
    EXPECT_EQ(0u, app.EndFromTray());
    RemoveTempJournals();
    RecordProperty("outcome", "the journal went to the temporary folder; the failed save at the end said the "
                              "text was kept and the program ended; the next start brought it back, and the "
                              "next hide stored it");
}

// A memo marked read-only cannot be replaced: every save of it fails.
TEST(Recovery, CloseAndTrayWithAFailingSaveKeepTheTextForTheNextStart)
{
    const char* ways[] = {"WM_CLOSE", "the tray icon"};
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(ways[way]);
        MemoApp app;
        CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
        app.WriteFile("memo\\kept.txt", "kept\r\nread-only");
        app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=kept\r\n");
        ASSERT_TRUE(SetFileAttributesA(app.PathOf("memo\\kept.txt").c_str(), FILE_ATTRIBUTE_READONLY));
        ASSERT_TRUE(app.Start());
        const std::string edited = "kept\r\nedited, and the save is to fail";
        app.TypeText(edited);
        if (way == 0) PostMessageA(app.Window(), WM_CLOSE, 0, 0);
        else PostMessageA(app.Window(), 0x800A, 1001, WM_LBUTTONDOWN);
        std::string seen = ReadAndDismiss(app.WaitForMessageBox());
        EXPECT_NE(std::string::npos, seen.find("復元用の記録に残しました")) << seen;
        EXPECT_EQ(0u, app.WaitForExit(30000));
        EXPECT_EQ("kept\r\nread-only", app.Memo("kept"));

        ASSERT_TRUE(SetFileAttributesA(app.PathOf("memo\\kept.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
        ASSERT_TRUE(app.Start());
        EXPECT_EQ(edited, app.EditorText());
        ASSERT_TRUE(Deactivate(app));
        EXPECT_EQ(edited, app.Memo("kept"));
        EXPECT_EQ((Files{"kept.txt"}), app.MemoFiles());
        EXPECT_EQ(0u, app.EndFromTray());
    }
}

// The same journal as the second version wrote it: no computer, and no
// characters after the text.
std::string AsVersionBefore(JournalRecord record)
{
    record.computer.clear();
    std::string bytes = EncodeJournal(record);
    bytes[7] = '2';
    const size_t computerAt = 8 + 4 + record.memo.size() + 1 + 8 + 8 + 8 + 4 + record.account.size() + 4 +
                              record.folder.size();
    bytes.erase(computerAt, 4);
    bytes.erase(bytes.size() - 4 - 4);
    const uint32_t crc = Crc32(bytes.data(), bytes.size());
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((crc >> (8 * i)) & 0xFF));
    return bytes;
}

// Another Windows account runs the same portable folder (PLATFORM.md: USER
// names the account under Wine), with this version or the one before, and
// journals after this copy started: the ways this copy removes its own
// journal leave that one alone.
TEST(Recovery, AnotherAccountsJournalWrittenAfterTheStartSurvivesEveryRemoval)
{
    JournalRecord theirs = Journal("null", {}, "Their notes\r\nnot ours to touch");
    theirs.account = "other";
    const std::pair<std::string, std::string> cases[] = {{kJournal, EncodeJournal(theirs)},
                                                         {kEarlierJournal, AsVersionBefore(theirs)}};
    for (const auto& [journal, bytes] : cases) {
        SCOPED_TRACE(bytes.substr(0, 8));
        ASSERT_TRUE(DecodeJournal(bytes));
        MemoApp app;
        CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
        ASSERT_TRUE(app.Start());
        app.WriteFile(journal, bytes);
        ASSERT_TRUE(Deactivate(app)) << "an empty editor hides";
        EXPECT_EQ(bytes, app.ReadFile(journal)) << "after the hide of an empty editor";

        ASSERT_TRUE(app.PopUpByRequest());
        app.TypeText("ours\r\ntyped and stored");
        ASSERT_TRUE(Deactivate(app));
        EXPECT_EQ("ours\r\ntyped and stored", app.Memo("ours"));
        EXPECT_EQ(bytes, app.ReadFile(journal)) << "after a save";
        EXPECT_EQ(0u, app.EndFromTray());
        EXPECT_EQ(bytes, app.ReadFile(journal)) << "after the end";
    }
}

// A memo folder synced between two computers with the same account and the
// same folder path: the other computer's journal, under its own name or,
// with a name that escapes alike or a sync tool's copy, under this one's,
// and one an earlier version there wrote after this start, is never this
// copy's. Where its name is taken, this copy journals to the temporary
// folder.
TEST(Recovery, AnotherComputersJournalIsNeitherRestoredNorRemovedNorWrittenOver)
{
    JournalRecord theirs = Journal("null", {}, "Their notes\r\ntyped on the other computer");
    theirs.computer = ComputerName() + "X";
    struct Case {
        const char* what;
        std::string journal;
        bool beforeStart;
    };
    const Case cases[] = {
        {"under its own name", "memo\\" + JournalFileName(theirs.computer), true},
        {"under this computer's name", kJournal, true},
        {"under the earlier name, written after the start", kEarlierJournal, false},
    };
    const std::string ours = "ours\r\ntyped here";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveTempJournals();
        MemoApp app;
        CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
        theirs.folder = app.PathOf("memo") + "\\";
        std::string bytes = EncodeJournal(theirs);
        if (!c.beforeStart) bytes = AsVersionBefore(theirs);
        if (c.beforeStart) app.WriteFile(c.journal, bytes);
        ASSERT_TRUE(app.Start());
        if (!c.beforeStart) app.WriteFile(c.journal, bytes);
        EXPECT_EQ("", app.EditorText()) << "not restored";
        ASSERT_TRUE(Pin(app));
        app.TypeText(ours);
        const bool ownName = c.journal != kJournal;
        EXPECT_TRUE(WaitUntil([&] { return ownName ? app.FileExists(kJournal) : TempJournals().size() == 1; }))
            << "journaled, and not over theirs";
        EXPECT_EQ(bytes, app.ReadFile(c.journal)) << "after typing";
        EXPECT_EQ(0u, app.EndFromTray());
        EXPECT_EQ(ours, app.Memo("ours")) << "stored at the end";
        EXPECT_EQ(bytes, app.ReadFile(c.journal)) << "after the end";
        EXPECT_TRUE(TempJournals().empty()) << "ours went with the save";
        RemoveTempJournals();
    }
}
}  // namespace
