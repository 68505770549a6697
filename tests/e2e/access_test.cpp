// The picture controls as a screen reader and a new user meet them: a name
// for each, read through accessibility, and a tip under the mouse.
#include <oleacc.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/links_probe.h"

namespace {
const int kPictureControls[] = {1, 2, 3, 4, 204};
// IID_IAccessible, which both uuid and oleacc define for the linker.
const IID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// The name a screen reader announces for the control.
std::string AccessibleName(HWND hWnd)
{
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hWnd, OBJID_CLIENT, kIidAccessible,
                                          reinterpret_cast<void**>(&accessible))))
        return "<none>";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string result = "<none>";
    if (accessible->get_accName(self, &name) == S_OK && name) {
        char text[256] = "";
        WideCharToMultiByte(CP_ACP, 0, name, -1, text, sizeof(text), nullptr, nullptr);
        result = text;
    }
    SysFreeString(name);
    accessible->Release();
    return result;
}

// A screen point inside the button's region: the middle of its widest run.
POINT PointInRegion(HWND hWnd)
{
    POINT best = {-1, -1};
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(hWnd, region) != ERROR) {
        std::vector<char> buffer(GetRegionData(region, 0, nullptr));
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        if (!buffer.empty() && GetRegionData(region, static_cast<DWORD>(buffer.size()), data)) {
            const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
            LONG widest = 0;
            for (DWORD i = 0; i < data->rdh.nCount; ++i) {
                if (rects[i].right - rects[i].left <= widest) continue;
                widest = rects[i].right - rects[i].left;
                best = {(rects[i].left + rects[i].right) / 2, rects[i].top};
            }
        }
    }
    DeleteObject(region);
    if (best.x >= 0) ClientToScreen(hWnd, &best);
    return best;
}

// A tooltip keeps no caption: its text comes from the control itself.
std::string ControlText(HWND hWnd)
{
    char text[256] = "";
    SendMessageA(hWnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

HWND ShownTooltip(DWORD processId)
{
    for (HWND tip : TopLevelWindowsOf(processId, "tooltips_class32")) {
        if (IsWindowVisible(tip)) return tip;
    }
    return nullptr;
}

class ComApartment {
public:
    ComApartment() { CoInitialize(nullptr); }
    ~ComApartment() { CoUninitialize(); }
};

TEST(MemoNames, EveryPictureControlHasItsOwnNameAndShowsItAsATip)
{
    ComApartment com;
    MemoApp app;
    ASSERT_TRUE(MoveCursorTo(640, 500));
    ASSERT_TRUE(app.Start());
    std::set<std::string> names;
    for (int id : kPictureControls) {
        const std::string name = AccessibleName(app.Child(id));
        EXPECT_NE("<none>", name) << "control " << id;
        EXPECT_FALSE(name.empty()) << "control " << id;
        names.insert(name);
    }
    EXPECT_EQ(5u, names.size()) << "all different";

    // The bar shows while the mouse is over the editor, and stays up when
    // the mouse goes on to a button.
    RECT edit;
    GetWindowRect(app.Editor(), &edit);
    MoveMouse(edit.left + 30, edit.top + 30);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(app.Child(1)) && PointInRegion(app.Child(1)).x >= 0; }));
    const POINT onButton = PointInRegion(app.Child(1));
    MoveMouse(onButton.x, onButton.y);
    MoveMouse(onButton.x + 1, onButton.y);
    HWND tip = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (tip = ShownTooltip(app.ProcessId())) != nullptr; }, 5000))
        << "a tip shows while the mouse rests on the button";
    if (tip) {
        const std::string text = ControlText(tip);
        EXPECT_NE(std::string::npos, text.find(AccessibleName(app.Child(1)))) << text;
        EXPECT_NE(std::string::npos, text.find("Ctrl+N")) << "the tip names the key: " << text;
    }

    // The Shortcut box's tip names the shortcut it turns on and off, and
    // its own key.
    RECT box;
    GetWindowRect(app.Child(203), &box);
    MoveMouse((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    MoveMouse((box.left + box.right) / 2 + 1, (box.top + box.bottom) / 2);
    std::string boxTip;
    EXPECT_TRUE(WaitUntil([&] {
        HWND shown = ShownTooltip(app.ProcessId());
        boxTip = shown ? ControlText(shown) : "";
        return boxTip.find("Alt+Z") != std::string::npos && boxTip.find("Ctrl+Shift+K") != std::string::npos;
    }, 5000)) << "tip: " << boxTip;
    ASSERT_EQ(0u, app.EndFromTray());
}

bool IsSettingsWindowShown(const MemoApp& app)
{
    for (HWND hWnd : TopLevelWindowsOf(app.ProcessId(), "SettingWnd")) {
        if (IsWindowVisible(hWnd)) return true;
    }
    return false;
}

// The button bar from the keyboard, while the editor has the focus; the
// editor's own Ctrl+C still copies only the selection.
TEST(MemoKeys, TheButtonBarsCommandsAnswerToTheirKeysInTheEditor)
{
    MemoApp app;
    ASSERT_TRUE(app.Start());
    app.TypeText("keys memo\r\nsecond line");
    ASSERT_TRUE(app.FocusChild(200));
    SendMessageA(app.Editor(), EM_SETSEL, 0, 4);

    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == "keys"; }, 5000)) << ClipboardText();
    PressKeys({VK_CONTROL, VK_SHIFT, 'C'});
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == "keys memo\r\nsecond line"; }, 5000))
        << "Ctrl+Shift+C copies the memo: " << ClipboardText();
    EXPECT_EQ("keys memo\r\nsecond line", app.EditorText()) << "and types nothing";

    PressKeys({VK_CONTROL, 'N'});
    EXPECT_TRUE(WaitUntil([&] { return app.EditorText().empty() && app.FileExists("memo\\keys memo.txt"); }, 5000))
        << "Ctrl+N stores the memo and starts a new one";

    app.TypeText("to delete");
    ASSERT_TRUE(app.FocusChild(200));
    PressKeys({VK_CONTROL, 'N'});
    ASSERT_TRUE(WaitUntil([&] { return app.FileExists("memo\\to delete.txt"); }, 5000));
    ASSERT_TRUE(app.PickMemo("to delete.txt"));
    ASSERT_TRUE(app.FocusChild(200));
    PressKeys({VK_CONTROL, 'D'});
    EXPECT_TRUE(WaitUntil([&] { return !app.FileExists("memo\\to delete.txt"); }, 5000)) << "Ctrl+D deletes it";
    EXPECT_TRUE(app.FileExists("memo\\keys memo.txt")) << "and only it";

    PressKeys({VK_CONTROL, VK_OEM_COMMA});
    EXPECT_TRUE(WaitUntil([&] { return IsSettingsWindowShown(app); }, 5000)) << "Ctrl+, opens the settings";
    ASSERT_EQ(0u, app.EndFromTray());
}
// The strip from the keyboard, while the editor has the focus: the boxes
// and the pin toggle as a click does and leave the focus in the editor; the
// list drops down, and Esc brings the focus back.
TEST(MemoKeys, ThePinTheListAndBothBoxesAnswerToTheirKeys)
{
    MemoApp app;
    StartupLinksCleanup cleanup(app.Dir());
    ASSERT_TRUE(app.Start());
    app.TypeText("strip keys");
    ASSERT_TRUE(app.FocusChild(200));

    struct Case {
        const char* key;
        BYTE vk;
        int id;
    };
    const Case cases[] = {{"Ctrl+Shift+P", 'P', 204}, {"Ctrl+Shift+K", 'K', 203}, {"Ctrl+Shift+S", 'S', 202}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const bool before = app.IsChecked(c.id);
        PressKeys({VK_CONTROL, VK_SHIFT, c.vk});
        EXPECT_TRUE(WaitUntil([&] { return app.IsChecked(c.id) != before; }, 5000));
        EXPECT_EQ(app.Editor(), app.FocusWindow());
        EXPECT_EQ("strip keys", app.EditorText()) << "nothing typed";
    }
    EXPECT_TRUE(WaitUntil([&] { return StartupLinksInto(app.Dir()).size() == 1; }, 5000))
        << "the Startup box's key puts the memo into the Startup folder";

    HWND list = app.Child(201);
    PressKeys({VK_CONTROL, 'L'});
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 5000));
    EXPECT_EQ(list, app.FocusWindow());
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([&] { return app.FocusWindow() == app.Editor(); }, 5000));
    EXPECT_EQ(0, SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0));
    ASSERT_EQ(0u, app.EndFromTray());
    EXPECT_EQ("strip keys", app.Memo("strip keys"));
}
}  // namespace
