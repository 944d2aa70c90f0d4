// The selection: the current cell (its anchor) and the other corner, the
// block the two span and its rectangle, and every rule that moves them —
// by message, by the mouse's presses and drags, by the auto-scroll timer
// and by the keys. The window layer asks these rules and draws what they
// decide.
#pragma once

#include "core/axis.h"
#include "core/hit_test.h"

namespace latticor {

// ---- The block ------------------------------------------------------------

// The selection, ordered: the anchor need not be its top-left corner.
Block SelectedBlock(const GridState& s);
inline bool InBlock(const Block& b, uint32_t c, uint32_t r) {
  return c >= b.c0 && c <= b.c1 && r >= b.r0 && r <= b.r1;
}

// The highlight of the whole selection: its cells, their grid lines and one
// pixel beyond on every side (BlockRect); the same cut to the visible cells.
Rect SelectionRect(const GridState& s);
Rect ShownSelectionRect(const GridState& s);

// ---- Selecting with the mouse ----------------------------------------------

// GM_ENABLESELECT keeps its wParam as it comes, and programs rely on the
// value meaning more than on or off: any value but 0 lets presses on the
// cells and the corner select, only 1 lets presses on the titles select
// whole columns and rows as well.
inline bool MouseSelects(const GridState& s) { return s.selectEnabled != 0; }
inline bool TitlesSelect(const GridState& s) { return s.selectEnabled == 1; }

// ---- By message -------------------------------------------------------------

enum class CurrentMove { kRefused, kUnchanged, kMoves };

// GM_SETCURCOL / GM_SETCURROW: whether `to` is refused (not a data index),
// changes nothing (already current) or moves the current cell.
CurrentMove CheckCurrentMove(const GridState& s, const Axis& a, uint32_t to);
// The move itself: the current cell and the selection's end in this
// direction go to `to`, and the next paint owes GN_CELLENTERED.
void ApplyCurrentMove(GridState& s, const Axis& a, uint32_t to);

// ---- A press ------------------------------------------------------------------

// Where a press in `area` at (x, y) puts the current cell, if it selects at
// all: the corner (1, 1), a column title its column's first row, a row
// title its row's first column, a cell that cell. A press on the cells
// first forgets how the selection was made, before the parent hears that
// the current cell leaves.
struct PressTarget {
  bool selects;
  uint32_t col, row;
};
PressTarget BeginPress(GridState& s, Area area, int32_t x, int32_t y);
// Once the current cell stands at the press's target: the other corner
// (the whole grid, column or row, or the cell itself) and the marks that
// say how the selection was made.
void SelectByPress(GridState& s, Area area);

// ---- A drag -----------------------------------------------------------------

// One step of a drag in one direction: +1, -1 or 0. Forwards only up to
// the last visible column (row); backwards only while the pointer is at or
// before the end's leading edge and still inside the client area.
int DragStep(const GridState& s, const Axis& a, int32_t v);
// At most one column and one row a move, in the directions the press
// allows.
struct DragSteps {
  int cols, rows;
};
DragSteps DragStepsTowards(const GridState& s, int32_t x, int32_t y, bool cols, bool rows);
void ApplyDragSteps(GridState& s, const DragSteps& steps);

// The auto-scroll requests a drag sets from the pointer: past the client's
// far edges, or before the titles' far edges.
void SetColumnRequests(GridState& s, int32_t x);
void SetRowRequests(GridState& s, int32_t y);
void ClearScrollRequests(GridState& s);

// What one tick of the auto-scroll timer does in each direction: +1, -1, 0.
// Diagonals towards the far corner or the near corner do nothing.
struct Tick {
  int cols;
  int rows;
};
Tick AutoScrollTick(const GridState& s);

// ---- Keys ---------------------------------------------------------------------
// `step` is +1 (right, down) or -1 (left, up).

// A plain arrow: whether the anchor can move; the move itself (the end in
// that direction follows); whether the view must then scroll a line.
bool CanMoveAnchor(const GridState& s, const Axis& a, int step);
void MoveAnchor(GridState& s, const Axis& a, int step);
bool ScrollAfterAnchorMove(const GridState& s, const Axis& a, int step);

// Shift and an arrow: whether the marks forbid extending (whole columns do
// not grow downwards, whole rows not to the right, the whole grid neither);
// whether to scroll a line first; whether the end can then move.
bool EndMoveForbidden(const GridState& s, const Axis& a, int step);
bool ScrollBeforeEndMove(const GridState& s, const Axis& a, int step);
bool CanMoveEnd(const GridState& s, const Axis& a, int step);
// Moves the end a step, never out of the data cells: the Shift arrows and
// the auto-scroll ticks.
void MoveEnd(GridState& s, const Axis& a, int step);

// Page Up and Page Down scroll only when they can move.
bool CanPageRows(const GridState& s, int step);

}  // namespace latticor
