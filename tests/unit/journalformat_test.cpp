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
    return record;
}

TEST(JournalFormat, RoundTripsEveryByteOfTheTextAndTheMemoItBelongsTo)
{
    const JournalRecord cases[] = {Sample(), JournalRecord{"null", {}, 7, ""}};
    for (const JournalRecord& record : cases) {
        std::optional<JournalRecord> back = DecodeJournal(EncodeJournal(record));
        ASSERT_TRUE(back);
        EXPECT_EQ(record.memo, back->memo);
        EXPECT_TRUE(record.base == back->base);
        EXPECT_EQ(record.writtenAt, back->writtenAt);
        EXPECT_EQ(record.text, back->text);
    }
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
