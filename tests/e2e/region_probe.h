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
        // In whole DWORDs, as RGNDATA is aligned.
        const DWORD size = GetRegionData(region, 0, nullptr);
        std::vector<DWORD> buffer((size + sizeof(DWORD) - 1) / sizeof(DWORD));
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        if (!buffer.empty() && GetRegionData(region, size, data)) {
            area = 0;
            const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
            for (DWORD i = 0; i < data->rdh.nCount; ++i)
                area += (rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
        }
    }
    DeleteObject(region);
    return area;
}
