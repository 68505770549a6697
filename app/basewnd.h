#pragma once
#include <windows.h>

// A top-level window of one of the program's own classes. The window
// procedure finds the object through GWL_USERDATA, stored at WM_CREATE from
// the creation parameter.
class CBaseWnd {
public:
    HWND m_hWnd = nullptr;

    virtual LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT SetFont(HINSTANCE hInstance, const char* face, HWND hWnd);

protected:
    CBaseWnd() = default;
    ~CBaseWnd() = default;
    CBaseWnd(const CBaseWnd&) = delete;
    CBaseWnd& operator=(const CBaseWnd&) = delete;
};

LRESULT CALLBACK BaseWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Creates a font from the given description with the given face and hands it
// to hWnd. The font lives for the rest of the run.
LRESULT ApplyFont(LOGFONTA& font, const char* face, HWND hWnd);
// Registers a class of the program's own secondary windows (BaseWndProc,
// the arrow cursor, the dialog face). A class that exists already (a window
// of it was made before in this process) serves as well as a new one.
bool RegisterBaseClass(HINSTANCE hInstance, const char* className);
// The module that made the window.
HINSTANCE InstanceOf(HWND hWnd);
