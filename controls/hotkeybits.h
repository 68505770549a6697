#pragma once
#include <windows.h>

#include "app/shortcutkey.h"

// The shortcut as the hot-key control takes and gives it (HKM_SETHOTKEY,
// HKM_GETHOTKEY): the key code in the low byte, HOTKEYF_ bits in the high
// one. The control has no Windows key: a shortcut with Win shows without it.
WORD HotKeyFromShortcut(ShortcutKey key);
ShortcutKey ShortcutFromHotKey(WORD hotKey);

// The modifiers as RegisterHotKey takes them (MOD_ bits).
UINT HotKeyCallModifiers(ShortcutKey key);
