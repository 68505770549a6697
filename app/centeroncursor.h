#pragma once
#include <windows.h>

// Inputs and result of one placement: start-up and the pop-up each keep their
// own, so neither disturbs the other.
struct Placement {
    POINT ptCursor;  // the cursor when the placement was asked for
    RECT rcWindow;   // the outer window rectangle (its size counts)
    POINT ptResult;  // written by CenterOnCursor for the cursor's monitor
};

// EnumDisplayMonitors callback; data is a Placement*. Always returns TRUE.
BOOL CALLBACK CenterOnCursor(HMONITOR hMonitor, HDC hdc, LPRECT rcMonitor, LPARAM data);

// Takes the cursor position and runs CenterOnCursor over every monitor.
void PlaceAtCursor(Placement& placement);
