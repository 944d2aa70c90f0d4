// The arrow keys' rules: moving the anchor, and with Shift the selection's
// other end. `step` is +1 (right, down) or -1 (left, up).
#pragma once

#include "axis.h"

namespace latticor {

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

// Page Up and Page Down scroll only when they can move.
bool CanPageRows(const GridState& s, int step);

}  // namespace latticor
