// Pixel geometry: the layout pass of painting, and the rectangles that the
// selection highlight and single-cell repaints use.
#pragma once

#include "core/grid_state.h"

namespace latticor {

// The overlap of two rectangles, or (0, 0, 0, 0) when they do not overlap.
Rect Intersect(const Rect& a, const Rect& b);
inline bool IsEmpty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }
inline Rect Inflate(const Rect& r, int32_t d) { return Rect{r.left - d, r.top - d, r.right + d, r.bottom + d}; }
inline bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The layout pass: from the scroll origin and the sizes, the edge of every
// column and row (those scrolled out lie left of / above the titles), and
// the view, title and client rectangles. A scroll origin outside the grid
// is laid out as the nearest data column (row); nothing is written beyond
// the tables.
void LayOut(GridState& s, const Rect& client);

// The first column (row) from `first` on whose leading edge lies beyond
// `limit`, or `count` when none does: where a painting pass stops.
uint32_t VisibleEnd(const int32_t* pos, uint32_t first, uint32_t count, int32_t limit);
// The last column (row) from `first` on whose leading edge is not beyond
// `clientEnd`; first - 1 when even the first one is beyond it.
inline uint32_t LastVisible(const int32_t* pos, uint32_t first, uint32_t count, int32_t clientEnd) {
  return VisibleEnd(pos, first, count, clientEnd) - 1;
}

// What a paint shows, noted for the keys, drags and scrolls that read it
// until the next paint: the last column (row) whose leading edge lies
// inside the client area of the last layout.
void NoteLastShown(GridState& s);

// The highlight of the block of columns a..b and rows p..q, in either
// order: the cells, their grid lines and one pixel beyond on every side.
Rect BlockRect(const GridState& s, uint32_t a, uint32_t b, uint32_t p, uint32_t q);
// The part of the anchor cell that the inversion leaves out: its interior
// less a ring one pixel wide. Not clipped.
Rect FocusRect(const GridState& s);

// The cell with its four grid lines, as painting draws its rectangle.
// Empty for a cell outside the grid.
Rect CellFrameRect(const GridState& s, uint32_t c, uint32_t r);
// The cell's inside with its right and bottom grid lines (GM_GETCURCELL).
Rect CellRect(const GridState& s, uint32_t c, uint32_t r);

// Changing the highlight from `shown` to `next`, both clipped to `clip`:
// invert both outside their overlap.
struct Inversion {
  Rect shown;    // clipped
  Rect next;     // clipped
  Rect overlap;  // left alone
};
Inversion PlanInversion(const Rect& shown, const Rect& next, const Rect& clip);

}  // namespace latticor
