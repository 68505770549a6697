#include "controls/pngresource.h"

#include <gdiplus.h>

#include <cstring>
#include <memory>

#include "app/dpiscale.h"
#include "controls/picturescale.h"

namespace {
// A movable global copy of a resource's bytes, freed with the object unless
// a stream has taken it over.
class GlobalCopy {
public:
    GlobalCopy(const void* data, DWORD size)
    {
        m_hMem = GlobalAlloc(GMEM_MOVEABLE, size);
        if (!m_hMem) return;
        void* target = GlobalLock(m_hMem);
        if (!target) {
            Free();
            return;
        }
        memcpy(target, data, size);
        GlobalUnlock(m_hMem);
    }
    ~GlobalCopy() { Free(); }
    HGLOBAL get() const { return m_hMem; }
    HGLOBAL release()
    {
        HGLOBAL hMem = m_hMem;
        m_hMem = nullptr;
        return hMem;
    }

    GlobalCopy(const GlobalCopy&) = delete;
    GlobalCopy& operator=(const GlobalCopy&) = delete;

private:
    void Free()
    {
        if (m_hMem) GlobalFree(m_hMem);
        m_hMem = nullptr;
    }
    HGLOBAL m_hMem = nullptr;
};

// A stream over the resource's bytes that frees them when released.
IStream* OpenResourceStream(int id, const char* type)
{
    HRSRC hRes = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    if (!hRes) return nullptr;
    DWORD size = SizeofResource(nullptr, hRes);
    HGLOBAL hData = LoadResource(nullptr, hRes);
    const void* data = hData ? LockResource(hData) : nullptr;
    if (!data || size == 0) return nullptr;

    GlobalCopy copy(data, size);
    if (!copy.get()) return nullptr;
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(copy.get(), TRUE, &stream))) return nullptr;
    copy.release();
    return stream;
}

// Coverage below this (of 255) is dropped, as res/draw_buttons.py drops it
// from the pictures it draws: filtering spreads a faint fringe around the
// icon that would widen the region cut from a mask.
const int kFaint = 12;

// A face pixel that faint becomes transparent; a mask pixel that close to
// white becomes pure white, outside the button. Neither rule touches the
// other kind: masks are opaque, and no face colour is near white.
void DropFaintCoverage(Gdiplus::Bitmap& picture)
{
    const int width = static_cast<int>(picture.GetWidth()), height = static_cast<int>(picture.GetHeight());
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data = {};
    if (picture.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB,
                         &data) != Gdiplus::Ok)
        return;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<UINT32*>(static_cast<BYTE*>(data.Scan0) + y * data.Stride);
        for (int x = 0; x < width; ++x) {
            const UINT32 pixel = row[x];
            if ((pixel >> 24) < kFaint) {
                row[x] = 0;
                continue;
            }
            const UINT32 least = 255 - kFaint;
            if (((pixel >> 16) & 0xFF) > least && ((pixel >> 8) & 0xFF) > least && (pixel & 0xFF) > least)
                row[x] = pixel | 0xFFFFFF;
        }
    }
    picture.UnlockBits(&data);
}

// A bitmap of side x side with the picture drawn into it whole, filtered.
Gdiplus::Bitmap* ScaleTo(Gdiplus::Bitmap& picture, int side)
{
    std::unique_ptr<Gdiplus::Bitmap> scaled(new Gdiplus::Bitmap(side, side, PixelFormat32bppARGB));
    if (!scaled || scaled->GetLastStatus() != Gdiplus::Ok) return nullptr;
    {
        Gdiplus::Graphics graphics(scaled.get());
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        Gdiplus::ImageAttributes edges;
        edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
        const Gdiplus::Rect target(0, 0, side, side);
        if (graphics.DrawImage(&picture, target, 0, 0, static_cast<INT>(picture.GetWidth()),
                               static_cast<INT>(picture.GetHeight()), Gdiplus::UnitPixel, &edges) != Gdiplus::Ok)
            return nullptr;
    }
    DropFaintCoverage(*scaled);
    return scaled.release();
}

// Copies the decoded pixels into a bitmap that owns them, so that nothing of
// the stream is needed afterwards.
Gdiplus::Bitmap* CopyPixels(Gdiplus::Bitmap& source)
{
    const int width = static_cast<int>(source.GetWidth());
    const int height = static_cast<int>(source.GetHeight());
    if (width <= 0 || height <= 0) return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> copy(new Gdiplus::Bitmap(width, height, PixelFormat32bppARGB));
    if (!copy || copy->GetLastStatus() != Gdiplus::Ok) return nullptr;

    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData from = {};
    if (source.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &from) != Gdiplus::Ok)
        return nullptr;
    Gdiplus::BitmapData to = {};
    Gdiplus::Status status = copy->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &to);
    if (status == Gdiplus::Ok) {
        for (int y = 0; y < height; ++y)
            memcpy(static_cast<BYTE*>(to.Scan0) + y * to.Stride,
                   static_cast<const BYTE*>(from.Scan0) + y * from.Stride, width * 4);
        copy->UnlockBits(&to);
    }
    source.UnlockBits(&from);
    return status == Gdiplus::Ok ? copy.release() : nullptr;
}
}  // namespace

CDecodedPng::CDecodedPng() = default;

CDecodedPng::~CDecodedPng()
{
    Release();
}

Gdiplus::Bitmap* CDecodedPng::Get(int id, int dpi, int side96)
{
    if (m_picture && m_id == id && m_dpi == dpi) return m_picture;
    Release();
    m_picture = LoadPictureForDpi(id, dpi, side96);
    m_id = id;
    m_dpi = dpi;
    return m_picture;
}

void CDecodedPng::Release()
{
    delete m_picture;
    m_picture = nullptr;
}

Gdiplus::Bitmap* LoadPngResource(int id, const char* type)
{
    IStream* stream = OpenResourceStream(id, type);
    if (!stream) return nullptr;
    Gdiplus::Bitmap* result = nullptr;
    {
        Gdiplus::Bitmap decoded(stream);
        if (decoded.GetLastStatus() == Gdiplus::Ok) result = CopyPixels(decoded);
    }
    stream->Release();
    return result;
}

Gdiplus::Bitmap* LoadPictureForDpi(int id, int dpi, int side96)
{
    std::unique_ptr<Gdiplus::Bitmap> picture(
        LoadPngResource(id + PictureSetForDpi(dpi) * kPictureSetIdStep, "PNG"));
    const int side = ScaleForDpi(side96, dpi);
    if (!picture || side <= 0) return nullptr;
    if (static_cast<int>(picture->GetWidth()) == side && static_cast<int>(picture->GetHeight()) == side)
        return picture.release();
    return ScaleTo(*picture, side);
}
