// The selection's moves as the window carries them out: the notifications
// around a move of the current cell, the highlight, and the scrolling that
// keeps the cells in view. The rules they follow are the core's.
#pragma once

#include <windows.h>

#include "core/axis.h"
#include "window.h"

namespace latticor::win32 {

void NotifyLeaving(HWND grid);
void NotifyEntered(HWND grid);

// Moves the current cell to (col, row), announcing it when it really moves:
// the parent hears GN_CELLLEAVING while the old cell is current, and
// GN_CELLENTERED once `select` has set the selection and its highlight.
// Returns the state, or null when the parent destroyed the grid.
template <typename Select>
GridState* MoveCurrentTo(HWND grid, GridState* s, uint32_t col, uint32_t row, Select select) {
  const bool moves = col != s->curCol || row != s->curRow;
  if (moves) {
    NotifyLeaving(grid);
    if (!(s = StateOf(grid))) return nullptr;
    // The parent may have reshaped the grid while it answered.
    col = ClampOrigin(col, s->colCount);
    row = ClampOrigin(row, s->rowCount);
  }
  s->curCol = col;
  s->curRow = row;
  select(*s);
  if (moves) {
    NotifyEntered(grid);
    s = StateOf(grid);
  }
  return s;
}

// The current cell to (col, row) and the selection to it alone, as a press
// on the cell makes it; the state, or null when the parent destroyed the
// grid.
GridState* SelectCellAt(HWND grid, GridState* s, uint32_t col, uint32_t row);

// An arrow: the current cell a step along `a`, the selection's other
// corner in that direction with it; or with `extend` (Shift), the other
// corner alone. The view follows.
void MoveByArrow(HWND grid, GridState* s, const Axis& a, int step, bool extend);

// Scrolls the cell (col, row) whole into view, as little as it can; the
// state, or null when the parent destroyed the grid.
GridState* ScrollIntoView(HWND grid, GridState* s, uint32_t col, uint32_t row);

}  // namespace latticor::win32
