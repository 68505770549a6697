// The pin box: grey pin unchecked, blue pin checked or indeterminate.
#include "controls/pinwnd.h"

#include <gtest/gtest.h>

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
};

TEST(PinBox, ShowsTheBluePinForEveryCheckedState)
{
    const Case cases[] = {
        {"unchecked", BS_AUTOCHECKBOX, BST_UNCHECKED, kGrey},
        {"checked", BS_AUTOCHECKBOX, BST_CHECKED, kBlue},
        {"indeterminate", BS_AUTO3STATE, BST_INDETERMINATE, kBlue},
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
        EXPECT_TRUE(NearColour(kBackground, corner)) << std::hex << corner;
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
    EXPECT_TRUE(NearColour(kBackground, PixelOf(hWnd, 15, 15))) << std::hex << PixelOf(hWnd, 15, 15);
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
