#pragma once
// The one place that asks Windows for a DPI. What XP lacks is looked up by
// name at its first use; without it, every window has the screen's DPI.
#include <windows.h>

// Sent by Windows 8.1 and later when a window's monitor or its scaling
// changes (the headers give it only from WINVER 0x0601): wParam holds the
// new DPI, lParam the suggested outer rectangle.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI of the monitor the window is on (of the screen where Windows
// knows no other).
int DpiOfWindow(HWND hWnd);
// The DPI of the monitor at a screen point: where a window not yet shown
// will show.
int DpiAtPoint(POINT screen);
// The outer rectangle of a window with the given styles around a client
// area of width x height pixels, with the frame and caption of dpi.
RECT OuterRectForDpi(int width, int height, DWORD style, DWORD exStyle, int dpi);
// A system metric (SM_CXICON, ...) at dpi.
int SystemMetricForDpi(int index, int dpi);
// Turns on the scaling of a top-level window's caption and frame where
// Windows needs it asked for; call it from WM_NCCREATE.
void EnableNonClientScaling(HWND hWnd);
// The system's status-bar font, which tooltips use, made for dpi.
bool StatusFontForDpi(int dpi, LOGFONTA& font);
