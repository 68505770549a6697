// The floors, Wine's own cost of the same operations: a window of another
// process that does nothing for a key, and for a show request only what
// any pop-up must do: show, paint, come to the top at the cursor and click
// into its edit box. Captioned and layered like the memo window; the plain
// one is not layered, to tell what the layered composition costs.
#include <windows.h>

#include <string>

#include "app/messages.h"
#include "bench/benches.h"
#include "tests/e2e/harness.h"

const char kFloorArgument[] = "--floor-window";

namespace {
const char kFloorClass[] = "MossvaneBenchFloor";
const char kPlainTitle[] = "MossvaneBenchFloor plain";
const BYTE kAlpha = 230;

void PopUp(HWND hWnd)
{
    ShowWindow(hWnd, SW_SHOW);
    UpdateWindow(hWnd);
    POINT cursor;
    GetCursorPos(&cursor);
    SetWindowPos(hWnd, HWND_TOPMOST, cursor.x - 200, cursor.y - 125, 0, 0, SWP_NOSIZE);
    RECT rc;
    GetWindowRect(GetDlgItem(hWnd, IDC_EDIT), &rc);
    SetCursorPos(rc.right - 20, rc.bottom - 20);
    mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE, 0, 0, 0, 0);
    SetCursorPos(cursor.x, cursor.y);
}

LRESULT CALLBACK FloorProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SHOWMEMO:
        if (lParam && !IsWindowVisible(hWnd)) PopUp(hWnd);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) ShowWindow(hWnd, SW_HIDE);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}
}  // namespace

int RunFloorWindow(bool layered)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    wc.lpszClassName = kFloorClass;
    if (!RegisterClassA(&wc)) return 1;
    HWND hWnd = CreateWindowExA(layered ? WS_EX_LAYERED : 0, kFloorClass, layered ? kFloorClass : kPlainTitle,
                                WS_CAPTION | WS_CLIPCHILDREN, 0, 0, 406, 250, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hWnd) return 1;
    if (layered) SetLayeredWindowAttributes(hWnd, 0, kAlpha, LWA_ALPHA);
    CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 0, 0, 400, 200, hWnd,
                    reinterpret_cast<HMENU>(IDC_EDIT), wc.hInstance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

FloorWindow::FloorWindow(bool layered)
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof(exe));
    std::string commandLine = "\"" + std::string(exe) + "\" " + kFloorArgument + (layered ? "" : " plain");
    const char* title = layered ? kFloorClass : kPlainTitle;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (CreateProcessA(exe, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
        WaitUntil([this, title] { return (m_hWnd = FindWindowA(kFloorClass, title)) != nullptr; });
}

FloorWindow::~FloorWindow()
{
    if (m_hWnd) PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    if (!m_pi.hProcess) return;
    if (WaitForSingleObject(m_pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(m_pi.hProcess, 1);
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
}
