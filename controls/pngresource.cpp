#include "controls/pngresource.h"

#include <gdiplus.h>

#include <cstring>
#include <memory>

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

Gdiplus::Bitmap* CDecodedPng::Get(int id)
{
    if (m_picture && m_id == id) return m_picture;
    Release();
    m_picture = LoadPngResource(id, "PNG");
    m_id = id;
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
