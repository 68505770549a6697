#include "mainwnd/mainwnd.h"

#include <shellapi.h>

#include "app/globals.h"
#include "app/messages.h"

namespace {
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
    data.hIcon = LoadIconA(hInstance, "icon");
    Shell_NotifyIconA(NIM_ADD, &data);
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
    if (mouseMsg != WM_LBUTTONDOWN || g_bMessageBox) return 0;
    EndProgram(hWnd);
    return 0;
}
