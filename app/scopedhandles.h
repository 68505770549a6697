#pragma once
#include <windows.h>

// Guards for what the program takes from the system for the length of one
// operation: each gives it back when the scope is left, whichever way.

// A file search (FindFirstFileA); closed at the end.
class ScopedFind {
public:
    ScopedFind(const char* pattern, WIN32_FIND_DATAA& entry) : m_hFind(FindFirstFileA(pattern, &entry)) {}
    ~ScopedFind()
    {
        if (ok()) FindClose(m_hFind);
    }
    bool ok() const { return m_hFind != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAA& entry) { return ok() && FindNextFileA(m_hFind, &entry); }

    ScopedFind(const ScopedFind&) = delete;
    ScopedFind& operator=(const ScopedFind&) = delete;

private:
    HANDLE m_hFind;
};

// A window's device context (GetDC; null for the screen); released at the end.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND hWnd) : m_hWnd(hWnd), m_hdc(GetDC(hWnd)) {}
    ~ScopedWindowDC()
    {
        if (m_hdc) ReleaseDC(m_hWnd, m_hdc);
    }
    HDC get() const { return m_hdc; }

    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;

private:
    HWND m_hWnd;
    HDC m_hdc;
};

// The clipboard, opened for a window; closed at the end, so that no message
// box or early return can leave it open for every other program.
class ScopedClipboard {
public:
    explicit ScopedClipboard(HWND owner) : m_bOpen(OpenClipboard(owner) != FALSE) {}
    ~ScopedClipboard()
    {
        if (m_bOpen) CloseClipboard();
    }
    bool ok() const { return m_bOpen; }

    ScopedClipboard(const ScopedClipboard&) = delete;
    ScopedClipboard& operator=(const ScopedClipboard&) = delete;

private:
    bool m_bOpen;
};

// A pop-up menu (CreatePopupMenu); destroyed at the end.
class ScopedMenu {
public:
    ScopedMenu() : m_hMenu(CreatePopupMenu()) {}
    ~ScopedMenu()
    {
        if (m_hMenu) DestroyMenu(m_hMenu);
    }
    HMENU get() const { return m_hMenu; }

    ScopedMenu(const ScopedMenu&) = delete;
    ScopedMenu& operator=(const ScopedMenu&) = delete;

private:
    HMENU m_hMenu;
};
