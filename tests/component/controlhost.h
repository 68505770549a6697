#pragma once
// A top-level test window in which the controls' objects are hosted as the
// memo window hosts them, with GDI+ running.
#include <windows.h>

#include <string>
#include <vector>

#include "app/gdiplussession.h"

class CSubClassBase;

class ControlHost {
public:
    // A 400 x 300 client area at (100, 100) of the screen. (Wine takes a while
    // to hide a shown window, which its destruction does.)
    explicit ControlHost(bool visible = true);
    ~ControlHost();

    HWND Window() const { return m_hWnd; }
    // A BUTTON child bound to object, as the memo window creates its buttons.
    HWND AddButton(CSubClassBase& object, int id, DWORD style, int x, int y, int side);
    // Paints whatever is due, children included, and handles queued messages.
    void Flush() const;
    // The lParam of every WM_SETTINGDONE that reached the window.
    const std::vector<LPARAM>& SettingDone() const { return m_settingDone; }
    // The memo name of every hit the search window asked the window to open.
    const std::vector<std::string>& SearchOpened() const { return m_searchOpened; }

    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    GdiplusSession m_gdiplus;
    HWND m_hWnd = nullptr;
    std::vector<LPARAM> m_settingDone;
    std::vector<std::string> m_searchOpened;
};

// A child's rectangle in its parent's client area.
RECT RectIn(HWND parent, HWND child);
// The height of the font a control was given (WM_SETFONT), 0 for none.
LONG FontHeightOf(HWND hWnd);
// The colour of a window's pixel as the screen shows it.
COLORREF PixelOf(HWND hWnd, int x, int y);
// True when the two colours differ by at most 2 in each channel.
bool NearColour(COLORREF a, COLORREF b);
// Makes or replaces the file at `path` with exactly `bytes`.
void WriteBytes(const std::string& path, const std::string& bytes);
// Dispatches every message waiting in the thread's queue.
void HandleQueuedMessages();
// Handles queued messages until done() or the time is up.
template <typename F>
bool PumpUntil(F done, DWORD timeoutMs = 10000)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
        if (done()) return true;
        HandleQueuedMessages();
        Sleep(20);
    }
    return done();
}
