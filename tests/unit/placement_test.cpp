#include "app/placement.h"

#include <gtest/gtest.h>

namespace {
struct Case {
    const char* name;
    PlacePoint cursor;
    PlaceRect window;
    PlaceRect work;
    PlacePoint expected;
};

// Outer size of the default 400 x 225 client area: 406 x 254 here.
const PlaceRect kWindow = {-3, -26, 403, 228};
const PlaceRect kWork = {0, 0, 1280, 994};

TEST(Placement, CentresOnCursorAndClampsEachEdgeWithMargin)
{
    const Case cases[] = {
        {"centred", {640, 500}, kWindow, kWork, {640 - 203, 500 - 127}},
        {"odd width drops the fraction", {100 + 200, 300}, {0, 0, 401, 200}, kWork, {100, 200}},
        {"left edge", {10, 500}, kWindow, kWork, {15, 373}},
        {"top edge", {640, 5}, kWindow, kWork, {437, 15}},
        {"right edge", {1270, 500}, kWindow, kWork, {1280 - 406 - 15, 373}},
        {"bottom edge", {640, 990}, kWindow, kWork, {437, 994 - 254 - 15}},
        {"fits exactly at the edge: no margin", {203, 127}, kWindow, kWork, {0, 0}},
        {"one pixel over the right edge", {1280 - 203 + 1, 500}, kWindow, kWork, {1280 - 406 - 15, 373}},
        {"larger than the work area: low edge wins", {640, 500}, {0, 0, 2000, 1200}, kWork, {15, 15}},
        {"monitor left of the primary", {-1000, 300}, kWindow, {-1920, 0, 0, 1040}, {-1203, 173}},
        {"near the right edge of a negative monitor", {-10, 300}, kWindow, {-1920, 0, 0, 1040}, {-421, 173}},
        {"work area offset by a taskbar", {640, 40}, kWindow, {0, 40, 1280, 1024}, {437, 55}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlacePoint got = PlaceOnCursor(c.cursor, c.window, c.work);
        EXPECT_EQ(c.expected.x, got.x);
        EXPECT_EQ(c.expected.y, got.y);
    }
}
}  // namespace
