#pragma once
#include "app/subclassbase.h"
#include "controls/pngresource.h"

// One of the four image buttons over the memo: a grey icon that turns blue
// under the mouse, in a window cut to the icon's outline. The control id
// (1 to 4) chooses the pictures.
class CButtonWnd final : public CSubClassBase {
public:
    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The pictures and the region for the memo window's DPI: made anew at
    // the next paint.
    void SetDpi(int dpi);
    // The tooltip control that this control's mouse messages go to.
    void SetTooltip(HWND tooltip) { m_hTooltip = tooltip; }

    int m_nImageOffset = 0;     // 0, or IDP_HOVER while the mouse is over the button
    bool m_bMouseOut = true;    // the next mouse move enters the button
    bool m_bRegionSet = false;  // the window region has been built from the mask
    CDecodedPng m_faces[2];     // grey, blue
    int m_nDpi = 96;
    HWND m_hTooltip = nullptr;

private:
    LRESULT OnInitCtrl();
    void OnMouseMove(HWND hWnd);
    LRESULT OnMouseLeave(HWND hWnd);
    void OnPaint(HWND hWnd);
    void SetFace(HWND hWnd, bool hover);
    void ApplyMaskRegion(HWND hWnd);
};
