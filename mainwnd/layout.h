#pragma once
// Where each child of the memo window sits, and where the settings window
// goes over it. No windows.h here: plain rules.

struct ChildBox {
    int x;
    int y;
    int width;
    int height;
};

// Positions in the memo window's client coordinates, in 96-DPI units until
// ScaleLayout turns them into pixels.
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

// A box in pixels at dpi, scaled by its edges: boxes that touch at 96 DPI
// still touch.
ChildBox ScaleBox(const ChildBox& box, int dpi);
// The layout in pixels at dpi. The buttons and the pin, which show a
// picture of their own size and touch nothing, keep that size wherever
// their edges round to.
MainLayout ScaleLayout(const MainLayout& layout, int dpi);

const int kSettingWndWidth = 200;
const int kSettingWndHeight = 259;

struct LayoutPoint {
    int x;
    int y;
};

// Top-left corner of the settings window, at dpi, centred on the memo
// window's outer screen rectangle.
LayoutPoint CenterSettingWnd(int left, int top, int right, int bottom, int dpi);
