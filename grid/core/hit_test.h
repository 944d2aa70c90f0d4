// Which part of the grid a point of the client area lies in, and which
// column or row.
#pragma once

#include "core/axis.h"

namespace latticor {

enum class Area { kNone, kCells, kColHeader, kRowHeader, kCorner };

// Inside when left <= x < right and top <= y < bottom.
inline bool Contains(const Rect& r, int32_t x, int32_t y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// Tested in this order against the rectangles of the last paint: the data
// cells, the column titles, the row titles, the corner cell.
Area HitArea(const GridState& s, int32_t x, int32_t y);

// The first column (row) from the scroll origin on whose right (bottom)
// edge is not left of (above) `v`: a point on the boundary pixel between
// two columns picks the left one. Never beyond the last data column (row).
uint32_t IndexAt(const GridState& s, const Axis& a, int32_t v);

}  // namespace latticor
