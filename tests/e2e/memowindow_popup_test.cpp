// When the memo window hides, when it stays, how it pops up again, and how
// every way out of the program keeps the memo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/harness.h"

#include <shellapi.h>

namespace {
const int kCopyMemo = 2;
const int kSetting = 4;
const int kPin = 204;
const UINT kTrayNotify = 0x800A;
const int kTrayIconId = 1001;

using Files = std::vector<std::string>;

// The window is still shown a good while after it lost the activation.
bool StaysShown(const MemoApp& app)
{
    return !WaitUntil([&] { return !IsWindowVisible(app.Window()); }, 1500);
}

bool IsTopMost(HWND hWnd)
{
    return (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

LRESULT SendWithin(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(hWnd, msg, wParam, lParam, SMTO_NORMAL, 15000, &result);
    return static_cast<LRESULT>(result);
}

TEST(MemoPopup, LosingTheActivationHidesAndSavesUnlessPinned)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.ClickCheckBox(kPin));
    ASSERT_TRUE(app.IsChecked(kPin));
    EXPECT_TRUE(IsTopMost(app.Window())) << "pinning makes the window top-most";
    app.TypeText("pinned\r\ntext");
    ASSERT_TRUE(app.FocusChild(200));
    ActivateOtherWindow();
    EXPECT_TRUE(StaysShown(app)) << "a pinned window stays";
    EXPECT_EQ(Files{}, app.StoredMemoFiles()) << "and does not save on losing the activation";

    ASSERT_TRUE(app.ClickCheckBox(kPin));
    ASSERT_FALSE(app.IsChecked(kPin));
    EXPECT_TRUE(IsTopMost(app.Window())) << "unpinning leaves it top-most";
    ASSERT_TRUE(app.FocusChild(200));
    ActivateOtherWindow();
    ASSERT_TRUE(app.WaitHidden()) << "unpinned, it hides";
    EXPECT_EQ("pinned\r\ntext", app.Memo("pinned"));
    RECT hiddenAt = app.WindowRect();
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ(std::to_string(hiddenAt.left), app.Ini("Window", "X"));
    EXPECT_EQ(std::to_string(hiddenAt.top), app.Ini("Window", "Y"));
}

TEST(MemoPopup, OpenSettingsKeepTheWindowUp)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(TopLevelWindowsOf(app.ProcessId(), "SettingWnd").empty()) << "made when first opened";

    SetWindowPos(app.Window(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(app.Command(kSetting));
    std::vector<HWND> settings = TopLevelWindowsOf(app.ProcessId(), "SettingWnd");
    ASSERT_EQ(1u, settings.size());
    HWND setting = settings.front();
    EXPECT_TRUE(IsWindowVisible(setting));
    EXPECT_TRUE(GetWindowLongA(setting, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT main = app.WindowRect();
    RECT rc;
    GetWindowRect(setting, &rc);
    EXPECT_EQ(200, rc.right - rc.left);
    EXPECT_EQ(259, rc.bottom - rc.top);
    EXPECT_EQ(main.left + (main.right - main.left - 200) / 2, rc.left) << "centred on the memo window";
    EXPECT_EQ(main.top + (main.bottom - main.top - 259) / 2, rc.top);

    app.TypeText("while the settings are open");
    ActivateOtherWindow();
    EXPECT_TRUE(StaysShown(app));
    EXPECT_EQ(Files{}, app.StoredMemoFiles());
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ((Files{"while the settings a.txt"}), app.MemoFiles()) << "ending from the tray saved the shown memo";
}

TEST(MemoPopup, AMessageBoxOfTheProgramKeepsTheWindowUp)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    app.TypeText("box");
    HWND box = nullptr;
    {
        ClipboardLock lock;
        ASSERT_TRUE(lock.ok());
        PostMessageA(app.Window(), WM_COMMAND, MAKEWPARAM(kCopyMemo, BN_CLICKED),
                     reinterpret_cast<LPARAM>(app.Child(kCopyMemo)));
        box = app.WaitForMessageBox();
        ASSERT_NE(nullptr, box) << "the copy could not open the clipboard";
    }
    EXPECT_EQ("クリップボードを開くのに失敗しました", MemoApp::WindowText(box));
    ActivateOtherWindow();
    EXPECT_TRUE(StaysShown(app));
    MemoApp::DismissMessageBox(box);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_EQ(Files{}, app.StoredMemoFiles());
    ASSERT_EQ(0u, app.EndFromTray());
}

TEST(MemoPopup, SecondStartPopsTheHiddenWindowUpAtTheCursorWithTheEditorFocused)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    app.TypeText("pop\r\nup");
    ASSERT_TRUE(app.FocusChild(200));
    ActivateOtherWindow();
    ASSERT_TRUE(app.WaitHidden());

    ASSERT_TRUE(MoveCursorTo(700, 450));
    ASSERT_EQ(0u, app.StartAndWait());
    ASSERT_TRUE(app.WaitShown());
    RECT rc = app.WindowRect();
    EXPECT_EQ(700 - (rc.right - rc.left) / 2, rc.left) << "centred on the cursor";
    EXPECT_EQ(450 - (rc.bottom - rc.top) / 2, rc.top);
    EXPECT_TRUE(IsTopMost(app.Window()));
    EXPECT_TRUE(WaitUntil([&] { return app.FocusWindow() == app.Editor(); }))
        << "the synthesised click gives the editor the focus";
    EXPECT_EQ(app.Window(), GetForegroundWindow());
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(700, cursor.x) << "the cursor is put back";
    EXPECT_EQ(450, cursor.y);
    EXPECT_EQ("pop\r\nup", app.EditorText());

    ASSERT_TRUE(MoveCursorTo(200, 200));
    ASSERT_EQ(0u, app.StartAndWait());
    RECT again = app.WindowRect();
    EXPECT_EQ(rc.left, again.left) << "a shown window does not move";
    EXPECT_EQ(rc.top, again.top);
    ASSERT_EQ(0u, app.EndFromTray());
}

TEST(MemoPopup, FixedPositionPopsUpWhereTheWindowLastHid)
{
    MemoApp app;
    app.WriteFile("MossvanePad.ini", "[Setting]\r\nDefaultPosition=1\r\n[Window]\r\nX=100\r\nY=120\r\n");
    ASSERT_TRUE(app.Start());
    SetWindowPos(app.Window(), nullptr, 333, 222, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(app.FocusChild(200));
    ActivateOtherWindow();
    ASSERT_TRUE(app.WaitHidden());

    ASSERT_TRUE(MoveCursorTo(900, 700));
    ASSERT_EQ(0u, app.StartAndWait());
    ASSERT_TRUE(app.WaitShown());
    EXPECT_EQ(333, app.WindowRect().left);
    EXPECT_EQ(222, app.WindowRect().top);
    ASSERT_EQ(0u, app.EndFromTray());
}

// A top-most window of the test in the screen's lower right corner, where a
// cursor sent past the screen's edge ends up; it counts the clicks it gets.
class CornerWindow {
public:
    CornerWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "MossvaneCornerTest";
        RegisterClassA(&wc);
        int width = GetSystemMetrics(SM_CXSCREEN);
        int height = GetSystemMetrics(SM_CYSCREEN);
        m_hWnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE,
                                 width - 150, height - 150, 150, 150, nullptr, nullptr, wc.hInstance, nullptr);
        s_clicks = 0;
    }
    ~CornerWindow() { DestroyWindow(m_hWnd); }
    int Clicks() const { return s_clicks; }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_LBUTTONDOWN) ++s_clicks;
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    }
    static int s_clicks;
    HWND m_hWnd;
};
int CornerWindow::s_clicks = 0;

bool IsOnScreen(const RECT& rc)
{
    return rc.left >= 0 && rc.top >= 0 && rc.right <= GetSystemMetrics(SM_CXSCREEN) &&
           rc.bottom <= GetSystemMetrics(SM_CYSCREEN);
}

TEST(MemoPopup, FixedPositionOffEveryMonitorPopsUpAtTheCursorAndIsKept)
{
    MemoApp app;
    app.WriteFile("MossvanePad.ini", "[Setting]\r\nDefaultPosition=1\r\n[Window]\r\nX=5000\r\nY=4000\r\n");
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(IsOnScreen(app.WindowRect()));
    app.TypeText("seen\r\nagain");
    ActivateOtherWindow();
    ASSERT_TRUE(app.WaitHidden());

    CornerWindow corner;
    ASSERT_TRUE(MoveCursorTo(400, 300));
    ASSERT_TRUE(app.PopUpByRequest()) << "the editor has the focus";
    RECT rc = app.WindowRect();
    EXPECT_TRUE(IsOnScreen(rc));
    EXPECT_LT(rc.left, 400);
    EXPECT_GT(rc.right, 400);
    EXPECT_EQ(0, corner.Clicks()) << "no click landed beside the window";
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("5000", app.Ini("Window", "X")) << "kept until the window is moved";
    EXPECT_EQ("4000", app.Ini("Window", "Y"));
}

TEST(MemoPopup, OnlyALeftPressOnTheTrayIconEndsTheProgramAndThePinnedMemoIsSaved)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.ClickCheckBox(kPin));
    app.TypeText("tray\r\nend");
    for (UINT mouse : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEMOVE, WM_MBUTTONDOWN}) {
        SCOPED_TRACE(mouse);
        EXPECT_EQ(0, SendWithin(app.Window(), kTrayNotify, kTrayIconId, mouse));
        EXPECT_TRUE(app.IsRunning());
        EXPECT_TRUE(IsWindowVisible(app.Window()));
    }
    EXPECT_EQ(Files{}, app.MemoFiles());
    RECT rc = app.WindowRect();
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("tray\r\nend", app.Memo("tray"));
    EXPECT_EQ("tray", app.Ini("ReadFile", "PrevFile"));
    EXPECT_EQ(std::to_string(rc.left), app.Ini("Window", "X"));
    EXPECT_EQ(std::to_string(rc.top), app.Ini("Window", "Y"));
}

// The shell changes only an icon that it holds.
bool ShellHoldsTrayIcon(const MemoApp& app)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof(data);
    data.hWnd = app.Window();
    data.uID = kTrayIconId;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

TEST(MemoPopup, TrayIconIsAddedAgainWhenTheTaskbarRestarts)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(WaitUntil([&] { return ShellHoldsTrayIcon(app); }));
    // A taskbar that restarts has lost every icon, then tells every window.
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof(data);
    data.hWnd = app.Window();
    data.uID = kTrayIconId;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    ASSERT_FALSE(ShellHoldsTrayIcon(app));
    SendWithin(app.Window(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return ShellHoldsTrayIcon(app); }));
    ASSERT_EQ(0u, app.EndFromTray());
}

TEST(MemoPopup, AltF4SavesThePinnedMemoBeforeTheProgramEnds)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    // Pinned, the window does not save on losing the activation as it goes.
    ASSERT_TRUE(app.ClickCheckBox(kPin));
    app.TypeText("closed\r\nwith Alt+F4");
    PostMessageA(app.Window(), WM_CLOSE, 0, 0);
    ASSERT_EQ(0u, app.WaitForExit(30000));
    EXPECT_EQ("closed\r\nwith Alt+F4", app.Memo("closed"));
    EXPECT_EQ("closed", app.Ini("ReadFile", "PrevFile"));
}

TEST(MemoPopup, EndingSessionSavesTheMemoAndTheSettings)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    app.TypeText("session\r\nend");
    EXPECT_EQ(TRUE, SendWithin(app.Window(), WM_QUERYENDSESSION, 0, 0)) << "the program lets Windows end";
    EXPECT_EQ("session\r\nend", app.Memo("session"));
    SendWithin(app.Window(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ("session", app.Ini("ReadFile", "PrevFile")) << "written before Windows ends the process";
    EXPECT_NE("<absent>", app.Ini("Window", "X"));
    ASSERT_EQ(0u, app.EndFromTray());
}
}  // namespace
