#pragma once
#include <windows.h>

// The program links GDI+ on first use. Its library, with the OLE
// automation library it brings along, is loaded on a thread of its own
// while the window is made, which needs no picture before it shows.
class GdiplusPreload {
public:
    GdiplusPreload();
    ~GdiplusPreload();

    GdiplusPreload(const GdiplusPreload&) = delete;
    GdiplusPreload& operator=(const GdiplusPreload&) = delete;

private:
    static DWORD WINAPI Load(void* self);

    HANDLE m_hThread = nullptr;
    HMODULE m_hLibrary = nullptr;
};

// GDI+ for the life of the object. Not ok where its library cannot be
// loaded or started: no call reaches GDI+ then.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    bool ok() const { return m_bStarted; }

    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    HMODULE m_hLibrary = nullptr;
    ULONG_PTR m_token = 0;
    bool m_bStarted = false;
};
