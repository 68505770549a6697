#include "memo/searchwnd.h"

#include <iterator>
#include <new>

#include "app/bounded.h"
#include "app/dpi.h"
#include "app/dpiscale.h"
#include "app/messages.h"

namespace {
const char kTitle[] = "メモの検索";
const char kKanaText[] = "ひらがなとカタカナを区別しない";

const DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
const DWORD kExStyle = WS_EX_TOPMOST;
const int kClientWidth = 380;
const int kClientHeight = 270;

enum { kField, kKanaBox, kList, kStatus };
enum { IDC_SEARCHFIELD = 101, IDC_KANABOX, IDC_HITLIST, IDC_SEARCHSTATUS };

struct ControlSpec {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;
    int id;
};

// In creation (and Tab) order, in 96-DPI units. The field and the list are
// Unicode controls, so that characters the ANSI code page lacks can be
// typed or pasted, and hits shown as they are.
const ControlSpec kControls[] = {
    {L"EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 10, 10, 360, 26,
     IDC_SEARCHFIELD},
    {L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 10, 42, 360, 22, IDC_KANABOX},
    {L"LISTBOX", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
     WS_EX_CLIENTEDGE, 10, 70, 360, 166, IDC_HITLIST},
    {L"STATIC", WS_CHILD | WS_VISIBLE, 0, 10, 242, 360, 22, IDC_SEARCHSTATUS},
};

RECT ScaledBox(const ControlSpec& c, int dpi)
{
    return {ScaleForDpi(c.x, dpi), ScaleForDpi(c.y, dpi), ScaleForDpi(c.x + c.width, dpi),
            ScaleForDpi(c.y + c.height, dpi)};
}

HFONT MakeFont(int dpi)
{
    LOGFONTA font = {};
    font.lfHeight = ScaleForDpi(18, dpi);
    CopyBounded(font.lfFaceName, sizeof(font.lfFaceName), "メイリオ");
    return CreateFontIndirectA(&font);
}

// Just below the memo window's caption, centred on it, but never off its
// monitor: the memo's title stays in sight.
POINT PlaceOver(const RECT& over, int width, int height)
{
    POINT at = {over.left + (over.right - over.left - width) / 2, over.top};
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoA(MonitorFromRect(&over, MONITOR_DEFAULTTONEAREST), &info)) return at;
    const RECT& work = info.rcWork;
    if (at.x + width > work.right) at.x = work.right - width;
    if (at.y + height > work.bottom) at.y = work.bottom - height;
    if (at.x < work.left) at.x = work.left;
    if (at.y < work.top) at.y = work.top;
    return at;
}
}  // namespace

CSearchWnd::CSearchWnd() = default;

CSearchWnd::~CSearchWnd()
{
    if (m_hFont) DeleteObject(m_hFont);
}

LRESULT CSearchWnd::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:     return OnCreate(hWnd, wParam, lParam);
    case WM_CLOSE:      Close(); return 0;
    case WM_COMMAND:    return OnCommand(hWnd, wParam, lParam);
    case WM_ACTIVATE:   return OnActivate(hWnd, wParam);
    case WM_DPICHANGED: return OnDpiChanged(hWnd, wParam, reinterpret_cast<const RECT*>(lParam));
    case WM_TIMER:
        if (wParam != kStepTimer) break;
        OnStepTimer();
        return 0;
    case WM_DESTROY:
        // Gone with the memo window at the end: nothing may reach it after.
        KillTimer(hWnd, kStepTimer);
        m_bStepping = false;
        m_hWnd = m_hField = m_hKanaBox = m_hList = m_hStatus = m_hFocusBack = nullptr;
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

bool CSearchWnd::Create(HWND owner, int dpi)
{
    if (m_hWnd) return true;
    HINSTANCE hInstance = InstanceOf(owner);
    if (!RegisterBaseClass(hInstance, SEARCH_WINDOW_CLASS)) return false;
    m_hMainWnd = owner;
    m_nDpi = dpi;
    const RECT outer =
        OuterRectForDpi(ScaleForDpi(kClientWidth, dpi), ScaleForDpi(kClientHeight, dpi), kStyle, kExStyle, dpi);
    // WM_CREATE sets m_hWnd as the window is made, before its controls.
    if (!CreateWindowExA(kExStyle, SEARCH_WINDOW_CLASS, kTitle, kStyle, 0, 0, outer.right - outer.left,
                         outer.bottom - outer.top, owner, nullptr, hInstance, this)) {
        m_hWnd = nullptr;
    }
    return m_hWnd != nullptr;
}

LRESULT CSearchWnd::OnCreate(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    m_hWnd = hWnd;
    m_hFont = MakeFont(m_nDpi);
    m_hField = AddControl(hWnd, kField);
    m_hKanaBox = AddControl(hWnd, kKanaBox);
    m_hList = AddControl(hWnd, kList);
    m_hStatus = AddControl(hWnd, kStatus);
    SetWindowTextA(m_hKanaBox, kKanaText);
    SendMessageA(m_hKanaBox, BM_SETCHECK, BST_CHECKED, 0);
    m_hFocusBack = m_hField;
    return DefWindowProcA(hWnd, WM_CREATE, wParam, lParam);
}

HWND CSearchWnd::AddControl(HWND hWnd, int index)
{
    const ControlSpec& c = kControls[index];
    const RECT box = ScaledBox(c, m_nDpi);
    HWND control = CreateWindowExW(c.exStyle, c.className, L"", c.style, box.left, box.top, box.right - box.left,
                                   box.bottom - box.top, hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                   InstanceOf(hWnd), nullptr);
    if (control && m_hFont) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), FALSE);
    return control;
}

// The controls and their font for dpi, re-made together; the new font
// reaches every control before the old one goes.
void CSearchWnd::ApplyDpi(int dpi)
{
    if (dpi == m_nDpi || dpi <= 0) return;
    HFONT font = MakeFont(dpi);
    if (!font) return;
    m_nDpi = dpi;
    const HWND controls[] = {m_hField, m_hKanaBox, m_hList, m_hStatus};
    for (size_t i = 0; i < std::size(controls); ++i) {
        if (!controls[i]) continue;
        const RECT box = ScaledBox(kControls[i], dpi);
        SetWindowPos(controls[i], nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (m_hFont) DeleteObject(m_hFont);
    m_hFont = font;
}

LRESULT CSearchWnd::OnDpiChanged(HWND hWnd, WPARAM wParam, const RECT* suggested)
{
    const int dpi = LOWORD(wParam);
    if (dpi == m_nDpi || !suggested) return 0;
    SetWindowPos(hWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyDpi(dpi);
    return 0;
}

void CSearchWnd::Open(const RECT& over, int dpi)
{
    if (!m_hWnd) return;
    ApplyDpi(dpi);
    const RECT outer = OuterRectForDpi(ScaleForDpi(kClientWidth, m_nDpi), ScaleForDpi(kClientHeight, m_nDpi),
                                       kStyle, kExStyle, m_nDpi);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    const POINT at = PlaceOver(over, width, height);
    SetWindowPos(m_hWnd, HWND_TOPMOST, at.x, at.y, width, height, SWP_NOACTIVATE);
    m_hFocusBack = m_hField;
    ShowWindow(m_hWnd, SW_SHOW);
    SetForegroundWindow(m_hWnd);
    SetFocus(m_hField);
    SendMessageW(m_hField, EM_SETSEL, 0, -1);
    if (GetWindowTextLengthW(m_hField) > 0) {
        StartSearch();
        return;
    }
    // Nothing typed yet: the search reads the memos ahead meanwhile.
    StartStepping();
}

void CSearchWnd::Hide()
{
    m_bOpenWhenDone = false;
    if (m_hWnd) ShowWindow(m_hWnd, SW_HIDE);
}

// The memo window is told first, while this window is still in front, so
// that it can take the activation back before the hide hands it elsewhere.
void CSearchWnd::Close()
{
    SendMessageA(m_hMainWnd, WM_SEARCHDONE, 0, 0);
    Hide();
}

bool CSearchWnd::Contains(HWND hWnd) const
{
    return m_hWnd && hWnd && (hWnd == m_hWnd || IsChild(m_hWnd, hWnd));
}

// Down leaves the field for the list and Up at its top comes back; the
// rest is the dialog manager's: Tab, Enter (IDOK) and Esc (IDCANCEL).
bool CSearchWnd::HandleDialogKey(MSG& msg, bool wide)
{
    if (!IsOpen() || !Contains(msg.hwnd)) return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_DOWN && msg.hwnd == m_hField) {
        SetFocus(m_hList);
        if (SendMessageW(m_hList, LB_GETCURSEL, 0, 0) == LB_ERR) SendMessageW(m_hList, LB_SETCURSEL, 0, 0);
        return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_UP && msg.hwnd == m_hList &&
        SendMessageW(m_hList, LB_GETCURSEL, 0, 0) <= 0) {
        SetFocus(m_hField);
        return true;
    }
    return (wide ? IsDialogMessageW(m_hWnd, &msg) : IsDialogMessageA(m_hWnd, &msg)) != FALSE;
}

LRESULT CSearchWnd::OnCommand(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    const WORD code = HIWORD(wParam);
    switch (LOWORD(wParam)) {
    case IDOK:
        OpenSelected();
        return 0;
    case IDCANCEL:
        Close();
        return 0;
    case IDC_SEARCHFIELD:
        if (code == EN_CHANGE) StartSearch();
        return 0;
    case IDC_KANABOX:
        if (code == BN_CLICKED) StartSearch();
        return 0;
    case IDC_HITLIST:
        if (code == LBN_DBLCLK) OpenSelected();
        return 0;
    }
    return DefWindowProcA(hWnd, WM_COMMAND, wParam, lParam);
}

// The focus goes to a control, not to the window, and comes back to where
// it was.
LRESULT CSearchWnd::OnActivate(HWND hWnd, WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hWnd, focus)) m_hFocusBack = focus;
        return 0;
    }
    if (HIWORD(wParam)) return 0;  // minimized
    SetFocus(m_hFocusBack && IsWindow(m_hFocusBack) ? m_hFocusBack : m_hField);
    return 0;
}
