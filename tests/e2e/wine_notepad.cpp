#include "tests/e2e/wine_notepad.h"

#include <stdexcept>
#include <vector>

#include "tests/e2e/harness.h"

namespace {
const char kXdotool[] = "/usr/bin/xdotool";

// Wine starts Unix programs through CreateProcess; their handles cannot be
// waited on, so they are closed right away.
void RunUnixProgram(std::string commandLine)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        throw std::runtime_error("cannot run " + commandLine);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// The X window behind a top-level Wine window.
std::string XWindowId(HWND hWnd)
{
    return std::to_string(reinterpret_cast<ULONG_PTR>(GetPropA(hWnd, "__wine_x11_whole_window")));
}

bool HasThreadFocus(HWND hWnd, HWND focus)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &info) && info.hwndFocus == focus;
}
}  // namespace

WineNotepad::WineNotepad()
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    char commandLine[] = "notepad.exe";
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
        throw std::runtime_error("cannot start notepad.exe");
    WaitUntil([this] {
        std::vector<HWND> windows = TopLevelWindowsOf(m_pi.dwProcessId, "Notepad");
        m_hWnd = windows.empty() ? nullptr : windows.front();
        m_hEdit = m_hWnd ? FindWindowExA(m_hWnd, nullptr, "Edit", nullptr) : nullptr;
        return m_hEdit != nullptr && IsWindowVisible(m_hWnd);
    }, 30000);
    if (!m_hEdit) {
        TerminateProcess(m_pi.hProcess, 1);
        CloseHandle(m_pi.hThread);
        CloseHandle(m_pi.hProcess);
        throw std::runtime_error("notepad's window did not come up");
    }
}

WineNotepad::~WineNotepad()
{
    TerminateProcess(m_pi.hProcess, 0);
    WaitForSingleObject(m_pi.hProcess, 10000);
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
}

void WineNotepad::Activate() const
{
    SetForegroundWindow(m_hWnd);
    if (!WaitUntil([this] { return GetForegroundWindow() == m_hWnd && HasThreadFocus(m_hWnd, m_hEdit); }))
        throw std::runtime_error("notepad did not take the focus");
}

void WineNotepad::Press(const std::string& command) const
{
    // Without a window manager the X server sends keys to the window under
    // the pointer unless a window has the input focus.
    RunUnixProgram(std::string(kXdotool) + " windowfocus " + XWindowId(m_hWnd) + " " + command);
}

// xdotool run by a shell that marks its end with a file, which Wine sees
// through drive Z:.
bool WineNotepad::PressAndWait(const std::string& command, DWORD timeoutMs) const
{
    static int calls = 0;
    const std::string marker = "/tmp/mossvane-xdotool-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++calls);
    RunUnixProgram("/bin/sh -c \"" + std::string(kXdotool) + " windowfocus " + XWindowId(m_hWnd) + " " + command +
                   "; touch " + marker + "\"");
    std::string dosMarker = "Z:" + marker;
    for (char& c : dosMarker) {
        if (c == '/') c = '\\';
    }
    const bool done = WaitUntil([&] { return GetFileAttributesA(dosMarker.c_str()) != INVALID_FILE_ATTRIBUTES; },
                                timeoutMs);
    DeleteFileA(dosMarker.c_str());
    return done;
}

void WineNotepad::Type(const std::string& keys) const
{
    Activate();
    Press("key " + keys);
}

std::string WineNotepad::Text() const
{
    char text[1024] = "";
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(m_hEdit, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 1000,
                        &copied);
    return text;
}

bool WineNotepad::WaitForText(const std::string& expected, DWORD timeoutMs) const
{
    return WaitUntil([&] { return Text() == expected; }, timeoutMs);
}
