#include "app/shortcutkey.h"

#include <cstring>
#include <string>

#include "app/bounded.h"

namespace {
struct Name {
    unsigned char value;
    const char* text;
};

// In the order they are written.
const Name kModifiers[] = {
    {kShortcutCtrl, "Ctrl"}, {kShortcutShift, "Shift"}, {kShortcutAlt, "Alt"}, {kShortcutWin, "Win"}};
const unsigned char kAllModifiers = kShortcutCtrl | kShortcutShift | kShortcutAlt | kShortcutWin;

// Keys other than letters, digits, F1 to F24 and Numpad0 to Numpad9, by
// virtual-key code. The first name of a key is the one written; the others
// are read too. The punctuation keys differ from layout to layout, so they
// go by the names of their key codes.
const Name kKeys[] = {
    {0x08, "Backspace"}, {0x09, "Tab"},       {0x0D, "Enter"},      {0x0D, "Return"},    {0x13, "Pause"},
    {0x1B, "Esc"},       {0x1B, "Escape"},    {0x1C, "Convert"},    {0x1D, "NonConvert"}, {0x20, "Space"},
    {0x21, "PageUp"},    {0x21, "PgUp"},      {0x22, "PageDown"},   {0x22, "PgDn"},      {0x23, "End"},
    {0x24, "Home"},      {0x25, "Left"},      {0x26, "Up"},         {0x27, "Right"},     {0x28, "Down"},
    {0x2D, "Insert"},    {0x2D, "Ins"},       {0x2E, "Delete"},     {0x2E, "Del"},       {0x5D, "Apps"},
    {0x6A, "Multiply"},  {0x6B, "Add"},       {0x6D, "Subtract"},   {0x6E, "Decimal"},   {0x6F, "Divide"},
    {0xBA, "Oem1"},      {0xBB, "OemPlus"},   {0xBC, "OemComma"},   {0xBD, "OemMinus"},  {0xBE, "OemPeriod"},
    {0xBF, "Oem2"},      {0xC0, "Oem3"},      {0xDB, "Oem4"},       {0xDC, "Oem5"},      {0xDD, "Oem6"},
    {0xDE, "Oem7"},      {0xDF, "Oem8"},      {0xE2, "Oem102"},
};
const unsigned char kF1 = 0x70;
const int kFunctionKeys = 24;
const unsigned char kNumpad0 = 0x60;

// Shift, Ctrl, Alt and the Windows keys, also as their left and right keys.
bool IsModifierKey(unsigned char vk)
{
    return (vk >= 0x10 && vk <= 0x12) || vk == 0x5B || vk == 0x5C || (vk >= 0xA0 && vk <= 0xA5);
}

bool IsLetterOrDigit(unsigned char vk)
{
    return (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9');
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameWord(const std::string& word, const char* name)
{
    if (word.size() != strlen(name)) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (Lower(word[i]) != Lower(name[i])) return false;
    return true;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trimmed(const char* begin, const char* end)
{
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    return std::string(begin, end);
}

// A number of one or two digits without a leading zero, e.g. the 12 of F12.
bool ReadSmallNumber(const std::string& digits, int& value)
{
    if (digits.empty() || digits.size() > 2 || digits[0] == '0') return false;
    value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

bool HasPrefix(const std::string& word, const char* prefix, std::string& rest)
{
    size_t length = strlen(prefix);
    if (word.size() <= length || !SameWord(word.substr(0, length), prefix)) return false;
    rest = word.substr(length);
    return true;
}

bool KeyFromWord(const std::string& word, unsigned char& vk)
{
    if (word.size() == 1) {
        unsigned char c = static_cast<unsigned char>(Upper(word[0]));
        if (!IsLetterOrDigit(c)) return false;
        vk = c;
        return true;
    }
    std::string rest;
    int number;
    if (HasPrefix(word, "F", rest) && ReadSmallNumber(rest, number) && number <= kFunctionKeys) {
        vk = static_cast<unsigned char>(kF1 + number - 1);
        return true;
    }
    if (HasPrefix(word, "Numpad", rest) && rest.size() == 1 && rest[0] >= '0' && rest[0] <= '9') {
        vk = static_cast<unsigned char>(kNumpad0 + (rest[0] - '0'));
        return true;
    }
    for (const Name& key : kKeys) {
        if (!SameWord(word, key.text)) continue;
        vk = key.value;
        return true;
    }
    return false;
}

bool ModifierFromWord(const std::string& word, unsigned char& mod)
{
    if (SameWord(word, "Control")) {
        mod = kShortcutCtrl;
        return true;
    }
    for (const Name& modifier : kModifiers) {
        if (!SameWord(word, modifier.text)) continue;
        mod = modifier.value;
        return true;
    }
    return false;
}

// The written name of a key; empty when it has none.
std::string KeyName(unsigned char vk)
{
    if (IsLetterOrDigit(vk)) return std::string(1, static_cast<char>(vk));
    if (vk >= kF1 && vk < kF1 + kFunctionKeys) return "F" + std::to_string(vk - kF1 + 1);
    if (vk >= kNumpad0 && vk <= kNumpad0 + 9) return "Numpad" + std::to_string(vk - kNumpad0);
    for (const Name& key : kKeys)
        if (key.value == vk) return key.text;
    return "";
}
}  // namespace

ShortcutProblem CheckShortcutKey(ShortcutKey key)
{
    if (key.vk == 0 || IsModifierKey(key.vk)) return ShortcutProblem::kNoKey;
    if (!(key.mods & (kShortcutCtrl | kShortcutAlt | kShortcutWin))) return ShortcutProblem::kNoModifier;
    if (KeyName(key.vk).empty() || (key.mods & ~kAllModifiers)) return ShortcutProblem::kUnnamedKey;
    return ShortcutProblem::kNone;
}

namespace {
// Shift does not set a system key free: Alt+Shift+Tab goes back through the
// windows, and Ctrl+Alt+Shift+Del is Ctrl+Alt+Del.
const ShortcutKey kSystemKeys[] = {
    {0x09, kShortcutAlt}, {0x1B, kShortcutAlt},  {0x20, kShortcutAlt},
    {0x73, kShortcutAlt}, {0x1B, kShortcutCtrl}, {0x2E, kShortcutCtrl | kShortcutAlt},
};
const char kEditingLetters[] = "ACVXYZSP";

// A key that types a character: AltGr (Ctrl+Alt) with it types another
// one on many layouts (@ and the euro sign on German, a dotted z on Polish).
bool IsCharacterKey(unsigned char vk)
{
    return IsLetterOrDigit(vk) || (vk >= 0xBA && vk <= 0xC0) || (vk >= 0xDB && vk <= 0xDF) || vk == 0xE2;
}

bool IsSystemKey(ShortcutKey key)
{
    const ShortcutKey unshifted = {key.vk, static_cast<unsigned char>(key.mods & ~kShortcutShift)};
    for (const ShortcutKey& system : kSystemKeys)
        if (system == unshifted) return true;
    return false;
}
}  // namespace

ShortcutRisk JudgeShortcutForTyping(ShortcutKey key)
{
    if (key.mods == kShortcutCtrl && key.vk != 0 && strchr(kEditingLetters, key.vk)) return ShortcutRisk::kEditingKey;
    if (IsSystemKey(key)) return ShortcutRisk::kSystemKey;
    const unsigned char altGr = kShortcutCtrl | kShortcutAlt;
    if ((key.mods & ~kShortcutShift) == altGr && IsCharacterKey(key.vk)) return ShortcutRisk::kAltGrLetter;
    return ShortcutRisk::kNone;
}

bool ParseShortcutKey(const char* text, ShortcutKey& key)
{
    if (!text) return false;
    ShortcutKey parsed = {0, 0};
    for (const char* part = text;;) {
        const char* plus = strchr(part, '+');
        std::string word = Trimmed(part, plus ? plus : part + strlen(part));
        if (!plus) {
            if (!KeyFromWord(word, parsed.vk)) return false;
            break;
        }
        unsigned char mod;
        if (!ModifierFromWord(word, mod)) return false;
        parsed.mods |= mod;
        part = plus + 1;
    }
    if (CheckShortcutKey(parsed) != ShortcutProblem::kNone) return false;
    key = parsed;
    return true;
}

bool FormatShortcutKey(ShortcutKey key, char* out, size_t size)
{
    std::string name = KeyName(key.vk);
    if (name.empty() || (key.mods & ~kAllModifiers)) {
        CopyBounded(out, size, "");
        return false;
    }
    std::string text;
    for (const Name& modifier : kModifiers) {
        if (!(key.mods & modifier.value)) continue;
        text += modifier.text;
        text += '+';
    }
    return CopyBounded(out, size, (text + name).c_str());
}
