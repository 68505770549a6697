// The settings window against real controls, with g_config on an ini file
// in a temp folder and a host window in place of the memo window.
#include "controls/settingwnd.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/curdir.h"
#include "app/dpi.h"
#include "app/globals.h"
#include "app/messages.h"
#include "mainwnd/layout.h"
#include "tests/component/controlhost.h"
#include "tests/component/notepad_fixture.h"

namespace {
std::string TextOf(HWND hWnd)
{
    char text[256] = "";
    GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

std::string MakeTempFolder()
{
    char temp[MAX_PATH], name[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    GetTempFileNameA(temp, "mvs", 0, name);
    DeleteFileA(name);
    CreateDirectoryA(name, nullptr);
    return name;
}

class SettingWindow : public ::testing::Test {
protected:
    SettingWindow() : m_folder(MakeTempFolder()), m_inFolder(m_folder.c_str()), m_host(false)
    {
        m_config.reset(new CConfig);
        g_config = m_config.get();
        WNDCLASSA wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = BaseWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
        wc.lpszClassName = "SettingWnd";
        RegisterClassA(&wc);  // fails harmlessly when already registered
    }
    ~SettingWindow() override
    {
        if (m_setting.m_hWnd) DestroyWindow(m_setting.m_hWnd);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        g_config = nullptr;
        m_config.reset();
        DeleteFileA((m_folder + "\\MossvanePad.ini").c_str());
    }

    // Creates the window hidden from the settings as they are now, as the
    // memo window does, then shows it as the settings button does. (Hiding a
    // shown window takes Wine a while, so loops over Done leave it hidden.)
    HWND Open(bool show = true)
    {
        m_setting.m_hWnd = CreateWindowExA(WS_EX_TOPMOST, "SettingWnd", nullptr, 0, 300, 200, kSettingWndWidth,
                                           kSettingWndHeight, nullptr, nullptr, GetModuleHandleA(nullptr),
                                           &m_setting);
        m_setting.m_hMainWnd = m_host.Window();
        if (show) ShowWindow(m_setting.m_hWnd, SW_SHOW);
        return m_setting.m_hWnd;
    }
    // The Done button is the twelfth control; the trackbar shares its id.
    HWND DoneButton() const
    {
        HWND child = GetWindow(m_setting.m_hWnd, GW_CHILD);
        for (int i = 0; i < 11 && child; ++i) child = GetWindow(child, GW_HWNDNEXT);
        return child;
    }
    void PressDone() { SendMessageA(DoneButton(), BM_CLICK, 0, 0); }
    void MoveTrackbarTo(int position)
    {
        SendMessageA(m_setting.m_hTransBar, TBM_SETPOS, TRUE, position);
        SendMessageA(m_setting.m_hWnd, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position),
                     reinterpret_cast<LPARAM>(m_setting.m_hTransBar));
    }
    int TrackbarPosition() const
    {
        return static_cast<int>(SendMessageA(m_setting.m_hTransBar, TBM_GETPOS, 0, 0));
    }
    bool IsChecked(HWND box) const { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    WORD HotKey() const { return LOWORD(SendMessageA(m_setting.m_hHotKey, HKM_GETHOTKEY, 0, 0)); }
    // What a user's keys leave in the hot-key control.
    void ChooseHotKey(BYTE vk, BYTE flags) { SendMessageA(m_setting.m_hHotKey, HKM_SETHOTKEY, MAKEWORD(vk, flags), 0); }
    // The rightmost column of the field, as painted, that is not the
    // window's background; the text's end.
    int InkRightEdge(HWND field) const
    {
        SetWindowPos(m_setting.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        InvalidateRect(field, nullptr, TRUE);
        UpdateWindow(field);
        RECT rc;
        GetClientRect(field, &rc);
        HDC screen = GetDC(field);
        HDC copy = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
        HGDIOBJ old = SelectObject(copy, bitmap);
        BitBlt(copy, 0, 0, rc.right, rc.bottom, screen, 0, 0, SRCCOPY);
        const COLORREF background = GetSysColor(COLOR_WINDOW);
        int edge = -1;
        for (int x = rc.right - 1; x >= 0 && edge < 0; --x) {
            for (int y = 0; y < rc.bottom && edge < 0; ++y) {
                if (!NearColour(background, GetPixel(copy, x, y))) edge = x;
            }
        }
        SelectObject(copy, old);
        DeleteObject(bitmap);
        DeleteDC(copy);
        ReleaseDC(field, screen);
        return edge;
    }
    // A key pressed in the window, as the message loop hands it over.
    void PressKey(BYTE vk)
    {
        MSG msg = {};
        msg.hwnd = GetFocus();
        msg.message = WM_KEYDOWN;
        msg.wParam = vk;
        msg.lParam = 1;
        if (!m_setting.HandleDialogKey(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    std::string m_folder;
    ScopedCurrentDirectory m_inFolder;
    std::unique_ptr<CConfig> m_config;
    ControlHost m_host;
    CSettingWnd m_setting;
};

TEST_F(SettingWindow, HasItsFourteenControlsInOrderWithOneFont)
{
    struct Expected {
        const char* className;
        const char* text;
        LONG style;
        bool clientEdge;
        RECT rect;
        int id;
    };
    const Expected expected[] = {
        {"Button", "表示場所固定", 0x50010003, false, {10, 10, 130, 30}, 5},
        {"Static", "ウィンドウの透明度", 0x50000000, false, {10, 83, 130, 103}, 0},
        {"msctls_trackbar32", "", 0x50010001, false, {10, 108, 170, 143}, 10},
        {"Static", "%", 0x50000000, false, {167, 84, 182, 104}, 0},
        {"Edit", "0", 0x50002802, true, {135, 82, 167, 106}, 2},
        {"Static", "ウィンドウの大きさ", 0x50000000, false, {10, 33, 130, 53}, 0},
        {"Static", "幅", 0x50000000, false, {27, 53, 45, 73}, 0},
        {"Edit", "400", 0x50012002, true, {45, 53, 85, 75}, 0},
        {"Static", "高さ", 0x50000000, false, {95, 53, 125, 73}, 0},
        {"Edit", "225", 0x50012002, true, {125, 53, 165, 75}, 0},
        {"Button", "スタートアップ", 0x50010003, false, {10, 202, 125, 222}, 7},
        {"Button", "完了", 0x50010001, false, {135, 199, 185, 224}, 10},
        {"Static", "ショートカット", 0x50000000, false, {10, 148, 130, 168}, 0},
        {"msctls_hotkey32", "", 0x50010000, true, {10, 170, 185, 194}, 11},
    };
    HWND hWnd = Open();
    HWND child = GetWindow(hWnd, GW_CHILD);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
    for (const Expected& e : expected) {
        SCOPED_TRACE(testing::Message() << "control " << (&e - expected) + 1);
        ASSERT_TRUE(child);
        char className[64] = "";
        GetClassNameA(child, className, sizeof(className));
        EXPECT_EQ(0, lstrcmpiA(e.className, className)) << className;
        EXPECT_EQ(e.text, TextOf(child));
        EXPECT_EQ(e.style, GetWindowLongA(child, GWL_STYLE) & ~WS_BORDER);
        EXPECT_EQ(e.clientEdge, (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0);
        RECT rc;
        GetWindowRect(child, &rc);
        MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_TRUE(EqualRect(&e.rect, &rc)) << rc.left << "," << rc.top << " " << rc.right << "," << rc.bottom;
        EXPECT_EQ(e.id, GetDlgCtrlID(child));
        if (lstrcmpiA(className, TRACKBAR_CLASSA) != 0) {  // a trackbar keeps no font
            EXPECT_EQ(font, reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)));
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(nullptr, child) << "more than fourteen controls";
    RECT client;
    GetClientRect(hWnd, &client);
    EXPECT_GE(client.bottom, 224) << "the Done button is inside";

    LOGFONTA lf = {};
    ASSERT_TRUE(GetObjectA(font, sizeof(lf), &lf));
    EXPECT_EQ(20, lf.lfHeight);
    EXPECT_STREQ("メイリオ", lf.lfFaceName);
    EXPECT_EQ(0, SendMessageA(m_setting.m_hTransBar, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(50, SendMessageA(m_setting.m_hTransBar, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(6, SendMessageA(m_setting.m_hTransBar, TBM_GETNUMTICS, 0, 0)) << "a tick every 10";
}

TEST_F(SettingWindow, ShowsTheStoredSettings)
{
    g_config->Width = 500;
    g_config->Height = 300;
    g_config->Alpha = 200;
    g_config->DefaultPosition = true;
    g_config->Startup = false;
    Open();
    EXPECT_EQ("500", TextOf(m_setting.m_hWidthEdit));
    EXPECT_EQ("300", TextOf(m_setting.m_hHeightEdit));
    EXPECT_EQ("22", TextOf(m_setting.m_hTransEdit));
    EXPECT_EQ(22, TrackbarPosition());
    EXPECT_TRUE(IsChecked(m_setting.m_hFixPos));
    EXPECT_FALSE(IsChecked(m_setting.m_hAutoStart));
}

TEST_F(SettingWindow, ATransparencyBeyondTheTrackbarStaysInTheEdit)
{
    g_config->Alpha = 126;
    g_config->Startup = true;
    Open();
    EXPECT_EQ("51", TextOf(m_setting.m_hTransEdit));
    EXPECT_EQ(50, TrackbarPosition());
    EXPECT_TRUE(IsChecked(m_setting.m_hAutoStart));
    EXPECT_FALSE(IsChecked(m_setting.m_hFixPos));
}

TEST_F(SettingWindow, TrackbarPositionsBecomeAlphaOnDone)
{
    struct Case {
        int position;
        int alpha;
    };
    const Case cases[] = {{0, 255}, {10, 229}, {20, 204}, {25, 191}, {30, 178}, {40, 153}, {50, 127}};
    Open(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position);
        MoveTrackbarTo(c.position);
        EXPECT_EQ(std::to_string(c.position), TextOf(m_setting.m_hTransEdit));
        PressDone();
        EXPECT_EQ(c.alpha, g_config->Alpha);
        ASSERT_FALSE(m_host.SettingDone().empty());
        EXPECT_EQ(c.alpha, m_host.SettingDone().back());
    }
}

TEST_F(SettingWindow, StoredAlphaIsShownAndDoneWithoutChangesStoresItAgain)
{
    struct Case {
        int alpha;
        const char* shown;
        int stored;
    };
    const Case cases[] = {{255, "0", 255},   {200, "22", 199},  {128, "50", 127},
                          {127, "50", 127},  {126, "51", 125},  {0, "100", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "alpha " << c.alpha);
        g_config->Alpha = c.alpha;
        HWND hWnd = Open(false);
        EXPECT_EQ(c.shown, TextOf(m_setting.m_hTransEdit));
        PressDone();
        EXPECT_EQ(c.stored, g_config->Alpha);
        DestroyWindow(hWnd);
    }
}

TEST_F(SettingWindow, DoneRaisesTheSizeToItsMinimumAndShowsIt)
{
    struct Case {
        const char* width;
        const char* height;
        int storedWidth;
        int storedHeight;
        const char* shownWidth;
        const char* shownHeight;
    };
    const Case cases[] = {
        {"399", "224", 400, 225, "400", "225"},
        {"400", "225", 400, 225, "400", "225"},
        {"1024", "768", 1024, 768, "1024", "768"},
        {"abc", "", 400, 225, "400", "225"},
        {"-5", "0", 400, 225, "400", "225"},
    };
    Open(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        SetWindowTextA(m_setting.m_hWidthEdit, c.width);
        SetWindowTextA(m_setting.m_hHeightEdit, c.height);
        PressDone();
        EXPECT_EQ(c.storedWidth, g_config->Width);
        EXPECT_EQ(c.storedHeight, g_config->Height);
        EXPECT_EQ(c.shownWidth, TextOf(m_setting.m_hWidthEdit));
        EXPECT_EQ(c.shownHeight, TextOf(m_setting.m_hHeightEdit));
    }
}

TEST_F(SettingWindow, DoneStoresEverythingThenTellsTheMainWindowAndHides)
{
    HWND hWnd = Open();
    SendMessageA(m_setting.m_hFixPos, BM_CLICK, 0, 0);
    SendMessageA(m_setting.m_hAutoStart, BM_CLICK, 0, 0);
    SetWindowTextA(m_setting.m_hWidthEdit, "640");
    MoveTrackbarTo(30);
    EXPECT_FALSE(g_config->DefaultPosition) << "stored before Done";
    EXPECT_TRUE(m_host.SettingDone().empty());

    PressDone();
    EXPECT_TRUE(g_config->DefaultPosition);
    EXPECT_TRUE(g_config->Startup);
    EXPECT_EQ(640, g_config->Width);
    EXPECT_EQ(178, g_config->Alpha);
    ASSERT_EQ(1u, m_host.SettingDone().size());
    EXPECT_EQ(178, m_host.SettingDone()[0]);
    EXPECT_FALSE(IsWindowVisible(hWnd));

    ShowWindow(hWnd, SW_SHOW);
    SendMessageA(m_setting.m_hFixPos, BM_CLICK, 0, 0);
    PressDone();
    EXPECT_FALSE(g_config->DefaultPosition);
    EXPECT_EQ("640", TextOf(m_setting.m_hWidthEdit)) << "the controls keep what was left in them";
}

TEST_F(SettingWindow, MovingTheTrackbarAloneChangesOnlyThePercentage)
{
    Open();
    SendMessageA(m_setting.m_hTransBar, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageA(m_setting.m_hTransBar, WM_KEYUP, VK_RIGHT, 0);
    EXPECT_EQ(1, TrackbarPosition());
    EXPECT_EQ("1", TextOf(m_setting.m_hTransEdit));
    EXPECT_EQ(255, g_config->Alpha);
    EXPECT_TRUE(m_host.SettingDone().empty());
}

TEST_F(SettingWindow, TheShortcutFieldShowsTheStoredShortcutAndDoneStoresTheChosenOne)
{
    HWND hWnd = Open();
    EXPECT_EQ(MAKEWORD('Z', HOTKEYF_ALT), HotKey()) << "Alt+Z at first";
    ChooseHotKey('M', HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    EXPECT_EQ(kDefaultShortcutKey, g_config->ShortcutKey) << "stored before Done";
    PressDone();
    EXPECT_EQ((ShortcutKey{'M', kShortcutCtrl | kShortcutShift}), g_config->ShortcutKey);
    EXPECT_EQ(1u, m_host.SettingDone().size());

    // The arrow keys come from the control as extended keys, and go back so.
    ChooseHotKey(VK_LEFT, HOTKEYF_ALT | HOTKEYF_EXT);
    PressDone();
    EXPECT_EQ((ShortcutKey{VK_LEFT, kShortcutAlt}), g_config->ShortcutKey);
    DestroyWindow(hWnd);
    Open();
    EXPECT_EQ(MAKEWORD(VK_LEFT, HOTKEYF_ALT | HOTKEYF_EXT), HotKey());

    // The control has no Windows key: left as it shows the stored shortcut,
    // the field shows and keeps that shortcut whole, and shows what is
    // pressed next.
    g_config->ShortcutKey = {'Q', kShortcutWin | kShortcutCtrl};
    DestroyWindow(m_setting.m_hWnd);
    Open();
    EXPECT_EQ(MAKEWORD('Q', HOTKEYF_CONTROL), HotKey());
    EXPECT_EQ("Ctrl+Win+Q", TextOf(m_setting.m_hHotKey));
    const int wholeInk = InkRightEdge(m_setting.m_hHotKey);
    PressDone();
    EXPECT_EQ((ShortcutKey{'Q', kShortcutWin | kShortcutCtrl}), g_config->ShortcutKey);
    ShowWindow(m_setting.m_hWnd, SW_SHOW);
    ChooseHotKey('Q', HOTKEYF_ALT);
    EXPECT_EQ("", TextOf(m_setting.m_hHotKey));
    EXPECT_LT(InkRightEdge(m_setting.m_hHotKey), wholeInk) << "Alt + Q is shorter than Ctrl+Win+Q";
}

TEST_F(SettingWindow, AShortcutThatWouldFireOnTypingIsRefusedWithAMessageAndClosingKeepsTheOldOne)
{
    struct Case {
        const char* what;
        BYTE vk;
        BYTE flags;
    };
    const Case cases[] = {
        {"a letter alone", 'Q', 0},
        {"Shift and a letter", 'Q', HOTKEYF_SHIFT},
        {"a function key alone", VK_F5, 0},
        {"modifiers alone", 0, HOTKEYF_CONTROL | HOTKEYF_ALT},
    };
    HWND hWnd = Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetWindowTextA(m_setting.m_hWidthEdit, "640");
        ChooseHotKey(c.vk, c.flags);
        MessageBoxWatcher watcher;
        PressDone();
        const std::vector<std::string> captions = watcher.Stop();
        ASSERT_EQ(1u, captions.size());
        EXPECT_EQ("ショートカット", captions[0]);
        EXPECT_TRUE(watcher.FlagWasSetWhileUp());
        EXPECT_EQ(kDefaultShortcutKey, g_config->ShortcutKey);
        EXPECT_EQ(400, g_config->Width) << "nothing is stored";
        EXPECT_TRUE(m_host.SettingDone().empty());
        EXPECT_TRUE(IsWindowVisible(hWnd)) << "the window stays for a better choice";
    }

    SendMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(MAKEWORD('Z', HOTKEYF_ALT), HotKey()) << "the field shows the stored shortcut again";
    EXPECT_EQ(kDefaultShortcutKey, g_config->ShortcutKey);
    EXPECT_FALSE(IsWindowVisible(hWnd));
}

// Keys that others act on are refused; a risk the user may take is asked
// about, and No keeps the window open. A key another program holds as its
// hot key is found by trying it, and the trial is not kept.
TEST_F(SettingWindow, ShortcutsThatBreakTypingAreRefusedOrWarnedAboutEachWithItsMessage)
{
    struct Case {
        const char* what;
        BYTE vk;
        BYTE flags;
        WPARAM answer;
        const char* message;
        ShortcutKey stored;
    };
    const ShortcutKey old = kDefaultShortcutKey;
    const BYTE ctrl = HOTKEYF_CONTROL, alt = HOTKEYF_ALT, shift = HOTKEYF_SHIFT;
    const Case cases[] = {
        {"Ctrl+A", 'A', ctrl, IDOK, "Ctrl+A は、ほかのプログラムで", old},
        {"Ctrl+V", 'V', ctrl, IDOK, "Ctrl+V は、ほかのプログラムで", old},
        {"Ctrl+P", 'P', ctrl, IDOK, "Ctrl+P は、ほかのプログラムで", old},
        {"Alt+F4", VK_F4, alt, IDOK, "Alt+F4 は Windows が自分で使う", old},
        {"Alt+Tab", VK_TAB, alt, IDOK, "Alt+Tab は Windows が自分で使う", old},
        {"Ctrl+Esc", VK_ESCAPE, ctrl, IDOK, "Ctrl+Esc は Windows が自分で使う", old},
        {"Ctrl+Alt+Del", VK_DELETE, ctrl | alt | HOTKEYF_EXT, IDOK, "Ctrl+Alt+Delete は Windows が自分で使う", old},
        {"Ctrl+Alt+Q, No", 'Q', ctrl | alt, IDNO, "一部のキーボードでは文字を入力する", old},
        {"Ctrl+Alt+Q, Yes", 'Q', ctrl | alt, IDYES, "一部のキーボードでは文字を入力する",
         {'Q', kShortcutCtrl | kShortcutAlt}},
        {"held by another, No", 'J', ctrl | shift, IDNO, "すでにショートカットとして使っています", old},
        {"held by another, Yes", 'J', ctrl | shift, IDYES, "すでにショートカットとして使っています",
         {'J', kShortcutCtrl | kShortcutShift}},
    };
    ASSERT_TRUE(RegisterHotKey(m_host.Window(), 7, MOD_CONTROL | MOD_SHIFT, 'J')) << GetLastError();
    HWND hWnd = Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_config->ShortcutKey = old;
        ShowWindow(hWnd, SW_SHOW);
        ChooseHotKey(c.vk, c.flags);
        MessageBoxWatcher watcher(c.answer);
        PressDone();
        const std::vector<std::string> captions = watcher.Stop();
        ASSERT_EQ(1u, captions.size());
        EXPECT_EQ("ショートカット", captions[0]);
        EXPECT_NE(std::string::npos, watcher.Texts()[0].find(c.message)) << watcher.Texts()[0];
        EXPECT_EQ(c.stored, g_config->ShortcutKey);
        EXPECT_EQ(c.stored != old, !IsWindowVisible(hWnd)) << "a refusal or No keeps the window open";
    }
    EXPECT_FALSE(RegisterHotKey(m_host.Window(), 8, MOD_CONTROL | MOD_SHIFT, 'J')) << "still the other's";
    UnregisterHotKey(m_host.Window(), 7);

    // A free key passes without a word, and is not kept registered.
    ShowWindow(hWnd, SW_SHOW);
    ChooseHotKey('M', ctrl | shift);
    MessageBoxWatcher watcher;
    PressDone();
    EXPECT_TRUE(watcher.Stop().empty());
    EXPECT_EQ((ShortcutKey{'M', kShortcutCtrl | kShortcutShift}), g_config->ShortcutKey);
    EXPECT_TRUE(RegisterHotKey(m_host.Window(), 9, MOD_CONTROL | MOD_SHIFT, 'M')) << "the trial was released";
    UnregisterHotKey(m_host.Window(), 9);
}

// From the keyboard alone: the window opens with its first control
// focused and the focus shown; Tab and Shift+Tab go in reading order,
// Enter is Done and Esc cancels.
TEST_F(SettingWindow, TabGoesInReadingOrderEnterIsDoneAndEscCancels)
{
    HWND hWnd = Open();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == m_setting.m_hFixPos; })) << GetFocus();
    EXPECT_FALSE(SendMessageA(m_setting.m_hFixPos, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    const HWND order[] = {m_setting.m_hWidthEdit, m_setting.m_hHeightEdit, m_setting.m_hTransBar,
                          m_setting.m_hHotKey,    m_setting.m_hAutoStart,  DoneButton(),
                          m_setting.m_hFixPos};
    for (HWND expected : order) {
        PressKey(VK_TAB);
        EXPECT_EQ(expected, GetFocus()) << "after " << (&expected - order) << " tabs";
    }
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    PressKey(VK_TAB);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(DoneButton(), GetFocus()) << "Shift+Tab goes back";

    SetFocus(m_setting.m_hTransBar);
    PressKey(VK_RIGHT);
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(hWnd));
    EXPECT_EQ(255, g_config->Alpha) << "Esc cancels";
    EXPECT_EQ(0, TrackbarPosition());
    ASSERT_EQ(1u, m_host.SettingDone().size()) << "the memo window stops waiting";

    ShowWindow(hWnd, SW_SHOW);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == m_setting.m_hFixPos; })) << "the first control again";
    SetFocus(m_setting.m_hTransBar);
    PressKey(VK_RIGHT);
    PressKey(VK_RETURN);
    EXPECT_FALSE(IsWindowVisible(hWnd));
    EXPECT_EQ(252, g_config->Alpha) << "Enter is Done";
}

TEST_F(SettingWindow, RefusesDeactivationOnlyWhileShown)
{
    HWND hWnd = Open();
    EXPECT_EQ(0, SendMessageA(hWnd, WM_NCACTIVATE, FALSE, 0));
    PressDone();
    EXPECT_NE(0, SendMessageA(hWnd, WM_NCACTIVATE, FALSE, 0));
}

// Dragged onto a monitor of another scaling (Wine sends no WM_DPICHANGED:
// the test does), the window takes the suggested rectangle, and every
// control its place and the font for the new DPI.
TEST_F(SettingWindow, DpiChangeTakesTheSuggestedRectangleAndScalesEveryControl)
{
    HWND hWnd = Open();
    RECT suggested = {100, 80, 400, 388};
    EXPECT_EQ(0, SendMessageA(hWnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested)));
    RECT window;
    GetWindowRect(hWnd, &window);
    EXPECT_TRUE(EqualRect(&suggested, &window));

    const RECT fixPos = {15, 15, 195, 45};  // 10, 10, 130, 30 at 96 DPI
    const RECT done = {203, 299, 278, 336};  // 135, 199, 185, 224: halves round away from zero
    RECT got = RectIn(hWnd, m_setting.m_hFixPos);
    EXPECT_TRUE(EqualRect(&fixPos, &got)) << got.left << "," << got.top << " " << got.right << "," << got.bottom;
    got = RectIn(hWnd, DoneButton());
    EXPECT_TRUE(EqualRect(&done, &got)) << got.left << "," << got.top << " " << got.right << "," << got.bottom;
    for (HWND child = GetWindow(hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = "";
        GetClassNameA(child, className, sizeof(className));
        if (lstrcmpiA(className, TRACKBAR_CLASSA) == 0) continue;  // a trackbar keeps no font
        EXPECT_EQ(30, FontHeightOf(child)) << className;
    }

    RECT other = {0, 0, 50, 50};
    SendMessageA(hWnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&other));
    GetWindowRect(hWnd, &window);
    EXPECT_TRUE(EqualRect(&suggested, &window)) << "the DPI the window has changes nothing";
}
}  // namespace
