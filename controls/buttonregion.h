#pragma once
// Which pixels of an image button belong to it, read from its mask. No
// windows.h here: a plain rule.
#include <cstdint>
#include <vector>

// Only pure white lies outside the button; near-white anti-aliasing at the
// icon's edge stays inside. rgb is 0xRRGGBB (higher bits are ignored).
bool IsCutFromButton(uint32_t rgb);

// A horizontal stretch of pixels inside the button: row y, columns
// left <= x < right.
struct PixelRun {
    int y;
    int left;
    int right;
};

// The pixels inside the button as runs, row by row from the top, left to
// right. pixels holds width * height values, top row first.
std::vector<PixelRun> ButtonRuns(const uint32_t* pixels, int width, int height);
