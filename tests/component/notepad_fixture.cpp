#include "tests/component/notepad_fixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/globals.h"
#include "app/messages.h"
#include "memo/startlook.h"

namespace {
const char kParentClass[] = "NotepadTestParent";
// The editor's style in the program: child, visible, clip siblings, vertical
// scroll bar, want return, auto vertical scroll, multi-line.
const DWORD kEditStyle = 0x54201044;

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = path + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}
}  // namespace

TempMemoFolder::TempMemoFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    char name[MAX_PATH];
    GetTempFileNameA(temp, "mvn", 0, name);
    DeleteFileA(name);
    CreateDirectoryA(name, nullptr);
    m_path = name;
    CreateDirectoryA((m_path + "\\memo").c_str(), nullptr);
}

TempMemoFolder::~TempMemoFolder()
{
    // Under Wine every shell link saved starts a helper process that keeps
    // the saver's current directory, this folder, for a moment.
    for (int tries = 0; tries < 100; ++tries) {
        RemoveTree(m_path);
        if (GetFileAttributesA(m_path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
        Sleep(100);
    }
}

MessageBoxWatcher::MessageBoxWatcher(WPARAM answer) : m_threadId(GetCurrentThreadId()), m_answer(answer)
{
    m_worker = std::thread([this] {
        for (;;) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_bStop) return;
            }
            EnumThreadWindows(m_threadId, Inspect, reinterpret_cast<LPARAM>(this));
            Sleep(20);
        }
    });
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    Stop();
}

std::vector<std::string> MessageBoxWatcher::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop = true;
    }
    if (m_worker.joinable()) m_worker.join();
    return m_captions;
}

BOOL CALLBACK MessageBoxWatcher::Inspect(HWND hWnd, LPARAM param)
{
    auto* self = reinterpret_cast<MessageBoxWatcher*>(param);
    char className[32];
    if (!GetClassNameA(hWnd, className, sizeof(className)) || lstrcmpA(className, "#32770") != 0) return TRUE;
    if (!IsWindowVisible(hWnd)) return TRUE;
    std::lock_guard<std::mutex> lock(self->m_mutex);
    if (std::find(self->m_seen.begin(), self->m_seen.end(), hWnd) == self->m_seen.end()) {
        self->m_seen.push_back(hWnd);
        char caption[512] = {};
        GetWindowTextA(hWnd, caption, sizeof(caption));
        self->m_captions.push_back(caption);
        char text[1024] = {};
        GetDlgItemTextA(hWnd, 0xFFFF, text, sizeof(text));
        self->m_texts.push_back(text);
        if (g_nMessageBoxes <= 0) self->m_bFlagSet = false;
    }
    // Pressed again while it is still up: a box that missed the first press
    // would otherwise hold the test for good.
    PostMessageA(hWnd, WM_COMMAND, self->m_answer, 0);
    return TRUE;
}

std::vector<std::pair<WPARAM, LPARAM>> NotepadTest::s_editMouse;

LRESULT CALLBACK NotepadTest::ParentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_EDITMOUSE) s_editMouse.emplace_back(wParam, lParam);
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

void NotepadTest::SetUp()
{
    m_inFolder = std::make_unique<ScopedCurrentDirectory>(m_folder.path().c_str());
    ASSERT_TRUE(m_inFolder->ok());
    m_config = std::make_unique<CConfig>();
    ASSERT_TRUE(m_config->IsValid());
    g_config = m_config.get();
    g_bStartupLink = FALSE;
    g_nMessageBoxes = 0;
    g_szStartupDir[0] = '\0';
    s_editMouse.clear();

    WNDCLASSA wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kParentClass;
    RegisterClassA(&wc);
    m_hParent = CreateWindowExA(0, kParentClass, "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                wc.hInstance, nullptr);
    ASSERT_NE(nullptr, m_hParent);
    m_hEdit = CreateWindowExA(0, "EDIT", "", kEditStyle, 0, 0, 400, 200, m_hParent,
                              reinterpret_cast<HMENU>(IDC_EDIT), wc.hInstance, nullptr);
    ASSERT_NE(nullptr, m_hEdit);
    m_notepad.Attach(m_hEdit);
}

void NotepadTest::TearDown()
{
    if (m_hParent) DestroyWindow(m_hParent);
    // Destroying the editor posts the quit message; it must not end a later test's loop.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    char current[MAX_PATH];
    GetCurrentDirectoryBounded(current, sizeof(current));
    EXPECT_EQ(m_folder.path(), current) << "every operation puts the current directory back";
    g_config = nullptr;
    m_config.reset();
    m_inFolder.reset();
}

std::string NotepadTest::MemoPath(const std::string& file) const
{
    return m_folder.path() + "\\memo\\" + file;
}

void NotepadTest::WriteMemoFile(const std::string& file, const std::string& bytes) const
{
    std::ofstream out(MemoPath(file), std::ios::binary);
    out << bytes;
}

std::optional<std::string> NotepadTest::ReadMemoFile(const std::string& file) const
{
    std::ifstream in(MemoPath(file), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> NotepadTest::MemoFolderEntries() const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(MemoPath("*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

LRESULT NotepadTest::InitAtStart() const
{
    CStartLook look;
    look.Start();
    return SendMessageA(m_hEdit, WM_INITCTRL, 0, reinterpret_cast<LPARAM>(&look));
}

std::string NotepadTest::Text() const
{
    std::string text(GetWindowTextLengthA(m_hEdit) + 1, '\0');
    text.resize(GetWindowTextA(m_hEdit, &text[0], static_cast<int>(text.size())));
    return text;
}

std::pair<DWORD, DWORD> NotepadTest::Selection() const
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(m_hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

void NotepadTest::SaveNewMemo(const std::string& text)
{
    m_notepad.LoadMemo(true, "null");
    SetText(text);
    m_notepad.SaveMemo();
}
