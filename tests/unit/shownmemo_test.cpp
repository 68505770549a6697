#include "memo/shownmemo.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const uint64_t kSecond = 10000000;
const uint64_t kWrite = 1000 * kSecond;
const std::string kBytes = "memo\r\ntext";

MemoStamp StampOf(uint64_t size, uint64_t time)
{
    return {true, size, time};
}

// Times kept to two seconds can leave a rewrite of the same size under the
// same time: only bytes known well after their write time spare the read.
TEST(ShownMemo, ReadsTheBytesWheneverTheAttributesCouldHideAChange)
{
    CShownMemo shown;
    shown.Take("memo", StampOf(kBytes.size(), kWrite), kBytes.data(), kBytes.size(), kWrite + kSecond);
    EXPECT_TRUE(shown.NeedsBytes(StampOf(kBytes.size(), kWrite))) << "read within two seconds of the write";
    EXPECT_TRUE(shown.NeedsBytes(StampOf(kBytes.size(), kWrite + 5 * kSecond))) << "a new time";
    EXPECT_FALSE(shown.NeedsBytes(StampOf(kBytes.size() + 1, kWrite))) << "another size says enough";

    const std::string same(kBytes);
    EXPECT_EQ(Elsewhere::Same, shown.Compare(StampOf(kBytes.size(), kWrite), same.data(), same.size()));
    shown.TakeTouch(StampOf(kBytes.size(), kWrite), kWrite + 3 * kSecond);
    EXPECT_FALSE(shown.NeedsBytes(StampOf(kBytes.size(), kWrite))) << "known the same since";
    EXPECT_EQ(Elsewhere::Same, shown.Compare(StampOf(kBytes.size(), kWrite), nullptr, 0));

    const std::string oneByte = "memo\r\ntexT";
    EXPECT_EQ(Elsewhere::Touched, shown.Compare(StampOf(kBytes.size(), kWrite + 9 * kSecond), same.data(), same.size()));
    EXPECT_EQ(Elsewhere::Changed,
              shown.Compare(StampOf(kBytes.size(), kWrite + 9 * kSecond), oneByte.data(), oneByte.size()));
    EXPECT_EQ(Elsewhere::Changed, shown.Compare(StampOf(3, kWrite), nullptr, 0));
    EXPECT_EQ(Elsewhere::Deleted, shown.Compare(MemoStamp{}, nullptr, 0));
}

TEST(ShownMemo, EditsHereAreNeverWrittenOverAndADetachedTextBelongsToNoFile)
{
    EXPECT_EQ(ShownAction::None, DecideShownAction(Elsewhere::Touched, true));
    EXPECT_EQ(ShownAction::ShowNew, DecideShownAction(Elsewhere::Changed, false));
    EXPECT_EQ(ShownAction::KeepAsNew, DecideShownAction(Elsewhere::Changed, true));
    EXPECT_EQ(ShownAction::Leave, DecideShownAction(Elsewhere::Deleted, false));
    EXPECT_EQ(ShownAction::StoreAgain, DecideShownAction(Elsewhere::Deleted, true));

    CShownMemo shown;
    EXPECT_FALSE(shown.Knows("null")) << "a memo never stored has no file";
    shown.Take("memo", StampOf(kBytes.size(), kWrite), kBytes.data(), kBytes.size(), kWrite);
    EXPECT_TRUE(shown.Knows("memo"));
    EXPECT_FALSE(shown.Knows("other"));
    shown.Detach();
    EXPECT_FALSE(shown.Knows("memo"));
    EXPECT_EQ("memo", shown.DetachedFrom());
    shown.Take("memo (2)", StampOf(1, kWrite), "x", 1, kWrite);
    EXPECT_FALSE(shown.IsDetached()) << "stored, it is a memo of its own";

    // Deleted elsewhere while edited here: a file that comes back under the
    // name before the text is stored again holds another text.
    shown.MarkGone();
    EXPECT_TRUE(shown.Knows("memo (2)"));
    EXPECT_EQ(Elsewhere::Deleted, shown.Compare(MemoStamp{}, nullptr, 0));
    EXPECT_EQ(Elsewhere::Changed, shown.Compare(StampOf(1, kWrite), nullptr, 0)) << "even as it was";
    shown.Take("memo (2)", StampOf(2, kWrite), "xy", 2, kWrite);
    EXPECT_FALSE(shown.IsGone());
}
}  // namespace
