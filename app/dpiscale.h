#pragma once
// Sizes are kept in 96-DPI units and become pixels at one boundary. No
// windows.h here: a plain rule.

constexpr int kBaseDpi = 96;

// value96 in pixels at dpi, rounded to the nearest pixel with halves away
// from zero, as MulDiv rounds; at 96 the value itself.
int ScaleForDpi(int value96, int dpi);
