#include "bench/launch.h"

#include "bench/measure.h"

namespace {
const DWORD kCloseWaitMs = 15000;
}  // namespace

Launched::Launched(const Program& program) : m_className(program.className)
{
    std::string commandLine = Quoted(program.exe) + (program.argument.empty() ? "" : " " + program.argument);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    m_start = NowMicros();
    if (!CreateProcessA(program.exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        program.dir.empty() ? nullptr : program.dir.c_str(), &si, &m_pi))
        m_pi = {};
}

Launched::~Launched()
{
    if (!m_pi.hProcess) return;
    Kill();
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
}

HWND Launched::AnsweringWindow(DWORD answerMs) const
{
    for (HWND hWnd = nullptr; (hWnd = FindWindowExA(nullptr, hWnd, m_className, nullptr)) != nullptr;) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hWnd, &pid);
        DWORD_PTR result;
        if (pid == m_pi.dwProcessId && IsWindowVisible(hWnd) &&
            SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, answerMs, &result))
            return hWnd;
    }
    return nullptr;
}

double Launched::WaitReady(DWORD answerMs, DWORD capMs)
{
    if (!m_pi.hProcess) return -1;
    const bool ready = PollUntil([&] { return (m_hWnd = AnsweringWindow(answerMs)) != nullptr; }, capMs);
    const double ms = ElapsedMs();
    return ready ? ms : -1;
}

double Launched::ElapsedMs() const
{
    return (NowMicros() - m_start) / 1000;
}

bool Launched::Close()
{
    if (!m_pi.hProcess) return true;
    if (m_hWnd) PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    return WaitForSingleObject(m_pi.hProcess, kCloseWaitMs) == WAIT_OBJECT_0;
}

void Launched::Kill()
{
    if (!m_pi.hProcess || WaitForSingleObject(m_pi.hProcess, 0) != WAIT_TIMEOUT) return;
    TerminateProcess(m_pi.hProcess, 1);
    WaitForSingleObject(m_pi.hProcess, kCloseWaitMs);
}

std::string NotepadPath()
{
    char path[MAX_PATH] = "";
    SearchPathA(nullptr, "notepad.exe", nullptr, sizeof(path), path, nullptr);
    return path;
}

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}
