// Which part of the grid a point of the client area lies in.
#pragma once

#include "grid_state.h"

namespace latticor {

enum class Area { kNone, kCells, kColHeader, kRowHeader, kCorner };

// Inside when left <= x < right and top <= y < bottom.
inline bool Contains(const Rect& r, int32_t x, int32_t y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// Tested in this order against the rectangles of the last paint: the data
// cells, the column titles, the row titles, the corner cell.
Area HitArea(const GridState& s, int32_t x, int32_t y);

}  // namespace latticor
