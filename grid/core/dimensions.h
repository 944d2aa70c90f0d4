// Changing the grid's shape: the column and row counts, row insertion and
// deletion. The cell table is stored row by row, so rows come and go at its
// end and move as whole blocks; a new column count rebuilds it.
#pragma once

#include "core/grid_state.h"

namespace latticor {

enum class Reshape {
  kDone,
  kBadCount,   // the count (or the count it would lead to) is out of range
  kBadRow,     // the row to insert before or delete is beyond the last row
  kNoMemory,   // nothing changed
};

// GM_SETCOLCOUNT: n columns of empty cells with `format` 8208 and the
// grid's font; every text, title included, is gone.
Reshape SetColCount(GridState& s, uint32_t n);
// GM_SETROWCOUNT: rows that stay keep their cells; new rows are empty.
Reshape SetRowCount(GridState& s, uint32_t n);
// GM_INSERTROW: an empty centred row before row r (1 .. rowCount - 1), or
// at the bottom for r = 0. Heights move down with their rows.
Reshape InsertRow(GridState& s, uint32_t r);
// GM_DELETEROW: removes row r (1 .. rowCount - 1), the last one for r = 0.
// Heights move up with their rows; the old last height stands twice.
Reshape DeleteRow(GridState& s, uint32_t r);

// Brings the current cell, the selection's end and the scroll origin back
// into the cells that exist, after the counts have dropped below them.
void KeepSelectionInside(GridState& s);

}  // namespace latticor
