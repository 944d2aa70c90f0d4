// The selection's moves as the window carries them out: the notifications
// around a move of the current cell, the highlight, and the scrolling that
// keeps the cells in view. The rules they follow are the core's.
#pragma once

#include <windows.h>

#include "core/hit_test.h"
#include "window.h"

namespace latticor::win32 {

void NotifyLeaving(HWND grid);
void NotifyEntered(HWND grid);

GridState* ScrollIntoView(HWND grid, GridState* s, uint32_t col, uint32_t row);

// Moves the current cell to (col, row), announcing it when it really moves:
// the parent hears GN_CELLLEAVING while the old cell is current, and
// GN_CELLENTERED once `select` has set the selection and its highlight (and,
// with `show`, the cell has been scrolled into view). Returns the state, or
// null when the parent destroyed the grid.
template <typename Select>
GridState* MoveCurrentTo(HWND grid, GridState* s, uint32_t col, uint32_t row, Select select, bool show = false) {
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
  if (show && !(s = ScrollIntoView(grid, s, col, row))) return nullptr;
  if (moves) {
    NotifyEntered(grid);
    s = StateOf(grid);
  }
  return s;
}

// A press on the cells, the titles or the corner: the selection it makes
// (BeginPress's target and SelectByPress), announced and shown.
void PressSelects(HWND grid, GridState& s, Area area, int32_t x, int32_t y);

// The current cell to (col, row) and the selection to it alone, as a press
// on the cell makes it, scrolled into view; the state, or null when the
// parent destroyed the grid.
GridState* SelectCellAt(HWND grid, GridState* s, uint32_t col, uint32_t row);
// The selection to the block `b`, its top-left cell current, scrolled into
// view.
void SelectBlock(HWND grid, GridState* s, const Block& b);
// The selection's other corner to (col, row), scrolled into view; the
// current cell stays.
void ExtendTo(HWND grid, GridState* s, uint32_t col, uint32_t row);

// An arrow: the current cell a step along `a`, the selection's other
// corner in that direction with it (with `collapse`, on the other axis
// too); or with `extend` (Shift), the other corner alone. The view
// follows.
void MoveByArrow(HWND grid, GridState* s, const Axis& a, int step, bool extend, bool collapse = false);

// Scrolls the cell (col, row) whole into view, as little as it can; the
// state, or null when the parent destroyed the grid.
GridState* ScrollIntoView(HWND grid, GridState* s, uint32_t col, uint32_t row);

}  // namespace latticor::win32
