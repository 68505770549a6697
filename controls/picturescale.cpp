#include "controls/picturescale.h"

#include "app/dpiscale.h"

namespace {
const int kSetPercent[kPictureSetCount] = {100, 150, 200};
}

int PictureSetForDpi(int dpi)
{
    for (int set = 0; set < kPictureSetCount; ++set) {
        if (kSetPercent[set] * kBaseDpi >= dpi * 100) return set;
    }
    return kPictureSetCount - 1;
}
