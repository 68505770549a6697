// Cold start to ready, MossvanePad against Wine's own notepad.exe started
// and waited for the same way, in turns; the private memory of each once it
// is up; the sizes of the program's two binaries.
#include <windows.h>
#include <psapi.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "app/messages.h"
#include "bench/benches.h"
#include "tests/e2e/harness.h"

namespace {
const int kWarmUpRounds = 1;
const int kRounds = 10;
const DWORD kSettleMs = 1000;  // before the memory is read: background threads finish starting

struct Program {
    std::string exe;
    std::string dir;  // empty: this program's
    const char* className;
    std::vector<double> readyMs, privateKB, workingSetKB;
};

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Wine reports no private usage for another process, and its own view of
// the address space misses what the Unix libraries (X11, fonts) allocate.
// So the Linux kernel is asked: the process's resident anonymous memory,
// found by its program file among the processes of this Wine prefix.
double PrivateKB(const std::string& exe)
{
    char prefix[MAX_PATH] = "";
    GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof(prefix));
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
    if (find == INVALID_HANDLE_VALUE) return -1;
    double kb = -1;
    do {
        const std::string dir = std::string("Z:\\proc\\") + entry.cFileName + "\\";
        if (!isdigit(static_cast<unsigned char>(entry.cFileName[0]))) continue;
        if (ReadWholeFile(dir + "cmdline").compare(0, exe.size() + 1, exe.c_str(), exe.size() + 1) != 0) continue;
        if (ReadWholeFile(dir + "environ").find(std::string("WINEPREFIX=") + prefix + '\0') == std::string::npos) continue;
        const std::string status = ReadWholeFile(dir + "status");
        const size_t at = status.find("RssAnon:");
        if (at != std::string::npos) kb = atof(status.c_str() + at + 8);
    } while (kb < 0 && FindNextFileA(find, &entry));
    FindClose(find);
    return kb;
}

// Ready: a window of the new process is shown and its thread answers
// messages. Returns false if it did not get there in time.
bool StartOnce(Program& program, bool record)
{
    std::string commandLine = "\"" + program.exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    const double start = NowMicros();
    if (!CreateProcessA(program.exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        program.dir.empty() ? nullptr : program.dir.c_str(), &si, &pi))
        return false;
    HWND window = nullptr;
    const bool ready = PollUntil([&] {
        for (HWND hWnd = nullptr; (hWnd = FindWindowExA(nullptr, hWnd, program.className, nullptr)) != nullptr;) {
            DWORD pid = 0;
            GetWindowThreadProcessId(hWnd, &pid);
            DWORD_PTR result;
            if (pid == pi.dwProcessId && IsWindowVisible(hWnd) &&
                SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) {
                window = hWnd;
                return true;
            }
        }
        return false;
    });
    const double up = NowMicros();
    if (ready && record) {
        program.readyMs.push_back((up - start) / 1000);
        Sleep(kSettleMs);
        const double privateKB = PrivateKB(program.exe);
        if (privateKB >= 0) program.privateKB.push_back(privateKB);
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        if (GetProcessMemoryInfo(pi.hProcess, &counters, sizeof(counters)))
            program.workingSetKB.push_back(counters.WorkingSetSize / 1024.0);
    }
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ready;
}

Row FileSize(const char* name, const std::string& path, const char* note)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    Row row{name, "KB", {}, note};
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) row.samples.push_back(data.nFileSizeLow / 1024.0);
    return row;
}

std::string NotepadPath()
{
    char path[MAX_PATH] = "";
    SearchPathA(nullptr, "notepad.exe", nullptr, sizeof(path), path, nullptr);
    return path;
}
}  // namespace

std::vector<Row> BenchStart()
{
    MemoApp app;
    Program pad{app.PathOf("MossvanePad.exe"), app.Dir(), MAIN_WINDOW_CLASS, {}, {}, {}};
    Program notepad{NotepadPath(), "", "Notepad", {}, {}, {}};
    for (int round = -kWarmUpRounds; round < kRounds; ++round) {
        StartOnce(pad, round >= 0);
        StartOnce(notepad, round >= 0);
    }
    auto ratio = [](const std::vector<double>& ours, const std::vector<double>& notepads) {
        return Format("%.2fx notepad", Median(ours) / Median(notepads));
    };
    return {
        {"start to ready: MossvanePad", "ms", pad.readyMs, ratio(pad.readyMs, notepad.readyMs) + " (goal <= 1.00x)"},
        {"start to ready: Wine notepad", "ms", notepad.readyMs, ""},
        {"private memory: MossvanePad", "KB", pad.privateKB, ratio(pad.privateKB, notepad.privateKB)},
        {"private memory: Wine notepad", "KB", notepad.privateKB, ""},
        {"working set: MossvanePad", "KB", pad.workingSetKB, ratio(pad.workingSetKB, notepad.workingSetKB)},
        {"working set: Wine notepad", "KB", notepad.workingSetKB, ""},
        FileSize("binary: MossvanePad.exe", app.PathOf("MossvanePad.exe"), "C++ runtimes linked in statically"),
        FileSize("binary: MossvaneHook.dll", app.PathOf("MossvaneHook.dll"), ""),
        FileSize("binary: Wine notepad.exe", NotepadPath(), "for comparison"),
    };
}
