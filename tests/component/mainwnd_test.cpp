// CMainWnd against the real controls: what the settings result does to the
// layout, the button bar's two operations, and boxes within boxes.
#include "mainwnd/mainwnd.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/curdir.h"
#include "app/dpi.h"
#include "app/gdiplussession.h"
#include "app/globals.h"
#include "app/messages.h"
#include "app/msgbox.h"
#include "controls/buttonwnd.h"
#include "controls/settingwnd.h"
#include "memo/notepadwnd.h"
#include "tests/component/notepad_fixture.h"
#include "tests/e2e/region_probe.h"

namespace {
const char kTestClass[] = "MainWndTest";

class MainWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_inFolder = std::make_unique<ScopedCurrentDirectory>(m_folder.path().c_str());
        ASSERT_TRUE(m_inFolder->ok());
        m_main = std::make_unique<CMainWnd>();
        ASSERT_TRUE(m_main->IsValid());
        const HINSTANCE hInstance = GetModuleHandleA(nullptr);
        // Each test's window has its own class, as the program's has, with
        // the icons of that window.
        ASSERT_TRUE(m_main->RegisterWindowClass(hInstance, kTestClass));
        RECT outer = OuterWindowRect(g_config->Width, g_config->Height, 96);
        m_hWnd = CreateWindowExA(WS_EX_LAYERED, kTestClass, "MainWndTest", WS_VISIBLE | WS_CLIPCHILDREN, 100, 100,
                                 outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, hInstance,
                                 m_main.get());
        ASSERT_NE(nullptr, m_hWnd);
        m_main->m_rcWindow = outer;
    }

    void TearDown() override
    {
        if (m_main) DestroyWindow(m_main->m_pSetting->m_hWnd);
        if (m_hWnd) DestroyWindow(m_hWnd);
        // The destroyed windows post WM_QUIT; it must not reach the next test.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        UnregisterClassA(kTestClass, GetModuleHandleA(nullptr));
        m_main.reset();
        m_inFolder.reset();
    }

    HWND Button(int i) const { return m_main->m_pButtons[i].m_hWnd; }

    RECT ChildRect(HWND child) const
    {
        RECT rc;
        GetWindowRect(child, &rc);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }

    TempMemoFolder m_folder;
    std::unique_ptr<ScopedCurrentDirectory> m_inFolder;
    std::unique_ptr<CMainWnd> m_main;
    HWND m_hWnd = nullptr;
};

void ExpectAt(const RECT& rc, int x, int y, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(x, rc.left);
    EXPECT_EQ(y, rc.top);
}

bool IsAbove(HWND above, HWND below)
{
    for (HWND next = GetWindow(above, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT)) {
        if (next == below) return true;
    }
    return false;
}

TEST_F(MainWndTest, SettingsResultResizesTheWindowMovesTheChildrenAndKeepsTheBarAboveTheText)
{
    const RECT startRect = m_main->m_rcWindow;
    g_config->Width = 640;
    g_config->Height = 480;
    m_main->ShowSettingWnd();
    ASSERT_NE(nullptr, m_main->m_pSetting->m_hWnd) << "made when first opened";
    ShowWindow(m_main->m_pSetting->m_hWnd, SW_HIDE);  // as its Done button does
    EXPECT_EQ(0, SendMessageA(m_hWnd, WM_SETTINGDONE, 0, 0x180));

    EXPECT_FALSE(m_main->m_bSettingOpen);
    RECT client;
    GetClientRect(m_hWnd, &client);
    EXPECT_EQ(640, client.right);
    EXPECT_EQ(480, client.bottom);
    RECT edit = ChildRect(m_main->m_pNotepad->m_hWnd);
    ExpectAt(edit, 0, 0, "editor");
    EXPECT_EQ(640, edit.right);
    EXPECT_EQ(455, edit.bottom);
    const int buttonX[4] = {84, 218, 352, 486};
    for (int i = 0; i < 4; ++i) {
        RECT rc = ChildRect(Button(i));
        ExpectAt(rc, buttonX[i], 395, "button");
        EXPECT_EQ(50, rc.right - rc.left) << "buttons keep their size";
        EXPECT_TRUE(IsAbove(Button(i), m_main->m_pNotepad->m_hWnd)) << "button " << i;
    }
    ExpectAt(ChildRect(GetDlgItem(m_hWnd, IDC_FILELIST)), 0, 455, "list");
    ExpectAt(ChildRect(m_main->m_hStartup), 220, 455, "Startup box");
    ExpectAt(ChildRect(m_main->m_hShortcut), 295, 455, "Shortcut box");
    ExpectAt(ChildRect(GetDlgItem(m_hWnd, IDC_PIN)), 620, 460, "pin");

    BYTE alpha = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(m_hWnd, nullptr, &alpha, nullptr));
    EXPECT_EQ(0x80, alpha) << "the low byte of the new opacity";

    RECT main, setting;
    GetWindowRect(m_hWnd, &main);
    GetWindowRect(m_main->m_pSetting->m_hWnd, &setting);
    EXPECT_EQ(main.left + (main.right - main.left - 200) / 2, setting.left) << "re-centred on the new size";
    EXPECT_EQ(main.top + (main.bottom - main.top - 259) / 2, setting.top);
    EXPECT_FALSE(IsWindowVisible(m_main->m_pSetting->m_hWnd)) << "and still hidden";
    EXPECT_TRUE(EqualRect(&startRect, &m_main->m_rcWindow)) << "the pop-up keeps the start-up size";

    ShowWindow(m_hWnd, SW_HIDE);
    SendMessageA(m_hWnd, WM_SHOWMEMO, 0, SHOWMEMO_FORCE);
    GetClientRect(m_hWnd, &client);
    EXPECT_EQ(640, client.right) << "popped up at the size the settings gave it";
    EXPECT_EQ(480, client.bottom);
}

TEST_F(MainWndTest, StartupBoxRefusesANameTooLongForAMemo)
{
    SendMessageA(m_main->m_hStartup, BM_SETCHECK, BST_CHECKED, 0);
    g_bStartupLink = TRUE;
    const std::string longName(511, 'n');
    m_main->SyncStartupLink(longName.c_str());
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(m_main->m_hStartup, BM_GETCHECK, 0, 0));
    EXPECT_FALSE(g_bStartupLink);
}

TEST_F(MainWndTest, ButtonBarChangesAsAWholeOnlyForShowOrHide)
{
    m_main->ShowButtons(SW_HIDE);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(IsWindowVisible(Button(i))) << i;
    m_main->ShowButtons(SW_SHOWNA);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(IsWindowVisible(Button(i))) << "another command changes nothing";
    m_main->ShowButtons(SW_SHOW);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(IsWindowVisible(Button(i))) << i;

    // The bar hidden while the memo window itself is hidden stays hidden.
    ShowWindow(m_hWnd, SW_HIDE);
    m_main->ShowButtons(SW_HIDE);
    ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(IsWindowVisible(Button(i))) << i;
}

TEST_F(MainWndTest, CursorCountsAsOnAButtonOnlyOverOne)
{
    SetWindowPos(m_hWnd, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
    RECT first, second;
    GetWindowRect(Button(0), &first);
    GetWindowRect(Button(1), &second);
    SetCursorPos((first.left + first.right) / 2, (first.top + first.bottom) / 2);
    EXPECT_EQ(1, m_main->IsCursorOnButton());
    SetCursorPos((first.right + second.left) / 2, (first.top + first.bottom) / 2);
    EXPECT_EQ(-1, m_main->IsCursorOnButton()) << "the editor between two buttons";
    SetCursorPos(first.left, first.top - 30);
    EXPECT_EQ(-1, m_main->IsCursorOnButton()) << "the editor above the bar";
}

LONG FontHeight(HWND hWnd)
{
    LOGFONTA font = {};
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0));
    if (!hFont || !GetObjectA(hFont, sizeof(font), &font)) return 0;
    return font.lfHeight;
}

struct TooltipSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindTooltip(HWND hWnd, LPARAM data)
{
    auto* search = reinterpret_cast<TooltipSearch*>(data);
    char name[32] = "";
    GetClassNameA(hWnd, name, sizeof(name));
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0 && GetWindow(hWnd, GW_OWNER) == search->owner) search->found = hWnd;
    return search->found ? FALSE : TRUE;
}

// The tooltip the window owns, made once its message loop runs.
HWND TooltipOf(HWND owner)
{
    TooltipSearch search = {owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindTooltip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The side of the icon the window shows in the given size (ICON_BIG,
// ICON_SMALL): its own, else its class's, as the taskbar and Alt+Tab take it.
int IconSide(HWND hWnd, WPARAM kind)
{
    HICON icon = reinterpret_cast<HICON>(SendMessageA(hWnd, WM_GETICON, kind, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(hWnd, kind == ICON_BIG ? GCLP_HICON : GCLP_HICONSM));
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

void PaintNow(HWND hWnd)
{
    RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// The taskbar and Alt+Tab show the window's icons from its making on.
TEST_F(MainWndTest, CarriesItsIconsFromItsMaking)
{
    EXPECT_EQ(SystemMetricForDpi(SM_CXICON, 96), IconSide(m_hWnd, ICON_BIG));
    EXPECT_EQ(SystemMetricForDpi(SM_CXSMICON, 96), IconSide(m_hWnd, ICON_SMALL));
}

// Windows sends the new DPI and the rectangle it suggests when the window
// moves to a monitor of another scaling (Wine sends none: the test does).
TEST_F(MainWndTest, DpiChangeTakesTheSuggestedRectangleAndRemakesFontsChildrenAndRegions)
{
    GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.ok());
    PaintNow(m_hWnd);
    const long area96 = RegionArea(Button(0));
    ASSERT_GT(area96, 0);
    EXPECT_EQ(21, FontHeight(m_main->m_pNotepad->m_hWnd));
    SendMessageA(m_hWnd, WM_STARTED, 0, 0);
    const HWND tip = TooltipOf(m_hWnd);
    ASSERT_NE(nullptr, tip);
    const LONG tip96 = FontHeight(tip);
    EXPECT_NE(0, tip96);

    RECT suggested = {50, 60, 50 + 612, 60 + 357};
    EXPECT_EQ(0, SendMessageA(m_hWnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested)));
    RECT window;
    GetWindowRect(m_hWnd, &window);
    EXPECT_TRUE(EqualRect(&suggested, &window)) << "the window takes the suggested rectangle";
    EXPECT_EQ(144, m_main->m_nDpi);

    RECT edit = ChildRect(m_main->m_pNotepad->m_hWnd);
    EXPECT_EQ(600, edit.right);
    EXPECT_EQ(300, edit.bottom);
    RECT button = ChildRect(Button(0));
    ExpectAt(button, 54, 210, "first button");
    EXPECT_EQ(75, button.right - button.left);
    EXPECT_EQ(75, button.bottom - button.top);
    RECT pin = ChildRect(GetDlgItem(m_hWnd, IDC_PIN));
    ExpectAt(pin, 570, 308, "pin");
    EXPECT_EQ(594, pin.right);
    ExpectAt(ChildRect(m_main->m_hShortcut), 443, 300, "Shortcut box");
    EXPECT_EQ(32, FontHeight(m_main->m_pNotepad->m_hWnd)) << "the editor's font";
    EXPECT_EQ(32, FontHeight(GetDlgItem(m_hWnd, IDC_FILELIST))) << "the list's font";
    EXPECT_EQ(MulDiv(g_nFontHeight, 144, 96), FontHeight(m_main->m_hShortcut)) << "the boxes' font";
    EXPECT_EQ(MulDiv(tip96, 144, 96), FontHeight(tip)) << "the tooltip's font";
    EXPECT_EQ(SystemMetricForDpi(SM_CXICON, 144), IconSide(m_hWnd, ICON_BIG)) << "the icons by the metrics";
    EXPECT_EQ(SystemMetricForDpi(SM_CXSMICON, 144), IconSide(m_hWnd, ICON_SMALL));

    PaintNow(m_hWnd);
    const long area144 = RegionArea(Button(0));
    EXPECT_NEAR(area96 * 2.25, area144, area96 * 2.25 * 0.08) << "the region is cut at the size shown";

    RECT other = {0, 0, 300, 300};
    SendMessageA(m_hWnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&other));
    GetWindowRect(m_hWnd, &window);
    EXPECT_TRUE(EqualRect(&suggested, &window)) << "the DPI the window has changes nothing";
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

// A pop-up onto a monitor of another DPI: the hidden window is made for
// that DPI, sized and laid out, before it shows; the placement takes that size.
TEST_F(MainWndTest, HiddenWindowTakesTheDpiOfWhereItWillShowBeforeItShows)
{
    ShowWindow(m_hWnd, SW_HIDE);
    m_main->TakeDpi(120);
    EXPECT_FALSE(IsWindowVisible(m_hWnd));
    const RECT expected = OuterWindowRect(400, 225, 120);
    EXPECT_TRUE(EqualRect(&expected, &m_main->m_rcWindow)) << "the placement's size";
    RECT window;
    GetWindowRect(m_hWnd, &window);
    EXPECT_EQ(expected.right - expected.left, window.right - window.left);
    EXPECT_EQ(expected.bottom - expected.top, window.bottom - window.top);
    // The frame is the test monitor's: only the outer size and the children
    // are the program's to make.
    EXPECT_EQ(500, ChildRect(m_main->m_pNotepad->m_hWnd).right);
    EXPECT_EQ(250, ChildRect(m_main->m_pNotepad->m_hWnd).bottom);
    EXPECT_EQ(63, ChildRect(Button(0)).right - ChildRect(Button(0)).left);

    m_main->TakeDpi(120);
    RECT again;
    GetWindowRect(m_hWnd, &again);
    EXPECT_TRUE(EqualRect(&window, &again)) << "the DPI the window has changes nothing";
}
// A box raised while another is up (the inner one answered from a timer of
// the outer one's message loop), then, with the outer one still up, the
// activation lost and New: the memo window stays, and nothing is saved.
struct NestedBoxes {
    static NestedBoxes* s_self;
    HWND main = nullptr;
    HWND editor = nullptr;
    bool visibleBehindOuter = false;
    std::string editorBehindOuter;

    static void Answer(const char* caption)
    {
        PostMessageA(FindWindowA("#32770", caption), WM_COMMAND, IDOK, 0);
    }
    static void CALLBACK AnswerInner(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        Answer("Inner");
    }
    static void CALLBACK RaiseInner(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        SetTimer(nullptr, 0, 50, AnswerInner);
        ShowMessageBox("inner", "Inner");
        NestedBoxes& self = *s_self;
        SendMessageA(self.main, WM_ACTIVATE, WA_INACTIVE, 0);
        SendMessageA(self.main, WM_COMMAND, MAKEWPARAM(IDC_NEWMEMO, BN_CLICKED), 0);
        self.visibleBehindOuter = IsWindowVisible(self.main) != FALSE;
        char text[64] = "";
        GetWindowTextA(self.editor, text, sizeof(text));
        self.editorBehindOuter = text;
        Answer("Outer");
    }
};
NestedBoxes* NestedBoxes::s_self = nullptr;

TEST_F(MainWndTest, ABoxWithinABoxKeepsTheWindowFromHidingAndSaving)
{
    NestedBoxes nested;
    nested.main = m_hWnd;
    nested.editor = m_main->m_pNotepad->m_hWnd;
    NestedBoxes::s_self = &nested;
    SetWindowTextA(nested.editor, "kept\r\nunsaved");
    SendMessageA(nested.editor, EM_SETMODIFY, TRUE, 0);
    SetTimer(nullptr, 0, 50, NestedBoxes::RaiseInner);
    ShowMessageBox("outer", "Outer");
    NestedBoxes::s_self = nullptr;
    EXPECT_TRUE(nested.visibleBehindOuter) << "hidden behind the outer box";
    EXPECT_EQ("kept\r\nunsaved", nested.editorBehindOuter) << "New went ahead behind the outer box";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("memo\\kept.txt")) << "saved behind the outer box";
    EXPECT_EQ(0, g_nMessageBoxes);
}

// With the fixed position on, the window goes to the stored point and takes
// the DPI of the monitor there, whatever the monitor under the cursor has.
TEST_F(MainWndTest, PopUpAtTheStoredPositionTakesTheDpiThereInOneStep)
{
    ShowWindow(m_hWnd, SW_HIDE);  // stores where the window was, as a hide does
    g_config->DefaultPosition = true;
    g_config->X = 300;
    g_config->Y = 200;
    // Two monitors side by side: 96 DPI left of x = 300, 144 from there on.
    m_main->m_pfnDpiAtPoint = [](POINT at) { return at.x < 300 ? 96 : 144; };
    ASSERT_TRUE(SetCursorPos(50, 50));

    SendMessageA(m_hWnd, WM_SHOWMEMO, 0, SHOWMEMO_FORCE);
    EXPECT_TRUE(IsWindowVisible(m_hWnd));
    EXPECT_EQ(144, m_main->m_nDpi);
    const RECT expected = OuterWindowRect(g_config->Width, g_config->Height, 144);
    RECT window;
    GetWindowRect(m_hWnd, &window);
    ExpectAt(window, 300, 200, "the window");
    EXPECT_EQ(expected.right - expected.left, window.right - window.left);
    EXPECT_EQ(expected.bottom - expected.top, window.bottom - window.top);
    EXPECT_EQ(600, ChildRect(m_main->m_pNotepad->m_hWnd).right) << "laid out for 144 DPI";
}
}  // namespace
