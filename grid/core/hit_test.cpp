#include "core/hit_test.h"

namespace latticor {

Area HitArea(const GridState& s, int32_t x, int32_t y) {
  if (Contains(s.viewRect, x, y)) return Area::kCells;
  if (Contains(s.colHeaderRect, x, y)) return Area::kColHeader;
  if (Contains(s.rowHeaderRect, x, y)) return Area::kRowHeader;
  if (Contains(Rect{0, 0, s.colWidth[0], s.rowHeight[0]}, x, y)) return Area::kCorner;
  return Area::kNone;
}

uint32_t IndexAt(const GridState& s, const Axis& a, int32_t v) {
  const uint32_t last = s.*a.count - 1;
  const int32_t* pos = s.*a.pos;
  for (uint32_t k = ClampOrigin(s.*a.first, s.*a.count); k < last; ++k) {
    if (v <= pos[k + 1]) return k;
  }
  return last;
}

}  // namespace latticor
