#pragma once
#include <windows.h>

namespace Gdiplus {
class Image;
}

// The side of an image button's picture, in 96-DPI units.
constexpr int kButtonSide = 50;

// Composes image (at its own size; null draws nothing) in a transparent
// 32-bit ARGB square of side pixels and draws that onto hdc at (0, 0) in
// one draw.
void DrawComposed(HDC hdc, Gdiplus::Image* image, int side);
