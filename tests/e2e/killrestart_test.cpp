// The program ended hard (TerminateProcess, as a crash or a power cut) at
// random moments while the user types and while it saves, and started
// again: each time the editor holds what was typed up to at most about two
// seconds before the kill, and every memo file holds a whole text that was
// typed, never a torn one, and no other file's. The typing changes the
// memo's title now and then (in case only, too), so that saves rename it
// and kills land inside renames. MOSSVANE_KILL_CYCLES sets the number of
// kills (3 by default; tools/reliability runs 100).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/fault_env.h"

namespace {
// The journal's promise, and what a loaded machine may add to a timer.
const DWORD kLossBoundMs = 2000;
const DWORD kSchedulingAllowanceMs = 500;
const std::string kOther = "other\r\nnever touched by the kills";
// Titles the typing gives its memo: two differ from the first only in case.
const char* const kTitles[] = {"typing", "Typing", "TYPING", "notes"};

int KillsToRun()
{
    const char* value = getenv("MOSSVANE_KILL_CYCLES");
    int kills = value ? atoi(value) : 0;
    return kills > 0 ? kills : 3;
}

// What the editor held and from when: each text stands until the next one.
struct Typed {
    DWORD at;
    std::string text;
};

class TypingHistory {
public:
    void Add(const std::string& text)
    {
        m_typed.push_back({GetTickCount(), text});
        m_every.insert(text);
    }
    bool WasTyped(const std::string& text) const { return m_every.count(text) != 0; }
    // How much typing before `killedAt` the restored text lacks: none when
    // it is the last text; otherwise from when the next text was typed. -1
    // when the text was never typed since the last start.
    long long LostMs(const std::string& restored, DWORD killedAt) const
    {
        for (size_t i = m_typed.size(); i-- > 0;) {
            if (m_typed[i].text != restored) continue;
            if (i + 1 == m_typed.size()) return 0;
            return static_cast<long long>(killedAt - m_typed[i + 1].at);
        }
        return -1;
    }
    void StartOver() { m_typed.clear(); }

private:
    std::vector<Typed> m_typed;
    std::set<std::string> m_every;
};

// The least typing that the text found after a kill lacks: in the editor
// (restored from the journal) or in a memo file (a save that ended just
// before the kill, whose memo the editor need not show at the next start,
// as PrevFile is written at the orderly end). -1 when none of them holds
// anything typed since the last start.
long long LeastLossMs(const MemoApp& app, const TypingHistory& history, DWORD killedAt)
{
    long long least = history.LostMs(app.EditorText(), killedAt);
    for (const std::string& file : app.StoredMemoFiles()) {
        long long lost = history.LostMs(app.ReadFile("memo\\" + file), killedAt);
        if (lost >= 0 && (least < 0 || lost < least)) least = lost;
    }
    return least;
}

// The memo typed into is one file at most (its name into typedInto),
// holding a whole text that was typed at some time: never a second copy,
// nor one left by a rename; the memo that no kill touched is as it was.
::testing::AssertionResult NoMemoDamaged(const MemoApp& app, const TypingHistory& history, std::string& typedInto)
{
    if (app.Memo("other") != kOther) return ::testing::AssertionFailure() << "other.txt changed";
    typedInto.clear();
    for (const std::string& file : app.MemoFiles()) {
        if (file.size() < 4 || file.compare(file.size() - 4, 4, ".txt") != 0 || file == "other.txt") continue;
        std::string text = app.ReadFile("memo\\" + file);
        if (!history.WasTyped(text)) return ::testing::AssertionFailure() << file << " holds text nobody typed";
        if (!typedInto.empty()) return ::testing::AssertionFailure() << file << " and " << typedInto << " for one memo";
        typedInto = file;
    }
    return ::testing::AssertionSuccess();
}

// The text with the title of its first line replaced.
std::string Retitled(const std::string& text, const char* title)
{
    size_t end = text.find("\r\n");
    return end == std::string::npos ? text : title + text.substr(end);
}

void Record(const char* key, long long value)
{
    ::testing::Test::RecordProperty(key, std::to_string(value));
}

TEST(KillRestart, KillsAtRandomMomentsLoseAtMostTheLastSecondsAndDamageNoStoredMemo)
{
    const int kills = KillsToRun();
    std::mt19937 random(20261208);
    MemoApp app;
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    app.WriteFile("memo\\other.txt", kOther);
    TypingHistory history;
    history.Add("");
    long long worstLoss = 0;
    int killsWhileSaving = 0;
    DWORD killedAt = 0;
    for (int kill = 0; kill <= kills; ++kill) {
        SCOPED_TRACE("after kill " + std::to_string(kill));
        ASSERT_TRUE(app.Start());
        std::string text = app.EditorText();
        ASSERT_TRUE(text.empty() || history.WasTyped(text)) << "the editor holds text nobody typed: " << text;
        if (kill > 0) {
            long long lost = LeastLossMs(app, history, killedAt);
            ASSERT_GE(lost, 0) << "nothing typed since the last start survived";
            EXPECT_LE(lost, static_cast<long long>(kLossBoundMs + kSchedulingAllowanceMs));
            worstLoss = std::max(worstLoss, lost);
        }
        std::string typedInto;
        ASSERT_TRUE(NoMemoDamaged(app, history, typedInto));
        if (kill == kills) break;
        // A kill after a save leaves no journal, and the editor shows the
        // memo of the last orderly end: the user picks the memo again.
        if (text.empty() && !typedInto.empty()) {
            ASSERT_TRUE(app.PickMemo(typedInto));
            text = app.EditorText();
        }
        history.StartOver();
        history.Add(text);
        if (text.empty()) text = "typing\r\n";
        // Typing a character every 100 ms for up to five seconds, and now
        // and then a new title; then a hide, which saves, now and then; then
        // the kill, in the middle of typing or of a save.
        int keys = std::uniform_int_distribution<int>(1, 50)(random);
        bool whileSaving = std::uniform_int_distribution<int>(0, 3)(random) == 0;
        for (int key = 0; key < keys; ++key) {
            text += static_cast<char>('a' + key % 26);
            if (key % 30 == 29) text += "\r\n";
            if (std::uniform_int_distribution<int>(0, 9)(random) == 0) text = Retitled(text, kTitles[key % 4]);
            app.TypeText(text);
            history.Add(text);
            Sleep(100);
        }
        if (whileSaving) {
            ++killsWhileSaving;
            ActivateOtherWindow();
            Sleep(std::uniform_int_distribution<int>(0, 150)(random));
        }
        killedAt = GetTickCount();
        app.Kill();
    }
    app.EndFromTray();
    Record("kills", kills);
    Record("kills_while_saving", killsWhileSaving);
    Record("worst_loss_ms", worstLoss);
    Record("loss_bound_ms", static_cast<long long>(kLossBoundMs + kSchedulingAllowanceMs));
}
}  // namespace
