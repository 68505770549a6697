// Long use of the real program: cycles of pop-up, New memo, picking a memo
// in the list, typing and hiding (which saves). Afterwards the process holds
// no more handles, windows, USER or GDI objects and hardly more memory than
// after a warm-up, and every memo holds the text last typed into it.
// MOSSVANE_ENDURANCE_CYCLES sets the number of cycles (100 by default;
// tools/reliability runs 1,000).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/fault_env.h"

namespace {
const int kNewMemo = 1;
const int kMemos = 8;
const int kWarmUpCycles = 50;
// Growth allowed after the warm-up. Handles and objects: a few that the
// system may create lazily (a cached key, a font); a leak of one per cycle
// passes none of them. Bytes: heap growth short of 1 KB a cycle.
const long kHandleGrowth = 8;
const long kObjectGrowth = 8;
const long kWindowGrowth = 0;
const long long kByteGrowth = 1 << 20;

int CyclesToRun()
{
    const char* value = getenv("MOSSVANE_ENDURANCE_CYCLES");
    int cycles = value ? atoi(value) : 0;
    return cycles > kWarmUpCycles ? cycles : 100;
}

std::string MemoName(int memo)
{
    return "memo " + std::to_string(memo);
}

std::string CycleText(int memo, int cycle)
{
    return MemoName(memo) + "\r\ncycle " + std::to_string(cycle) + ": 買い物リスト、牛乳と卵\r\n" +
           std::string(static_cast<size_t>(cycle % 97), 'x');
}

// One cycle: pop up, New memo, pick the memo to edit (or start it), type,
// hide; the file must then hold what was typed.
void RunCycle(MemoApp& app, int cycle, std::vector<std::string>& last)
{
    int memo = cycle % kMemos;
    ASSERT_TRUE(app.PopUpByRequest());
    ASSERT_TRUE(app.Command(kNewMemo));
    ASSERT_EQ("", app.EditorText());
    if (!last[memo].empty()) {
        ASSERT_TRUE(app.PickMemo(MemoName(memo) + ".txt"));
        ASSERT_EQ(last[memo], app.EditorText()) << "memo " << memo << " loaded as last saved";
    }
    std::string text = CycleText(memo, cycle);
    app.TypeText(text);
    ASSERT_TRUE(Deactivate(app));
    ASSERT_EQ(text, app.Memo(MemoName(memo)));
    last[memo] = text;
}

void Record(const char* key, long long value)
{
    ::testing::Test::RecordProperty(key, std::to_string(value));
}

TEST(Endurance, CyclesOfPopUpSwitchTypeAndHideLeakNothingAndLoseNothing)
{
    const int cycles = CyclesToRun();
    MemoApp app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(Deactivate(app));
    std::vector<std::string> last(kMemos);
    ProcessFigures before;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        if (cycle == kWarmUpCycles) before = MeasureProcess(app);
        ASSERT_NO_FATAL_FAILURE(RunCycle(app, cycle, last)) << "cycle " << cycle;
    }
    ProcessFigures after = MeasureProcess(app);

    Record("cycles", cycles);
    Record("warm_up_cycles", kWarmUpCycles);
    Record("handles_before", before.handles);
    Record("handles_after", after.handles);
    Record("user_objects_before", before.userObjects);
    Record("user_objects_after", after.userObjects);
    Record("gdi_objects_before", before.gdiObjects);
    Record("gdi_objects_after", after.gdiObjects);
    Record("windows_before", before.windows);
    Record("windows_after", after.windows);
    Record("private_bytes_before", static_cast<long long>(before.privateBytes));
    Record("private_bytes_after", static_cast<long long>(after.privateBytes));
    Record("handle_growth_bound", kHandleGrowth);
    Record("object_growth_bound", kObjectGrowth);
    Record("window_growth_bound", kWindowGrowth);
    Record("private_byte_growth_bound", kByteGrowth);
    EXPECT_NE(0u, before.handles) << "the handle count is readable";
    EXPECT_NE(0u, before.privateBytes) << "the memory figure is readable";
    EXPECT_LE(static_cast<long>(after.handles) - static_cast<long>(before.handles), kHandleGrowth);
    EXPECT_LE(static_cast<long>(after.userObjects) - static_cast<long>(before.userObjects), kObjectGrowth);
    EXPECT_LE(static_cast<long>(after.gdiObjects) - static_cast<long>(before.gdiObjects), kObjectGrowth);
    EXPECT_LE(static_cast<long>(after.windows) - static_cast<long>(before.windows), kWindowGrowth);
    EXPECT_LE(static_cast<long long>(after.privateBytes) - static_cast<long long>(before.privateBytes), kByteGrowth);

    EXPECT_EQ(0u, app.EndFromTray());
    std::vector<std::string> expectedFiles;
    for (int memo = 0; memo < kMemos; ++memo) {
        EXPECT_EQ(last[memo], app.Memo(MemoName(memo)));
        expectedFiles.push_back(MemoName(memo) + ".txt");
    }
    EXPECT_EQ(expectedFiles, app.MemoFiles()) << "one file a memo, nothing left over";
}
}  // namespace
