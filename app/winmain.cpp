#include <windows.h>

#include <new>

#include "app/centeroncursor.h"
#include "app/config.h"
#include "app/curdir.h"
#include "app/dpi.h"
#include "app/gdiplussession.h"
#include "app/globals.h"
#include "app/memofolder.h"
#include "app/messages.h"
#include "app/msgbox.h"
#include "controls/settingwnd.h"
#include "hook/hook.h"
#include "mainwnd/mainwnd.h"
#include "memo/memoname.h"
#include "memo/notepadwnd.h"
#include "memo/searchwnd.h"

namespace {
const char kStartCaption[] = "MossvanePad の起動に失敗しました";

// Start-up placement, apart from the pop-up's own.
Placement g_start = {};

// A second copy hands the show request to the running one and ends.
bool IsAnotherCopyRunning()
{
    CreateMutexA(nullptr, TRUE, "CheckMulti_MossvanePad");
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    HWND running = FindWindowA(MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE);
    if (running) SendMessageA(running, WM_SHOWMEMO, 0, SHOWMEMO_FORCE);
    return true;
}

// The ini file, the memo folder and the memo files are all named relative
// to the current directory; a directory that leaves no room for them is
// refused up front rather than cut into a wrong path. Windows resolves a
// relative name within MAX_PATH too, so the longest memo file must fit.
bool HasRoomForPaths()
{
    char dir[kPathSize];
    // A memo file's, longer than "\MossvanePad.ini".
    const size_t longestSuffix = sizeof("\\memo\\.txt") + kLongestMemoName;
    return GetCurrentDirectoryBounded(dir, sizeof(dir)) && lstrlenA(dir) + longestSuffix <= sizeof(dir);
}

void EnsureMemoFolder()
{
    char dir[kPathSize];
    if (!GetCurrentDirectoryBounded(dir, sizeof(dir))) return;
    if (!HasMemoFolder(dir)) CreateDirectoryA("memo", nullptr);
}

// The window is laid out for the DPI of the cursor's monitor, where it
// shows; a remembered position on a monitor of another scaling is taken up
// as soon as the window is there.
HWND CreateMainWindow(HINSTANCE hInstance, CMainWnd* mainWnd)
{
    GetCursorPos(&g_start.ptCursor);
    mainWnd->m_nDpi = DpiAtPoint(g_start.ptCursor);
    if (!mainWnd->RegisterWindowClass(hInstance, MAIN_WINDOW_CLASS)) return nullptr;
    g_start.rcWindow = OuterWindowRect(g_config->Width, g_config->Height, mainWnd->m_nDpi);
    PlaceAtCursor(g_start);
    mainWnd->ApplyStoredPosition(g_start);
    const RECT& rc = g_start.rcWindow;
    HWND hWnd = CreateWindowExA(WS_EX_LAYERED, MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE, WS_VISIBLE | WS_CLIPCHILDREN,
                                g_start.ptResult.x, g_start.ptResult.y, rc.right - rc.left, rc.bottom - rc.top,
                                nullptr, nullptr, hInstance, mainWnd);
    mainWnd->m_hWnd = hWnd;
    if (!hWnd) return nullptr;
    CopyRect(&mainWnd->m_rcWindow, &g_start.rcWindow);
    mainWnd->TakeDpi(DpiOfWindow(hWnd));
    return hWnd;
}

// The memo window's keys count only in the editor: in the settings window
// Ctrl+D must not delete the memo. The settings window's shortcut field
// takes every key, the editor's Ctrl+A and Ctrl+T as well, and so does the
// search window. Its controls are Unicode, so that characters the ANSI
// code page lacks reach them whole: while one has the focus, messages are
// taken and handed on with the Unicode calls.
void RunMessageLoop(HINSTANCE hInstance, CMainWnd* mainWnd)
{
    HACCEL accelerators = LoadAcceleratorsA(hInstance, "IDR_ACCELERATORS");
    HACCEL memoKeys = LoadAcceleratorsA(hInstance, "IDR_BUTTONBAR");
    HWND editor = mainWnd->m_pNotepad->m_hWnd;
    CSettingWnd* setting = mainWnd->m_pSetting;
    CSearchWnd* search = mainWnd->m_pSearch;
    MSG msg;
    for (;;) {
        HWND focus = GetFocus();
        const bool wide = focus && IsWindowUnicode(focus);
        if ((wide ? GetMessageW(&msg, nullptr, 0, 0) : GetMessageA(&msg, nullptr, 0, 0)) <= 0) break;
        mainWnd->RelayToTip(msg);
        const bool ownKeys = setting->TakesEveryKey(msg.hwnd) || search->Contains(msg.hwnd);
        if (!ownKeys && TranslateAcceleratorA(editor, accelerators, &msg)) continue;
        if (msg.hwnd == editor && TranslateAcceleratorA(mainWnd->m_hWnd, memoKeys, &msg)) continue;
        if (search->HandleDialogKey(msg, wide)) continue;
        if (setting->HandleDialogKey(msg)) continue;
        TranslateMessage(&msg);
        if (wide) DispatchMessageW(&msg);
        else DispatchMessageA(&msg);
    }
}

int RunProgram(HINSTANCE hInstance, CMainWnd* mainWnd)
{
    if (!CreateMainWindow(hInstance, mainWnd)) {
        ShowMessageBox("メモウィンドウを作成できませんでした。", kStartCaption);
        return 0;
    }
    GdiplusSession gdiplus;
    if (!gdiplus.ok()) {
        ShowMessageBox("GDI+ を開始できませんでした。", kStartCaption);
        DestroyWindow(mainWnd->m_hWnd);
        return 0;
    }
    sethook();
    RunMessageLoop(hInstance, mainWnd);
    freehook();
    // A loop ended by a child window leaves the memo window: it goes now,
    // with its tray icon, its position and its pictures, while GDI+ runs.
    if (IsWindow(mainWnd->m_hWnd)) DestroyWindow(mainWnd->m_hWnd);
    return 0;
}
}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    if (IsAnotherCopyRunning()) return 0;
    if (!HasRoomForPaths()) {
        ShowMessageBox("このフォルダのパスが長すぎるため、メモと設定を保存できません。\n"
                       "もっと短いパスのフォルダに移してから起動してください。",
                       kStartCaption);
        return 0;
    }
    GdiplusPreload gdiplusLoad;
    EnsureMemoFolder();

    auto* mainWnd = new (std::nothrow) CMainWnd;
    if (!mainWnd || !mainWnd->IsValid()) {
        ShowMessageBox("メモリが不足しているため起動できませんでした。", kStartCaption);
        delete mainWnd;
        return 0;
    }
    RunProgram(hInstance, mainWnd);
    delete mainWnd;
    return 0;
}
