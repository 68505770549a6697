#include "app/shortcutpress.h"

namespace {
// The virtual-key codes a keyboard hook reports for the modifier keys.
struct ModifierKey {
    unsigned vk;
    unsigned char mod;
};
const ModifierKey kModifierKeys[] = {
    {0x10, kShortcutShift},  // VK_SHIFT
    {0x11, kShortcutCtrl},   // VK_CONTROL
    {0x12, kShortcutAlt},    // VK_MENU
    {0x5B, kShortcutWin},    // VK_LWIN
    {0x5C, kShortcutWin},    // VK_RWIN
};
const unsigned kModifierCount = sizeof(kModifierKeys) / sizeof(kModifierKeys[0]);
}  // namespace

void CForwardedModifiers::Note(unsigned vk, bool released)
{
    for (unsigned i = 0; i < kModifierCount; ++i) {
        if (kModifierKeys[i].vk != vk) continue;
        if (released) m_down &= ~(1u << i);
        else m_down |= 1u << i;
        return;
    }
}

void CForwardedModifiers::Take(unsigned char mods)
{
    m_down = 0;
    for (unsigned i = 0; i < kModifierCount; ++i) {
        if ((mods & kModifierKeys[i].mod) && !(Mods() & kModifierKeys[i].mod)) m_down |= 1u << i;
    }
}

unsigned char CForwardedModifiers::Mods() const
{
    unsigned char mods = 0;
    for (unsigned i = 0; i < kModifierCount; ++i) {
        if (m_down & (1u << i)) mods |= kModifierKeys[i].mod;
    }
    return mods;
}

bool IsShortcutPress(ShortcutKey shortcut, unsigned vk, bool released, bool keyStillDown,
                     unsigned char keyboardMods, unsigned char forwardedMods)
{
    if (released || vk != shortcut.vk) return false;
    return (keyStillDown ? keyboardMods : forwardedMods) == shortcut.mods;
}
