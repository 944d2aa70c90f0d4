#include "hit_test.h"

namespace latticor {

Area HitArea(const GridState& s, int32_t x, int32_t y) {
  if (Contains(s.viewRect, x, y)) return Area::kCells;
  if (Contains(s.colHeaderRect, x, y)) return Area::kColHeader;
  if (Contains(s.rowHeaderRect, x, y)) return Area::kRowHeader;
  if (Contains(Rect{0, 0, s.colWidth[0], s.rowHeight[0]}, x, y)) return Area::kCorner;
  return Area::kNone;
}

}  // namespace latticor
