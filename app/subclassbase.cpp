#include "app/subclassbase.h"

#include <commctrl.h>
#include <cstring>

#include "app/basewnd.h"
#include "app/globals.h"

// Every control object starts from a clean control font; the editor and the
// memo list write their face and height into it when they set themselves up.
CSubClassBase::CSubClassBase()
{
    memset(&g_ctrlFont, 0, sizeof(g_ctrlFont));
}

void CSubClassBase::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    if (hWnd) SetWindowSubclass(hWnd, SubClassProc, reinterpret_cast<UINT_PTR>(this), 0);
}

LRESULT CSubClassBase::SetFont(HINSTANCE, const char* face, HWND hWnd)
{
    return ApplyFont(g_ctrlFont, face, hWnd ? hWnd : m_hWnd);
}

LRESULT CALLBACK SubClassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                              UINT_PTR uIdSubclass, DWORD_PTR)
{
    return reinterpret_cast<CSubClassBase*>(uIdSubclass)->HandleMessage(hWnd, msg, wParam, lParam);
}
