#include "app/basewnd.h"

#include "app/bounded.h"
#include "app/dpi.h"
#include "app/globals.h"

LRESULT CALLBACK BaseWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CBaseWnd*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!self) {
        if (msg == WM_NCCREATE && !(reinterpret_cast<CREATESTRUCTA*>(lParam)->style & WS_CHILD))
            EnableNonClientScaling(hWnd);
        if (msg != WM_CREATE) return DefWindowProcA(hWnd, msg, wParam, lParam);
        self = static_cast<CBaseWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (!self) return DefWindowProcA(hWnd, msg, wParam, lParam);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    return self->HandleMessage(hWnd, msg, wParam, lParam);
}

bool RegisterBaseClass(HINSTANCE hInstance, const char* className)
{
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = BaseWndProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HINSTANCE InstanceOf(HWND hWnd)
{
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hWnd, GWLP_HINSTANCE));
}

LRESULT ApplyFont(LOGFONTA& font, const char* face, HWND hWnd)
{
    CopyBounded(font.lfFaceName, sizeof(font.lfFaceName), face);
    HFONT hFont = CreateFontIndirectA(&font);
    return SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
}

LRESULT CBaseWnd::SetFont(HINSTANCE, const char* face, HWND hWnd)
{
    return ApplyFont(g_mainFont, face, hWnd ? hWnd : m_hWnd);
}
