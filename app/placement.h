#pragma once
// Where the memo window goes: centred on the cursor, kept inside the work
// area of the cursor's monitor. No windows.h here: a plain rule.

struct PlacePoint {
    int x;
    int y;
};

struct PlaceRect {
    int left;
    int top;
    int right;
    int bottom;
};

// cursor: the mouse position; window: the outer window rectangle (only its
// size counts); work: the work area of the cursor's monitor.
PlacePoint PlaceOnCursor(PlacePoint cursor, PlaceRect window, PlaceRect work);
