// Loading and deleting memos, and the editor's set-up.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>

#include "app/globals.h"
#include "app/messages.h"
#include "memo/journalformat.h"
#include "memo/memofiles.h"
#include "tests/component/allocation_limit.h"
#include "tests/component/controlhost.h"
#include "tests/component/notepad_fixture.h"

namespace {
std::string ThisComputer()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof(name);
    return GetComputerNameA(name, &size) ? name : "";
}

// This computer's journal in the memo folder.
std::string ThisJournal()
{
    return JournalFileName(ThisComputer());
}

// A journal as this copy writes it.
void MakeOwn(JournalRecord& record)
{
    char user[257] = "";
    DWORD size = sizeof(user);
    if (GetUserNameA(user, &size)) record.account = user;
    record.computer = ThisComputer();
}
class NotepadLoad : public NotepadTest {};

TEST_F(NotepadLoad, ShowsTheMemoWithTheCaretAtTheEndAndRecordsIt)
{
    WriteMemoFile("abc.txt", "abc\r\nline two");
    m_notepad.LoadMemo(false, "abc");
    EXPECT_EQ("abc\r\nline two", Text());
    EXPECT_EQ(13u, m_notepad.m_dwRead);
    EXPECT_EQ(std::make_pair(DWORD{13}, DWORD{13}), Selection());
    EXPECT_EQ("abc", PrevFile());
}

// A lead byte with no byte after it shows as one character, with nothing
// after it, whether the memo goes in at once or piece by piece.
TEST_F(NotepadLoad, LoneLeadByteAtTheEndShowsNothingBeyondIt)
{
    for (size_t lines : {size_t{1}, size_t{600}}) {
        std::string body;
        for (size_t line = 0; line < lines; ++line) body += "a line of a memo that is long enough\r\n";
        SCOPED_TRACE(body.size());
        WriteMemoFile("lead.txt", "lead\r\n" + body + "\x82");
        m_notepad.LoadMemo(false, "lead");
        ASSERT_TRUE(PumpUntil([&] { return !m_notepad.IsFilling(); }));
        std::wstring shown(GetWindowTextLengthW(m_hEdit) + 1, L'\0');
        shown.resize(GetWindowTextW(m_hEdit, &shown[0], static_cast<int>(shown.size())));
        const std::wstring lead = L"lead\r\n";
        ASSERT_EQ(lead.size() + body.size() + 1, shown.size());
        EXPECT_EQ(lead + std::wstring(body.begin(), body.end()), shown.substr(0, shown.size() - 1));
        EXPECT_EQ(std::make_pair(DWORD(shown.size()), DWORD(shown.size())), Selection()) << "the caret at the end";
        EXPECT_EQ("lead", PrevFile());
    }
}

TEST_F(NotepadLoad, ShowsNulsAsSpaces)
{
    WriteMemoFile("abc.txt", std::string("abc\0def\0", 8));
    m_notepad.LoadMemo(false, "abc");
    EXPECT_EQ("abc def ", Text());
    EXPECT_EQ(8u, m_notepad.m_dwRead);
}

TEST_F(NotepadLoad, MissingReservedOrOverlongNamesEmptyTheEditorAndGiveNull)
{
    WriteMemoFile("null.txt", "not a memo");
    WriteMemoFile("abc.txt", "abc");
    const std::string names[] = {"missing", "null", "NULL", "con", std::string(300, 'n')};
    for (const std::string& name : names) {
        SCOPED_TRACE(name.substr(0, 20));
        m_notepad.LoadMemo(false, "abc");
        ASSERT_EQ("abc", Text());
        m_notepad.LoadMemo(false, name.c_str());
        EXPECT_EQ("", Text());
        EXPECT_EQ("null", PrevFile());
    }
}

TEST_F(NotepadLoad, ClearEmptiesTheEditorWithoutReading)
{
    WriteMemoFile("abc.txt", "abc");
    m_notepad.LoadMemo(false, "abc");
    m_notepad.LoadMemo(true, "abc");
    EXPECT_EQ("", Text());
    EXPECT_EQ("null", PrevFile());
}

TEST_F(NotepadLoad, FileTooLargeToReadShowsTheReadFailure)
{
    WriteMemoFile("huge.txt", std::string(2 << 20, 'x'));
    SetText("before");
    MessageBoxWatcher watcher;
    {
        ScopedAllocationLimit tooLarge(1 << 20);
        m_notepad.LoadMemo(false, "huge");
    }
    EXPECT_EQ(std::vector<std::string>{"ファイルの読み込みに失敗しました"}, watcher.Stop());
    EXPECT_EQ("", Text());
    EXPECT_EQ("null", PrevFile()) << "a memo never shown must not be replaced by the next save";
}

TEST_F(NotepadLoad, InitLoadsPrevFile)
{
    WriteMemoFile("abc.txt", "abc\r\nstored");
    g_config->SetPrevFile("abc");
    EXPECT_EQ(0, InitAtStart());
    EXPECT_EQ("abc\r\nstored", Text());
    EXPECT_EQ("abc", PrevFile());
}

// A run killed between the two moves of a change of case left the memo
// under the second name, which no list shows.
TEST_F(NotepadLoad, InitBringsBackAMemoLeftInTheMiddleOfAChangeOfCase)
{
    WriteMemoFile("~memorename.tmp", "Plans\r\nQ3 goals");
    WriteMemoFile("Plans.txt", "Plans\r\nanother memo of that title");
    EXPECT_EQ(0, InitAtStart());
    EXPECT_EQ((std::vector<std::string>{"Plans (2).txt", "Plans.txt"}), MemoFolderEntries());
    EXPECT_EQ("Plans\r\nQ3 goals", ReadMemoFile("Plans (2).txt").value_or("<missing>"));
    EXPECT_EQ("Plans\r\nanother memo of that title", ReadMemoFile("Plans.txt").value_or("<missing>"));
}

// A run killed right after a save wrote the memo, before its journal went:
// the text is on disk already, under the name that save chose, for a new
// memo as for a renamed one, whose old file the save had yet to remove: it
// goes to the Recycle Bin now.
TEST_F(NotepadLoad, AJournalWhoseTextIsStoredAlreadyIsNotStoredASecondTime)
{
    for (bool renamed : {false, true}) {
        SCOPED_TRACE(renamed ? "renamed" : "new memo");
        JournalRecord record;
        record.memo = "null";
        record.writtenAt = 1;
        MakeOwn(record);
        record.text = "Plans\r\nQ3 goals";
        if (renamed) {
            WriteMemoFile("Draft.txt", "Draft\r\nQ3 goals");
            record.memo = "Draft";
            record.base = StampOfFile(MemoPath("Draft.txt").c_str());
        }
        WriteMemoFile("Plans.txt", record.text);
        WriteMemoFile(ThisJournal(), EncodeJournal(record));

        InitAtStart();
        EXPECT_EQ(record.text, Text());
        EXPECT_EQ("Plans", PrevFile());
        EXPECT_FALSE(m_notepad.IsModified());
        SetText("Plans\r\nQ3 goals, edited");
        EXPECT_TRUE(m_notepad.SaveMemo());
        EXPECT_EQ(std::vector<std::string>{"Plans.txt"}, MemoFolderEntries())
            << "no second copy, nor the old one, and the journal is gone";
        EXPECT_EQ("Plans\r\nQ3 goals, edited", ReadMemoFile("Plans.txt").value_or("<missing>"));
        DeleteFileA(MemoPath("Plans.txt").c_str());
    }

    // A file that took "?" for a character the journal still holds does not
    // hold its text: the journal comes back, edited, every character in it.
    JournalRecord lossy;
    lossy.memo = "Cafe";
    lossy.writtenAt = 1;
    MakeOwn(lossy);
    lossy.text = "Cafe ?";
    lossy.wide = u"Cafe \u266B";
    WriteMemoFile("Cafe.txt", lossy.text);
    lossy.base = StampOfFile(MemoPath("Cafe.txt").c_str());
    WriteMemoFile(ThisJournal(), EncodeJournal(lossy));
    InitAtStart();
    wchar_t shown[16] = L"";
    GetWindowTextW(m_hEdit, shown, 16);
    EXPECT_EQ(std::wstring(L"Cafe \u266B"), shown);
    EXPECT_TRUE(m_notepad.IsModified());
}

// A kill between writing a renamed memo and removing its old file, with the
// text unchanged, leaves two memos holding it.
TEST_F(NotepadLoad, AJournalWhoseTextTwoMemosHoldTakesTheMemoItWasWrittenFor)
{
    for (const char* own : {"Alpha", "Beta"}) {
        SCOPED_TRACE(own);
        const std::string text = "Same\r\ntext in both";
        WriteMemoFile("Alpha.txt", text);
        WriteMemoFile("Beta.txt", text);
        JournalRecord record;
        record.memo = own;
        record.base = StampOfFile(MemoPath(std::string(own) + ".txt").c_str());
        record.writtenAt = 1;
        MakeOwn(record);
        record.text = text;
        WriteMemoFile(ThisJournal(), EncodeJournal(record));
        InitAtStart();
        EXPECT_EQ(own, PrevFile());
        EXPECT_EQ((std::vector<std::string>{"Alpha.txt", "Beta.txt"}), MemoFolderEntries());
    }
}

// A user who upgrades after a crash: the journal the version before left in
// the memo folder, under the name every computer shared and naming no
// computer, comes back, and goes once its text is stored.
TEST_F(NotepadLoad, AJournalOfTheVersionBeforeInTheMemoFolderComesBackAndGoesOnceStored)
{
    JournalRecord record;
    MakeOwn(record);
    record.computer.clear();
    record.memo = "null";
    record.writtenAt = 1;
    record.text = "Upgraded\r\nafter a crash";
    std::string bytes = EncodeJournal(record);
    // The third version's bytes: no computer's name before the text.
    bytes[7] = '3';
    bytes.erase(8 + 4 + record.memo.size() + 1 + 8 + 8 + 8 + 4 + record.account.size() + 4 + record.folder.size(), 4);
    bytes.erase(bytes.size() - 4);
    const uint32_t crc = Crc32(bytes.data(), bytes.size());
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((crc >> (8 * i)) & 0xFF));
    ASSERT_TRUE(DecodeJournal(bytes));
    WriteMemoFile("~memojournal.bin", bytes);

    InitAtStart();
    EXPECT_EQ(record.text, Text());
    EXPECT_TRUE(m_notepad.SaveMemo());
    EXPECT_EQ(std::vector<std::string>{"Upgraded.txt"}, MemoFolderEntries()) << "stored, and the journal is gone";
}

// The version before journaled to the temporary folder under a name of its
// own, which this version reads but never writes.
TEST_F(NotepadLoad, AJournalOfTheVersionBeforeInTheTemporaryFolderGoesOnceItsTextIsStored)
{
    char dir[MAX_PATH];
    char temp[MAX_PATH];
    GetCurrentDirectoryA(sizeof(dir), dir);
    GetTempPathA(sizeof(temp), temp);
    std::string folded(dir);
    for (char& c : folded) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    char journal[MAX_PATH];
    snprintf(journal, sizeof(journal), "%sMossvanePad-%08X.journal", temp, Crc32(folded.data(), folded.size()));
    JournalRecord record;
    record.memo = "null";
    record.writtenAt = 1;
    record.text = "Earlier\r\nunsaved";
    const std::string bytes = EncodeJournal(record);
    // The first version's signature; that version recorded no copy and no
    // characters, so its fields are these.
    std::string earlier = "MVPJRNL1" + bytes.substr(8, 4 + 4 + 1 + 8 + 8 + 8);
    earlier += bytes.substr(8 + 4 + 4 + 1 + 8 + 8 + 8 + 4 + 4 + 4, 4 + record.text.size());
    const uint32_t crc = Crc32(earlier.data(), earlier.size());
    for (int i = 0; i < 4; ++i) earlier.push_back(static_cast<char>((crc >> (8 * i)) & 0xFF));
    HANDLE hFile = CreateFileA(journal, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    DWORD written = 0;
    WriteFile(hFile, earlier.data(), static_cast<DWORD>(earlier.size()), &written, nullptr);
    CloseHandle(hFile);
    ASSERT_TRUE(DecodeJournal(earlier)) << "a journal of the first version";

    InitAtStart();
    EXPECT_EQ(record.text, Text());
    EXPECT_TRUE(m_notepad.SaveMemo());
    EXPECT_EQ("Earlier\r\nunsaved", ReadMemoFile("Earlier.txt").value_or("<missing>"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(journal)) << "not found again at the next start";
    DeleteFileA(journal);
}

// The journal's text is the only copy of what was typed: it goes only once
// it is stored or shown.
TEST_F(NotepadLoad, AJournaledTextThatCannotBeShownKeepsItsJournal)
{
    JournalRecord record;
    record.memo = "null";
    record.writtenAt = 1;
    MakeOwn(record);
    record.text = "Unsaved\r\n" + std::string(2 << 20, 'x');
    WriteMemoFile(ThisJournal(), EncodeJournal(record));
    WriteMemoFile("abc.txt", "abc\r\nstored");
    g_config->SetPrevFile("abc");
    MessageBoxWatcher watcher;
    {
        ScopedAllocationLimit tooLarge(1 << 20);
        InitAtStart();
    }
    EXPECT_EQ(std::vector<std::string>{"テキストの表示に失敗しました"}, watcher.Stop());
    EXPECT_EQ("abc\r\nstored", Text()) << "the last memo instead";
    SetText("abc\r\nedited");
    EXPECT_TRUE(m_notepad.SaveMemo());
    SetText("abc\r\nedited again");
    m_notepad.KeepInJournal();
    std::optional<std::string> kept = ReadMemoFile(ThisJournal());
    ASSERT_TRUE(kept);
    std::optional<JournalRecord> again = DecodeJournal(*kept);
    ASSERT_TRUE(again);
    EXPECT_EQ(record.text, again->text) << "neither removed by the save nor written over";
    SetText("");
    m_notepad.SaveMemo();
    EXPECT_TRUE(ReadMemoFile(ThisJournal())) << "an emptied editor removes only this run's journal";
}

// Another Windows account may run the same portable folder at the same
// time: its journal is its own.
TEST_F(NotepadLoad, AJournalOfAnotherAccountIsNeitherRestoredNorRemovedNorWrittenOver)
{
    char user[257] = "";
    DWORD size = sizeof(user);
    ASSERT_TRUE(GetUserNameA(user, &size));
    JournalRecord theirs;
    theirs.memo = "null";
    theirs.writtenAt = 1;
    theirs.computer = ThisComputer();
    theirs.text = "Their notes\r\nnot ours to touch";
    theirs.account = std::string(user) + " (another)";
    const std::string bytes = EncodeJournal(theirs);
    WriteMemoFile(ThisJournal(), bytes);
    WriteMemoFile("abc.txt", "abc\r\nstored");
    g_config->SetPrevFile("abc");

    InitAtStart();
    EXPECT_EQ("abc\r\nstored", Text()) << "not restored here";
    SetText("abc\r\nedited");
    m_notepad.KeepInJournal();
    EXPECT_EQ(bytes, ReadMemoFile(ThisJournal()).value_or("<missing>")) << "not written over";
    EXPECT_TRUE(m_notepad.SaveMemo());
    EXPECT_EQ(bytes, ReadMemoFile(ThisJournal()).value_or("<missing>")) << "not removed by a save";
    EXPECT_EQ("abc\r\nedited", ReadMemoFile("abc.txt").value_or("<missing>"));
}

TEST_F(NotepadLoad, DeleteRemovesTheCurrentMemoAndEmptiesTheEditor)
{
    WriteMemoFile("abc.txt", "abc");
    WriteMemoFile("other.txt", "other");
    m_notepad.LoadMemo(false, "abc");
    m_notepad.DeleteMemo();
    EXPECT_EQ("", Text());
    EXPECT_EQ("null", PrevFile());
    EXPECT_EQ(std::vector<std::string>{"other.txt"}, MemoFolderEntries());
    m_notepad.DeleteMemo();
    EXPECT_EQ(std::vector<std::string>{"other.txt"}, MemoFolderEntries()) << "no memo: nothing deleted";
}

TEST_F(NotepadLoad, DestroyingTheEditorPostsTheQuitMessage)
{
    DestroyWindow(m_hEdit);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, msg.wParam);
}
}  // namespace
