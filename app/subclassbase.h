#pragma once
#include <windows.h>

// A standard control subclassed with SubClassProc: the control's window
// procedure is replaced, and the object is kept in the control's user data.
// Unlike comctl32's SetWindowSubclass, which asks the window server for the
// window's subclass property at every message under Wine, nothing is looked
// up but the control's own data.
class CSubClassBase {
public:
    HWND m_hWnd = nullptr;

    virtual LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT SetFont(HINSTANCE hInstance, const char* face, HWND hWnd);

    // Binds this object to a control that was just created.
    void Attach(HWND hWnd);

protected:
    CSubClassBase();
    ~CSubClassBase() = default;
    CSubClassBase(const CSubClassBase&) = delete;
    CSubClassBase& operator=(const CSubClassBase&) = delete;

    // The control's own handling of a message.
    LRESULT DefControlProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) const;

private:
    WNDPROC m_pfnControlProc = nullptr;
};

LRESULT CALLBACK SubClassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
