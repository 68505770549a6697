#include "controls/buttonwnd.h"

#include <commctrl.h>

LRESULT CButtonWnd::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(hWnd, msg, wParam, lParam);
}
