// The image buttons: region from the mask, hover faces, set-up again.
#include "controls/buttonwnd.h"

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <memory>

#include "app/messages.h"
#include "controls/pngresource.h"
#include "tests/component/controlhost.h"

namespace {
const DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW;
const COLORREF kGrey = RGB(106, 106, 106);
const COLORREF kBlue = RGB(44, 132, 238);

bool IsMaskWhite(Gdiplus::Bitmap& mask, int x, int y)
{
    Gdiplus::Color colour;
    mask.GetPixel(x, y, &colour);
    return (colour.GetValue() & 0xFFFFFF) == 0xFFFFFF;
}

// A pixel well inside the icon: black in the mask together with its
// neighbours.
POINT SolidPointOf(int id)
{
    std::unique_ptr<Gdiplus::Bitmap> mask(LoadPngResource(id + IDP_MASK, "PNG"));
    for (int y = 1; mask && y < 49; ++y) {
        for (int x = 1; x < 49; ++x) {
            bool solid = true;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    Gdiplus::Color c;
                    mask->GetPixel(x + dx, y + dy, &c);
                    solid = solid && (c.GetValue() & 0xFFFFFF) == 0;
                }
            if (solid) return {x, y};
        }
    }
    return {-1, -1};
}

class ImageButton : public ::testing::Test {
protected:
    // Creates button `id` at (20, 20) in the host and sets it up.
    HWND Create(CButtonWnd& button, int id, int x = 20)
    {
        HWND hWnd = m_host.AddButton(button, id, kButtonStyle, x, 20, 50);
        SendMessageA(hWnd, WM_INITCTRL, 0, 0);
        m_host.Flush();
        return hWnd;
    }
    void PutCursorAt(HWND hWnd, POINT pt)
    {
        ClientToScreen(hWnd, &pt);
        SetCursorPos(pt.x, pt.y);
    }
    bool IsInUpdateRegion(HWND hWnd, int x, int y)
    {
        HRGN update = CreateRectRgn(0, 0, 0, 0);
        GetUpdateRgn(hWnd, update, FALSE);
        bool inside = PtInRegion(update, x, y);
        DeleteObject(update);
        return inside;
    }

    // The objects outlive their windows, as in the program: the host
    // destroys the buttons, and each still handles its WM_DESTROY.
    CButtonWnd m_buttons[4];
    ControlHost m_host;
};

TEST_F(ImageButton, RegionCoversExactlyTheMasksPixelsThatAreNotPureWhite)
{
    for (int id = 1; id <= 4; ++id) {
        SCOPED_TRACE(testing::Message() << "button " << id);
        HWND hWnd = Create(m_buttons[id - 1], id, 20 + (id - 1) * 60);
        EXPECT_TRUE(m_buttons[id - 1].m_bRegionSet);
        std::unique_ptr<Gdiplus::Bitmap> mask(LoadPngResource(id + IDP_MASK, "PNG"));
        ASSERT_TRUE(mask);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_EQ(COMPLEXREGION, GetWindowRgn(hWnd, region));
        int wrong = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x)
                if (PtInRegion(region, x, y) == IsMaskWhite(*mask, x, y)) ++wrong;
        EXPECT_EQ(0, wrong) << "pixels whose region membership disagrees with the mask";
        RECT box;
        GetRgnBox(region, &box);
        EXPECT_LE(box.right, 50);
        EXPECT_LE(box.bottom, 50);
        DeleteObject(region);
    }
}

TEST_F(ImageButton, ShowsTheGreyFaceUntilTheMouseEnters)
{
    CButtonWnd& button = m_buttons[0];
    HWND hWnd = Create(button, IDC_NEWMEMO);
    POINT solid = SolidPointOf(IDC_NEWMEMO);
    EXPECT_EQ(0, button.m_nImageOffset);
    EXPECT_TRUE(button.m_bMouseOut);
    EXPECT_TRUE(NearColour(kGrey, PixelOf(hWnd, solid.x, solid.y))) << std::hex << PixelOf(hWnd, solid.x, solid.y);
}

TEST_F(ImageButton, EnteringTurnsBlueAndRepaintsTheWholeParentMovingInsideChangesNothing)
{
    CButtonWnd& button = m_buttons[0];
    HWND hWnd = Create(button, IDC_SETTING);
    POINT solid = SolidPointOf(IDC_SETTING);
    PutCursorAt(hWnd, solid);

    SendMessageA(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(solid.x, solid.y));
    EXPECT_EQ(IDP_HOVER, button.m_nImageOffset);
    EXPECT_FALSE(button.m_bMouseOut);
    EXPECT_TRUE(IsInUpdateRegion(m_host.Window(), 399, 299)) << "the far corner of the parent";
    m_host.Flush();
    EXPECT_TRUE(NearColour(kBlue, PixelOf(hWnd, solid.x, solid.y))) << std::hex << PixelOf(hWnd, solid.x, solid.y);

    SendMessageA(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(solid.x + 1, solid.y));
    EXPECT_EQ(IDP_HOVER, button.m_nImageOffset);
    EXPECT_FALSE(GetUpdateRect(m_host.Window(), nullptr, FALSE)) << "a move inside repaints the parent";
    EXPECT_FALSE(GetUpdateRect(hWnd, nullptr, FALSE)) << "a move inside repaints the button";
}

TEST_F(ImageButton, LeavingTurnsGreyAgainWithoutRepaintingTheParent)
{
    CButtonWnd& button = m_buttons[0];
    HWND hWnd = Create(button, IDC_COPYMEMO);
    POINT solid = SolidPointOf(IDC_COPYMEMO);
    PutCursorAt(hWnd, solid);
    SendMessageA(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(solid.x, solid.y));
    m_host.Flush();

    SendMessageA(hWnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(0, button.m_nImageOffset);
    EXPECT_TRUE(button.m_bMouseOut);
    EXPECT_FALSE(IsInUpdateRegion(m_host.Window(), 399, 299)) << "the far corner of the parent";
    m_host.Flush();
    EXPECT_TRUE(NearColour(kGrey, PixelOf(hWnd, solid.x, solid.y))) << std::hex << PixelOf(hWnd, solid.x, solid.y);

    // Entering again asks the system to report the next leave.
    SendMessageA(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(solid.x, solid.y));
    EXPECT_EQ(IDP_HOVER, button.m_nImageOffset);
    PutCursorAt(m_host.Window(), {390, 290});
    EXPECT_TRUE(PumpUntil([&] { return button.m_bMouseOut; })) << "no WM_MOUSELEAVE after the cursor left";
    EXPECT_EQ(0, button.m_nImageOffset);
}

TEST_F(ImageButton, RegionIsBuiltOnceAndAgainAfterAnotherInitCtrl)
{
    CButtonWnd& button = m_buttons[0];
    HWND hWnd = Create(button, IDC_DELETEMEMO);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(COMPLEXREGION, GetWindowRgn(hWnd, region));

    SetWindowRgn(hWnd, nullptr, TRUE);
    InvalidateRect(hWnd, nullptr, TRUE);
    m_host.Flush();
    EXPECT_EQ(ERROR, GetWindowRgn(hWnd, region)) << "an ordinary paint rebuilt the region";

    SendMessageA(hWnd, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(0, SendMessageA(hWnd, WM_INITCTRL, 0, 0));
    EXPECT_FALSE(button.m_bRegionSet);
    EXPECT_TRUE(button.m_bMouseOut);
    EXPECT_EQ(0, button.m_nImageOffset);
    InvalidateRect(hWnd, nullptr, TRUE);
    m_host.Flush();
    EXPECT_TRUE(button.m_bRegionSet);
    EXPECT_EQ(COMPLEXREGION, GetWindowRgn(hWnd, region));
    DeleteObject(region);
}

TEST_F(ImageButton, KeepsItsFaceWhenClicked)
{
    CButtonWnd& button = m_buttons[0];
    HWND hWnd = Create(button, IDC_DELETEMEMO);
    POINT solid = SolidPointOf(IDC_DELETEMEMO);
    SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(solid.x, solid.y));
    EXPECT_TRUE(NearColour(kGrey, PixelOf(hWnd, solid.x, solid.y))) << std::hex << PixelOf(hWnd, solid.x, solid.y);
    SendMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(solid.x, solid.y));
    m_host.Flush();
    EXPECT_TRUE(NearColour(kGrey, PixelOf(hWnd, solid.x, solid.y))) << std::hex << PixelOf(hWnd, solid.x, solid.y);
}

TEST_F(ImageButton, DestroyingAButtonPostsQuit)
{
    CButtonWnd& button = m_buttons[0];
    HWND hWnd = Create(button, IDC_NEWMEMO);
    HandleQueuedMessages();
    DestroyWindow(hWnd);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, msg.wParam);
}
}  // namespace
