// The keyboard hook library. The system maps it into every process that
// receives keyboard input while the hook is installed, so it stays tiny:
// no allocation, no runtime library, nothing cached.
#include "hook/hook.h"

#include "hook/memowindow.h"

namespace {
// A hung memo window must not stall typing on the whole desktop.
const UINT kSendTimeoutMs = 200;

HINSTANCE g_hModule = nullptr;
}  // namespace

// Alone in a section of its own, not shared: only the process that called
// sethook holds the handle; CallNextHookEx ignores it everywhere else.
__attribute__((section(".shareda"), used)) HHOOK g_hHook = nullptr;

namespace {
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0) {
        HWND memo = FindWindowA(MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE);
        if (memo) {
            // Only the transition bit: a release must never count as a press.
            DWORD_PTR ignored;
            SendMessageTimeoutA(memo, WM_SHOWMEMO, wParam, lParam & SHOWMEMO_RELEASED, SMTO_ABORTIFHUNG,
                                kSendTimeoutMs, &ignored);
        }
    }
    return CallNextHookEx(g_hHook, code, wParam, lParam);
}
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hModule, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) g_hModule = hModule;
    return TRUE;
}

void WINAPI sethook()
{
    g_hHook = SetWindowsHookExA(WH_KEYBOARD, KeyboardHookProc, g_hModule, 0);
}

void WINAPI freehook()
{
    UnhookWindowsHookEx(g_hHook);
}
