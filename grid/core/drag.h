// The mouse's selection rules: which column or row a point falls in, how a
// drag step moves the selection's end, and what an auto-scroll tick does.
#pragma once

#include "axis.h"

namespace latticor {

// The first column (row) from the scroll origin on whose right (bottom)
// edge is not left of (above) `v`: a point on the boundary pixel between
// two columns picks the left one. Never beyond the last data column (row).
uint32_t IndexAt(const GridState& s, const Axis& a, int32_t v);

// One step of a drag in one direction: +1, -1 or 0. Forwards only up to
// the last visible column (row); backwards only while the pointer is at or
// before the end's leading edge and still inside the client area.
int DragStep(const GridState& s, const Axis& a, int32_t v);

// The auto-scroll requests a cell drag sets from the pointer: past the
// client's far edges, or before the titles' far edges.
void SetColumnRequests(GridState& s, int32_t x);
void SetRowRequests(GridState& s, int32_t y);

// What one tick of the auto-scroll timer does in each direction: +1, -1, 0.
// Diagonals towards the far corner or the near corner do nothing.
struct Tick {
  int cols;
  int rows;
};
Tick AutoScrollTick(const GridState& s);

// The highlight of the selection the state names, clipped to the view.
Rect ClippedSelection(const GridState& s);

}  // namespace latticor
