#include "memo/journalformat.h"

#include <gtest/gtest.h>

#include <string>

namespace {
JournalRecord Sample()
{
    JournalRecord record;
    record.memo = "\x94\x83\x82\xa2\x95\xa8";  // a Shift-JIS name
    record.base = {true, 1234, 0x01DA0000ABCDEF01ull};
    record.writtenAt = 0x01DA000012345678ull;
    record.text = std::string("line\r\n\0with NUL\xff", 17);
    record.wide = u"caf\u00e9 \u266b \U00020BB7\r\n";  // characters a save would replace
    record.account = "\x8e\x52\x93\x63";  // a Shift-JIS user name
    record.folder = "E:\\memo\\";
    record.computer = "DESK-7";
    return record;
}

TEST(JournalFormat, RoundTripsEveryByteOfTheTextAndTheMemoItBelongsTo)
{
    const JournalRecord cases[] = {Sample(), JournalRecord{"null", {}, 7, "", u"", "", "", ""}};
    for (const JournalRecord& record : cases) {
        std::optional<JournalRecord> back = DecodeJournal(EncodeJournal(record));
        ASSERT_TRUE(back);
        EXPECT_EQ(record.memo, back->memo);
        EXPECT_TRUE(record.base == back->base);
        EXPECT_EQ(record.writtenAt, back->writtenAt);
        EXPECT_EQ(record.text, back->text);
        EXPECT_TRUE(record.wide == back->wide) << "every character, a surrogate pair included";
        EXPECT_EQ(record.account, back->account);
        EXPECT_EQ(record.folder, back->folder);
        EXPECT_EQ(record.computer, back->computer);
    }
}

// Whose a journal is shows in its first bytes, before any of its text.
TEST(JournalFormat, TheCopyItBelongsToIsReadFromTheFirstBytesAlone)
{
    const JournalRecord sample = Sample();
    const std::string whole = EncodeJournal(sample);
    const size_t head = whole.size() - 4 - (4 + 2 * sample.wide.size()) - (4 + sample.text.size());
    std::optional<JournalRecord> owner = DecodeJournalOwner(whole.substr(0, head));
    ASSERT_TRUE(owner);
    EXPECT_EQ(sample.account, owner->account);
    EXPECT_EQ(sample.folder, owner->folder);
    EXPECT_EQ(sample.computer, owner->computer);
    EXPECT_FALSE(DecodeJournalOwner(whole.substr(0, head - 1))) << "a computer's name cut short";
    EXPECT_FALSE(DecodeJournalOwner("kept\r\nplain memo text"));
}

// A user who upgrades with unsaved text in a journal gets it back.
TEST(JournalFormat, JournalsOfTheVersionsBeforeAreStillRead)
{
    const char third[] = "\x4d\x56\x50\x4a\x52\x4e\x4c\x33\x04\x00\x00\x00\x74\x6f\x64\x6f\x01\x0c\x00\x00"
                         "\x00\x00\x00\x00\x00\x01\xef\xcd\xab\x00\x00\xda\x01\x63\x00\x00\x00\x00\x00\x00"
                         "\x00\x02\x00\x00\x00\x6d\x65\x05\x00\x00\x00\x43\x3a\x5c\x6d\x5c\x0a\x00\x00\x00"
                         "\x74\x6f\x64\x6f\x0d\x0a\x6d\x69\x6c\x6b\x01\x00\x00\x00\x6b\x26\x0b\xe1\x70\x00";
    std::optional<JournalRecord> withCharacters = DecodeJournal(std::string(third, sizeof(third) - 1));
    ASSERT_TRUE(withCharacters);
    EXPECT_TRUE(withCharacters->wide == u"\u266b");
    EXPECT_EQ("me", withCharacters->account);
    EXPECT_EQ("", withCharacters->computer) << "names no computer";

    const char second[] = "\x4d\x56\x50\x4a\x52\x4e\x4c\x32\x04\x00\x00\x00\x74\x6f\x64\x6f\x01\x0c\x00\x00"
                          "\x00\x00\x00\x00\x00\x01\xef\xcd\xab\x00\x00\xda\x01\x63\x00\x00\x00\x00\x00\x00"
                          "\x00\x02\x00\x00\x00\x6d\x65\x05\x00\x00\x00\x43\x3a\x5c\x6d\x5c\x0a\x00\x00\x00"
                          "\x74\x6f\x64\x6f\x0d\x0a\x6d\x69\x6c\x6b\xc7\xf3\x41\xa3";
    const std::string withCopy(second, sizeof(second) - 1);
    std::optional<JournalRecord> copied = DecodeJournal(withCopy);
    ASSERT_TRUE(copied);
    EXPECT_EQ("todo\r\nmilk", copied->text);
    EXPECT_TRUE(copied->wide.empty()) << "the text is all there is";
    EXPECT_EQ("me", copied->account);
    std::optional<JournalRecord> owner = DecodeJournalOwner(withCopy);
    ASSERT_TRUE(owner) << "whose it is shows as in this version";
    EXPECT_EQ("C:\\m\\", owner->folder);

    const char bytes[] = "\x4d\x56\x50\x4a\x52\x4e\x4c\x31\x04\x00\x00\x00\x74\x6f\x64\x6f\x01\x0c\x00\x00\x00"
                         "\x00\x00\x00\x00\x01\xef\xcd\xab\x00\x00\xda\x01\x63\x00\x00\x00\x00\x00\x00\x00"
                         "\x0a\x00\x00\x00\x74\x6f\x64\x6f\x0d\x0a\x6d\x69\x6c\x6b\x4c\x32\x44\x4c";
    const std::string earlier(bytes, sizeof(bytes) - 1);
    std::optional<JournalRecord> record = DecodeJournal(earlier);
    ASSERT_TRUE(record);
    EXPECT_EQ("todo", record->memo);
    EXPECT_EQ("todo\r\nmilk", record->text);
    EXPECT_EQ(99u, record->writtenAt);
    EXPECT_EQ("", record->account) << "names no copy";
    EXPECT_FALSE(DecodeJournalOwner(earlier)) << "nothing of this version to tell whose it is";
}

// A journal torn by a crash ends anywhere; a changed byte is damage or
// another program's file. None of them is ever taken for a journal.
TEST(JournalFormat, TornChangedOrLengthenedJournalsAreRefused)
{
    const std::string whole = EncodeJournal(Sample());
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        EXPECT_FALSE(DecodeJournal(whole.substr(0, cut))) << "cut at " << cut;
    }
    for (size_t i = 0; i < whole.size(); ++i) {
        std::string changed = whole;
        changed[i] = static_cast<char>(changed[i] ^ 0x20);
        EXPECT_FALSE(DecodeJournal(changed)) << "byte " << i << " changed";
    }
    EXPECT_FALSE(DecodeJournal(whole + '\0'));
    EXPECT_FALSE(DecodeJournal("kept\r\nplain memo text"));
}
}  // namespace

// Two computers on one synced folder each write a file of their own, which
// no "*.txt" pattern matches, whatever characters their names hold.
TEST(JournalFormat, EachComputerHasAJournalFileOfItsOwn)
{
    struct Case {
        const char* computer;
        const char* file;
    } const cases[] = {
        {"DESK-7", "~memojournal-DESK-7.bin"},
        {"PC.TXT", "~memojournal-PC_2ETXT.bin"},
        {"PC_2ETXT", "~memojournal-PC_5F2ETXT.bin"},
        {"A\\B:*?", "~memojournal-A_5CB_3A_2A_3F.bin"},
        {"\x8e\x52\x93\x63", "~memojournal-_8ER_93c.bin"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.file, JournalFileName(c.computer)) << c.computer;
}
