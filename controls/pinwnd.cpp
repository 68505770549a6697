#include "controls/pinwnd.h"

#include <commctrl.h>

LRESULT CPinWnd::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(hWnd, msg, wParam, lParam);
}
