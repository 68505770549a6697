// The settings store against the real profile functions.
#include "app/config.h"

#include <gtest/gtest.h>

#include "app/curdir.h"

namespace {
std::string IniValue(const std::string& ini, const char* key)
{
    char text[256] = "";
    GetPrivateProfileStringA("Setting", key, "<absent>", text, sizeof(text), ini.c_str());
    return text;
}

class TempFolder {
public:
    TempFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        char name[MAX_PATH];
        GetTempFileNameA(temp, "mvc", 0, name);
        DeleteFileA(name);
        CreateDirectoryA(name, nullptr);
        m_path = name;
    }
    ~TempFolder()
    {
        DeleteFileA((m_path + "\\MossvanePad.ini").c_str());
        RemoveDirectoryA(m_path.c_str());
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

TEST(Config, SavesWhatWasSetAndTheNextLoadReadsItBack)
{
    TempFolder folder;
    ScopedCurrentDirectory inFolder(folder.path().c_str());
    ASSERT_TRUE(inFolder.ok());
    {
        CConfig config;
        ASSERT_TRUE(config.IsValid());
        EXPECT_EQ(folder.path() + "\\MossvanePad.ini", config.IniPath);
        EXPECT_STREQ("null", config.PrevFile);
        config.SetPrevFile("買い物 100%");
        config.X = -1200;
        config.Y = 7;
        config.Width = 640;
        config.Height = 480;
        config.Startup = true;
        config.DefaultPosition = true;
        config.Alpha = 0;
    }
    CConfig again;
    EXPECT_STREQ("買い物 100%", again.PrevFile);
    EXPECT_EQ(-1200, again.X);
    EXPECT_EQ(7, again.Y);
    EXPECT_EQ(640, again.Width);
    EXPECT_EQ(480, again.Height);
    EXPECT_TRUE(again.Startup);
    EXPECT_TRUE(again.DefaultPosition);
    EXPECT_EQ(0, again.Alpha);
}

TEST(Config, EveryMemoNameComesBackFromTheFileUnchanged)
{
    TempFolder folder;
    ScopedCurrentDirectory inFolder(folder.path().c_str());
    for (const char* name : {" todo", "todo  ", "\ttab", "'x'", "\"x\"", "'x", "x\"", "it's", "\x81\x40\x82\xA0"}) {
        SCOPED_TRACE(name);
        {
            CConfig config;
            config.SetPrevFile(name);
        }
        CConfig again;
        EXPECT_STREQ(name, again.PrevFile);
    }
    std::string ini = folder.path() + "\\MossvanePad.ini";
    WritePrivateProfileStringA("ReadFile", "PrevFile", "'old'", ini.c_str());
    CConfig earlier;
    EXPECT_STREQ("old", earlier.PrevFile) << "a file written before reads as it did";
}

TEST(Config, StoredValuesAreReadAsTheyAreWithOnlyTrueOneCountingAsTrue)
{
    TempFolder folder;
    ScopedCurrentDirectory inFolder(folder.path().c_str());
    std::string longName(600, 'p');
    std::string ini = folder.path() + "\\MossvanePad.ini";
    WritePrivateProfileStringA("ReadFile", "PrevFile", longName.c_str(), ini.c_str());
    WritePrivateProfileStringA("Setting", "DefaultPosition", "2", ini.c_str());
    WritePrivateProfileStringA("Setting", "Startup", "1", ini.c_str());
    WritePrivateProfileStringA("Window", "Width", "100", ini.c_str());
    WritePrivateProfileStringA("Window", "X", "-1200", ini.c_str());
    CConfig config;
    EXPECT_EQ(longName.substr(0, 511), config.PrevFile) << "cut to the 512-byte buffer";
    EXPECT_FALSE(config.DefaultPosition);
    EXPECT_TRUE(config.Startup);
    EXPECT_EQ(100, config.Width);
    EXPECT_EQ(-1200, config.X);
    EXPECT_EQ(225, config.Height) << "absent keys take their defaults";
    EXPECT_EQ(255, config.Alpha);
}

TEST(Config, TheShortcutIsStoredAsTextAndAnUnusableOneMeansAltZ)
{
    TempFolder folder;
    ScopedCurrentDirectory inFolder(folder.path().c_str());
    std::string ini = folder.path() + "\\MossvanePad.ini";
    auto stored = [&] { return IniValue(ini, "ShortcutKey"); };
    {
        CConfig fresh;
        EXPECT_EQ(kDefaultShortcutKey, fresh.ShortcutKey);
    }
    EXPECT_EQ("Alt+Z", stored());
    {
        CConfig config;
        config.ShortcutKey = {'M', kShortcutCtrl | kShortcutShift};
    }
    EXPECT_EQ("Ctrl+Shift+M", stored());
    WritePrivateProfileStringA("Setting", "ShortcutKey", " ctrl + f9", ini.c_str());
    {
        CConfig config;
        EXPECT_EQ((ShortcutKey{0x78, kShortcutCtrl}), config.ShortcutKey);
    }
    EXPECT_EQ("Ctrl+F9", stored()) << "written the canonical way";

    // Unusable: Alt+Z meanwhile, and the user's text stays for them to mend,
    // until the shortcut is changed.
    for (const char* text : {"Z", "Shift+Q", "Ctrl+Alt", "Alt+Plus", "'Ctrl+Q'x"}) {
        SCOPED_TRACE(text);
        WritePrivateProfileStringA("Setting", "ShortcutKey", text, ini.c_str());
        {
            CConfig config;
            EXPECT_EQ(kDefaultShortcutKey, config.ShortcutKey);
        }
        EXPECT_EQ(text, stored());
    }
    WritePrivateProfileStringA("Setting", "ShortcutKey", std::string(80, 'Q').c_str(), ini.c_str());
    {
        CConfig config;
        EXPECT_EQ(kDefaultShortcutKey, config.ShortcutKey);
    }
    EXPECT_EQ("Alt+Z", stored()) << "a text too long to read whole is not kept";
    WritePrivateProfileStringA("Setting", "ShortcutKey", "Alt", ini.c_str());
    {
        CConfig config;
        config.ShortcutKey = {0x20, kShortcutWin};
    }
    EXPECT_EQ("Win+Space", stored());
}

TEST(Config, SetPrevFileRefusesNamesLongerThanItsBuffer)
{
    TempFolder folder;
    ScopedCurrentDirectory inFolder(folder.path().c_str());
    CConfig config;
    config.SetPrevFile(std::string(511, 'a').c_str());
    EXPECT_EQ(511u, strlen(config.PrevFile));
    config.SetPrevFile(std::string(512, 'b').c_str());
    EXPECT_STREQ("", config.PrevFile);
    config.SetPrevFile("null");
}

TEST(CurrentDirectory, ScopedSwitchPutsThePreviousFolderBack)
{
    TempFolder folder;
    char before[MAX_PATH];
    ASSERT_TRUE(GetCurrentDirectoryBounded(before, sizeof(before)));
    {
        ScopedCurrentDirectory inFolder(folder.path().c_str());
        char during[MAX_PATH];
        GetCurrentDirectoryBounded(during, sizeof(during));
        EXPECT_EQ(folder.path(), during);
    }
    char after[MAX_PATH];
    GetCurrentDirectoryBounded(after, sizeof(after));
    EXPECT_STREQ(before, after);
    ScopedCurrentDirectory missing("Z:\\no\\such\\folder\\here");
    EXPECT_FALSE(missing.ok());
    GetCurrentDirectoryBounded(after, sizeof(after));
    EXPECT_STREQ(before, after);
    char tiny[4];
    EXPECT_FALSE(GetCurrentDirectoryBounded(tiny, sizeof(tiny)));
    EXPECT_STREQ("", tiny);
}
}  // namespace
