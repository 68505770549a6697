#include "mainwnd/layout.h"

#include <gtest/gtest.h>

#include <string>

#include "app/dpiscale.h"

namespace {
void ExpectBox(const ChildBox& expected, const ChildBox& got, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(expected.x, got.x);
    EXPECT_EQ(expected.y, got.y);
    EXPECT_EQ(expected.width, got.width);
    EXPECT_EQ(expected.height, got.height);
}

struct Case {
    const char* name;
    int width;
    int height;
    int buttonX[4];
    int buttonY;
    ChildBox edit;
    ChildBox list;
    ChildBox pin;
};

TEST(MainLayout, PlacesEveryChildForTheClientSize)
{
    const Case cases[] = {
        {"default 400 x 225", 400, 225, {36, 122, 208, 294}, 140, {0, 0, 400, 200}, {0, 200, 210, 25}, {380, 205, 16, 16}},
        {"width 500 drops the fraction", 500, 225, {56, 162, 268, 374}, 140, {0, 0, 500, 200}, {0, 200, 210, 25},
         {480, 205, 16, 16}},
        {"width 200 truncates toward zero", 200, 225, {-3, 44, 91, 138}, 140, {0, 0, 200, 200}, {0, 200, 210, 25},
         {180, 205, 16, 16}},
        {"width 218: no gaps", 218, 225, {0, 50, 100, 150}, 140, {0, 0, 218, 200}, {0, 200, 210, 25},
         {198, 205, 16, 16}},
        {"width 214: -4 / 5 is 0", 214, 225, {0, 50, 100, 150}, 140, {0, 0, 214, 200}, {0, 200, 210, 25},
         {194, 205, 16, 16}},
        {"tall window", 640, 480, {84, 218, 352, 486}, 395, {0, 0, 640, 455}, {0, 455, 210, 25}, {620, 460, 16, 16}},
        {"height below the strip", 400, 10, {36, 122, 208, 294}, -75, {0, 0, 400, -15}, {0, -15, 210, 25},
         {380, -10, 16, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainLayout got = ComputeMainLayout(c.width, c.height);
        ExpectBox(c.edit, got.edit, "editor");
        for (int i = 0; i < 4; ++i) ExpectBox({c.buttonX[i], c.buttonY, 50, 50}, got.buttons[i], "button");
        ExpectBox(c.list, got.list, "list");
        ExpectBox({220, c.list.y, 75, 25}, got.startup, "Startup box");
        ExpectBox({295, c.list.y, 85, 25}, got.shortcut, "Shortcut box");
        ExpectBox(c.pin, got.pin, "pin");
    }
}

TEST(MainLayout, CentresTheSettingsWindowOnTheOuterRectangle)
{
    struct CentreCase {
        const char* name;
        int left, top, right, bottom;
        LayoutPoint expected;
    };
    const CentreCase cases[] = {
        {"default window", 100, 50, 506, 304, {203, 48}},
        {"odd remainder drops the fraction", 0, 0, 401, 256, {100, -1}},
        {"window smaller than the settings window", 0, 0, 100, 100, {-50, -79}},
        {"negative screen coordinates", -1500, -300, -1094, -46, {-1397, -302}},
    };
    for (const CentreCase& c : cases) {
        SCOPED_TRACE(c.name);
        LayoutPoint got = CenterSettingWnd(c.left, c.top, c.right, c.bottom, 96);
        EXPECT_EQ(c.expected.x, got.x);
        EXPECT_EQ(c.expected.y, got.y);
    }
}
}  // namespace

namespace {
int Right(const ChildBox& box)
{
    return box.x + box.width;
}

int Bottom(const ChildBox& box)
{
    return box.y + box.height;
}

TEST(MainLayout, ScalesByEdgesSoThatNeighboursStillTouch)
{
    const MainLayout at96 = ComputeMainLayout(400, 225);
    for (int dpi : {96, 120, 144, 168, 192}) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const MainLayout got = ScaleLayout(at96, dpi);
        const int width = ScaleForDpi(400, dpi), height = ScaleForDpi(225, dpi);
        EXPECT_EQ(width, got.edit.width);
        EXPECT_EQ(got.edit.height, got.list.y) << "the strip starts where the editor ends";
        EXPECT_EQ(height, Bottom(got.list)) << "the strip ends at the bottom";
        EXPECT_EQ(got.startup.y, got.list.y);
        EXPECT_EQ(Right(got.startup), got.shortcut.x) << "the two boxes touch";
        EXPECT_LE(Right(got.pin), width);
        EXPECT_LE(Bottom(got.pin), height);
        EXPECT_GE(got.pin.x, Right(got.shortcut)) << "the pin stays clear of the Shortcut box";
        EXPECT_EQ(ScaleForDpi(16, dpi), got.pin.width) << "the pin's picture fits exactly";
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(ScaleForDpi(50, dpi), got.buttons[i].width) << "the picture fits exactly, button " << i;
            EXPECT_EQ(ScaleForDpi(50, dpi), got.buttons[i].height);
            EXPECT_EQ(got.buttons[0].y, got.buttons[i].y);
            EXPECT_LE(Bottom(got.buttons[i]), got.edit.height) << "the bar floats over the editor";
        }
        if (dpi == 96) {
            ExpectBox({36, 140, 50, 50}, got.buttons[0], "96 changes nothing");
            ExpectBox({380, 205, 16, 16}, got.pin, "96 changes nothing");
        }
    }
}

TEST(DpiScale, RoundsHalvesAwayFromZeroAsMulDivDoes)
{
    struct Case {
        int value;
        int dpi;
        int expected;
    };
    const Case cases[] = {
        {400, 96, 400}, {21, 144, 32}, {25, 120, 31}, {50, 120, 63}, {16, 168, 28},
        {-3, 144, -5},  {-2, 120, -3}, {0, 192, 0},   {225, 192, 450},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, ScaleForDpi(c.value, c.dpi)) << c.value << " at " << c.dpi;
    }
}
}  // namespace
