#pragma once
// Wine's own notepad as "another program" that keys are typed into, with
// xdotool as the keyboard: the keys come through the X server, as a user's do.
#include <windows.h>

#include <string>

class Notepad {
public:
    Notepad();   // starts notepad.exe and waits for its window; throws if it does not come up
    ~Notepad();  // ends it

    HWND Window() const { return m_hWnd; }

    // Makes notepad the foreground window and gives its X window the input
    // focus, then presses `keys` in order, named as xdotool names them, such
    // as "a shift+z alt+x comma space". Returns at once: Wine cannot wait for
    // a Unix process, so callers poll for the effect of the keys.
    void Type(const std::string& keys) const;

    std::string Text() const;  // the edit control's text
    bool WaitForText(const std::string& expected, DWORD timeoutMs = 20000) const;

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_hWnd = nullptr;
    HWND m_hEdit = nullptr;
};

// The thread of `hWnd` has the keyboard focus on `focus`.
bool HasThreadFocus(HWND hWnd, HWND focus);
