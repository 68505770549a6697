#include "controls/buttonwnd.h"

#include <gdiplus.h>

#include "app/dpiscale.h"
#include "app/messages.h"
#include "controls/imagepaint.h"
#include "controls/maskregion.h"
#include "controls/pngresource.h"
#include "controls/tooltiprelay.h"

LRESULT CButtonWnd::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    RelayToTooltip(m_hTooltip, hWnd, msg, wParam, lParam);
    switch (msg) {
    case WM_INITCTRL:   return OnInitCtrl();
    case WM_MOUSEMOVE:  OnMouseMove(hWnd); break;
    case WM_MOUSELEAVE: return OnMouseLeave(hWnd);
    case WM_PAINT:      OnPaint(hWnd); break;
    // The buttons go only with the main window, and with it the program;
    // their pictures go while GDI+ still runs.
    case WM_DESTROY:
        for (CDecodedPng& face : m_faces) face.Release();
        PostQuitMessage(0);
        break;
    }
    return DefControlProc(hWnd, msg, wParam, lParam);
}

// Also sent again to a button that is already set up: it starts over, and
// its next paint builds the region anew.
LRESULT CButtonWnd::OnInitCtrl()
{
    m_nImageOffset = 0;
    m_bMouseOut = true;
    m_bRegionSet = false;
    return 0;
}

void CButtonWnd::SetDpi(int dpi)
{
    m_nDpi = dpi;
    for (CDecodedPng& face : m_faces) face.Release();
    m_bRegionSet = false;
    if (m_hWnd) InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CButtonWnd::OnMouseMove(HWND hWnd)
{
    if (!m_bMouseOut) return;
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hWnd, 0};
    TrackMouseEvent(&track);
    m_bMouseOut = false;
    SetFace(hWnd, true);
    // The memo window is repainted with all its children, so the editor
    // around the cut-out button is drawn afresh with the new face.
    InvalidateRect(GetParent(hWnd), nullptr, TRUE);
}

LRESULT CButtonWnd::OnMouseLeave(HWND hWnd)
{
    m_bMouseOut = true;
    SetFace(hWnd, false);
    return 0;
}

void CButtonWnd::SetFace(HWND hWnd, bool hover)
{
    m_nImageOffset = hover ? IDP_HOVER : 0;
    ShowWindow(hWnd, SW_HIDE);
    ShowWindow(hWnd, SW_SHOW);
}

void CButtonWnd::OnPaint(HWND hWnd)
{
    if (!m_bRegionSet) ApplyMaskRegion(hWnd);
    // Decoded once each: the bar is painted whenever the mouse brings it up.
    Gdiplus::Bitmap* face =
        m_faces[m_nImageOffset ? 1 : 0].Get(GetDlgCtrlID(hWnd) + IDP_FACE + m_nImageOffset, m_nDpi, kButtonSide);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    if (hdc) DrawComposed(hdc, face, ScaleForDpi(kButtonSide, m_nDpi));
    EndPaint(hWnd, &ps);
}

// Built once for a DPI: a button whose mask cannot be read keeps the region
// it had rather than scanning again at every paint.
void CButtonWnd::ApplyMaskRegion(HWND hWnd)
{
    m_bRegionSet = true;
    HRGN region = CreateMaskRegion(GetDlgCtrlID(hWnd) + IDP_MASK, m_nDpi);
    if (!region) return;
    if (!SetWindowRgn(hWnd, region, TRUE)) DeleteObject(region);
}
