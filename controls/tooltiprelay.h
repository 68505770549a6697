#pragma once
#include <windows.h>

// Hands a control's mouse message to the memo window's one tooltip control,
// which shows the control's tip when the mouse rests on it. Any other
// message passes with one comparison.
void RelayToTooltip(HWND tooltip, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
