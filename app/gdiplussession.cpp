#include "app/gdiplussession.h"

#include <gdiplus.h>

namespace {
const char kGdiplusLibrary[] = "gdiplus.dll";
}  // namespace

// Where the thread cannot be made, the first call to GDI+ loads it.
GdiplusPreload::GdiplusPreload()
{
    m_hThread = CreateThread(nullptr, 0, Load, this, 0, nullptr);
}

GdiplusPreload::~GdiplusPreload()
{
    if (!m_hThread) return;
    WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
    if (m_hLibrary) FreeLibrary(m_hLibrary);
}

DWORD WINAPI GdiplusPreload::Load(void* self)
{
    static_cast<GdiplusPreload*>(self)->m_hLibrary = LoadLibraryA(kGdiplusLibrary);
    return 0;
}

// Loaded here first, so that a system without GDI+ gets the program's own
// message instead of the failure of a call linked on first use.
GdiplusSession::GdiplusSession()
{
    m_hLibrary = LoadLibraryA(kGdiplusLibrary);
    if (!m_hLibrary) return;
    Gdiplus::GdiplusStartupInput input;
    m_bStarted = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
}

GdiplusSession::~GdiplusSession()
{
    if (m_bStarted) Gdiplus::GdiplusShutdown(m_token);
    if (m_hLibrary) FreeLibrary(m_hLibrary);
}
