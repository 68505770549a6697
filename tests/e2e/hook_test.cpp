// The shortcut from another program: keys typed into Wine's notepad through the X
// server pass the keyboard hook library on their way.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "hook/memowindow.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/wine_notepad.h"

namespace {
const int kShortcutBox = 203;
const int kSettingButton = 4;
const int kHotKeyField = 13;  // the settings window's shortcut field, by creation order
const int kDoneButton = 11;
// A key that pops nothing up leaves no trace; this is how long its
// modifiers stay down for the memo window to see it.
const DWORD kKeyPassMs = 1500;

using ShowRequest = std::pair<WPARAM, LPARAM>;

HWND ControlOf(HWND parent, int index)
{
    HWND control = GetWindow(parent, GW_CHILD);
    while (control && index-- > 0) control = GetWindow(control, GW_HWNDNEXT);
    return control;
}

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
        wc.lpszClassName = MAIN_WINDOW_CLASS;
        RegisterClassA(&wc);
        m_hWnd = CreateWindowA(MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, this);
        SetEvent(m_ready);
        MSG msg;
        while (m_hWnd && GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        UnregisterClassA(MAIN_WINDOW_CLASS, wc.hInstance);
    }
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrA(hWnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<StandInMemoWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (msg == WM_SHOWMEMO && self) return self->OnShowMemo(wParam, lParam);
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

// Modifier keys held down until the end of the scope ("alt", "ctrl+shift").
// The memo window reads their state when the key reaches notepad, which
// under load can be well after xdotool sent it: a chord typed in one go may
// have been released by then.
class HeldKeys {
public:
    HeldKeys(const WineNotepad& notepad, const std::string& keys, std::vector<int> vks)
        : m_notepad(notepad), m_keys(keys), m_vks(std::move(vks))
    {
        m_notepad.Press("keydown " + m_keys);
        m_bDown = WaitUntil([this] { return AllDown(); });
    }
    // When a window appears under the pointer, Wine reads the keys' state
    // from the X server's key map of that moment; read late, after the
    // release, it presses them again. A stuck modifier would spoil every
    // later test on this desktop, so they get one more press and release then.
    ~HeldKeys()
    {
        m_notepad.Press("keyup " + m_keys);
        if (WaitUntil([this] { return AllUp(); }, 3000)) return;
        m_notepad.Press("key " + m_keys);
        if (!WaitUntil([this] { return AllUp(); })) ADD_FAILURE() << m_keys << " stay down";
    }
    bool ok() const { return m_bDown; }

private:
    bool AllDown() const
    {
        return std::all_of(m_vks.begin(), m_vks.end(), [](int vk) { return GetAsyncKeyState(vk) < 0; });
    }
    bool AllUp() const
    {
        return std::none_of(m_vks.begin(), m_vks.end(), [](int vk) { return GetAsyncKeyState(vk) < 0; });
    }

    const WineNotepad& m_notepad;
    const std::string m_keys;
    const std::vector<int> m_vks;
    bool m_bDown;
};

class HeldAlt : public HeldKeys {
public:
    explicit HeldAlt(const WineNotepad& notepad) : HeldKeys(notepad, "alt", {VK_MENU}) {}
};

// The program running with its memo window hidden (the user went on in
// notepad), and notepad beside it.
class HookTest : public ::testing::Test {
protected:
    void SetUp() override { StartHidden(); }

    // `ini`: the settings file the program starts with, if any.
    void StartHidden(const std::string& ini = "")
    {
        if (!ini.empty()) m_app.WriteFile("MossvanePad.ini", ini);
        ASSERT_TRUE(m_app.Start());
        HideByActivatingNotepad();
    }
    void HideByActivatingNotepad()
    {
        m_notepad.Activate();
        ASSERT_TRUE(m_app.WaitHidden());
        // Hiding can keep the memo window's thread busy for a while under
        // Wine; keys typed meanwhile would pass the hook's bounded send by.
        Flush(m_app.Window());
    }

    // Presses `key` with `modifiers` held, long enough for the memo window to
    // have seen it, then types `marker` into notepad: true when it got there,
    // so that the key before it has been through the hook too.
    bool PressHolding(const std::string& modifiers, std::vector<int> vks, const std::string& key, char marker)
    {
        {
            HeldKeys held(m_notepad, modifiers, std::move(vks));
            if (!held.ok()) return false;
            m_notepad.Press("key " + key);
            Sleep(kKeyPassMs);
            Flush(m_app.Window());
        }
        m_notepad.Press(std::string("key ") + marker);
        bool arrived = WaitUntil([&] {
            std::string text = m_notepad.Text();
            return !text.empty() && text.back() == marker;
        });
        Flush(m_app.Window());
        return arrived;
    }
    // Presses the keys of a shortcut that pops the memo up.
    bool PopsUpWith(const std::string& modifiers, std::vector<int> vks, const std::string& key)
    {
        HeldKeys held(m_notepad, modifiers, std::move(vks));
        if (!held.ok()) return false;
        m_notepad.Press("key " + key);
        bool shown = m_app.WaitShown();
        Flush(m_app.Window());
        return shown;
    }

    // The Shortcut box as a click on it leaves it: checked or not, and the
    // memo window told.
    void SetShortcutBox(bool checked)
    {
        SendMessageA(m_app.Child(kShortcutBox), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        ASSERT_TRUE(m_app.Command(kShortcutBox));
    }

    MemoApp m_app;
    WineNotepad m_notepad;
};

TEST_F(HookTest, AltZInAnotherProgramPopsTheMemoUpAtTheCursorTopMostWithTheEditorFocused)
{
    const RECT before = m_app.WindowRect();
    ASSERT_TRUE(MoveCursorTo(600, 450));
    m_notepad.Type("a");
    ASSERT_TRUE(m_notepad.WaitForText("a")) << m_notepad.Text();
    {
        HeldAlt alt(m_notepad);
        ASSERT_TRUE(alt.ok());
        m_notepad.Press("key z");
        ASSERT_TRUE(m_app.WaitShown());
        EXPECT_TRUE(WaitUntil([this] { return m_app.FocusWindow() == m_app.Editor(); }))
            << "focus on " << m_app.FocusWindow() << ", editor " << m_app.Editor();
        Flush(m_app.Window());
    }

    const RECT rc = m_app.WindowRect();
    EXPECT_EQ(before.right - before.left, rc.right - rc.left);
    EXPECT_EQ(600 - (rc.right - rc.left) / 2, rc.left) << "centred on the cursor";
    EXPECT_EQ(450 - (rc.bottom - rc.top) / 2, rc.top);
    EXPECT_TRUE(GetWindowLongA(m_app.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(m_app.Window(), GetForegroundWindow());
    EXPECT_EQ("a", m_notepad.Text());
}

TEST_F(HookTest, OtherKeysReachTheOtherProgramUnchangedAndLeaveTheMemoHidden)
{
    // Alt+X first: keys typed in one go may be pressed before notepad has
    // handled the earlier ones, and Alt must not be down for a Z yet to come.
    m_notepad.Type("alt+x z shift+z H e l l o comma space 1 2 3 exclam");
    EXPECT_TRUE(m_notepad.WaitForText("zZHello, 123!")) << m_notepad.Text();
    Flush(m_app.Window());
    EXPECT_FALSE(IsWindowVisible(m_app.Window()));
}

TEST_F(HookTest, AltZDoesNothingWhileTheShortcutBoxIsUnchecked)
{
    SetShortcutBox(false);
    m_notepad.Type("b");
    ASSERT_TRUE(m_notepad.WaitForText("b")) << m_notepad.Text();
    {
        HeldAlt alt(m_notepad);
        ASSERT_TRUE(alt.ok());
        // Alt+Backspace undoes the "b": once it is gone, the Z before it has
        // been through the hook.
        m_notepad.Press("key z BackSpace");
        ASSERT_TRUE(m_notepad.WaitForText("")) << m_notepad.Text();
    }
    Flush(m_app.Window());
    EXPECT_FALSE(IsWindowVisible(m_app.Window()));

    SetShortcutBox(true);
    HeldAlt alt(m_notepad);
    ASSERT_TRUE(alt.ok());
    m_notepad.Press("key z");
    EXPECT_TRUE(m_app.WaitShown());
}

// AltGr is Ctrl+Alt, and AltGr+Z types a letter on some keyboards: it must
// reach that program without popping the memo up. So for any other
// modifier held with Alt, and for the release of a Z pressed before Alt, as
// when typing "...z" runs straight into Alt+Tab.
TEST_F(HookTest, AltZPopsUpOnlyPressedWithAltAloneHeld)
{
    m_notepad.Type("a");
    ASSERT_TRUE(m_notepad.WaitForText("a")) << m_notepad.Text();
    m_notepad.Press("keydown z");
    ASSERT_TRUE(m_notepad.WaitForText("az")) << m_notepad.Text();
    {
        HeldAlt alt(m_notepad);
        ASSERT_TRUE(alt.ok());
        m_notepad.Press("keyup z");
        ASSERT_TRUE(WaitUntil([] { return GetAsyncKeyState('Z') >= 0; }));
        Sleep(kKeyPassMs);
        Flush(m_app.Window());
    }
    m_notepad.Press("key b");
    ASSERT_TRUE(m_notepad.WaitForText("azb")) << m_notepad.Text() << " (a repeated z would be an Alt+Z)";
    Flush(m_app.Window());
    EXPECT_FALSE(IsWindowVisible(m_app.Window())) << "Z down, Alt down, Z up";

    ASSERT_TRUE(PressHolding("ctrl+alt", {VK_CONTROL, VK_MENU}, "z", 'c')) << m_notepad.Text();
    EXPECT_FALSE(IsWindowVisible(m_app.Window())) << "Ctrl+Alt+Z";
    ASSERT_TRUE(PressHolding("shift+alt", {VK_SHIFT, VK_MENU}, "z", 'd')) << m_notepad.Text();
    EXPECT_FALSE(IsWindowVisible(m_app.Window())) << "Shift+Alt+Z";
    EXPECT_TRUE(PopsUpWith("alt", {VK_MENU}, "z"));
}

// The program in front stops retrieving its keys, as a busy one does, while
// Alt+Z is pressed and released: the hook sees the press only after the
// keyboard has let go of both keys.
TEST_F(HookTest, AQuickAltZPopsUpThoughTheProgramInFrontRetrievesItLate)
{
    m_notepad.Type("a");
    ASSERT_TRUE(m_notepad.WaitForText("a")) << m_notepad.Text();
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(m_notepad.Window(), nullptr));
    ASSERT_NE(nullptr, thread);
    ASSERT_NE(static_cast<DWORD>(-1), SuspendThread(thread));
    const bool sent = m_notepad.PressAndWait("key alt+z");
    ResumeThread(thread);
    CloseHandle(thread);
    ASSERT_TRUE(sent) << "xdotool did not finish";
    EXPECT_TRUE(m_app.WaitShown());
    Flush(m_app.Window());
}

TEST_F(HookTest, KeysAreNoLongerForwardedOnceTheProgramHasEnded)
{
    ASSERT_EQ(0u, m_app.EndFromTray());
    StandInMemoWindow standIn;
    m_notepad.Type("x y z alt+z");
    ASSERT_TRUE(m_notepad.WaitForText("xyz")) << m_notepad.Text();
    EXPECT_TRUE(standIn.Received().empty()) << standIn.Received().size() << " keys forwarded";
}

// The program started with a settings file of the test's choosing.
class HookShortcut : public HookTest {
protected:
    void SetUp() override {}
};

TEST_F(HookShortcut, AShortcutChosenInTheIniPopsUpInPlaceOfAltZAndStaysInTheIni)
{
    ASSERT_NO_FATAL_FAILURE(StartHidden("[Setting]\r\nShortcutKey= ctrl + shift + m\r\n"));
    m_notepad.Type("a");
    ASSERT_TRUE(m_notepad.WaitForText("a")) << m_notepad.Text();
    ASSERT_TRUE(PressHolding("alt", {VK_MENU}, "z", 'b')) << m_notepad.Text();
    EXPECT_FALSE(IsWindowVisible(m_app.Window())) << "Alt+Z is no longer the shortcut";
    ASSERT_TRUE(PressHolding("ctrl", {VK_CONTROL}, "m", 'c')) << m_notepad.Text();
    EXPECT_FALSE(IsWindowVisible(m_app.Window())) << "Ctrl+M is not Ctrl+Shift+M";
    EXPECT_TRUE(PopsUpWith("ctrl+shift", {VK_CONTROL, VK_SHIFT}, "m"));
    ASSERT_EQ(0u, m_app.EndFromTray());
    EXPECT_EQ("Ctrl+Shift+M", m_app.Ini("Setting", "ShortcutKey"));
}

// The pop-up clicks into the editor while the shortcut's keys are still
// held; with Shift that click would select from the old caret, and the first
// letter typed would replace the selection.
TEST_F(HookShortcut, APopUpWithShiftHeldSelectsNothingAndALetterTypedChangesOnePlace)
{
    std::string memo = "shopping\r\n";
    for (int i = 1; i < 2000; ++i) memo += "line " + std::to_string(i) + " of the list\r\n";
    ASSERT_TRUE(CreateDirectoryA(m_app.PathOf("memo").c_str(), nullptr));
    m_app.WriteFile("memo\\shopping.txt", memo);
    m_app.WriteFile("MossvanePad.ini", "[Setting]\r\nShortcutKey=Ctrl+Shift+M\r\n[ReadFile]\r\nPrevFile=shopping\r\n");
    ASSERT_TRUE(m_app.Start());
    ASSERT_TRUE(m_app.WaitUntilShown(memo, 60000));
    // The caret at the end, the text shown from its top: the click lands far
    // from the caret.
    SendMessageA(m_app.Editor(), EM_SETSEL, memo.size(), memo.size());
    SendMessageA(m_app.Editor(), EM_LINESCROLL, 0, -2000);
    ASSERT_NO_FATAL_FAILURE(HideByActivatingNotepad());

    {
        HeldKeys held(m_notepad, "ctrl+shift", {VK_CONTROL, VK_SHIFT});
        ASSERT_TRUE(held.ok());
        m_notepad.Press("key m");
        ASSERT_TRUE(m_app.WaitShown());
        ASSERT_TRUE(WaitUntil([this] { return m_app.FocusWindow() == m_app.Editor(); }));
        Flush(m_app.Window());
        DWORD start = 0, end = 0;
        SendMessageA(m_app.Editor(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, end) << "selected from " << start << " to " << end;
    }
    PostMessageA(m_app.Editor(), WM_CHAR, 'q', 0);
    ASSERT_TRUE(WaitUntil([&] { return static_cast<size_t>(SendMessageA(m_app.Editor(), WM_GETTEXTLENGTH, 0, 0)) ==
                                       memo.size() + 1; }))
        << "the letter replaced a selection";
    ASSERT_NO_FATAL_FAILURE(HideByActivatingNotepad());

    const std::string saved = m_app.Memo("shopping");
    ASSERT_EQ(memo.size() + 1, saved.size());
    const size_t at = std::mismatch(memo.begin(), memo.end(), saved.begin()).first - memo.begin();
    EXPECT_EQ('q', saved[at]);
    EXPECT_EQ(memo.substr(at), saved.substr(at + 1)) << "bytes changed after the letter at " << at;
}

// Without a modifier the shortcut would fire on ordinary typing.
TEST_F(HookShortcut, AnUnusableShortcutInTheIniLeavesAltZAndTheTextForTheUserToMend)
{
    ASSERT_NO_FATAL_FAILURE(StartHidden("[Setting]\r\nShortcutKey=M\r\n"));
    m_notepad.Type("m");
    ASSERT_TRUE(m_notepad.WaitForText("m")) << m_notepad.Text();
    Flush(m_app.Window());
    EXPECT_FALSE(IsWindowVisible(m_app.Window()));
    EXPECT_TRUE(PopsUpWith("alt", {VK_MENU}, "z"));
    ASSERT_EQ(0u, m_app.EndFromTray());
    EXPECT_EQ("M", m_app.Ini("Setting", "ShortcutKey"));
}

// Chosen in the settings window, the shortcut works from Done on, and the
// next start reads it from the ini.
TEST_F(HookShortcut, AShortcutChosenInTheSettingsWorksAtOnceAndOutlivesTheProgram)
{
    ASSERT_TRUE(m_app.Start());
    ASSERT_TRUE(m_app.Command(kSettingButton));
    std::vector<HWND> found = TopLevelWindowsOf(m_app.ProcessId(), "SettingWnd");
    ASSERT_EQ(1u, found.size());
    HWND field = ControlOf(found[0], kHotKeyField);
    HWND done = ControlOf(found[0], kDoneButton);
    ASSERT_TRUE(field && done);
    // What pressing Ctrl+Shift+F2 in the field leaves there.
    SendMessageA(field, HKM_SETHOTKEY, MAKEWORD(VK_F2, HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
    SendMessageA(done, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(found[0]); }));
    ASSERT_NO_FATAL_FAILURE(HideByActivatingNotepad());

    ASSERT_TRUE(PressHolding("alt", {VK_MENU}, "z", 'a')) << m_notepad.Text();
    EXPECT_FALSE(IsWindowVisible(m_app.Window())) << "Alt+Z is no longer the shortcut";
    EXPECT_TRUE(PopsUpWith("ctrl+shift", {VK_CONTROL, VK_SHIFT}, "F2"));
    ASSERT_EQ(0u, m_app.EndFromTray());
    EXPECT_EQ("Ctrl+Shift+F2", m_app.Ini("Setting", "ShortcutKey"));

    ASSERT_NO_FATAL_FAILURE(StartHidden());
    EXPECT_TRUE(PopsUpWith("ctrl+shift", {VK_CONTROL, VK_SHIFT}, "F2")) << "read back at the next start";
}

// Each press and each release with its key code, and only the transition
// bit of the keystroke's flags: set for a release, clear for a press.
TEST(HookLibrary, ForwardsEveryKeyEventWithItsKeyCodeAndWhetherItIsARelease)
{
    MemoApp files;  // a private copy of the library; the program itself is not started
    StandInMemoWindow standIn;
    InstalledHook hook(files.PathOf("MossvaneHook.dll"));
    WineNotepad notepad;

    notepad.Type("a shift+b");
    EXPECT_TRUE(notepad.WaitForText("aB")) << notepad.Text();
    // A press and a release of each key; an application that peeks at a key
    // without removing it makes the hook see it once more.
    const LPARAM up = static_cast<LPARAM>(SHOWMEMO_RELEASED);
    const std::map<ShowRequest, int> expected = {{{'A', 0}, 1}, {{'A', up}, 1},      {{'B', 0}, 1},
                                                 {{'B', up}, 1}, {{VK_SHIFT, 0}, 1}, {{VK_SHIFT, up}, 1}};
    std::map<ShowRequest, int> events;
    WaitUntil([&] {
        events.clear();
        for (const ShowRequest& request : standIn.Received()) events[request] = 1;
        return events == expected;
    });
    EXPECT_EQ(expected, events);
}

// The hook's send to the memo window is bounded: a memo window that stops
// answering must not hold the typing of every other program for as long.
TEST(HookLibrary, AMemoWindowThatStopsAnsweringHoldsTypingOnlyBriefly)
{
    const DWORD stallMs = 8000;
    MemoApp files;  // a private copy of the library; the program itself is not started
    StandInMemoWindow stalled(stallMs);
    InstalledHook hook(files.PathOf("MossvaneHook.dll"));
    WineNotepad notepad;

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
