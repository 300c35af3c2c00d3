#include "edit/snap_offset.h"

int SnapOffset(int value, int grid) {
  if (grid < 1) return 0;
  // The remainder of a negative position is taken towards the grid below it.
  const int remainder = ((value % grid) + grid) % grid;
  return remainder > grid / 2 ? grid - remainder : -remainder;
}

TPoint SnapOffset(TPoint point, int grid) {
  return {SnapOffset(point.x, grid), SnapOffset(point.y, grid)};
}

int SnapOffsetScrolled(int scroll, int position, int grid) {
  if (grid < 1) return 0;
  return SnapOffset(((scroll % grid) + grid) % grid + position, grid);
}
