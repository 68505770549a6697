#include "app/config.h"

#include <cstring>
#include <new>
#include <string>

#include "app/bounded.h"
#include "app/curdir.h"

namespace {
const char kIniName[] = "MossvanePad.ini";

int ReadInt(const char* section, const char* key, int fallback, const char* path)
{
    return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, path));
}

void WriteInt(const char* section, const char* key, int value, const char* path)
{
    char text[16];
    FormatBounded(text, sizeof(text), "%d", value);
    WritePrivateProfileStringA(section, key, text, path);
}

// The profile functions drop blanks around a value and one pair of quotes
// around it when reading; a value that would lose either is written inside
// double quotes, which the read takes off again. Other values are written
// as they are, so files of earlier runs read as before.
std::string QuotedWhereNeeded(const char* value)
{
    std::string text = value;
    if (text.empty()) return text;
    const char* const kLostAtEdges = " \t\v\f\x1a'\"";
    bool atRisk = strchr(kLostAtEdges, text.front()) || strchr(kLostAtEdges, text.back());
    return atRisk ? "\"" + text + "\"" : text;
}

void WriteBool(const char* section, const char* key, bool value, const char* path)
{
    WritePrivateProfileStringA(section, key, value ? "1" : "0", path);
}
}  // namespace

CConfig::CConfig()
{
    char folder[kPathSize];
    if (!GetCurrentFolderPath(folder, sizeof(folder))) return;
    if (!FormatBounded(IniPath, sizeof(IniPath), "%s%s", folder, kIniName)) return;
    PrevFile = new (std::nothrow) char[kMemoNameSize];
    if (!PrevFile) return;
    m_bValid = true;
    Load();
}

CConfig::~CConfig()
{
    Save();
    delete[] PrevFile;
}

void CConfig::Load()
{
    GetPrivateProfileStringA("ReadFile", "PrevFile", "null", PrevFile, kMemoNameSize, IniPath);
    DefaultPosition = ReadInt("Setting", "DefaultPosition", 0, IniPath) == 1;
    X = ReadInt("Window", "X", 0, IniPath);
    Y = ReadInt("Window", "Y", 0, IniPath);
    Width = ReadInt("Window", "Width", 400, IniPath);
    Height = ReadInt("Window", "Height", 225, IniPath);
    Startup = ReadInt("Setting", "Startup", 0, IniPath) == 1;
    Alpha = ReadInt("Setting", "Alpha", 255, IniPath);
    LoadShortcutKey();
}

// A text that the buffer cuts is no shortcut, and is not kept either.
void CConfig::LoadShortcutKey()
{
    char text[sizeof(m_szUnusableShortcut)];
    DWORD length = GetPrivateProfileStringA("Setting", "ShortcutKey", "", text, sizeof(text), IniPath);
    if (ParseShortcutKey(text, ShortcutKey)) return;
    if (length + 1 < sizeof(text)) CopyBounded(m_szUnusableShortcut, sizeof(m_szUnusableShortcut), text);
}

void CConfig::SaveShortcutKey() const
{
    char text[sizeof(m_szUnusableShortcut) + 2];  // room for quotes
    if (m_szUnusableShortcut[0] && ShortcutKey == kDefaultShortcutKey)
        CopyBounded(text, sizeof(text), QuotedWhereNeeded(m_szUnusableShortcut).c_str());
    else
        FormatShortcutKey(ShortcutKey, text, sizeof(text));  // empty, which reads as Alt+Z, if it fails
    WritePrivateProfileStringA("Setting", "ShortcutKey", text, IniPath);
}

void CConfig::Save() const
{
    if (!m_bValid) return;
    WritePrivateProfileStringA("ReadFile", "PrevFile", QuotedWhereNeeded(PrevFile).c_str(), IniPath);
    WriteBool("Setting", "DefaultPosition", DefaultPosition, IniPath);
    WriteInt("Window", "X", X, IniPath);
    WriteInt("Window", "Y", Y, IniPath);
    WriteInt("Window", "Width", Width, IniPath);
    WriteInt("Window", "Height", Height, IniPath);
    WriteBool("Setting", "Startup", Startup, IniPath);
    WriteInt("Setting", "Alpha", Alpha, IniPath);
    SaveShortcutKey();
}

void CConfig::SetPrevFile(const char* name)
{
    if (!PrevFile) return;
    CopyBounded(PrevFile, kMemoNameSize, name);
}
