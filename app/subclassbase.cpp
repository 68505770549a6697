#include "app/subclassbase.h"

#include <cstring>

#include "app/basewnd.h"
#include "app/globals.h"

// Every control object starts from a clean control font; the editor and the
// memo list write their face and height into it when they set themselves up.
CSubClassBase::CSubClassBase()
{
    memset(&g_ctrlFont, 0, sizeof(g_ctrlFont));
}

// The procedure is set in its Unicode form, the controls' own, so that a
// message reaches the control as it reaches this procedure. An ANSI text
// sent to a control is thus converted by Wine's message mapping, which
// reads on past a lead byte that ends it: the program converts a memo's
// text itself (ReplaceEditSelection).
void CSubClassBase::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    if (!hWnd) return;
    SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_pfnControlProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubClassProc)));
}

LRESULT CSubClassBase::SetFont(HINSTANCE, const char* face, HWND hWnd)
{
    return ApplyFont(g_ctrlFont, face, hWnd ? hWnd : m_hWnd);
}

LRESULT CSubClassBase::DefControlProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return CallWindowProcW(m_pfnControlProc, hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK SubClassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CSubClassBase*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hWnd, msg, wParam, lParam);
    return self->HandleMessage(hWnd, msg, wParam, lParam);
}
