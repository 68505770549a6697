#include "tests/e2e/harness.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "hook/memowindow.h"
#include "memo/journalformat.h"

namespace {
std::string BinDir()
{
    const char* dir = getenv("MOSSVANE_BIN_DIR");
    if (!dir) throw std::runtime_error("MOSSVANE_BIN_DIR is not set");
    return dir;
}

std::string MakeTempFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH];
        snprintf(name, sizeof(name), "%smossvane-e2e-%lu-%u", temp, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(name, nullptr)) return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot make a temp folder");
    }
}

void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = dir + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

struct FindRequest {
    DWORD processId;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM data)
{
    auto* request = reinterpret_cast<FindRequest*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    char className[64] = "";
    GetClassNameA(hWnd, className, sizeof(className));
    if (pid == request->processId && lstrcmpA(className, request->className) == 0) request->found.push_back(hWnd);
    return TRUE;
}

// The window is shown and its thread has reached the message loop.
bool IsAnswering(HWND hWnd)
{
    DWORD_PTR result;
    return IsWindowVisible(hWnd) && SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result);
}

BOOL CALLBACK AppendChildText(HWND hWnd, LPARAM data)
{
    char className[32] = "";
    GetClassNameA(hWnd, className, sizeof(className));
    if (lstrcmpiA(className, "Static") == 0) *reinterpret_cast<std::string*>(data) += MemoApp::WindowText(hWnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId, const char* className)
{
    FindRequest request{processId, className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

// Wine may ignore SetCursorPos from a process that has no window yet on a
// new display; an absolute move through the input queue always lands.
bool MoveCursorTo(int x, int y)
{
    auto arrived = [&] {
        POINT pt;
        return GetCursorPos(&pt) && pt.x == x && pt.y == y;
    };
    SetCursorPos(x, y);
    if (WaitUntil(arrived, 500)) return true;
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    move.mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof(move));
    if (WaitUntil(arrived, 2000)) return true;
    SetCursorPos(x, y);
    return WaitUntil(arrived, 5000);
}

std::string RecycleBinFolder()
{
    // Wine hands Windows programs the Unix home as WINEHOMEDIR, \??\Z:\root.
    const char* data = getenv("XDG_DATA_HOME");
    const char* home = getenv("WINEHOMEDIR");
    std::string folder = data && *data ? std::string("Z:") + data
                                       : std::string(home && strlen(home) > 4 ? home + 4 : "") + "/.local/share";
    folder += "/Trash/";
    std::replace(folder.begin(), folder.end(), '/', '\\');
    return folder;
}

std::string IniValue(const std::string& iniPath, const char* section, const char* key)
{
    char value[1024];
    GetPrivateProfileStringA(section, key, "<absent>", value, sizeof(value), iniPath.c_str());
    return value;
}

MemoApp::MemoApp() : m_dir(MakeTempFolder())
{
    for (const char* file : {"MossvanePad.exe", "MossvaneHook.dll"}) {
        std::string from = BinDir() + "\\" + file;
        if (!CopyFileA(from.c_str(), PathOf(file).c_str(), FALSE))
            throw std::runtime_error("cannot copy " + from);
    }
}

MemoApp::~MemoApp()
{
    Kill();
    // Under Wine every shell link saved starts a helper process that keeps
    // the saver's current directory, the program's folder, for a moment.
    WaitUntil([this] {
        RemoveTree(m_dir);
        return GetFileAttributesA(m_dir.c_str()) == INVALID_FILE_ATTRIBUTES;
    }, 10000);
}

std::string MemoApp::PathOf(const std::string& relative) const
{
    return m_dir + "\\" + relative;
}

void MemoApp::WriteFile(const std::string& relative, const std::string& content) const
{
    std::ofstream out(PathOf(relative), std::ios::binary);
    out << content;
}

std::string MemoApp::ReadFile(const std::string& relative) const
{
    std::ifstream in(PathOf(relative), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool MemoApp::FileExists(const std::string& relative) const
{
    DWORD attributes = GetFileAttributesA(PathOf(relative).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MemoApp::FolderExists(const std::string& relative) const
{
    DWORD attributes = GetFileAttributesA(PathOf(relative).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MemoApp::Launch(const std::string& dir, PROCESS_INFORMATION& pi) const
{
    std::string exe = PathOf("MossvanePad.exe");
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    std::string workDir = dir.empty() ? m_dir : dir;
    return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, workDir.c_str(), &si,
                          &pi) != FALSE;
}

bool MemoApp::StartProcess(const std::string& dir)
{
    return Launch(dir, m_pi);
}

bool MemoApp::Start(const std::string& dir)
{
    return StartProcess(dir) && WaitForWindow();
}

// The window answers before its start is over: the tray icon, the program's
// own Startup link, and the tooltip after them, come with a message it posts
// to itself. Under Wine its thread reads the X events of its first showing
// only once back in its loop; read after keys typed meanwhile, their stale
// key map would release those keys for the whole desktop.
bool MemoApp::WaitForWindow(DWORD timeoutMs)
{
    return WaitUntil([this] {
        for (HWND hWnd : TopLevelWindowsOf(m_pi.dwProcessId, MAIN_WINDOW_CLASS)) {
            if (WindowText(hWnd) == MAIN_WINDOW_TITLE) m_hWnd = hWnd;
        }
        return m_hWnd != nullptr && !TopLevelWindowsOf(m_pi.dwProcessId, TOOLTIPS_CLASSA).empty() &&
               IsAnswering(m_hWnd);
    }, timeoutMs);
}

DWORD MemoApp::StartAndWait(const std::string& dir, DWORD timeoutMs)
{
    PROCESS_INFORMATION pi = {};
    if (!Launch(dir, pi)) return static_cast<DWORD>(-1);
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    else TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

bool MemoApp::PopUp()
{
    return StartAndWait() == 0 && WaitPoppedUp();
}

bool MemoApp::PopUpByRequest()
{
    PostMessageA(m_hWnd, WM_SHOWMEMO, 0, 1);
    return WaitPoppedUp();
}

bool MemoApp::WaitPoppedUp() const
{
    return WaitUntil([this] {
        return IsWindowVisible(m_hWnd) && GetForegroundWindow() == m_hWnd && FocusWindow() == Editor();
    }, 30000);
}

bool MemoApp::IsRunning() const
{
    return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD MemoApp::EndFromTray(DWORD timeoutMs)
{
    ClickTrayIcon();
    return WaitForExit(timeoutMs);
}

void MemoApp::ClickTrayIcon() const
{
    PostMessageA(m_hWnd, 0x800A, 1001, WM_LBUTTONDOWN);
}

DWORD MemoApp::WaitForExit(DWORD timeoutMs)
{
    if (!m_pi.hProcess) return static_cast<DWORD>(-1);
    if (WaitForSingleObject(m_pi.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

void MemoApp::Kill()
{
    if (!m_pi.hProcess) return;
    if (IsRunning()) {
        TerminateProcess(m_pi.hProcess, 1);
        WaitForSingleObject(m_pi.hProcess, 10000);
    }
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
    m_pi = {};
}

HWND MemoApp::WaitForMessageBox(DWORD timeoutMs) const
{
    HWND box = nullptr;
    WaitUntil([&] {
        std::vector<HWND> boxes = TopLevelWindowsOf(m_pi.dwProcessId, "#32770");
        box = boxes.empty() ? nullptr : boxes.front();
        return box != nullptr && IsWindowVisible(box);
    }, timeoutMs);
    return box;
}

std::string MemoApp::WindowText(HWND hWnd)
{
    char text[1024] = "";
    GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

std::string MemoApp::MessageBoxText(HWND box)
{
    std::string text;
    EnumChildWindows(box, AppendChildText, reinterpret_cast<LPARAM>(&text));
    return text;
}

void MemoApp::DismissMessageBox(HWND box)
{
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

std::string MemoApp::EditorText() const
{
    LRESULT length = SendMessageA(Editor(), WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = SendMessageA(Editor(), WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(got));
    return text;
}

bool MemoApp::WaitUntilShown(const std::string& text, DWORD timeoutMs) const
{
    return WaitUntil(
        [&] {
            return IsWindowVisible(Editor()) &&
                   static_cast<size_t>(SendMessageA(Editor(), WM_GETTEXTLENGTH, 0, 0)) == text.size() &&
                   EditorText() == text;
        },
        timeoutMs);
}

void MemoApp::TypeText(const std::string& text) const
{
    SendMessageA(Editor(), EM_SETSEL, 0, -1);
    SendMessageA(Editor(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

bool MemoApp::Command(int id, WORD code) const
{
    DWORD_PTR result;
    return SendMessageTimeoutA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Child(id)),
                               SMTO_NORMAL, 15000, &result) != 0;
}

void MemoApp::PostCommand(int id, WORD code) const
{
    PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Child(id)));
}

bool MemoApp::PickMemo(const std::string& file) const
{
    return SelectInList(file) && Command(201, CBN_SELCHANGE);
}

bool MemoApp::SelectInList(const std::string& file) const
{
    HWND list = Child(201);
    SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(list, CB_SHOWDROPDOWN, FALSE, 0);
    LRESULT index = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(file.c_str()));
    return index != CB_ERR && SendMessageA(list, CB_SETCURSEL, index, 0) == index;
}

bool MemoApp::ClickCheckBox(int id) const
{
    DWORD_PTR result;
    return SendMessageTimeoutA(Child(id), BM_CLICK, 0, 0, SMTO_NORMAL, 15000, &result) != 0;
}

bool MemoApp::IsChecked(int id) const
{
    return SendMessageA(Child(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool MemoApp::FocusChild(int id) const
{
    HWND child = Child(id);
    SetForegroundWindow(m_hWnd);
    DWORD self = GetCurrentThreadId();
    DWORD program = GetWindowThreadProcessId(m_hWnd, nullptr);
    // Only a thread that shares the program's input state may move its focus.
    AttachThreadInput(self, program, TRUE);
    SetFocus(child);
    AttachThreadInput(self, program, FALSE);
    return WaitUntil([&] { return FocusWindow() == child && GetForegroundWindow() == m_hWnd; }, 5000);
}

HWND MemoApp::FocusWindow() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(m_hWnd, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

RECT MemoApp::WindowRect() const
{
    RECT rc = {};
    GetWindowRect(m_hWnd, &rc);
    return rc;
}

RECT MemoApp::ChildRect(int id) const
{
    RECT rc = {};
    GetWindowRect(Child(id), &rc);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

bool MemoApp::WaitHidden(DWORD timeoutMs) const
{
    return WaitUntil([this] { return !IsWindowVisible(m_hWnd); }, timeoutMs);
}

bool MemoApp::WaitShown(DWORD timeoutMs) const
{
    return WaitUntil([this] { return IsWindowVisible(m_hWnd) != FALSE; }, timeoutMs);
}

std::vector<std::string> MemoApp::MemoFiles() const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(PathOf("memo\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(entry.cFileName);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> MemoApp::StoredMemoFiles() const
{
    std::vector<std::string> names = MemoFiles();
    names.erase(std::remove(names.begin(), names.end(), JournalFile()), names.end());
    return names;
}

std::string MemoApp::Ini(const char* section, const char* key) const
{
    return IniValue(PathOf("MossvanePad.ini"), section, key);
}

namespace {
const char kOtherClass[] = "MossvaneE2eOther";

HWND OtherWindow()
{
    static HWND other = nullptr;
    if (other) return other;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kOtherClass;
    RegisterClassA(&wc);
    // In a corner, clear of where the tests put the memo window and the mouse.
    other = CreateWindowExA(0, kOtherClass, "other program", WS_OVERLAPPEDWINDOW, 1150, 930, 120, 80, nullptr,
                            nullptr, wc.hInstance, nullptr);
    return other;
}

// Absolute mouse coordinates run from 0 to 65535 over the screen; rounding
// up makes the system's scaling land on the very pixel.
LONG Normalised(int pixel, int screenSize)
{
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + screenSize - 1) / screenSize);
}

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

void SendKey(BYTE key, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    // A keyboard gives the scan code too; the hot-key control reads the
    // key from it.
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

// Lets the program's thread take what was just sent before the next input.
void Settle()
{
    WaitUntil([] { return false; }, 100);
}
}  // namespace

void ActivateOtherWindow()
{
    HWND other = OtherWindow();
    ShowWindow(other, SW_SHOW);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    SetFocus(other);
    Settle();
}

void MoveMouse(int x, int y)
{
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Normalised(x, GetSystemMetrics(SM_CXSCREEN)),
              Normalised(y, GetSystemMetrics(SM_CYSCREEN)));
    Settle();
}

void PressLeftButton()
{
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Settle();
}

void ReleaseLeftButton()
{
    SendMouse(MOUSEEVENTF_LEFTUP);
    Settle();
}

void PressKeys(std::initializer_list<BYTE> keys)
{
    for (BYTE key : keys) SendKey(key, 0);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) SendKey(*key, KEYEVENTF_KEYUP);
    Settle();
}

namespace {
// The clipboard's text in `format`, whose characters are Char.
template <typename Char>
std::basic_string<Char> ClipboardOf(UINT format, const Char* none, const Char* busy)
{
    if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000)) return busy;
    std::basic_string<Char> text = none;
    HANDLE data = GetClipboardData(format);
    const Char* locked = data ? static_cast<const Char*>(GlobalLock(data)) : nullptr;
    if (locked) {
        text = locked;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}
}  // namespace

std::string ClipboardText()
{
    return ClipboardOf<char>(CF_TEXT, "<none>", "<clipboard busy>");
}

std::wstring ClipboardUnicodeText()
{
    return ClipboardOf<wchar_t>(CF_UNICODETEXT, L"<none>", L"<clipboard busy>");
}

ClipboardLock::ClipboardLock() : m_bOpen(OpenClipboard(OtherWindow()) != FALSE) {}

ClipboardLock::~ClipboardLock()
{
    if (m_bOpen) CloseClipboard();
}

TrashedFile::TrashedFile(const std::string& name)
{
    std::string folder = RecycleBinFolder();
    m_file = folder + "files\\" + name;
    m_info = folder + "info\\" + name + ".trashinfo";
    Remove();
}

std::string TrashedFile::Content() const
{
    HANDLE file = CreateFileA(m_file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<not in the trash>";
    std::string content;
    char bytes[4096];
    DWORD read = 0;
    while (ReadFile(file, bytes, sizeof(bytes), &read, nullptr) && read > 0) content.append(bytes, read);
    CloseHandle(file);
    return content;
}

bool TrashedFile::RestoreTo(const std::string& target) const
{
    if (!MoveFileA(m_file.c_str(), target.c_str())) return false;
    DeleteFileA(m_info.c_str());
    return true;
}

void TrashedFile::Remove() const
{
    DeleteFileA(m_file.c_str());
    DeleteFileA(m_info.c_str());
}

std::string ComputerName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof(name);
    return GetComputerNameA(name, &size) ? name : "";
}

std::string JournalFile()
{
    return JournalFileName(ComputerName());
}
