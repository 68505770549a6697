#pragma once
#include "app/subclassbase.h"
#include "controls/pngresource.h"

namespace Gdiplus {
class Bitmap;
}

// The pin check box: a grey pin, blue and framed while checked (the memo
// window then stays up). The check state lives in the control itself; its
// window text is its accessible name.
class CPinWnd final : public CSubClassBase {
public:
    CPinWnd();
    ~CPinWnd();
    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The pictures for the memo window's DPI: made anew at the next paint.
    void SetDpi(int dpi);
    // The tooltip control that this control's mouse messages go to.
    void SetTooltip(HWND tooltip) { m_hTooltip = tooltip; }

private:
    void OnPaint(HWND hWnd);
    void Redraw(HWND hWnd);
    void DrawPin(HWND hWnd, HDC hdc);
    Gdiplus::Bitmap* Picture(bool checked);

    CDecodedPng m_pictures[2];  // grey, blue
    int m_nDpi = 96;
    HWND m_hTooltip = nullptr;
};
