// What GM_PRINT prints: the range, kept inside the grid, and the scale.
#pragma once

#include "core/grid_state.h"

namespace latticor {

struct PrintRange {
  uint32_t colFrom, colTo, rowFrom, rowTo;
};

// Cuts the range's ends back to the last column and row; false when its
// first column or row lies outside the grid, so that nothing is printed.
bool ClipPrintRange(const GridState& s, PrintRange& range);

// A printer resolution scaled by `percent` (truncated), kept in int range.
int32_t ScaledResolution(int32_t dotsPerInch, uint32_t percent);

// The cells of a range in print order: row by row, columns left to right.
// The end tests come after each cell, so the first column and the first
// row are printed even when the range's other end lies before them.
template <typename Print>
void ForEachPrintedCell(const PrintRange& range, Print print) {
  uint32_t r = range.rowFrom;
  do {
    uint32_t c = range.colFrom;
    do {
      print(c, r);
    } while (++c <= range.colTo);
  } while (++r <= range.rowTo);
}

}  // namespace latticor
