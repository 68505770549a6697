#pragma once
// Which drawn size of a picture the program shows at a DPI. No windows.h
// here: a plain rule.

// res/draw_buttons.py draws every picture at 100, 150 and 200 percent; the
// resource ids of set n are the 100 percent ids plus n * kPictureSetIdStep.
constexpr int kPictureSetCount = 3;
constexpr int kPictureSetIdStep = 1000;

// The smallest set drawn at least at the DPI's scale (the largest beyond
// it), so that a picture is only ever scaled down, never up, to its size.
int PictureSetForDpi(int dpi);