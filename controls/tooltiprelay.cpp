#include "controls/tooltiprelay.h"

#include <commctrl.h>

void RelayToTooltip(HWND tooltip, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!tooltip || msg < WM_MOUSEFIRST || msg > WM_MOUSELAST) return;
    const DWORD at = GetMessagePos();
    MSG relayed = {hWnd, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()),
                   {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))}};
    SendMessageA(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}
