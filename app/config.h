#pragma once
#include "app/globals.h"
#include "app/shortcutkey.h"

// The settings, read once from MossvanePad.ini in the start directory and
// written back at the orderly end (and when Windows ends the session).
class CConfig {
public:
    CConfig();   // builds IniPath from the current directory and loads every value
    ~CConfig();  // saves every value

    // False when the current directory leaves no room for the file name in
    // IniPath or the PrevFile buffer could not be allocated; nothing is read
    // or written then.
    bool IsValid() const { return m_bValid; }

    void Save() const;
    void SetPrevFile(const char* name);

    char IniPath[kPathSize] = {};
    char* PrevFile = nullptr;  // kMemoNameSize bytes, owned; "null" means no memo
    int Width = 400;
    int Height = 225;
    int X = 0;
    int Y = 0;
    bool Startup = false;
    int Alpha = 255;
    bool DefaultPosition = false;
    struct ShortcutKey ShortcutKey = kDefaultShortcutKey;  // Alt+Z where the file names no usable one

    CConfig(const CConfig&) = delete;
    CConfig& operator=(const CConfig&) = delete;

private:
    void Load();
    void LoadShortcutKey();
    void SaveShortcutKey() const;
    bool m_bValid = false;
    // A stored shortcut that names no usable one, as the user wrote it: kept
    // in the file, for them to mend, as long as the shortcut is not changed.
    char m_szUnusableShortcut[64] = {};
};
