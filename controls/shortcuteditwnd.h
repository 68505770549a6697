#pragma once
#include "app/subclassbase.h"

// The settings window's shortcut field, a hot-key control. It takes every
// key pressed with Ctrl or Alt, Tab, Enter and Esc among them; alone, those
// move on, finish and cancel as everywhere in the window. A shortcut with
// the Windows key, which the control cannot show, it shows whole, as its
// window text and painted, until another key is pressed.
class CShortcutEditWnd final : public CSubClassBase {
public:
    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // whole: the shortcut's text, empty for none; hotKey: the control's
    // value while it shows that shortcut.
    void ShowWhole(const char* whole, WORD hotKey);

private:
    void PaintWhole(HWND hWnd);
    void ForgetWholeIfChanged(HWND hWnd);

    char m_szWhole[64] = "";
    WORD m_wWholeHotKey = 0;
};
