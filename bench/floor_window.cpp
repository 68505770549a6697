// The floors, Wine's own cost of the same operations: a window of another
// process that does nothing for a key, and for a show request only what
// any pop-up must do: show, paint, come to the top at the cursor and click
// into its edit box. Captioned and layered like the memo window; the plain
// one is not layered, to tell what the layered composition costs. The one
// with controls has the memo window's: its editor, four hidden buttons, the
// list, three check boxes and a tip, where the memo window has them, and
// nothing behind them: what a window made of these controls, in the memo
// window's fonts, pays. The one with the program's libraries loads them
// first, as the program does.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <iterator>
#include <string>

#include "app/messages.h"
#include "bench/benches.h"
#include "mainwnd/layout.h"
#include "mainwnd/mainfonts.h"
#include "tests/e2e/harness.h"

const char kFloorArgument[] = "--floor-window";
const char kShownArgument[] = "shown";
const char kFloorClass[] = "MossvaneBenchFloor";

namespace {
const char* const kTitles[] = {"MossvaneBenchFloor", "MossvaneBenchFloor plain", "MossvaneBenchFloor controls",
                               "MossvaneBenchFloor libraries"};
const char* const kKindArguments[] = {"", " plain", " controls", " libraries"};
// The system libraries that the program loads as it starts and this program
// does not: the common controls come in when the first control is made.
const char* const kProgramLibraries[] = {"advapi32.dll", "comctl32.dll", "gdiplus.dll", "ole32.dll", "shlwapi.dll"};
const BYTE kAlpha = 230;
const int kMemoWidth = 400;
const int kMemoHeight = 225;

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

HWND AddChild(HWND parent, const char* className, const char* text, DWORD style, const ChildBox& box, int id)
{
    return CreateWindowExA(0, className, text, WS_CHILD | style, box.x, box.y, box.width, box.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void SetFont(HWND control, HFONT font)
{
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void AddTool(HWND tip, HWND owner, HWND control)
{
    TOOLINFOA tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>("tip");
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

// The memo window's children, in its order and places, each given its font
// as it is made, as the memo window does. The fonts live as long as the
// window's process.
void AddMemoControls(HWND hWnd)
{
    static CMainFonts fonts;
    if (fonts.Make(96)) fonts.Apply(nullptr, nullptr, nullptr, nullptr, nullptr);
    const MainLayout layout = ComputeMainLayout(kMemoWidth, kMemoHeight);
    SetFont(AddChild(hWnd, "EDIT", "",
                     WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                     layout.edit, IDC_EDIT),
            fonts.Editor());
    for (int i = 0; i < 4; ++i) AddChild(hWnd, "BUTTON", "", WS_CLIPSIBLINGS | BS_OWNERDRAW, layout.buttons[i], IDC_NEWMEMO + i);
    HWND list = AddChild(hWnd, "COMBOBOX", nullptr, WS_VISIBLE | CBS_DROPDOWNLIST | CBS_DISABLENOSCROLL, layout.list,
                         IDC_FILELIST);
    SetFont(list, fonts.List());
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("memo.txt"));
    SendMessageA(list, CB_SETCURSEL, 0, 0);
    HWND boxes[] = {AddChild(hWnd, "BUTTON", "Startup", WS_VISIBLE | BS_AUTOCHECKBOX, layout.startup, IDC_STARTUP),
                    AddChild(hWnd, "BUTTON", "Shortcut", WS_VISIBLE | BS_AUTOCHECKBOX, layout.shortcut, IDC_SHORTCUT),
                    AddChild(hWnd, "BUTTON", "", WS_VISIBLE | BS_AUTOCHECKBOX, layout.pin, IDC_PIN)};
    SetFont(boxes[0], fonts.Boxes());
    SetFont(boxes[1], fonts.Boxes());
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hWnd, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    SetFont(tip, fonts.Tip());
    for (HWND box : boxes) AddTool(tip, hWnd, box);
}
}  // namespace

int RunFloorWindow(FloorKind kind, bool shown)
{
    if (kind == FloorKind::ControlsAndLibraries) {
        for (const char* library : kProgramLibraries) LoadLibraryA(library);
    }
    const bool layered = kind != FloorKind::Plain;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    wc.lpszClassName = kFloorClass;
    if (!RegisterClassA(&wc)) return 1;
    HWND hWnd = CreateWindowExA(layered ? WS_EX_LAYERED : 0, kFloorClass, kTitles[static_cast<int>(kind)],
                                WS_CAPTION | WS_CLIPCHILDREN, 0, 0, 406, 250, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hWnd) return 1;
    if (layered) SetLayeredWindowAttributes(hWnd, 0, kAlpha, LWA_ALPHA);
    if (kind == FloorKind::Controls || kind == FloorKind::ControlsAndLibraries) {
        AddMemoControls(hWnd);
    } else {
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 0, 0, 400, 200, hWnd,
                        reinterpret_cast<HMENU>(IDC_EDIT), wc.hInstance, nullptr);
    }
    if (shown) {
        SetFocus(GetDlgItem(hWnd, IDC_EDIT));
        ShowWindow(hWnd, SW_SHOW);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

std::string FloorArguments(FloorKind kind)
{
    return std::string(kFloorArgument) + kKindArguments[static_cast<int>(kind)];
}

FloorKind FloorKindNamed(const char* argument)
{
    for (int kind = 1; kind < static_cast<int>(std::size(kKindArguments)); ++kind) {
        if (argument && strcmp(argument, kKindArguments[kind] + 1) == 0) return static_cast<FloorKind>(kind);
    }
    return FloorKind::Layered;
}

std::string BenchmarkPath()
{
    char exe[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, exe, sizeof(exe));
    return length < sizeof(exe) ? exe : "";
}

FloorWindow::FloorWindow(FloorKind kind)
{
    const std::string exe = BenchmarkPath();
    std::string commandLine = "\"" + exe + "\" " + FloorArguments(kind);
    const char* title = kTitles[static_cast<int>(kind)];
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
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
