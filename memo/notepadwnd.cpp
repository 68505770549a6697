#include "memo/notepadwnd.h"

#include <commctrl.h>
#include <new>

#include "app/globals.h"

CNotepadWnd::CNotepadWnd() : m_pszName(new (std::nothrow) char[kMemoNameSize]) {}

CNotepadWnd::~CNotepadWnd()
{
    delete[] m_pszName;
}

LRESULT CNotepadWnd::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(hWnd, msg, wParam, lParam);
}
