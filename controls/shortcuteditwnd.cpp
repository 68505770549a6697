#include "controls/shortcuteditwnd.h"

LRESULT CShortcutEditWnd::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefControlProc(hWnd, msg, wParam, lParam);
}
