#pragma once
#include <windows.h>

namespace Gdiplus {
class Image;
}

// The side of the off-screen square in which a control's picture is composed.
constexpr int kImageSide = 50;

// Composes image (at its own size; null draws nothing) in a transparent
// 32-bit ARGB bitmap and draws that onto hdc at (0, 0) in one draw.
void DrawComposed(HDC hdc, Gdiplus::Image* image);
