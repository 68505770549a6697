// The pin box: grey pin unchecked, blue pin framed checked or indeterminate.
#include "controls/pinwnd.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/messages.h"
#include "tests/component/controlhost.h"

namespace {
const COLORREF kGrey = RGB(106, 106, 106);
const COLORREF kBlue = RGB(44, 132, 238);
const COLORREF kBackground = RGB(240, 240, 240);

struct Case {
    const char* name;
    DWORD style;
    WPARAM state;
    COLORREF pin;
    COLORREF corner;  // the frame's, or the background
};

TEST(PinBox, ShowsTheBluePinForEveryCheckedState)
{
    const Case cases[] = {
        {"unchecked", BS_AUTOCHECKBOX, BST_UNCHECKED, kGrey, kBackground},
        {"checked", BS_AUTOCHECKBOX, BST_CHECKED, kBlue, kBlue},
        {"indeterminate", BS_AUTO3STATE, BST_INDETERMINATE, kBlue, kBlue},
    };
    CPinWnd pins[3];  // outlive their windows, as in the program
    ControlHost host;
    int x = 300;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPinWnd& pin = pins[&c - cases];
        HWND hWnd = host.AddButton(pin, IDC_PIN, WS_CHILD | WS_VISIBLE | c.style, x += 20, 280, 16);
        SendMessageA(hWnd, BM_SETCHECK, c.state, 0);
        ASSERT_EQ(static_cast<LRESULT>(c.state), SendMessageA(hWnd, BM_GETCHECK, 0, 0));
        InvalidateRect(hWnd, nullptr, TRUE);
        host.Flush();
        COLORREF barrel = PixelOf(hWnd, 7, 5);
        EXPECT_TRUE(NearColour(c.pin, barrel)) << std::hex << barrel;
        COLORREF corner = PixelOf(hWnd, 15, 15);
        EXPECT_TRUE(NearColour(c.corner, corner)) << "checked is framed: " << std::hex << corner;
    }
}

// The left column inside the frame, where the focus cue goes.
std::vector<COLORREF> InnerLeftColumn(HWND hWnd)
{
    std::vector<COLORREF> column;
    for (int y = 1; y < 15; ++y) column.push_back(PixelOf(hWnd, 1, y));
    return column;
}

// The focus shows inside the frame, whether the box is checked or not.
TEST(PinBox, DrawsAFocusCueWhileFocused)
{
    CPinWnd pin;
    ControlHost host;
    HWND hWnd = host.AddButton(pin, IDC_PIN, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 380, 280, 16);
    SendMessageA(host.Window(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    for (WPARAM state : {BST_UNCHECKED, BST_CHECKED}) {
        SCOPED_TRACE(state == BST_CHECKED ? "checked" : "unchecked");
        SendMessageA(hWnd, BM_SETCHECK, state, 0);
        SetFocus(host.Window());
        InvalidateRect(hWnd, nullptr, TRUE);
        host.Flush();
        const std::vector<COLORREF> unfocused = InnerLeftColumn(hWnd);
        SetFocus(hWnd);
        ASSERT_EQ(hWnd, GetFocus());
        ASSERT_FALSE(SendMessageA(hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
        InvalidateRect(hWnd, nullptr, TRUE);
        host.Flush();
        EXPECT_NE(unfocused, InnerLeftColumn(hWnd));
    }
}

TEST(PinBox, ClickingTogglesTheCheckAndThePicture)
{
    CPinWnd pin;
    ControlHost host;
    HWND hWnd = host.AddButton(pin, IDC_PIN, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 380, 280, 16);
    host.Flush();
    SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 7));
    SendMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(7, 7));
    host.Flush();
    EXPECT_EQ(BST_CHECKED, SendMessageA(hWnd, BM_GETCHECK, 0, 0));
    EXPECT_TRUE(NearColour(kBlue, PixelOf(hWnd, 7, 5))) << std::hex << PixelOf(hWnd, 7, 5);
    EXPECT_TRUE(NearColour(kBlue, PixelOf(hWnd, 15, 15))) << std::hex << PixelOf(hWnd, 15, 15);
}

TEST(PinBox, DestroyingThePinDoesNotPostQuit)
{
    CPinWnd pin;
    ControlHost host;
    HWND hWnd = host.AddButton(pin, IDC_PIN, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 380, 280, 16);
    HandleQueuedMessages();
    DestroyWindow(hWnd);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}
}  // namespace
