#pragma once
// A program started for timing its start-up: from CreateProcess to a shown
// window of the new process whose thread answers messages.
#include <windows.h>

#include <string>

struct Program {
    std::string exe;
    std::string argument;  // may be empty
    std::string dir;       // empty: this program's current folder
    const char* className;  // of the window it is ready with
};

class Launched {
public:
    // Starts the program and takes the time.
    explicit Launched(const Program& program);
    ~Launched();  // kills the process if it still runs
    Launched(const Launched&) = delete;
    Launched& operator=(const Launched&) = delete;

    // Milliseconds from the start until a visible window of the program's
    // class of the process answers WM_NULL within `answerMs`; negative if it
    // did not start or got no such window within `capMs`.
    double WaitReady(DWORD answerMs, DWORD capMs);
    // Milliseconds since the start.
    double ElapsedMs() const;
    // NowMicros at the start.
    double StartMicros() const { return m_start; }
    DWORD ThreadId() const { return m_pi.dwThreadId; }
    HWND Window() const { return m_hWnd; }
    HANDLE Process() const { return m_pi.hProcess; }
    // Asks the ready window to close and waits for the process to end;
    // false if it did not end in time.
    bool Close();
    // Ends the process at once. Under Wine the next program to start then
    // waits about two seconds more for its window (no window manager
    // confirms the killed one's going), unless that time has passed.
    void Kill();

private:
    HWND AnsweringWindow(DWORD answerMs) const;

    const char* m_className;
    PROCESS_INFORMATION m_pi = {};
    double m_start = 0;
    HWND m_hWnd = nullptr;
};

// Wine's own notepad.exe, the peer of the start-up figures.
std::string NotepadPath();
// `path` in double quotes, as one command-line argument.
std::string Quoted(const std::string& path);
