#include "controls/imagepaint.h"

#include <gdiplus.h>

void DrawComposed(HDC hdc, Gdiplus::Image* image, int side)
{
    Gdiplus::Bitmap offscreen(side, side, PixelFormat32bppARGB);
    if (offscreen.GetLastStatus() != Gdiplus::Ok) return;
    {
        Gdiplus::Graphics composer(&offscreen);
        composer.Clear(Gdiplus::Color(0, 0, 0, 0));
        if (image) composer.DrawImage(image, 0, 0, image->GetWidth(), image->GetHeight());
    }
    Gdiplus::Graphics screen(hdc);
    screen.DrawImage(&offscreen, 0, 0, side, side);
}
