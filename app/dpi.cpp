#include "app/dpi.h"

#include "app/bounded.h"
#include "app/dpiscale.h"

namespace {
// MONITOR_DPI_TYPE's effective DPI.
const int kEffectiveDpi = 0;

typedef UINT(WINAPI* GetDpiForWindowFn)(HWND);
typedef HRESULT(WINAPI* GetDpiForMonitorFn)(HMONITOR, int, UINT*, UINT*);
typedef BOOL(WINAPI* AdjustWindowRectExForDpiFn)(RECT*, DWORD, BOOL, DWORD, UINT);
typedef int(WINAPI* GetSystemMetricsForDpiFn)(int, UINT);
typedef BOOL(WINAPI* EnableNonClientDpiScalingFn)(HWND);

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

// By its full path in the system folder: by a bare name, a DLL that this
// Windows lacks would be loaded from the program's or the current folder.
HMODULE LoadSystemLibrary(const char* name)
{
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) return nullptr;
    if (!FormatBounded(path + length, sizeof(path) - length, "\\%s", name)) return nullptr;
    return LoadLibraryA(path);
}

// shcore.dll comes with Windows 8.1; loaded once and kept for the run.
GetDpiForMonitorFn GetDpiForMonitorFunction()
{
    static const GetDpiForMonitorFn function =
        Lookup<GetDpiForMonitorFn>(LoadSystemLibrary("shcore.dll"), "GetDpiForMonitor");
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

// Windows 10 1607 scales a per-monitor window's caption and frame only when
// asked in WM_NCCREATE; later versions do it themselves, earlier ones lack
// the function.
void EnableNonClientScaling(HWND hWnd)
{
    static const auto enable = User32Function<EnableNonClientDpiScalingFn>("EnableNonClientDpiScaling");
    if (enable) enable(hWnd);
}

// The system gives its metrics at the screen's DPI, which the font is scaled
// from. (The call made for a DPI takes only the UTF-16 structure.)
bool StatusFontForDpi(int dpi, LOGFONTA& font)
{
    // The XP size of the structure, which every later Windows takes too.
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return false;
    font = metrics.lfStatusFont;
    font.lfHeight = MulDiv(font.lfHeight, dpi, ScreenDpi());
    return true;
}
