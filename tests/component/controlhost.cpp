#include "tests/component/controlhost.h"

#include <commctrl.h>

#include <cstdlib>

#include "app/messages.h"
#include "app/subclassbase.h"
#include "memo/memosearch.h"

namespace {
const char kHostClass[] = "MossvaneTestHost";

void RegisterHostClass(WNDPROC proc)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kHostClass;
    RegisterClassA(&wc);  // fails harmlessly when already registered
}
}  // namespace

void WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void HandleQueuedMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

ControlHost::ControlHost(bool visible)
{
    RegisterHostClass(WndProc);
    RECT rc = {0, 0, 400, 300};
    AdjustWindowRect(&rc, WS_OVERLAPPEDWINDOW, FALSE);
    DWORD style = WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0);
    m_hWnd = CreateWindowExA(WS_EX_TOPMOST, kHostClass, "host", style, 100 + rc.left, 100 + rc.top,
                             rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr, GetModuleHandleA(nullptr),
                             this);
    if (visible) SetForegroundWindow(m_hWnd);
    Flush();
}

ControlHost::~ControlHost()
{
    DestroyWindow(m_hWnd);
    // The image buttons end the message loop when they go; a test has none.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

HWND ControlHost::AddButton(CSubClassBase& object, int id, DWORD style, int x, int y, int side)
{
    HWND hWnd = CreateWindowExA(0, "BUTTON", nullptr, style, x, y, side, side, m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                nullptr);
    object.Attach(hWnd);
    return hWnd;
}

void ControlHost::Flush() const
{
    HandleQueuedMessages();
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    HandleQueuedMessages();
}

LRESULT CALLBACK ControlHost::WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<ControlHost*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (msg == WM_SETTINGDONE && self) {
        self->m_settingDone.push_back(lParam);
        return 0;
    }
    if (msg == WM_SEARCHOPEN && self) {
        self->m_searchOpened.push_back(reinterpret_cast<const SearchHit*>(lParam)->name);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

COLORREF PixelOf(HWND hWnd, int x, int y)
{
    HDC hdc = GetDC(hWnd);
    COLORREF colour = GetPixel(hdc, x, y);
    ReleaseDC(hWnd, hdc);
    return colour;
}

bool NearColour(COLORREF a, COLORREF b)
{
    return abs(GetRValue(a) - GetRValue(b)) <= 2 && abs(GetGValue(a) - GetGValue(b)) <= 2 &&
           abs(GetBValue(a) - GetBValue(b)) <= 2;
}

RECT RectIn(HWND parent, HWND child)
{
    RECT rc = {};
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

LONG FontHeightOf(HWND hWnd)
{
    LOGFONTA lf = {};
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0));
    return font && GetObjectA(font, sizeof(lf), &lf) ? lf.lfHeight : 0;
}
