// Start-up, single instance, settings file and orderly end of the real program.
#include <gtest/gtest.h>

#include <sstream>
#include <utility>
#include <vector>

#include "hook/memowindow.h"
#include "tests/e2e/harness.h"

namespace {
using KeyList = std::vector<std::pair<std::string, std::string>>;

// Sections and keys in file order, as "section" / "key=value" pairs.
KeyList IniLayout(const std::string& text)
{
    KeyList layout;
    std::istringstream lines(text);
    std::string line, section;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.front() == '[') section = line.substr(1, line.size() - 2);
        else layout.emplace_back(section, line);
    }
    return layout;
}

SIZE ClientSize(HWND hWnd)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

TEST(Spine, FreshStartMakesTheMemoFolderAndEndsWritingDefaultsInOrder)
{
    MemoApp app;
    ASSERT_TRUE(MoveCursorTo(500, 400));
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(app.FolderExists("memo"));
    EXPECT_TRUE(IsWindowVisible(app.Window()));
    EXPECT_TRUE(GetWindowLongA(app.Window(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(WS_CAPTION, GetWindowLongA(app.Window(), GWL_STYLE) & WS_CAPTION);
    SIZE client = ClientSize(app.Window());
    EXPECT_EQ(400, client.cx);
    EXPECT_EQ(225, client.cy);
    RECT rc;
    GetWindowRect(app.Window(), &rc);
    EXPECT_EQ(500 - (rc.right - rc.left) / 2, rc.left) << "centred on the cursor";
    EXPECT_EQ(400 - (rc.bottom - rc.top) / 2, rc.top);

    ASSERT_EQ(0u, app.EndFromTray());
    const KeyList expected = {
        {"ReadFile", "PrevFile=null"},
        {"Setting", "DefaultPosition=0"},
        {"Setting", "Startup=0"},
        {"Setting", "Alpha=255"},
        {"Setting", "ShortcutKey=Alt+Z"},
        {"Window", "X=" + std::to_string(rc.left)},
        {"Window", "Y=" + std::to_string(rc.top)},
        {"Window", "Width=400"},
        {"Window", "Height=225"},
    };
    EXPECT_EQ(expected, IniLayout(app.ReadFile("MossvanePad.ini")));
    std::string text = app.ReadFile("MossvanePad.ini");
    EXPECT_LT(text.find("[Setting]"), text.find("[Window]")) << text;
}

TEST(Spine, StoredValuesAreTakenAsTheyAreAndWrittenBackNormalised)
{
    MemoApp app;
    std::string longName(600, 'p');
    app.WriteFile("MossvanePad.ini",
                  "[ReadFile]\r\nPrevFile=" + longName +
                      "\r\n[Setting]\r\nDefaultPosition=2\r\nStartup=2\r\nAlpha=200\r\n"
                      "[Window]\r\nX=5\r\nY=6\r\nWidth=100\r\nHeight=300\r\n");
    ASSERT_TRUE(app.Start());
    // The system widens a captioned window to its minimum tracking width, so
    // the stored width shows in the settings file rather than on screen.
    EXPECT_EQ(300, ClientSize(app.Window()).cy);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(app.Window(), nullptr, &alpha, &flags));
    EXPECT_EQ(200, alpha);
    ASSERT_EQ(0u, app.EndFromTray());

    std::string ini = app.PathOf("MossvanePad.ini");
    EXPECT_EQ("0", IniValue(ini, "Setting", "DefaultPosition")) << "2 is not 1, so it reads as false";
    EXPECT_EQ("0", IniValue(ini, "Setting", "Startup"));
    EXPECT_EQ("100", IniValue(ini, "Window", "Width")) << "no minimum is enforced on reading";
    EXPECT_EQ("300", IniValue(ini, "Window", "Height"));
    EXPECT_EQ("200", IniValue(ini, "Setting", "Alpha"));
    EXPECT_EQ("null", IniValue(ini, "ReadFile", "PrevFile")) << "no memo file bears the stored name";
}

TEST(Spine, FixedPositionIsUsedUnchangedAndOneOffEveryMonitorIsKeptForItsMonitor)
{
    MemoApp app;
    app.WriteFile("MossvanePad.ini", "[Setting]\r\nDefaultPosition=1\r\n[Window]\r\nX=30\r\nY=-5\r\n");
    ASSERT_TRUE(app.Start());
    RECT rc = app.WindowRect();
    EXPECT_EQ(30, rc.left);
    EXPECT_EQ(-5, rc.top);
    ASSERT_EQ(0u, app.EndFromTray());

    // Left of the only monitor: a monitor that was detached since.
    app.WriteFile("MossvanePad.ini", "[Setting]\r\nDefaultPosition=1\r\n[Window]\r\nX=-1200\r\nY=300\r\n");
    ASSERT_TRUE(MoveCursorTo(600, 500));
    ASSERT_TRUE(app.Start());
    rc = app.WindowRect();
    EXPECT_LT(rc.left, 600);
    EXPECT_GT(rc.right, 600) << "centred on the cursor instead";
    ASSERT_EQ(0u, app.EndFromTray());
    std::string ini = app.PathOf("MossvanePad.ini");
    EXPECT_EQ("-1200", IniValue(ini, "Window", "X"));
    EXPECT_EQ("300", IniValue(ini, "Window", "Y"));
    EXPECT_EQ("1", IniValue(ini, "Setting", "DefaultPosition"));
}

TEST(Spine, SecondCopyHandsTheShowRequestToTheFirstAndEnds)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    ShowWindow(app.Window(), SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(app.Window()); }));

    EXPECT_EQ(0u, app.StartAndWait());
    EXPECT_TRUE(IsWindowVisible(app.Window())) << "the running copy popped up";
    EXPECT_TRUE(GetWindowLongA(app.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    int windows = 0;
    for (HWND hWnd = FindWindowA(MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE); hWnd;
         hWnd = FindWindowExA(nullptr, hWnd, MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE))
        ++windows;
    EXPECT_EQ(1, windows) << "the second copy created no window";

    ASSERT_EQ(0u, app.EndFromTray());
    MemoApp later;
    ASSERT_TRUE(later.Start()) << "a copy started after the first has ended runs on its own";
    EXPECT_EQ(0u, later.EndFromTray());
}

TEST(Spine, SettingsAreWrittenWhenWindowsEndsTheSession)
{
    MemoApp app;
    app.WriteFile("MossvanePad.ini", "[Setting]\r\nAlpha=222\r\n");
    ASSERT_TRUE(app.Start());
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(app.Window(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer));
    ASSERT_TRUE(SendMessageTimeoutA(app.Window(), WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 10000, &answer));
    app.Kill();  // Windows may end the process without any further message
    std::string ini = app.PathOf("MossvanePad.ini");
    EXPECT_EQ("222", IniValue(ini, "Setting", "Alpha"));
    EXPECT_EQ("400", IniValue(ini, "Window", "Width"));
    EXPECT_EQ("null", IniValue(ini, "ReadFile", "PrevFile"));
}

TEST(Spine, FileNamedMemoDoesNotStopStartUp)
{
    MemoApp app;
    app.WriteFile("memo", "not a folder");
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("not a folder", app.ReadFile("memo"));
    EXPECT_TRUE(app.FileExists("MossvanePad.ini"));
}

// A folder path padded to exactly `length` characters below the app's folder.
std::string FolderOfLength(const MemoApp& app, size_t length)
{
    std::string path = app.Dir();
    while (path.size() < length) {
        size_t room = length - path.size() - 1;
        std::string part(room > 100 ? 100 : room, 'd');
        if (room - part.size() == 1) part.pop_back();  // leave room for one more separator and letter
        path += "\\" + part;
        CreateDirectoryA(path.c_str(), nullptr);
    }
    return path;
}

TEST(Spine, FolderTooLongForTheSettingsPathIsRefusedWithAMessage)
{
    MemoApp app;
    std::string fits = FolderOfLength(app, 221);
    ASSERT_EQ(221u, fits.size());
    ASSERT_TRUE(app.Start(fits)) << "221 characters leave room for the settings file and the longest memo file";
    ASSERT_EQ(0u, app.EndFromTray());
    DWORD attributes = GetFileAttributesA((fits + "\\MossvanePad.ini").c_str());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes);

    MemoApp refused;
    std::string refusedDir = FolderOfLength(refused, 222);
    ASSERT_EQ(222u, refusedDir.size());
    ASSERT_TRUE(refused.StartProcess(refusedDir));
    HWND box = refused.WaitForMessageBox();
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::string::npos, refused.MessageBoxText(box).find("パス")) << refused.MessageBoxText(box);
    MemoApp::DismissMessageBox(box);
    EXPECT_EQ(0u, refused.WaitForExit(15000));
    EXPECT_TRUE(TopLevelWindowsOf(refused.ProcessId(), MAIN_WINDOW_CLASS).empty());
    EXPECT_FALSE(refused.FolderExists(refusedDir.substr(refused.Dir().size() + 1) + "\\memo"));
}
}  // namespace
