#pragma once
#include <windows.h>

namespace Gdiplus {
class Bitmap;
}

// The PNG resources: the face of image button n (control id 1 to 4) is
// IDP_FACE + n, or IDP_FACE + IDP_HOVER + n under the mouse; its region mask
// is IDP_MASK + n. These are the 100 percent pictures; the larger sets
// follow at the steps of controls/picturescale.h.
#define IDP_FACE 99
#define IDP_HOVER 10
#define IDP_MASK 129
#define IDP_PIN 300
#define IDP_PIN_CHECKED 310

// Decodes a PNG resource of the program's own module into a bitmap of its
// own, which holds no reference to the resource or to any stream. The caller
// owns the result (delete); null on any failure.
Gdiplus::Bitmap* LoadPngResource(int id, const char* type);

// The picture of resource `id` (a 100 percent id) for dpi, side96 x side96
// at 96 DPI: taken from the set that PictureSetForDpi picks and scaled down
// the rest of the way, with the edge pixels repeated outward so that the
// border does not fade. Owned by the caller; null on any failure.
Gdiplus::Bitmap* LoadPictureForDpi(int id, int dpi, int side96);

// A picture decoded for a DPI at first use and kept: decoding costs more
// than painting. One that could not be decoded is tried again at the next
// use. Released before GDI+ shuts down.
class CDecodedPng {
public:
    CDecodedPng();
    ~CDecodedPng();
    // LoadPictureForDpi's picture; null when it cannot be decoded.
    Gdiplus::Bitmap* Get(int id, int dpi, int side96);
    void Release();

    CDecodedPng(const CDecodedPng&) = delete;
    CDecodedPng& operator=(const CDecodedPng&) = delete;

private:
    int m_id = 0;
    int m_dpi = 0;
    Gdiplus::Bitmap* m_picture = nullptr;
};
