#include "controls/buttonregion.h"

#include <cstddef>

bool IsCutFromButton(uint32_t rgb)
{
    return (rgb & 0xFFFFFF) == 0xFFFFFF;
}

std::vector<PixelRun> ButtonRuns(const uint32_t* pixels, int width, int height)
{
    std::vector<PixelRun> runs;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + static_cast<std::size_t>(y) * width;
        int x = 0;
        while (x < width) {
            if (IsCutFromButton(row[x])) {
                ++x;
                continue;
            }
            int left = x;
            while (x < width && !IsCutFromButton(row[x])) ++x;
            runs.push_back({y, left, x});
        }
    }
    return runs;
}
