#include "app/config.h"
#include "app/dpi.h"
#include "controls/buttonwnd.h"
#include "controls/pinwnd.h"
#include "mainwnd/layout.h"
#include "mainwnd/mainwnd.h"
#include "memo/filelist.h"
#include "memo/notepadwnd.h"

namespace {
void PlaceChild(HWND hWnd, const ChildBox& box)
{
    SetWindowPos(hWnd, nullptr, box.x, box.y, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

// The same at creation, on a pop-up onto a monitor of another DPI and on
// WM_DPICHANGED: the fonts reach the controls before they move, so the
// editor lays its text out once for the new size.
void CMainWnd::ApplyDpi(int dpi)
{
    m_nDpi = dpi;
    if (m_fonts.Make(dpi)) m_fonts.Apply(m_pNotepad->m_hWnd, m_pFileList->m_hWnd, m_hStartup, m_hShortcut, m_hTooltip);
    PlaceChildren(g_config->Width, g_config->Height);
    for (int i = 0; i < 4; ++i) m_pButtons[i].SetDpi(dpi);
    m_pPin->SetDpi(dpi);
    ApplyWindowIcons(dpi);
}

void CMainWnd::TakeDpi(int dpi)
{
    if (dpi == m_nDpi || dpi <= 0) return;
    m_rcWindow = OuterWindowRect(g_config->Width, g_config->Height, dpi);
    SetWindowPos(m_hWnd, nullptr, 0, 0, m_rcWindow.right - m_rcWindow.left, m_rcWindow.bottom - m_rcWindow.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyDpi(dpi);
}

// Every child at its place and size for a client area of width x height
// (96-DPI units) at the window's DPI; the z-order stays, so the buttons
// still float over the text.
void CMainWnd::PlaceChildren(int width, int height)
{
    const MainLayout layout = ScaleLayout(ComputeMainLayout(width, height), m_nDpi);
    PlaceChild(m_pNotepad->m_hWnd, layout.edit);
    for (int i = 0; i < 4; ++i) PlaceChild(m_pButtons[i].m_hWnd, layout.buttons[i]);
    PlaceChild(m_pFileList->m_hWnd, layout.list);
    PlaceChild(m_hStartup, layout.startup);
    PlaceChild(m_hShortcut, layout.shortcut);
    PlaceChild(m_pPin->m_hWnd, layout.pin);
}

// The window moved to a monitor of another scaling, or the user changed it:
// Windows suggests the rectangle. A DPI the window already has (it was
// sized for it before it showed there) changes nothing.
LRESULT CMainWnd::OnDpiChanged(HWND hWnd, WPARAM wParam, const RECT* suggested)
{
    const int dpi = LOWORD(wParam);
    if (dpi == m_nDpi || dpi <= 0 || !suggested) return 0;
    SetWindowPos(hWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyDpi(dpi);
    m_rcWindow = OuterWindowRect(g_config->Width, g_config->Height, dpi);
    return 0;
}
