// Columns and rows behave alike in almost everything; an Axis names the
// fields of one direction so that each rule is written once.
#pragma once

#include "core/grid_state.h"

namespace latticor {

struct Axis {
  uint32_t GridState::*count;
  uint32_t GridState::*cur;
  uint32_t GridState::*selEnd;
  uint32_t GridState::*first;
  uint32_t GridState::*last;
  int32_t* GridState::*pos;
  int32_t* GridState::*size;
  uint32_t capacity;  // entries of the pos and size tables
  bool vertical;
  // Resizing by mouse in this direction.
  uint32_t GridState::*resizeIndex;
  int32_t GridState::*resizeLast;
  int32_t GridState::*resizeLine;
  CursorKind resizeCursor;
};

inline constexpr Axis kCols{&GridState::colCount, &GridState::curCol,   &GridState::selEndCol,
                            &GridState::firstCol, &GridState::lastCol,  &GridState::colPos,
                            &GridState::colWidth, kColTableSize, false,
                            &GridState::resizeCol, &GridState::resizeLastX, &GridState::resizeLineX,
                            kCursorColResize};
inline constexpr Axis kRows{&GridState::rowCount, &GridState::curRow,    &GridState::selEndRow,
                            &GridState::firstRow, &GridState::lastRow,   &GridState::rowPos,
                            &GridState::rowHeight, kRowTableSize, true,
                            &GridState::resizeRow, &GridState::resizeLastY, &GridState::resizeLineY,
                            kCursorRowResize};

// A data column (row): 1 .. count - 1.
inline bool IsDataIndex(const GridState& s, const Axis& a, uint32_t v) {
  return v >= 1 && v < s.*a.count;
}

// A data cell: neither a title nor the corner, and inside the grid.
inline bool IsDataCell(const GridState& s, uint32_t c, uint32_t r) {
  return c >= 1 && c < s.colCount && r >= 1 && r < s.rowCount;
}

// An index brought into 1 .. count - 1, the range of data columns (rows).
inline uint32_t ClampOrigin(uint32_t v, uint32_t count) {
  if (v < 1) return 1;
  if (v > count - 1) return count - 1;
  return v;
}

}  // namespace latticor
