#include "controls/pinwnd.h"

#include <commctrl.h>
#include <gdiplus.h>

#include <memory>

#include "controls/imagepaint.h"
#include "controls/pngresource.h"

namespace {
const COLORREF kPinBackground = RGB(240, 240, 240);
const RECT kPinBox = {0, 0, 16, 16};


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

// Checked and indeterminate both show the blue pin.
void DrawPin(HWND hWnd, HDC hdc)
{
    int id = SendMessageA(hWnd, BM_GETCHECK, 0, 0) != BST_UNCHECKED ? IDP_PIN_CHECKED : IDP_PIN;
    std::unique_ptr<Gdiplus::Bitmap> pin(LoadPngResource(id, "PNG"));
    HBRUSH background = CreateSolidBrush(kPinBackground);
    if (background) {
        FillRect(hdc, &kPinBox, background);
        DeleteObject(background);
    }
    DrawComposed(hdc, pin.get());
}
}  // namespace

LRESULT CPinWnd::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) OnPaint(hWnd);
    LRESULT result = DefSubclassProc(hWnd, msg, wParam, lParam);
    if (DrawsItself(msg)) Redraw(hWnd);
    return result;
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
    HDC hdc = GetDC(hWnd);
    if (!hdc) return;
    DrawPin(hWnd, hdc);
    ReleaseDC(hWnd, hdc);
}
