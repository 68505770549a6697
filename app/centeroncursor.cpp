#include "app/centeroncursor.h"

#include "app/placement.h"

BOOL CALLBACK CenterOnCursor(HMONITOR hMonitor, HDC, LPRECT, LPARAM data)
{
    auto* placement = reinterpret_cast<Placement*>(data);
    HMONITOR cursorMonitor = MonitorFromPoint(placement->ptCursor, MONITOR_DEFAULTTONEAREST);
    MONITORINFOEXA info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoA(hMonitor, &info);
    if (hMonitor != cursorMonitor) return TRUE;

    const RECT& w = placement->rcWindow;
    const RECT& work = info.rcWork;
    PlacePoint pos = PlaceOnCursor({placement->ptCursor.x, placement->ptCursor.y},
                                   {w.left, w.top, w.right, w.bottom},
                                   {work.left, work.top, work.right, work.bottom});
    placement->ptResult = {pos.x, pos.y};
    return TRUE;
}

void PlaceAtCursor(Placement& placement)
{
    GetCursorPos(&placement.ptCursor);
    EnumDisplayMonitors(nullptr, nullptr, CenterOnCursor, reinterpret_cast<LPARAM>(&placement));
}

bool PlaceAtStoredPosition(Placement& placement, POINT stored)
{
    RECT at = placement.rcWindow;
    OffsetRect(&at, stored.x - at.left, stored.y - at.top);
    if (!MonitorFromRect(&at, MONITOR_DEFAULTTONULL)) return false;
    placement.ptResult = stored;
    return true;
}
