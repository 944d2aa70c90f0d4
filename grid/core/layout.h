// Pixel geometry derived from the position tables of the last paint.
#pragma once

#include "grid_state.h"

namespace latticor {

// The cell with its four grid lines, as painting draws its rectangle.
// Null rectangle for a cell outside the grid.
Rect CellFrameRect(const GridState& s, uint32_t c, uint32_t r);
// The cell's inside with its right and bottom grid lines (GM_GETCURCELL).
Rect CellRect(const GridState& s, uint32_t c, uint32_t r);

}  // namespace latticor
