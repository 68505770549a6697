#include "controls/transparency.h"

namespace {
int Clamp(int value, int low, int high)
{
    return value < low ? low : value > high ? high : value;
}
}  // namespace

// Both round half up and truncate toward zero, so a value read back does not
// always return unchanged: Alpha 200 shows 22 %, which stores 199.
int AlphaToPercent(int alpha)
{
    return 100 - static_cast<int>(Clamp(alpha, 0, 255) / 255.0 * 100.0 + 0.5);
}

int PercentToAlpha(int percent)
{
    return 255 - static_cast<int>(Clamp(percent, 0, 100) / 100.0 * 255.0 + 0.5);
}
