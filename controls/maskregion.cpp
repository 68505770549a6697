#include "controls/maskregion.h"

#include <gdiplus.h>

#include <memory>
#include <vector>

#include "app/scopedhandles.h"
#include "controls/buttonregion.h"
#include "controls/imagepaint.h"
#include "controls/pngresource.h"

namespace {
// The mask's pixels as 0xRRGGBB, top row first. A transparent pixel comes out
// black, that is inside.
bool ReadMaskPixels(Gdiplus::Bitmap& mask, std::vector<uint32_t>& pixels, int& width, int& height)
{
    width = static_cast<int>(mask.GetWidth());
    height = static_cast<int>(mask.GetHeight());
    HBITMAP hBitmap = nullptr;
    if (mask.GetHBITMAP(Gdiplus::Color(255, 0, 0, 0), &hBitmap) != Gdiplus::Ok) return false;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    pixels.assign(static_cast<size_t>(width) * height, 0);
    int rows = 0;
    {
        ScopedWindowDC screen(nullptr);
        if (screen.get()) rows = GetDIBits(screen.get(), hBitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    }
    DeleteObject(hBitmap);
    return rows == height;
}

HRGN RegionOfRuns(const std::vector<PixelRun>& runs)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (!region) return nullptr;
    for (const PixelRun& run : runs) {
        HRGN piece = CreateRectRgn(run.left, run.y, run.right, run.y + 1);
        int combined = piece ? CombineRgn(region, region, piece, RGN_OR) : ERROR;
        if (piece) DeleteObject(piece);
        if (combined == ERROR) {
            DeleteObject(region);
            return nullptr;
        }
    }
    return region;
}
}  // namespace

HRGN CreateMaskRegion(int maskId, int dpi)
{
    std::unique_ptr<Gdiplus::Bitmap> mask(LoadPictureForDpi(maskId, dpi, kButtonSide));
    if (!mask) return nullptr;
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    if (!ReadMaskPixels(*mask, pixels, width, height)) return nullptr;
    return RegionOfRuns(ButtonRuns(pixels.data(), width, height));
}
