#pragma once
#include <windows.h>

// GDI+ for the life of the object.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    bool ok() const { return m_bStarted; }

    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR m_token = 0;
    bool m_bStarted = false;
};
