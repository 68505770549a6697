#include "mainwnd/mainwnd.h"

#include <shellapi.h>

#include "app/dpi.h"
#include "app/globals.h"
#include "app/messages.h"

namespace {
HICON LoadIconForDpi(HINSTANCE hInstance, int metric, int dpi)
{
    const int side = SystemMetricForDpi(metric, dpi);
    return static_cast<HICON>(LoadImageA(hInstance, "icon", IMAGE_ICON, side, side, 0));
}

NOTIFYICONDATAA TrayIconData(HWND hWnd)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof(data);
    data.hWnd = hWnd;
    data.uID = ID_TRAYICON;
    return data;
}
}  // namespace

void CMainWnd::AddTrayIcon(HWND hWnd, HINSTANCE hInstance)
{
    m_uTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    NOTIFYICONDATAA data = TrayIconData(hWnd);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAYNOTIFY;
    // The taskbar's notification area is on the primary monitor, at whose
    // origin the screen's coordinates start.
    data.hIcon = LoadIconForDpi(hInstance, SM_CXSMICON, DpiAtPoint(POINT{0, 0}));
    Shell_NotifyIconA(NIM_ADD, &data);
    // The shell keeps a copy of its own.
    if (data.hIcon) DestroyIcon(data.hIcon);
}

// The class shows its icons on the window from its making on. The window
// sets its own only at another DPI: Wine turns each icon set on a window into
// the desktop's format anew, some milliseconds at every start.
bool CMainWnd::RegisterWindowClass(HINSTANCE hInstance, const char* className)
{
    const int metrics[2] = {SM_CXICON, SM_CXSMICON};
    for (int i = 0; i < 2; ++i) m_hClassIcons[i] = LoadIconForDpi(hInstance, metrics[i], m_nDpi);
    if (m_hClassIcons[0] && m_hClassIcons[1]) m_nClassIconDpi = m_nDpi;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = BaseWndProc;
    wc.hInstance = hInstance;
    wc.hIcon = m_hClassIcons[0];
    wc.hIconSm = m_hClassIcons[1];
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0;
}

// The icon holds several sizes; the window takes the two that the system
// metrics of its DPI ask for, and the ones it had go.
void CMainWnd::ApplyWindowIcons(int dpi)
{
    HINSTANCE hInstance = InstanceOf(m_hWnd);
    const int kinds[2] = {ICON_BIG, ICON_SMALL};
    const int metrics[2] = {SM_CXICON, SM_CXSMICON};
    for (int i = 0; i < 2; ++i) {
        HICON icon = LoadIconForDpi(hInstance, metrics[i], dpi);
        if (!icon) continue;
        SendMessageA(m_hWnd, WM_SETICON, kinds[i], reinterpret_cast<LPARAM>(icon));
        if (m_hIcons[i]) DestroyIcon(m_hIcons[i]);
        m_hIcons[i] = icon;
    }
}

void CMainWnd::RemoveTrayIcon(HWND hWnd)
{
    NOTIFYICONDATAA data = TrayIconData(hWnd);
    Shell_NotifyIconA(NIM_DELETE, &data);
}

// A restarted taskbar has lost every icon, and the tray icon is the way to
// end the program: it is added again.
LRESULT CMainWnd::OnTaskbarCreated(HWND hWnd)
{
    AddTrayIcon(hWnd, InstanceOf(hWnd));
    return 0;
}

// A left press on the tray icon ends the program, once the memo is safe;
// every other mouse message of the icon does nothing. While a message box of
// the program is up, the load or save that raised it is not over: the box
// is answered first.
LRESULT CMainWnd::OnTrayNotify(HWND hWnd, LPARAM mouseMsg)
{
    if (mouseMsg != WM_LBUTTONDOWN || g_nMessageBoxes > 0) return 0;
    EndProgram(hWnd);
    return 0;
}
