#pragma once
// Whether a key the hook library forwards is a press of the shortcut. No
// windows.h here: a plain rule.
#include "app/shortcutkey.h"

// The modifiers as the forwarded keys left them, in the order the program in
// front retrieved its keys: the state that came with each key.
class CForwardedModifiers {
public:
    void Note(unsigned vk, bool released);
    // The keyboard's modifiers, read while a key was still down: a release
    // that never came through (the secure desktop, a program run as
    // administrator) stops counting here.
    void Take(unsigned char mods);
    unsigned char Mods() const;

private:
    unsigned m_down = 0;  // one bit for each modifier key
};

// A key event of the shortcut's key counts on its press alone. While the
// keyboard still holds the key, its modifiers are the keyboard's
// (`keyboardMods`); a press that was over before the program in front
// retrieved it has only the modifiers that came with it (`forwardedMods`).
bool IsShortcutPress(ShortcutKey shortcut, unsigned vk, bool released, bool keyStillDown,
                     unsigned char keyboardMods, unsigned char forwardedMods);
