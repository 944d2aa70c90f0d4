// Moving the current cell and the selection's other corner by message.
#pragma once

#include "axis.h"

namespace latticor {

enum class CurrentMove { kRefused, kUnchanged, kMoves };

// GM_SETCURCOL / GM_SETCURROW: whether `to` is refused (not a data index),
// changes nothing (already current) or moves the current cell.
CurrentMove CheckCurrentMove(const GridState& s, const Axis& a, uint32_t to);
// The move itself: the current cell and the selection's end in this
// direction go to `to`, and the next paint owes GN_CELLENTERED.
void ApplyCurrentMove(GridState& s, const Axis& a, uint32_t to);

}  // namespace latticor
