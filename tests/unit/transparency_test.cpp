#include "controls/transparency.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {
struct Case {
    int in;
    int expected;
};

TEST(Transparency, TrackbarPercentToAlpha)
{
    const Case cases[] = {{0, 255}, {10, 229}, {20, 204}, {25, 191}, {30, 178}, {40, 153}, {50, 127},
                          {100, 0}, {101, 0}, {-5, 255}};
    for (const Case& c : cases) EXPECT_EQ(c.expected, PercentToAlpha(c.in)) << "percent " << c.in;
}

TEST(Transparency, AlphaToPercentShown)
{
    const Case cases[] = {{255, 0}, {200, 22}, {128, 50}, {127, 50}, {126, 51}, {0, 100},
                          {300, 0}, {-1, 100}};
    for (const Case& c : cases) EXPECT_EQ(c.expected, AlphaToPercent(c.in)) << "alpha " << c.in;
}

TEST(Transparency, RoundTripOfAlpha)
{
    const Case cases[] = {{200, 199}, {255, 255}, {127, 127}, {0, 0}, {1, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, PercentToAlpha(AlphaToPercent(c.in))) << "alpha " << c.in;
    for (int alpha = 0; alpha <= 255; ++alpha) {
        int back = PercentToAlpha(AlphaToPercent(alpha));
        EXPECT_LE(abs(back - alpha), 2) << "alpha " << alpha << " came back as " << back;
    }
}
}  // namespace
