// The settings window and the image buttons in the real program: Done
// applies the settings at once, and the buttons carry their shapes.
#include "tests/e2e/harness.h"
#include "tests/e2e/links_probe.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {
const int kSettingButton = 4;
const int kEditor = 200;
// The settings window's controls in creation order.
enum { kFixPos = 0, kTransBar = 2, kTransEdit = 4, kWidthEdit = 7, kHeightEdit = 9, kAutoStart = 10, kDone = 11,
       kHotKey = 13 };

HWND ControlOf(HWND setting, int index)
{
    HWND control = GetWindow(setting, GW_CHILD);
    while (control && index-- > 0) control = GetWindow(control, GW_HWNDNEXT);
    return control;
}

// WM_GETTEXT, which a control of another process answers with its text.
std::string TextOf(HWND hWnd)
{
    char text[256] = "";
    SendMessageA(hWnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

HWND OpenSettings(const MemoApp& app)
{
    if (!app.Command(kSettingButton)) return nullptr;
    std::vector<HWND> found = TopLevelWindowsOf(app.ProcessId(), "SettingWnd");
    return found.size() == 1 && IsWindowVisible(found.front()) ? found.front() : nullptr;
}

void SetText(HWND hWnd, const char* text)
{
    SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void Click(HWND button)
{
    SendMessageA(button, BM_CLICK, 0, 0);
}

std::string Describe(HWND hWnd)
{
    char cls[64] = "";
    GetClassNameA(hWnd, cls, sizeof(cls));
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    return std::string(cls) + " pid " + std::to_string(pid) + " self " + std::to_string(GetCurrentProcessId());
}

SIZE ClientSize(HWND hWnd)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    return {rc.right, rc.bottom};
}

TEST(Settings, DoneResizesTheMemoWindowAppliesItsOpacityAndStoresEverything)
{
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    ASSERT_TRUE(app.Start());
    HWND setting = OpenSettings(app);
    ASSERT_TRUE(setting);
    EXPECT_EQ("0", TextOf(ControlOf(setting, kTransEdit)));
    EXPECT_EQ("400", TextOf(ControlOf(setting, kWidthEdit)));

    SetText(ControlOf(setting, kWidthEdit), "640");
    SetText(ControlOf(setting, kHeightEdit), "224");
    HWND bar = ControlOf(setting, kTransBar);
    SendMessageA(bar, TBM_SETPOS, TRUE, 30);
    SendMessageA(setting, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ("30", TextOf(ControlOf(setting, kTransEdit)));
    Click(ControlOf(setting, kFixPos));
    Click(ControlOf(setting, kAutoStart));
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(app.Window(), nullptr, &alpha, &flags));
    EXPECT_EQ(255, alpha) << "nothing applies before Done";
    EXPECT_EQ(400, ClientSize(app.Window()).cx);

    Click(ControlOf(setting, kDone));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(setting); }));
    EXPECT_EQ("225", TextOf(ControlOf(setting, kHeightEdit))) << "raised to the minimum";
    SIZE client = ClientSize(app.Window());
    EXPECT_EQ(640, client.cx);
    EXPECT_EQ(225, client.cy);
    ASSERT_TRUE(GetLayeredWindowAttributes(app.Window(), nullptr, &alpha, &flags));
    EXPECT_EQ(178, alpha);
    EXPECT_TRUE(flags & LWA_ALPHA);
    auto links = StartupLinksInto(app.Dir());
    ASSERT_EQ(1u, links.size()) << "the program starts at logon from now on";
    EXPECT_EQ(app.PathOf("MossvanePad.exe"), links[0].second.target);

    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("640", app.Ini("Window", "Width"));
    EXPECT_EQ("225", app.Ini("Window", "Height"));
    EXPECT_EQ("178", app.Ini("Setting", "Alpha"));
    EXPECT_EQ("1", app.Ini("Setting", "DefaultPosition"));
    EXPECT_EQ("1", app.Ini("Setting", "Startup"));
}

TEST(Settings, UncheckingStartupRemovesTheProgramsLinkAtDone)
{
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    app.WriteFile("MossvanePad.ini", "[Setting]\r\nStartup=1\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_EQ(1u, StartupLinksInto(app.Dir()).size());
    HWND setting = OpenSettings(app);
    ASSERT_TRUE(setting);
    Click(ControlOf(setting, kAutoStart));
    EXPECT_EQ(1u, StartupLinksInto(app.Dir()).size()) << "nothing applies before Done";
    Click(ControlOf(setting, kDone));
    EXPECT_TRUE(StartupLinksInto(app.Dir()).empty());
    ASSERT_EQ(0u, app.EndFromTray());
}

// Done while another program is in front: the memo window goes at once,
// as that program's activation would have made it go.
TEST(Settings, TheMemoWindowStaysUpUntilDoneAndHidesAgainAfterwards)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    HWND setting = OpenSettings(app);
    ASSERT_TRUE(setting);
    app.TypeText("settings open");
    ActivateOtherWindow();
    EXPECT_FALSE(app.WaitHidden(1500)) << "hid while the settings were open";

    Click(ControlOf(setting, kDone));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(setting); }));
    EXPECT_TRUE(app.WaitHidden());
    EXPECT_EQ("settings open", app.Memo("settings open"));
}

// However the settings window goes, the memo window is the active one
// again: the next click elsewhere hides it and stores the memo. Closing
// cancels. Alt+F4 and the close button send WM_SYSCOMMAND SC_CLOSE.
TEST(Settings, TheSettingsWindowGivesTheActivationBackHoweverItGoes)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    const char* ways[] = {"Alt+F4", "WM_CLOSE", "Done"};
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(ways[way]);
        if (way > 0) {
            ASSERT_TRUE(app.PopUpByRequest());
        }
        HWND setting = OpenSettings(app);
        ASSERT_TRUE(setting);
        const std::string memo = std::string("closed by ") + (way == 2 ? "Done" : way == 1 ? "message" : "keys");
        app.TypeText(memo);
        if (way < 2) SetText(ControlOf(setting, kWidthEdit), "777");
        if (way == 0) SendMessageA(setting, WM_SYSCOMMAND, SC_CLOSE, 0);
        else if (way == 1) SendMessageA(setting, WM_CLOSE, 0, 0);
        else Click(ControlOf(setting, kDone));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(setting); }));
        EXPECT_TRUE(app.IsRunning());
        EXPECT_TRUE(IsWindow(setting)) << "closed like a cancel, not destroyed";
        EXPECT_EQ("400", TextOf(ControlOf(setting, kWidthEdit))) << "the settings stay as they were";
        EXPECT_EQ(400, ClientSize(app.Window()).cx);
        EXPECT_EQ(app.Window(), GetForegroundWindow()) << Describe(GetForegroundWindow());

        ActivateOtherWindow();
        EXPECT_TRUE(app.WaitHidden()) << "hides on deactivation again";
        EXPECT_EQ(memo, app.Memo(memo));
    }
    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("400", app.Ini("Window", "Width"));
}

// The shortcut field refuses a key without Ctrl or Alt, with a message, and
// the window stays for a better choice.
TEST(Settings, AShortcutWithoutAModifierIsRefusedWithAMessage)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    HWND setting = OpenSettings(app);
    ASSERT_TRUE(setting);
    SendMessageA(ControlOf(setting, kHotKey), HKM_SETHOTKEY, MAKEWORD('Q', 0), 0);
    PostMessageA(ControlOf(setting, kDone), BM_CLICK, 0, 0);
    HWND box = app.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ("ショートカット", MemoApp::WindowText(box));
    EXPECT_NE(std::string::npos, MemoApp::MessageBoxText(box).find("Ctrl か Alt")) << MemoApp::MessageBoxText(box);
    MemoApp::DismissMessageBox(box);
    EXPECT_TRUE(IsWindowVisible(setting));
    SendMessageA(setting, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("Alt+Z", app.Ini("Setting", "ShortcutKey"));
}

void PressTimes(BYTE key, int times)
{
    for (int i = 0; i < times; ++i) PressKeys({key});
}

// Ctrl+, in the editor opens the window with the first control focused.
HWND OpenSettingsByKey(const MemoApp& app)
{
    if (!app.FocusChild(kEditor)) return nullptr;
    PressKeys({VK_CONTROL, VK_OEM_COMMA});
    HWND setting = nullptr;
    WaitUntil([&] {
        std::vector<HWND> found = TopLevelWindowsOf(app.ProcessId(), "SettingWnd");
        setting = found.size() == 1 && IsWindowVisible(found.front()) ? found.front() : nullptr;
        return setting && app.FocusWindow() == ControlOf(setting, kFixPos);
    });
    return setting;
}

// The keyboard alone: Tab to the transparency slider, a change, then Esc
// changes nothing; Enter applies it. The shortcut field takes Ctrl+A (the
// editor's select-all does not), and Done refuses it.
TEST(Settings, TheKeyboardAloneChangesAndCancelsTheSettings)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    app.TypeText("typed before");
    SendMessageA(app.Editor(), EM_SETSEL, 3, 3);
    for (BYTE finish : {VK_ESCAPE, VK_RETURN}) {
        SCOPED_TRACE(finish == VK_ESCAPE ? "Esc" : "Enter");
        HWND setting = OpenSettingsByKey(app);
        ASSERT_TRUE(setting);
        PressTimes(VK_TAB, 3);
        ASSERT_TRUE(WaitUntil([&] { return app.FocusWindow() == ControlOf(setting, kTransBar); }, 5000))
            << Describe(app.FocusWindow());
        PressKeys({VK_RIGHT});
        ASSERT_TRUE(WaitUntil([&] { return TextOf(ControlOf(setting, kTransEdit)) == "1"; }, 5000));
        PressKeys({finish});
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(setting); }));
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == app.Window(); }, 5000))
            << Describe(GetForegroundWindow());
        BYTE alpha = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(app.Window(), nullptr, &alpha, nullptr));
        EXPECT_EQ(finish == VK_ESCAPE ? 255 : 252, alpha);
    }

    HWND setting = OpenSettingsByKey(app);
    ASSERT_TRUE(setting);
    HWND field = ControlOf(setting, kHotKey);
    PressTimes(VK_TAB, 4);
    ASSERT_TRUE(WaitUntil([&] { return app.FocusWindow() == field; }, 5000));
    PressKeys({VK_CONTROL, 'A'});
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(field, HKM_GETHOTKEY, 0, 0) == MAKEWORD('A', HOTKEYF_CONTROL); },
                          5000)) << std::hex << SendMessageA(field, HKM_GETHOTKEY, 0, 0);
    EXPECT_EQ(MAKELRESULT(3, 3), SendMessageA(app.Editor(), EM_GETSEL, 0, 0)) << "the memo is not selected";
    PressKeys({VK_RETURN});
    HWND box = app.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_NE(std::string::npos, MemoApp::MessageBoxText(box).find("Ctrl+A")) << MemoApp::MessageBoxText(box);
    MemoApp::DismissMessageBox(box);
    EXPECT_TRUE(IsWindowVisible(setting));
    SendMessageA(setting, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("Alt+Z", app.Ini("Setting", "ShortcutKey"));
    EXPECT_EQ("252", app.Ini("Setting", "Alpha"));
}

// The program carries the masks: each button is cut to its icon.
TEST(Settings, EachImageButtonIsCutToItsIcon)
{
    struct Case {
        int id;
        POINT inside;
        POINT outside;
    };
    const Case cases[] = {
        {1, {28, 6}, {2, 2}},    // page body; corner beside the page
        {2, {10, 40}, {45, 45}},  // notepad; beside the pencil's end
        {3, {25, 12}, {25, 6}},   // the lid; the hole in the handle
        {4, {25, 40}, {25, 25}},  // a tooth's root; the gear's hole
    };
    MemoApp app;
    ASSERT_TRUE(app.Start());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "button " << c.id);
        HWND button = app.Child(c.id);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return GetWindowRgn(button, region) == COMPLEXREGION; }));
        EXPECT_TRUE(PtInRegion(region, c.inside.x, c.inside.y));
        EXPECT_FALSE(PtInRegion(region, c.outside.x, c.outside.y));
        DeleteObject(region);
    }
}
}  // namespace
