#include "controls/settingwnd.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <iterator>
#include <new>

#include "app/bounded.h"
#include "app/config.h"
#include "app/dpi.h"
#include "app/dpiscale.h"
#include "app/globals.h"
#include "app/messages.h"
#include "controls/shortcuteditwnd.h"
#include "controls/transparency.h"

namespace {
const int kMinWidth = 400;
const int kMinHeight = 225;
const int kTransMax = 50;
const int kTransTick = 10;

struct ControlSpec {
    const char* className;
    const char* text;  // null: filled in from the settings
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;
    int id;
};

const DWORD kCheckBox = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
const DWORD kLabel = WS_CHILD | WS_VISIBLE;
// No ES_AUTOHSCROLL: input stops at the edit's visible width.
const DWORD kNumberEdit = WS_CHILD | WS_VISIBLE | ES_NUMBER | ES_RIGHT;

enum { kFixPos, kTransLabel, kTransBar, kPercentLabel, kTransEdit, kSizeLabel, kWidthLabel, kWidthEdit,
       kHeightLabel, kHeightEdit, kAutoStart, kDone, kShortcutLabel, kHotKey };

// In creation order, in 96-DPI units.
const ControlSpec kControls[] = {
    {"BUTTON", "表示場所固定", kCheckBox, 0, 10, 10, 120, 20, IDC_FIXPOS},
    {"STATIC", "ウィンドウの透明度", kLabel, 0, 10, 83, 120, 20, 0},
    {TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_AUTOTICKS, 0, 10, 108, 160, 35, IDC_TRANSBAR},
    {"STATIC", "%", kLabel, 0, 167, 84, 15, 20, 0},
    {"EDIT", nullptr, kNumberEdit | ES_READONLY, WS_EX_CLIENTEDGE, 135, 82, 32, 24, IDC_TRANSEDIT},
    {"STATIC", "ウィンドウの大きさ", kLabel, 0, 10, 33, 120, 20, 0},
    {"STATIC", "幅", kLabel, 0, 27, 53, 18, 20, 0},
    {"EDIT", nullptr, kNumberEdit | WS_TABSTOP, WS_EX_CLIENTEDGE, 45, 53, 40, 22, 0},
    {"STATIC", "高さ", kLabel, 0, 95, 53, 30, 20, 0},
    {"EDIT", nullptr, kNumberEdit | WS_TABSTOP, WS_EX_CLIENTEDGE, 125, 53, 40, 22, 0},
    {"BUTTON", "スタートアップ", kCheckBox, 0, 10, 202, 115, 20, IDC_AUTOSTART},
    {"Button", "完了", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 135, 199, 50, 25, IDC_DONE},
    {"STATIC", "ショートカット", kLabel, 0, 10, 148, 120, 20, 0},
    {HOTKEY_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, 10, 170, 175, 24, IDC_HOTKEY},
};

// The controls that take the focus, in reading order: rows top to bottom,
// each from the left. The labels before each keep their creation order, so
// that a screen reader still finds each control's label just before it.
const int kTabOrder[] = {kFixPos, kWidthEdit, kHeightEdit, kTransBar, kHotKey, kAutoStart, kDone};

static_assert(std::size(kControls) <= static_cast<size_t>(kMaxSettingControls), "room for every control's handle");

struct ControlBox {
    int x, y, width, height;
};

// A control's place in pixels at dpi, scaled by its edges so that controls
// that touch at 96 DPI still touch.
ControlBox ScaledBox(const ControlSpec& c, int dpi)
{
    const int left = ScaleForDpi(c.x, dpi), top = ScaleForDpi(c.y, dpi);
    return {left, top, ScaleForDpi(c.x + c.width, dpi) - left, ScaleForDpi(c.y + c.height, dpi) - top};
}

HFONT MakeFont(int dpi)
{
    LOGFONTA font = {};
    font.lfHeight = ScaleForDpi(20, dpi);
    CopyBounded(font.lfFaceName, sizeof(font.lfFaceName), "メイリオ");
    return CreateFontIndirectA(&font);
}

struct NumberText {
    explicit NumberText(int value) { FormatBounded(text, sizeof(text), "%d", value); }
    char text[16];
};

void SetCheck(HWND box, bool checked)
{
    SendMessageA(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Only a plain check counts, not the indeterminate state.
bool IsChecked(HWND box)
{
    return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int ReadNumber(HWND edit)
{
    char text[256] = "";
    GetWindowTextA(edit, text, sizeof(text));
    return StrToIntA(text);
}

// Text that is not a number reads as 0 and so as the minimum, which the edit
// then shows.
int ReadSize(HWND edit, int minimum)
{
    int value = ReadNumber(edit);
    if (value >= minimum) return value;
    SetWindowTextA(edit, NumberText(minimum).text);
    return minimum;
}
}  // namespace

CSettingWnd::CSettingWnd() : m_pShortcutEdit(new (std::nothrow) CShortcutEditWnd) {}

CSettingWnd::~CSettingWnd()
{
    delete m_pShortcutEdit;
    if (m_hFont) DeleteObject(m_hFont);
}

LRESULT CSettingWnd::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:     return OnCreate(hWnd, wParam, lParam);
    case WM_CLOSE:      OnClose(hWnd); return 0;
    case WM_DESTROY:    OnDestroy(hWnd); return 0;
    case WM_NCACTIVATE: return OnNcActivate(hWnd, wParam, lParam);
    case WM_ACTIVATE:   return OnActivate(hWnd, wParam);
    case WM_SHOWWINDOW: return OnShowWindow(hWnd, wParam, lParam);
    case WM_COMMAND:    return OnCommand(hWnd, wParam, lParam);
    case WM_HSCROLL:    return OnHScroll(hWnd, wParam, lParam);
    case WM_DPICHANGED: return OnDpiChanged(hWnd, wParam, reinterpret_cast<const RECT*>(lParam));
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

LRESULT CSettingWnd::OnCreate(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    InitCommonControls();
    m_hFont = MakeFont(m_nDpi);
    CreateControls(hWnd);
    return DefWindowProcA(hWnd, WM_CREATE, wParam, lParam);
}

// The controls show the settings as they are now; showing the window again
// later keeps whatever was last left in them with Done.
void CSettingWnd::CreateControls(HWND hWnd)
{
    m_hFixPos = AddControl(hWnd, kFixPos, nullptr);
    AddControl(hWnd, kTransLabel, nullptr);
    m_hTransBar = AddControl(hWnd, kTransBar, nullptr);
    SendMessageA(m_hTransBar, TBM_SETRANGE, FALSE, MAKELPARAM(0, kTransMax));
    SendMessageA(m_hTransBar, TBM_SETTICFREQ, kTransTick, 0);
    AddControl(hWnd, kPercentLabel, nullptr);
    m_hTransEdit = AddControl(hWnd, kTransEdit, nullptr);
    AddControl(hWnd, kSizeLabel, nullptr);
    AddControl(hWnd, kWidthLabel, nullptr);
    m_hWidthEdit = AddControl(hWnd, kWidthEdit, nullptr);
    AddControl(hWnd, kHeightLabel, nullptr);
    m_hHeightEdit = AddControl(hWnd, kHeightEdit, nullptr);
    m_hAutoStart = AddControl(hWnd, kAutoStart, nullptr);
    AddControl(hWnd, kDone, nullptr);
    AddControl(hWnd, kShortcutLabel, nullptr);
    m_hHotKey = AddControl(hWnd, kHotKey, nullptr);
    if (m_hHotKey) m_pShortcutEdit->Attach(m_hHotKey);
    ShowStoredSettings();
}

void CSettingWnd::ShowStoredSettings()
{
    SetCheck(m_hFixPos, g_config->DefaultPosition);
    // A transparency above the trackbar's range (from a low stored Alpha)
    // stays in the edit while the trackbar stands at its end.
    int percent = AlphaToPercent(g_config->Alpha);
    SetWindowTextA(m_hTransEdit, NumberText(percent).text);
    SendMessageA(m_hTransBar, TBM_SETPOS, TRUE, percent);
    SetWindowTextA(m_hWidthEdit, NumberText(g_config->Width).text);
    SetWindowTextA(m_hHeightEdit, NumberText(g_config->Height).text);
    SetCheck(m_hAutoStart, g_config->Startup);
    ShowStoredShortcut();
}

HWND CSettingWnd::AddControl(HWND hWnd, int index, const char* text)
{
    const ControlSpec& c = kControls[index];
    const ControlBox box = ScaledBox(c, m_nDpi);
    HWND hCtrl = CreateWindowExA(c.exStyle, c.className, text ? text : c.text, c.style, box.x, box.y, box.width,
                                 box.height, hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hWnd, GWLP_HINSTANCE)), nullptr);
    if (hCtrl) SendMessageA(hCtrl, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), TRUE);
    m_hControls[index] = hCtrl;
    return hCtrl;
}

// The window, its controls and their font for dpi, all re-made together;
// the new font reaches every control before the old one goes.
void CSettingWnd::ApplyDpi(int dpi)
{
    if (dpi == m_nDpi || dpi <= 0) return;
    HFONT font = MakeFont(dpi);
    if (!font) return;
    m_nDpi = dpi;
    for (size_t i = 0; i < std::size(kControls); ++i) {
        if (!m_hControls[i]) continue;
        const ControlBox box = ScaledBox(kControls[i], dpi);
        SetWindowPos(m_hControls[i], nullptr, box.x, box.y, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(m_hControls[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (m_hFont) DeleteObject(m_hFont);
    m_hFont = font;
}

// Dragged onto a monitor of another scaling: the window takes the
// rectangle Windows suggests.
LRESULT CSettingWnd::OnDpiChanged(HWND hWnd, WPARAM wParam, const RECT* suggested)
{
    const int dpi = LOWORD(wParam);
    if (dpi == m_nDpi || !suggested) return 0;
    SetWindowPos(hWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyDpi(dpi);
    return 0;
}

// While shown, the window keeps its active look and refuses to be
// deactivated: the settings are finished with Done.
LRESULT CSettingWnd::OnNcActivate(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    if (IsWindowVisible(hWnd)) return 0;
    return DefWindowProcA(hWnd, WM_NCACTIVATE, wParam, lParam);
}

// Each time the window opens, the first control has the focus, and the
// focus is shown however the window was opened. Moved into place before it
// shows, the window may be active already.
LRESULT CSettingWnd::OnShowWindow(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    if (wParam) {
        m_hFocusBack = m_hControls[kTabOrder[0]];
        if (GetActiveWindow() == hWnd) SetFocus(m_hFocusBack);
        SendMessageA(hWnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    }
    return DefWindowProcA(hWnd, WM_SHOWWINDOW, wParam, lParam);
}

// The focus goes to a control, not to the window, and comes back to where
// it was when a message box of the window closes.
LRESULT CSettingWnd::OnActivate(HWND hWnd, WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hWnd, focus)) m_hFocusBack = focus;
        return 0;
    }
    if (HIWORD(wParam)) return 0;  // minimized
    SetFocus(m_hFocusBack && IsWindow(m_hFocusBack) ? m_hFocusBack : m_hControls[kTabOrder[0]]);
    return 0;
}

// Tab goes by the reading order rather than by the order the controls
// were made in; the rest is the dialog manager's (Enter, Esc, the keys a
// control asks for).
bool CSettingWnd::HandleDialogKey(MSG& msg)
{
    if (!m_hWnd || !IsWindowVisible(m_hWnd) || (msg.hwnd != m_hWnd && !IsChild(m_hWnd, msg.hwnd))) return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) {
        const LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&msg));
        if (!(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS))) {
            MoveFocus(m_hWnd, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
            return true;
        }
    }
    return IsDialogMessageA(m_hWnd, &msg) != FALSE;
}

// An edit reached by Tab has its text selected, for typing over, as in a
// dialog.
void CSettingWnd::MoveFocus(HWND hWnd, bool back)
{
    const int count = static_cast<int>(std::size(kTabOrder));
    HWND focus = GetFocus();
    int at = back ? 0 : count - 1;
    for (int i = 0; i < count; ++i) {
        if (m_hControls[kTabOrder[i]] == focus) at = i;
    }
    for (int step = 1; step <= count; ++step) {
        HWND next = m_hControls[kTabOrder[(at + (back ? count - step : step)) % count]];
        if (!next || !IsWindowEnabled(next)) continue;
        SetFocus(next);
        if (next == m_hWidthEdit || next == m_hHeightEdit) SendMessageA(next, EM_SETSEL, 0, -1);
        break;
    }
    SendMessageA(hWnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

// Enter and Esc arrive as IDOK and IDCANCEL with the code of a click; the
// transparency edit, whose id is IDCANCEL's, never notifies with that code.
LRESULT CSettingWnd::OnCommand(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    const bool clicked = HIWORD(wParam) == BN_CLICKED;
    if (clicked && (LOWORD(wParam) == IDC_DONE || LOWORD(wParam) == IDOK)) OnDone(hWnd);
    else if (clicked && LOWORD(wParam) == IDCANCEL) OnClose(hWnd);
    return DefWindowProcA(hWnd, WM_COMMAND, wParam, lParam);
}

// Moving the trackbar only changes the percentage shown; nothing is stored
// until Done.
LRESULT CSettingWnd::OnHScroll(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    int position = static_cast<int>(SendMessageA(m_hTransBar, TBM_GETPOS, 0, 0));
    SetWindowTextA(m_hTransEdit, NumberText(position).text);
    return DefWindowProcA(hWnd, WM_HSCROLL, wParam, lParam);
}

// Closing the window (Alt+F4, its close button) cancels: the controls go
// back to the stored settings, and the main window stops waiting for Done.
// The main window is told first, while this one is still in front, so that
// it can take the activation back before the hide hands it elsewhere.
void CSettingWnd::OnClose(HWND hWnd)
{
    ShowStoredSettings();
    SendMessageA(m_hMainWnd, WM_SETTINGDONE, 1, g_config->Alpha);
    ShowWindow(hWnd, SW_HIDE);
}

// Destroyed while open, the window cancels as well; the program goes on.
void CSettingWnd::OnDestroy(HWND hWnd)
{
    if (IsWindowVisible(hWnd) && IsWindow(m_hMainWnd)) SendMessageA(m_hMainWnd, WM_SETTINGDONE, 1, g_config->Alpha);
}

// A shortcut that cannot be used is refused with a message before anything
// is stored; the window stays open.
void CSettingWnd::OnDone(HWND hWnd)
{
    ShortcutKey shortcut;
    if (!ReadChosenShortcut(hWnd, shortcut)) return;
    g_config->ShortcutKey = shortcut;
    g_config->Width = ReadSize(m_hWidthEdit, kMinWidth);
    g_config->Height = ReadSize(m_hHeightEdit, kMinHeight);
    g_config->Startup = IsChecked(m_hAutoStart);
    g_config->DefaultPosition = IsChecked(m_hFixPos);
    g_config->Alpha = PercentToAlpha(ReadNumber(m_hTransEdit));
    // The main window resizes, applies the opacity, updates the autostart
    // link and takes the activation back before the send returns.
    SendMessageA(m_hMainWnd, WM_SETTINGDONE, 0, g_config->Alpha);
    ShowWindow(hWnd, SW_HIDE);
}
