#include "app/dpi.h"

#include "app/dpiscale.h"

namespace {
// MONITOR_DPI_TYPE's effective DPI.
const int kEffectiveDpi = 0;

typedef UINT(WINAPI* GetDpiForWindowFn)(HWND);
typedef HRESULT(WINAPI* GetDpiForMonitorFn)(HMONITOR, int, UINT*, UINT*);
typedef BOOL(WINAPI* AdjustWindowRectExForDpiFn)(RECT*, DWORD, BOOL, DWORD, UINT);
typedef int(WINAPI* GetSystemMetricsForDpiFn)(int, UINT);

// A function of a system DLL by name; null where this Windows lacks it.
template <typename Function>
Function Lookup(HMODULE module, const char* name)
{
    FARPROC proc = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

template <typename Function>
Function User32Function(const char* name)
{
    return Lookup<Function>(GetModuleHandleA("user32.dll"), name);
}

// shcore.dll comes with Windows 8.1; loaded once and kept for the run.
GetDpiForMonitorFn GetDpiForMonitorFunction()
{
    static const GetDpiForMonitorFn function =
        Lookup<GetDpiForMonitorFn>(LoadLibraryA("shcore.dll"), "GetDpiForMonitor");
    return function;
}

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    if (!screen) return kBaseDpi;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int DpiOfMonitor(HMONITOR monitor)
{
    GetDpiForMonitorFn getDpiForMonitor = GetDpiForMonitorFunction();
    UINT x = 0, y = 0;
    if (monitor && getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && x > 0)
        return static_cast<int>(x);
    return ScreenDpi();
}
}  // namespace

int DpiOfWindow(HWND hWnd)
{
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow) {
        const UINT dpi = getDpiForWindow(hWnd);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return DpiOfMonitor(MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST));
}

int DpiAtPoint(POINT screen)
{
    return DpiOfMonitor(MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST));
}

RECT OuterRectForDpi(int width, int height, DWORD style, DWORD exStyle, int dpi)
{
    static const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    RECT rc = {0, 0, width, height};
    if (!adjustForDpi || !adjustForDpi(&rc, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    return rc;
}

int SystemMetricForDpi(int index, int dpi)
{
    static const auto metricForDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (metricForDpi) return metricForDpi(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}
