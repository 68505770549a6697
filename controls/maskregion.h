#pragma once
#include <windows.h>

// The region of the pixels that are not pure white in a mask resource,
// brought to the side the button has at dpi as its face is, or null if the
// mask cannot be read. The caller owns the region.
HRGN CreateMaskRegion(int maskId, int dpi);
