#include "app/placement.h"

namespace {
const int kEdgeMargin = 15;

// The centred position, moved in by the margin only where it would cross an
// edge; the low edge is tested first, so a window larger than the work area
// starts at the low edge.
int PlaceAxis(int cursor, int size, int low, int high)
{
    int pos = cursor - size / 2;
    if (pos < low) return low + kEdgeMargin;
    if (pos > high - size) return high - size - kEdgeMargin;
    return pos;
}
}  // namespace

PlacePoint PlaceOnCursor(PlacePoint cursor, PlaceRect window, PlaceRect work)
{
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    return {PlaceAxis(cursor.x, width, work.left, work.right),
            PlaceAxis(cursor.y, height, work.top, work.bottom)};
}
