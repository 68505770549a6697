#pragma once
// The memo window's shortcut as the ini file and the settings window name
// it: "Alt+Z", "Ctrl+Shift+M". One pair reads and writes that text, so that
// a key written is a key read back. No windows.h here: a plain rule.
#include <cstddef>

// The shortcut's own modifier bits; the hot-key control and the system's
// key-state calls each have a set of their own, converted where they are used.
enum : unsigned char {
    kShortcutCtrl = 1,
    kShortcutShift = 2,
    kShortcutAlt = 4,
    kShortcutWin = 8,
};

struct ShortcutKey {
    unsigned char vk;    // virtual-key code; 0: none
    unsigned char mods;  // kShortcut... bits
};

constexpr ShortcutKey kDefaultShortcutKey = {0x5A, kShortcutAlt};  // Alt+Z

inline bool operator==(ShortcutKey a, ShortcutKey b)
{
    return a.vk == b.vk && a.mods == b.mods;
}
inline bool operator!=(ShortcutKey a, ShortcutKey b)
{
    return !(a == b);
}

enum class ShortcutProblem {
    kNone,
    kNoKey,       // no key, or a modifier as the key: it would fire on the modifiers alone
    kNoModifier,  // neither Ctrl, Alt nor Win: it would fire on ordinary typing (Shift+Z is a capital Z)
    kUnnamedKey,  // a key that has no name in the text form
};

ShortcutProblem CheckShortcutKey(ShortcutKey key);

// What a usable shortcut would do to typing, judged from the key alone.
// Refused: a key that other programs act on as well (the editing keys) or
// that Windows keeps for itself. Warned about, the user may keep it:
// Ctrl+Alt with a character key, which AltGr types on many keyboards.
enum class ShortcutRisk {
    kNone,
    kEditingKey,   // refused: Ctrl+A, C, V, X, Y, Z, S or P
    kSystemKey,    // refused: Alt+Tab, Alt+Esc, Alt+Space, Alt+F4, Ctrl+Esc, Ctrl+Shift+Esc, Ctrl+Alt+Del
    kAltGrLetter,  // warned: Ctrl+Alt (and Shift) with a letter, a digit or a punctuation key
};

ShortcutRisk JudgeShortcutForTyping(ShortcutKey key);

// Modifiers, then the key, joined by "+"; case and blanks around the parts
// do not matter. True only for a usable shortcut (CheckShortcutKey); on
// false, key is left as it was, so that the caller's default stays.
bool ParseShortcutKey(const char* text, ShortcutKey& key);

// The canonical text: modifiers in the order Ctrl, Shift, Alt, Win, then the
// key's name. False, leaving out empty, when the key has no name or the text
// does not fit into size bytes.
bool FormatShortcutKey(ShortcutKey key, char* out, size_t size);
