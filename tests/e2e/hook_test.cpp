// Alt+Z from another program: keys typed into Wine's notepad through the X
// server pass the keyboard hook library on their way.
#include <gtest/gtest.h>

#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/notepad.h"

namespace {
const UINT kShowMemo = 0x8001;
const char kMemoName[] = "MossvanePad";

using ShowRequest = std::pair<WPARAM, LPARAM>;

// A window that the hook library takes for the memo window (same class and
// title), on a thread of its own. It records every WM_SHOWMEMO and can stall
// in the first one, as a hung program would.
class StandInMemoWindow {
public:
    explicit StandInMemoWindow(DWORD stallMs = 0) : m_stallMs(stallMs)
    {
        m_ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        WaitForSingleObject(m_ready, 10000);
        if (!m_hWnd) throw std::runtime_error("cannot create the stand-in memo window");
    }
    ~StandInMemoWindow()
    {
        PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
        WaitForSingleObject(m_thread, 30000);
        CloseHandle(m_thread);
        CloseHandle(m_ready);
    }
    std::vector<ShowRequest> Received()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_received;
    }

private:
    static DWORD WINAPI Run(void* self)
    {
        static_cast<StandInMemoWindow*>(self)->Loop();
        return 0;
    }
    void Loop()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kMemoName;
        RegisterClassA(&wc);
        m_hWnd = CreateWindowA(kMemoName, kMemoName, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, this);
        SetEvent(m_ready);
        MSG msg;
        while (m_hWnd && GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        UnregisterClassA(kMemoName, wc.hInstance);
    }
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrA(hWnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<StandInMemoWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (msg == kShowMemo && self) return self->OnShowMemo(wParam, lParam);
        if (msg == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    }
    LRESULT OnShowMemo(WPARAM wParam, LPARAM lParam)
    {
        bool first;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            first = m_received.empty();
            m_received.emplace_back(wParam, lParam);
        }
        if (first) Sleep(m_stallMs);
        return 0;
    }

    const DWORD m_stallMs;
    HANDLE m_ready = nullptr;
    HANDLE m_thread = nullptr;
    HWND m_hWnd = nullptr;
    std::mutex m_mutex;
    std::vector<ShowRequest> m_received;
};

// The hook installed by the test process itself, through the library's
// exports looked up by their decorated names.
class InstalledHook {
public:
    explicit InstalledHook(const std::string& dllPath) : m_module(LoadLibraryA(dllPath.c_str()))
    {
        auto sethook = m_module ? reinterpret_cast<void(WINAPI*)()>(GetProcAddress(m_module, "?sethook@@YGXXZ"))
                                : nullptr;
        m_freehook = m_module ? reinterpret_cast<void(WINAPI*)()>(GetProcAddress(m_module, "?freehook@@YGXXZ"))
                              : nullptr;
        if (!sethook || !m_freehook) {
            if (m_module) FreeLibrary(m_module);
            throw std::runtime_error("cannot load the hook library from " + dllPath);
        }
        sethook();
    }
    ~InstalledHook()
    {
        m_freehook();
        FreeLibrary(m_module);
    }

private:
    HMODULE m_module;
    void(WINAPI* m_freehook)() = nullptr;
};

// Every message sent to the window before this call has been handled.
void Flush(HWND hWnd)
{
    DWORD_PTR result;
    SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

// The program running with its memo window hidden, and notepad beside it.
class HookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_app.Start());
        ShowWindow(m_app.Window(), SW_HIDE);
        ASSERT_TRUE(WaitUntil([this] { return !IsWindowVisible(m_app.Window()); }));
    }

    MemoApp m_app;
    Notepad m_notepad;
};

TEST_F(HookTest, AltZInAnotherProgramPopsTheMemoUpAtTheCursorTopMost)
{
    RECT before;
    GetWindowRect(m_app.Window(), &before);
    SetCursorPos(600, 450);
    m_notepad.Type("a alt+z");
    ASSERT_TRUE(WaitUntil([this] { return IsWindowVisible(m_app.Window()); }));
    Flush(m_app.Window());

    RECT rc;
    GetWindowRect(m_app.Window(), &rc);
    EXPECT_EQ(before.right - before.left, rc.right - rc.left);
    EXPECT_EQ(600 - (rc.right - rc.left) / 2, rc.left) << "centred on the cursor";
    EXPECT_EQ(450 - (rc.bottom - rc.top) / 2, rc.top);
    EXPECT_TRUE(GetWindowLongA(m_app.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ("a", m_notepad.Text());
}

TEST_F(HookTest, OtherKeysReachTheOtherProgramUnchangedAndLeaveTheMemoHidden)
{
    m_notepad.Type("z shift+z alt+x H e l l o comma space 1 2 3 exclam");
    EXPECT_TRUE(m_notepad.WaitForText("zZHello, 123!")) << m_notepad.Text();
    Flush(m_app.Window());
    EXPECT_FALSE(IsWindowVisible(m_app.Window()));
}

TEST_F(HookTest, KeysAreNoLongerForwardedOnceTheProgramHasEnded)
{
    ASSERT_EQ(0u, m_app.EndFromTray());
    StandInMemoWindow standIn;
    m_notepad.Type("x y z alt+z");
    ASSERT_TRUE(m_notepad.WaitForText("xyz")) << m_notepad.Text();
    EXPECT_TRUE(standIn.Received().empty()) << standIn.Received().size() << " keys forwarded";
}

// The hook's send to the memo window is bounded: a memo window that stops
// answering must not hold the typing of every other program for as long.
TEST(HookBound, AMemoWindowThatStopsAnsweringHoldsTypingOnlyBriefly)
{
    const DWORD stallMs = 8000;
    MemoApp files;  // a private copy of the library; the program itself is not started
    StandInMemoWindow stalled(stallMs);
    InstalledHook hook(files.PathOf("MossvaneHook.dll"));
    Notepad notepad;

    const DWORD start = GetTickCount();
    notepad.Type("a b");
    ASSERT_TRUE(notepad.WaitForText("ab", 2 * stallMs)) << notepad.Text();
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_LT(elapsed, stallMs / 2) << "typing waited for the stalled window";

    std::vector<ShowRequest> received = stalled.Received();
    ASSERT_FALSE(received.empty()) << "the hook never sent to the stand-in window";
    EXPECT_EQ(ShowRequest('A', 0), received.front());
}
}  // namespace
