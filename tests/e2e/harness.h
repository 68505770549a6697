#pragma once
// Runs the real MossvanePad.exe in a fresh, empty temporary folder and drives
// it through its window, as a user and the system would.
#include <windows.h>

#include <string>
#include <vector>

class MemoApp {
public:
    MemoApp();   // makes the folder and copies the program and its hook library in
    ~MemoApp();  // ends the program if it still runs, removes the folder

    const std::string& Dir() const { return m_dir; }
    std::string PathOf(const std::string& relative) const;

    // Files of the program's folder.
    void WriteFile(const std::string& relative, const std::string& content) const;
    std::string ReadFile(const std::string& relative) const;
    bool FileExists(const std::string& relative) const;
    bool FolderExists(const std::string& relative) const;

    // Starts the program in `dir` (default: the folder) and waits until its
    // memo window exists. False if it did not come up in time.
    bool Start(const std::string& dir = "");
    // Starts the program without waiting for its window.
    bool StartProcess(const std::string& dir = "");
    // Starts another copy and waits for it to end; returns its exit code.
    DWORD StartAndWait(const std::string& dir = "", DWORD timeoutMs = 30000);

    HWND Window() const { return m_hWnd; }
    DWORD ProcessId() const { return m_pi.dwProcessId; }
    bool IsRunning() const;

    // Ends the program as a user does, with a left click on its tray icon;
    // returns the exit code, or STILL_ACTIVE if it did not end in time.
    DWORD EndFromTray(DWORD timeoutMs = 30000);
    DWORD WaitForExit(DWORD timeoutMs);
    // Ends the process at once, as a crash or Windows shutting down would.
    void Kill();

    // A message box of the program's process (dialog class "#32770").
    HWND WaitForMessageBox(DWORD timeoutMs = 15000) const;
    static std::string WindowText(HWND hWnd);
    static std::string MessageBoxText(HWND box);
    static void DismissMessageBox(HWND box);

private:
    bool Launch(const std::string& dir, PROCESS_INFORMATION& pi) const;

    std::string m_dir;
    PROCESS_INFORMATION m_pi = {};
    HWND m_hWnd = nullptr;
};

// Windows of the given process with the given class name (any title).
std::vector<HWND> TopLevelWindowsOf(DWORD processId, const char* className);
// Polls `done` until it is true or the time is up.
template <typename F>
bool WaitUntil(F done, DWORD timeoutMs = 15000)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
        if (done()) return true;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(20);
    }
    return done();
}

// Reads one value of an ini file as the program's settings store does.
std::string IniValue(const std::string& iniPath, const char* section, const char* key);
