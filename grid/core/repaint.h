// Repainting less than the whole window with the pixels a whole repaint
// would give: which cells a paint of part of the window must draw, when
// cells may be drawn in batches, and how the pixels on screen follow a row
// insertion or deletion.
#pragma once

#include "core/grid_state.h"

namespace latticor {

// Columns (rows) first .. end - 1.
struct Span {
  uint32_t first, end;
  bool empty() const { return first >= end; }
};

// The columns (rows) from the scroll origin whose leading edge lies at or
// before `limit` (a painting pass's extent).
Span SpanOnScreen(const GridState& s, bool vertical, int32_t limit);

// The columns and rows whose cells a paint draws, from the last layout:
// columns up to the first whose left line lies beyond the client area.
struct CellSpans {
  Span cols, rows;
};
CellSpans CellsOnScreen(const GridState& s);

// Whether the edges pos[first] .. pos[end] rise by at least one pixel from
// each to the next and stay small enough for the drawing calls to take
// them as they are: then each cell's frame follows the one before.
bool EdgesRise(const int32_t* pos, Span span);

// Of the columns (rows) in `span`, whose edges rise, those whose frame —
// the cell with its grid lines, pos[i] - 1 up to pos[i + 1] exclusive —
// reaches into [lo, hi).
Span FramesWithin(const int32_t* pos, Span span, int32_t lo, int32_t hi);

// Calls visit(cell) for every cell a paint of `cols` x `rows` draws: the
// corner, the titles of those columns and rows, and their data cells.
template <typename Visit>
void ForEachShownCell(const GridState& s, Span cols, Span rows, Visit visit) {
  const auto visitRow = [&](uint32_t r) {
    const GridCell* row = &s.cells[size_t{r} * s.colCount];
    visit(row[0]);
    for (uint32_t c = cols.first; c < cols.end; ++c) visit(row[c]);
  };
  visitRow(0);
  for (uint32_t r = rows.first; r < rows.end; ++r) visitRow(r);
}

// Whether every text that a paint of `cols` x `rows` draws stays inside its
// cell (none is drawn with DT_NOCLIP).
bool TextsStayInside(const GridState& s, Span cols, Span rows);

// Whether every cell that a paint of `cols` x `rows` draws looks the same
// wherever and after whatever it is painted: its text stays inside it (no
// DT_NOCLIP), and its font does not depend on the cells painted before it
// (no cell without a font of its own is painted after a font other than
// the grid's).
bool CellsDrawAlone(const GridState& s, Span cols, Span rows);
// The same for the cells on screen, whose edges must rise as well: then
// what shows may move with its pixels.
bool ScreenDrawsAlone(const GridState& s);

// How the pixels of a shown grid follow a row insertion or deletion, from
// the positions of the last paint (for the rows as they were) and the
// heights after the change.
struct RowShift {
  Rect area;         // moves down by `distance` (up when negative)...
  int32_t distance;  // ...0 when nothing on screen moves
  Rect fresh;        // a new row, to be painted
  int32_t end;       // the grid's bottom edge after the change
};
// After InsertRow(s, r).
RowShift InsertionShift(const GridState& s, uint32_t r);
// After DeleteRow(s, r).
RowShift DeletionShift(const GridState& s, uint32_t r);

}  // namespace latticor
