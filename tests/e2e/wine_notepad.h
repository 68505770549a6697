#pragma once
// Wine's own notepad as "another program" that keys are typed into, with
// xdotool as the keyboard: the keys come through the X server, as a user's do.
#include <windows.h>

#include <string>

class WineNotepad {
public:
    WineNotepad();   // starts notepad.exe and waits for its window; throws if it does not come up
    ~WineNotepad();  // ends it

    HWND Window() const { return m_hWnd; }

    // Makes notepad the foreground window with the focus in its text, as a
    // click on it does; throws if it does not get there.
    void Activate() const;
    // Runs one xdotool keyboard command, such as "key a shift+z comma" or
    // "keydown alt", with notepad's X window holding the X input focus; the
    // keys go to whichever window Wine has in the foreground. Returns at
    // once: Wine cannot wait for a Unix process, so callers poll for the
    // effect of the keys, and one call's keys may overtake an earlier one's.
    void Press(const std::string& command) const;
    // The same, returning once xdotool has sent every key (they may not have
    // reached notepad yet); false if it has not within timeoutMs.
    bool PressAndWait(const std::string& command, DWORD timeoutMs = 20000) const;
    // Activates notepad and presses `keys` in order ("a shift+z comma").
    void Type(const std::string& keys) const;

    std::string Text() const;  // the edit control's text
    bool WaitForText(const std::string& expected, DWORD timeoutMs = 20000) const;

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_hWnd = nullptr;
    HWND m_hEdit = nullptr;
};
