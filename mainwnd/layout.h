#pragma once
// Where each child of the memo window sits, and where the settings window
// goes over it. No windows.h here: plain rules.

struct ChildBox {
    int x;
    int y;
    int width;
    int height;
};

// Positions in the memo window's client coordinates.
struct MainLayout {
    ChildBox edit;
    ChildBox buttons[4];  // new memo, copy, delete, settings
    ChildBox list;
    ChildBox startup;
    ChildBox shortcut;
    ChildBox pin;
};

// The layout for a client area of width x height: the editor fills all but
// the 25-pixel strip at the bottom, the 50 x 50 buttons float over its lower
// part, spread evenly.
MainLayout ComputeMainLayout(int width, int height);

const int kSettingWndWidth = 200;
const int kSettingWndHeight = 259;

struct LayoutPoint {
    int x;
    int y;
};

// Top-left corner of the settings window centred on the memo window's outer
// screen rectangle.
LayoutPoint CenterSettingWnd(int left, int top, int right, int bottom);
