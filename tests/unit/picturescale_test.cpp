#include "controls/picturescale.h"

#include <gtest/gtest.h>

namespace {
TEST(PictureScale, PicksTheSmallestSetNotSmallerThanTheScale)
{
    struct Case {
        int dpi;
        int set;
    };
    // 100, 150 and 200 percent; a 175 percent screen gets the 200 percent
    // pictures scaled down, not the smaller ones scaled up.
    const Case cases[] = {{72, 0}, {96, 0}, {97, 1}, {120, 1}, {144, 1}, {145, 2},
                          {168, 2}, {192, 2}, {240, 2}, {480, 2}};
    for (const Case& c : cases) EXPECT_EQ(c.set, PictureSetForDpi(c.dpi)) << "dpi " << c.dpi;
}
}  // namespace
