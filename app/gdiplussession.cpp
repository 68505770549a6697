#include "app/gdiplussession.h"

#include <gdiplus.h>

GdiplusSession::GdiplusSession()
{
    Gdiplus::GdiplusStartupInput input;
    m_bStarted = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
}

GdiplusSession::~GdiplusSession()
{
    if (m_bStarted) Gdiplus::GdiplusShutdown(m_token);
}
