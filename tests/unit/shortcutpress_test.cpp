#include "app/shortcutpress.h"

#include <gtest/gtest.h>

namespace {
const unsigned char kCtrl = kShortcutCtrl, kShift = kShortcutShift, kAlt = kShortcutAlt, kWin = kShortcutWin;
const unsigned kVkShift = 0x10, kVkCtrl = 0x11, kVkAlt = 0x12, kVkLWin = 0x5B, kVkRWin = 0x5C;
const ShortcutKey kAltZ = {'Z', kAlt};

// The modifiers follow the forwarded presses and releases, one key at a
// time; the two Windows keys are one modifier, held while either is.
TEST(ShortcutPress, ForwardedModifiersFollowEachPressAndRelease)
{
    struct Step {
        unsigned vk;
        bool released;
        unsigned char mods;
    };
    const Step steps[] = {
        {kVkAlt, false, kAlt},          {'Z', false, kAlt},
        {kVkCtrl, false, kCtrl | kAlt}, {kVkAlt, false, kCtrl | kAlt},  // a repeat
        {kVkAlt, true, kCtrl},          {kVkShift, false, kCtrl | kShift},
        {kVkCtrl, true, kShift},        {kVkLWin, false, kShift | kWin},
        {kVkRWin, false, kShift | kWin}, {kVkLWin, true, kShift | kWin},
        {kVkRWin, true, kShift},        {kVkShift, true, 0},
        {kVkShift, true, 0},
    };
    CForwardedModifiers forwarded;
    int n = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(n++);
        forwarded.Note(step.vk, step.released);
        EXPECT_EQ(step.mods, forwarded.Mods());
    }
    // Alt's release went elsewhere; the keyboard, read later, has Ctrl alone.
    forwarded.Note(kVkAlt, false);
    forwarded.Take(kCtrl);
    EXPECT_EQ(kCtrl, forwarded.Mods());
    forwarded.Note(kVkCtrl, true);
    EXPECT_EQ(0, forwarded.Mods());
}

// Only a press of the key counts. While the key is down its modifiers are
// the keyboard's; a press already over when it came is judged by the
// modifiers that came with it.
TEST(ShortcutPress, CountsOnlyAPressWithExactlyTheShortcutsModifiers)
{
    struct Case {
        const char* what;
        unsigned vk;
        bool released;
        bool keyStillDown;
        unsigned char keyboardMods;
        unsigned char forwardedMods;
        bool press;
    };
    const Case cases[] = {
        {"Alt+Z", 'Z', false, true, kAlt, kAlt, true},
        {"the release of Z with Alt held", 'Z', true, false, kAlt, kAlt, false},
        {"Z pressed before Alt, seen late", 'Z', false, true, kAlt, 0, true},
        {"Z alone, Alt released since", 'Z', false, true, 0, kAlt, false},
        {"Ctrl+Alt+Z (AltGr)", 'Z', false, true, kCtrl | kAlt, kCtrl | kAlt, false},
        {"Shift+Alt+Z", 'Z', false, true, kShift | kAlt, kAlt, false},
        {"another key", 'X', false, true, kAlt, kAlt, false},
        {"a quick Alt+Z, over before it came", 'Z', false, false, 0, kAlt, true},
        {"a quick Z, over before it came", 'Z', false, false, kAlt, 0, false},
        {"a quick Ctrl+Alt+Z, over before it came", 'Z', false, false, 0, kCtrl | kAlt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.press, IsShortcutPress(kAltZ, c.vk, c.released, c.keyStillDown, c.keyboardMods, c.forwardedMods));
    }
    EXPECT_TRUE(IsShortcutPress({'M', kCtrl | kShift}, 'M', false, true, kCtrl | kShift, 0));
    EXPECT_TRUE(IsShortcutPress({0x20, kWin}, 0x20, false, false, 0, kWin));
}
}  // namespace
