#pragma once
#include <windows.h>

// The region of the pixels that are not pure white in a mask resource, or
// null if the mask cannot be read. The caller owns the region.
HRGN CreateMaskRegion(int maskId);
