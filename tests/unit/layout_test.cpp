#include "mainwnd/layout.h"

#include <gtest/gtest.h>

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
        LayoutPoint got = CenterSettingWnd(c.left, c.top, c.right, c.bottom);
        EXPECT_EQ(c.expected.x, got.x);
        EXPECT_EQ(c.expected.y, got.y);
    }
}
}  // namespace
