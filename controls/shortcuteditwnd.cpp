#include "controls/shortcuteditwnd.h"

#include <commctrl.h>

#include "app/bounded.h"

namespace {
const int kTextMargin = 2;

bool IsModifierHeld()
{
    return (GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000);
}

bool ChangesTheKey(UINT msg)
{
    switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case HKM_SETHOTKEY:
        return true;
    }
    return false;
}
}  // namespace

LRESULT CShortcutEditWnd::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_GETDLGCODE && IsModifierHeld()) return DefControlProc(hWnd, msg, wParam, lParam) | DLGC_WANTALLKEYS;
    if (msg == WM_PAINT && m_szWhole[0]) {
        PaintWhole(hWnd);
        return 0;
    }
    LRESULT result = DefControlProc(hWnd, msg, wParam, lParam);
    if (ChangesTheKey(msg)) ForgetWholeIfChanged(hWnd);
    return result;
}

void CShortcutEditWnd::ShowWhole(const char* whole, WORD hotKey)
{
    CopyBounded(m_szWhole, sizeof(m_szWhole), whole);
    m_wWholeHotKey = hotKey;
    if (!m_hWnd) return;
    SetWindowTextA(m_hWnd, m_szWhole);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CShortcutEditWnd::ForgetWholeIfChanged(HWND hWnd)
{
    if (!m_szWhole[0] || LOWORD(DefControlProc(hWnd, HKM_GETHOTKEY, 0, 0)) == m_wWholeHotKey) return;
    m_szWhole[0] = '\0';
    SetWindowTextA(hWnd, "");
    InvalidateRect(hWnd, nullptr, TRUE);
}

// As the control paints its own text, with the caret after it.
void CShortcutEditWnd::PaintWhole(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    if (!hdc) return;
    RECT client;
    GetClientRect(hWnd, &client);
    FillRect(hdc, &client, GetSysColorBrush(IsWindowEnabled(hWnd) ? COLOR_WINDOW : COLOR_BTNFACE));
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font ? SelectObject(hdc, font) : nullptr;
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    const int length = lstrlenA(m_szWhole);
    TextOutA(hdc, kTextMargin, 0, m_szWhole, length);
    SIZE size = {};
    GetTextExtentPoint32A(hdc, m_szWhole, length, &size);
    if (oldFont) SelectObject(hdc, oldFont);
    EndPaint(hWnd, &ps);
    if (GetFocus() == hWnd) SetCaretPos(kTextMargin + size.cx, 0);
}
