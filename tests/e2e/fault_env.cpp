#include "tests/e2e/fault_env.h"

#include <psapi.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace {
using UnixFileName = char*(CDECL*)(const WCHAR*);

// Just the fields of SYSTEM_PROCESS_INFORMATION read here, in their places.
struct ProcessEntry {
    ULONG NextEntryOffset;
    ULONG NumberOfThreads;
    LARGE_INTEGER Reserved[6];
    USHORT ImageNameLength;
    USHORT ImageNameMaximumLength;
    WCHAR* ImageNameBuffer;
    LONG BasePriority;
    HANDLE UniqueProcessId;
    HANDLE InheritedFromUniqueProcessId;
    ULONG HandleCount;
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
const ULONG kSystemProcessInformation = 5;

// An export looked up at run time, as the function type it has.
template <typename Function>
Function Export(const char* module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA(module), name)));
}

std::string Quoted(const std::string& unixPath)
{
    return "'" + unixPath + "'";
}

std::string TempFileName()
{
    char dir[MAX_PATH];
    char name[MAX_PATH];
    GetTempPathA(sizeof(dir), dir);
    GetTempFileNameA(dir, "mvs", 0, name);
    return name;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Wine starts a Unix program without a process handle to wait on, so the
// command writes its status into a file when it ends.
int StatusOf(const std::string& marker, DWORD timeoutMs)
{
    std::string status;
    bool ended = WaitUntil([&] {
        status = ReadWholeFile(marker);
        return status.find('\n') != std::string::npos;
    }, timeoutMs);
    DeleteFileA(marker.c_str());
    return ended ? atoi(status.c_str()) : -1;
}

struct WindowCount {
    DWORD processId;
    DWORD count;
};

BOOL CALLBACK CountChild(HWND, LPARAM data)
{
    ++reinterpret_cast<WindowCount*>(data)->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hWnd, LPARAM data)
{
    auto* windows = reinterpret_cast<WindowCount*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid != windows->processId) return TRUE;
    ++windows->count;
    EnumChildWindows(hWnd, CountChild, data);
    return TRUE;
}

DWORD WindowsOf(DWORD processId)
{
    WindowCount windows{processId, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    return windows.count;
}

DWORD HandleCountOf(DWORD processId)
{
    auto query = Export<QuerySystemInformation>("ntdll.dll", "NtQuerySystemInformation");
    if (!query) return 0;
    std::vector<char> buffer(1 << 20);
    ULONG needed = 0;
    if (query(kSystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) != 0) return 0;
    for (size_t offset = 0;;) {
        const auto* entry = reinterpret_cast<const ProcessEntry*>(buffer.data() + offset);
        if (reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId) == processId) return entry->HandleCount;
        if (entry->NextEntryOffset == 0) return 0;
        offset += entry->NextEntryOffset;
    }
}
}  // namespace

std::string UnixPathOf(const std::string& windowsPath)
{
    auto convert = Export<UnixFileName>("kernel32.dll", "wine_get_unix_file_name");
    if (!convert) return "";
    WCHAR wide[MAX_PATH * 2];
    if (!MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2)) return "";
    char* unixPath = convert(wide);
    if (!unixPath) return "";
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

int RunUnixShell(const std::string& command, DWORD timeoutMs)
{
    std::string marker = TempFileName();
    std::string unixMarker = UnixPathOf(marker);
    if (unixMarker.empty()) return -1;
    DeleteFileA(marker.c_str());
    std::string commandLine = "/bin/sh -c \"" + command + " >/dev/null 2>&1; echo $? >" + Quoted(unixMarker) + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    return StatusOf(marker, timeoutMs);
}

std::string WhyNoMounts()
{
    if (UnixPathOf("C:\\").empty()) return "the file-system faults are mounted from under Wine on Linux";
    if (RunUnixShell("[ $(/usr/bin/id -u) -eq 0 ]") != 0) return "mounting the file-system faults needs root";
    return "";
}

UnixMount::UnixMount(const std::string& target, const std::string& mountArguments) : m_target(target)
{
    m_bMounted = !m_target.empty() && RunUnixShell("/bin/mount " + mountArguments + " " + Quoted(m_target)) == 0;
}

UnixMount::UnixMount(UnixMount&& other) noexcept : m_target(std::move(other.m_target)), m_bMounted(other.m_bMounted)
{
    other.m_bMounted = false;
}

UnixMount::~UnixMount()
{
    if (m_bMounted) RunUnixShell("/bin/umount -l " + Quoted(m_target));
}

UnixMount UnixMount::Tmpfs(const std::string& windowsDir, const char* size)
{
    return UnixMount(UnixPathOf(windowsDir), std::string("-t tmpfs -o size=") + size + " tmpfs");
}

UnixMount UnixMount::ReadOnlyBind(const std::string& windowsPath)
{
    std::string target = UnixPathOf(windowsPath);
    UnixMount mount(target, "--bind " + Quoted(target));
    if (mount.ok() && !mount.Remount("ro,bind")) return UnixMount("", "");
    return mount;
}

bool UnixMount::Remount(const char* options) const
{
    return m_bMounted && RunUnixShell(std::string("/bin/mount -o remount,") + options + " " + Quoted(m_target)) == 0;
}

bool FillDisk(const std::string& file)
{
    HANDLE hFile = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_DISK_FULL;
    std::vector<char> block(512, 'f');
    bool full = false;
    for (int i = 0; i < 1 << 20 && !full; ++i) {
        DWORD written = 0;
        full = !::WriteFile(hFile, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) ||
               written < block.size();
    }
    CloseHandle(hFile);
    return full;
}

FileLock::FileLock(const std::string& path)
    : m_hFile(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

void FileLock::Release()
{
    if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

::testing::AssertionResult Pin(const MemoApp& app)
{
    const int kPinBox = 204;
    SendMessageA(app.Child(kPinBox), BM_SETCHECK, BST_CHECKED, 0);
    if (app.Command(kPinBox)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the pin box was not handled";
}

::testing::AssertionResult Deactivate(MemoApp& app)
{
    if (!WaitUntil([&] { return GetForegroundWindow() == app.Window(); }))
        return ::testing::AssertionFailure() << "the memo window is not active";
    ActivateOtherWindow();
    if (app.WaitHidden()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the memo window did not hide; message box: "
                                         << ReadAndDismiss(app.WaitForMessageBox(0));
}

HWND DeactivateIntoMessageBox(MemoApp& app)
{
    if (!WaitUntil([&] { return GetForegroundWindow() == app.Window(); })) return nullptr;
    ActivateOtherWindow();
    return app.WaitForMessageBox();
}

std::string ReadAndDismiss(HWND box)
{
    if (!box) return "<no box>";
    std::string seen = MemoApp::WindowText(box) + ": " + MemoApp::MessageBoxText(box);
    MemoApp::DismissMessageBox(box);
    WaitUntil([&] { return !IsWindow(box); });
    return seen;
}

ULONGLONG LastWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

ProcessFigures MeasureProcess(const MemoApp& app)
{
    ProcessFigures figures;
    figures.handles = HandleCountOf(app.ProcessId());
    figures.userObjects = GetGuiResources(app.Process(), GR_USEROBJECTS);
    figures.gdiObjects = GetGuiResources(app.Process(), GR_GDIOBJECTS);
    figures.windows = WindowsOf(app.ProcessId());
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(app.Process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory)))
        figures.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    return figures;
}
