#include "layout.h"

namespace latticor {

Rect CellRect(const GridState& s, uint32_t c, uint32_t r) {
  if (c >= s.colCount || r >= s.rowCount) return Rect{0, 0, 0, 0};
  return Rect{s.colPos[c], s.rowPos[r], s.colPos[c + 1], s.rowPos[r + 1]};
}

Rect CellFrameRect(const GridState& s, uint32_t c, uint32_t r) {
  Rect rect = CellRect(s, c, r);
  if (c >= s.colCount || r >= s.rowCount) return rect;
  rect.left -= 1;
  rect.top -= 1;
  return rect;
}

}  // namespace latticor
