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

// The remembered position, for a placement made by PlaceAtCursor: the
// window goes to `stored` when the rectangle it takes there meets a
// monitor. When none shows it (the monitor was detached), the cursor
// placement stands, so that the window never comes up out of reach. False
// when `stored` was passed over.
bool PlaceAtStoredPosition(Placement& placement, POINT stored);
