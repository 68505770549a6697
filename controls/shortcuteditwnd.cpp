#include "controls/shortcuteditwnd.h"

#include <commctrl.h>

LRESULT CShortcutEditWnd::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(hWnd, msg, wParam, lParam);
}
