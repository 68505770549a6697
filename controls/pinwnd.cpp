#include "controls/pinwnd.h"

#include <gdiplus.h>

#include "app/dpiscale.h"
#include "app/scopedhandles.h"
#include "controls/imagepaint.h"
#include "controls/pngresource.h"
#include "controls/tooltiprelay.h"

namespace {
const COLORREF kPinBackground = RGB(240, 240, 240);
const COLORREF kPinFrame = RGB(44, 132, 238);  // the checked pin's blue
const int kPinBoxSide = 16;  // 96-DPI units, as the picture's side
const int kPinSide = 15;
const int kFrameWidth = 1;

// With high contrast on, the box takes the system's colours: the face of a
// button, and the selection's colour for the checked frame.
bool IsHighContrast()
{
    HIGHCONTRASTA contrast = {};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

void FillBox(HDC hdc, const RECT& box, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    if (!brush) return;
    FillRect(hdc, &box, brush);
    DeleteObject(brush);
}

// A frame of `width` pixels inside box.
void DrawFrame(HDC hdc, const RECT& box, int width, COLORREF colour)
{
    const RECT sides[] = {{box.left, box.top, box.right, box.top + width},
                          {box.left, box.bottom - width, box.right, box.bottom},
                          {box.left, box.top, box.left + width, box.bottom},
                          {box.right - width, box.top, box.right, box.bottom}};
    for (const RECT& side : sides) FillBox(hdc, side, colour);
}

bool ShowsFocus(HWND hWnd)
{
    return GetFocus() == hWnd && !(SendMessageA(hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}


// A check box draws itself straight away, outside WM_PAINT, when it is
// pressed, checked, focused or enabled; the pin is drawn again right after.
bool DrawsItself(UINT msg)
{
    switch (msg) {
    case BM_SETSTATE:
    case BM_SETCHECK:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_UPDATEUISTATE:
        return true;
    }
    return false;
}

}  // namespace

CPinWnd::CPinWnd() = default;
CPinWnd::~CPinWnd() = default;

LRESULT CPinWnd::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    RelayToTooltip(m_hTooltip, hWnd, msg, wParam, lParam);
    if (msg == WM_PAINT) OnPaint(hWnd);
    // The pictures go with the window, while GDI+ still runs.
    if (msg == WM_DESTROY) {
        for (CDecodedPng& picture : m_pictures) picture.Release();
    }
    LRESULT result = DefControlProc(hWnd, msg, wParam, lParam);
    if (DrawsItself(msg)) Redraw(hWnd);
    return result;
}

// Decoded once: the pin is painted at every pop-up, and decoding its
// picture cost more than painting all the other controls together.
Gdiplus::Bitmap* CPinWnd::Picture(bool checked)
{
    return checked ? m_pictures[1].Get(IDP_PIN_CHECKED, m_nDpi, kPinSide)
                   : m_pictures[0].Get(IDP_PIN, m_nDpi, kPinSide);
}

void CPinWnd::SetDpi(int dpi)
{
    m_nDpi = dpi;
    for (CDecodedPng& picture : m_pictures) picture.Release();
    if (m_hWnd) InvalidateRect(m_hWnd, nullptr, TRUE);
}

// Checked and indeterminate both show the blue pin, framed, so that the
// state shows by shape as well as by colour; the focus shows as a dotted
// rectangle inside the frame, inverted, so on any colours.
void CPinWnd::DrawPin(HWND hWnd, HDC hdc)
{
    const bool checked = SendMessageA(hWnd, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
    const bool highContrast = IsHighContrast();
    const int side = ScaleForDpi(kPinBoxSide, m_nDpi);
    const RECT box = {0, 0, side, side};
    FillBox(hdc, box, highContrast ? GetSysColor(COLOR_BTNFACE) : kPinBackground);
    DrawComposed(hdc, Picture(checked), side);
    const int frame = ScaleForDpi(kFrameWidth, m_nDpi);
    if (checked) DrawFrame(hdc, box, frame, highContrast ? GetSysColor(COLOR_HIGHLIGHT) : kPinFrame);
    if (!ShowsFocus(hWnd)) return;
    RECT focus = box;
    InflateRect(&focus, -frame, -frame);
    DrawFocusRect(hdc, &focus);
}

void CPinWnd::OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    if (hdc) DrawPin(hWnd, hdc);
    EndPaint(hWnd, &ps);
}

void CPinWnd::Redraw(HWND hWnd)
{
    if (!IsWindowVisible(hWnd)) return;
    ScopedWindowDC dc(hWnd);
    if (dc.get()) DrawPin(hWnd, dc.get());
}
