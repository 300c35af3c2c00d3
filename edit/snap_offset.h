// Grid snapping shared by dragging, dropping and aligning modules.
#pragma once

#include "persist/prop_rect.h"

// The offset that moves `value` to the nearest multiple of `grid`; exactly half a grid snaps
// down. A grid below 1 snaps nothing.
int SnapOffset(int value, int grid);
TPoint SnapOffset(TPoint point, int grid);
// The offset that snaps `position`, in client coordinates of a canvas scrolled by `scroll`, to the
// canvas grid; the scroll enters only as its remainder, so that no sum of large values overflows.
int SnapOffsetScrolled(int scroll, int position, int grid);
