#include "controls/hotkeybits.h"

#include <commctrl.h>

namespace {
// Keys of the extended set that share their scan code with a key of the
// numeric pad; the control names the key by its scan code and this bit.
bool IsExtendedKey(BYTE vk)
{
    return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE || vk == VK_DIVIDE ||
           vk == VK_APPS || vk == VK_NUMLOCK;
}
}  // namespace

WORD HotKeyFromShortcut(ShortcutKey key)
{
    BYTE flags = 0;
    if (key.mods & kShortcutCtrl) flags |= HOTKEYF_CONTROL;
    if (key.mods & kShortcutShift) flags |= HOTKEYF_SHIFT;
    if (key.mods & kShortcutAlt) flags |= HOTKEYF_ALT;
    if (IsExtendedKey(key.vk)) flags |= HOTKEYF_EXT;
    return MAKEWORD(key.vk, flags);
}

ShortcutKey ShortcutFromHotKey(WORD hotKey)
{
    const BYTE flags = HIBYTE(hotKey);
    ShortcutKey key = {LOBYTE(hotKey), 0};
    if (flags & HOTKEYF_CONTROL) key.mods |= kShortcutCtrl;
    if (flags & HOTKEYF_SHIFT) key.mods |= kShortcutShift;
    if (flags & HOTKEYF_ALT) key.mods |= kShortcutAlt;
    return key;
}

UINT HotKeyCallModifiers(ShortcutKey key)
{
    UINT mods = 0;
    if (key.mods & kShortcutCtrl) mods |= MOD_CONTROL;
    if (key.mods & kShortcutShift) mods |= MOD_SHIFT;
    if (key.mods & kShortcutAlt) mods |= MOD_ALT;
    if (key.mods & kShortcutWin) mods |= MOD_WIN;
    return mods;
}
