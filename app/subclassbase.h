#pragma once
#include <windows.h>

// A standard control subclassed with SubClassProc; the subclass id is the
// object's address.
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
};

LRESULT CALLBACK SubClassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                              UINT_PTR uIdSubclass, DWORD_PTR dwRefData);
