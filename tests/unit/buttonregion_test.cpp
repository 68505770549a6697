#include "controls/buttonregion.h"

#include <gtest/gtest.h>

// Found by argument lookup, so they live beside PixelRun.
static bool operator==(const PixelRun& a, const PixelRun& b)
{
    return a.y == b.y && a.left == b.left && a.right == b.right;
}

static std::ostream& operator<<(std::ostream& out, const PixelRun& r)
{
    return out << "{y " << r.y << ", " << r.left << ".." << r.right << "}";
}

namespace {
TEST(ButtonRegion, OnlyPureWhiteIsCut)
{
    struct Case {
        uint32_t rgb;
        bool cut;
    };
    const Case cases[] = {
        {0xFFFFFF, true},   {0xFEFEFE, false}, {0xFFFFFE, false}, {0xFEFFFF, false},
        {0x000000, false},  {0x6A6A6A, false}, {0xFF000000, false},
        {0xFFFFFFFF, true},  // a byte above the colour does not matter
    };
    for (const Case& c : cases) EXPECT_EQ(c.cut, IsCutFromButton(c.rgb)) << std::hex << c.rgb;
}

TEST(ButtonRegion, RunsCoverEveryPixelThatIsNotPureWhite)
{
    const uint32_t W = 0xFFFFFF, B = 0x000000, G = 0xFEFEFE;
    const uint32_t mask[] = {
        W, W, W, W, W,  // empty row: no run
        B, B, W, G, B,  // two runs, near-white joins its neighbour
        W, G, W, W, W,  // a single near-white pixel
        B, B, B, B, B,  // a full row
    };
    std::vector<PixelRun> expected = {{1, 0, 2}, {1, 3, 5}, {2, 1, 2}, {3, 0, 5}};
    EXPECT_EQ(expected, ButtonRuns(mask, 5, 4));
}

TEST(ButtonRegion, AllWhiteOrEmptyMaskHasNoRuns)
{
    const uint32_t white[] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    EXPECT_TRUE(ButtonRuns(white, 2, 2).empty());
    EXPECT_TRUE(ButtonRuns(white, 0, 0).empty());
}
}  // namespace
