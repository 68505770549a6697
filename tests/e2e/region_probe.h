#pragma once
// Reads a window's region back as the system holds it. Shared by the
// component and the end-to-end tests.
#include <windows.h>

#include <vector>

// The pixels of a window's region, or -1 without one; its bounds into
// `bounds` when given.
inline long RegionArea(HWND hWnd, RECT* bounds = nullptr)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    long area = -1;
    if (GetWindowRgn(hWnd, region) != ERROR) {
        if (bounds) GetRgnBox(region, bounds);
        std::vector<char> buffer(GetRegionData(region, 0, nullptr));
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        if (!buffer.empty() && GetRegionData(region, static_cast<DWORD>(buffer.size()), data)) {
            area = 0;
            const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
            for (DWORD i = 0; i < data->rdh.nCount; ++i)
                area += (rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
        }
    }
    DeleteObject(region);
    return area;
}
