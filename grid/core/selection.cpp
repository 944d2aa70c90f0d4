#include "core/selection.h"

#include <algorithm>

#include "core/layout.h"

namespace latticor {

Block SelectedBlock(const GridState& s) {
  return Block{std::min(s.curCol, s.selEndCol), std::max(s.curCol, s.selEndCol),
               std::min(s.curRow, s.selEndRow), std::max(s.curRow, s.selEndRow)};
}

Rect SelectionRect(const GridState& s) { return BlockRect(s, s.curCol, s.selEndCol, s.curRow, s.selEndRow); }

Rect ShownSelectionRect(const GridState& s) { return Intersect(SelectionRect(s), s.viewRect); }

// ---- By message -------------------------------------------------------------

CurrentMove CheckCurrentMove(const GridState& s, const Axis& a, uint32_t to) {
  if (!IsDataIndex(s, a, to)) return CurrentMove::kRefused;
  if (to == s.*a.cur) return CurrentMove::kUnchanged;
  return CurrentMove::kMoves;
}

void ApplyCurrentMove(GridState& s, const Axis& a, uint32_t to) {
  s.*a.cur = to;
  s.*a.selEnd = to;
  s.notifyEnterPending = 1;
}

// ---- A press ------------------------------------------------------------------

namespace {

void SetMarks(GridState& s, bool all, bool cols, bool rows) {
  s.allSelected = all;
  s.colsSelected = cols;
  s.rowsSelected = rows;
}

}  // namespace

PressTarget BeginPress(GridState& s, Area area, int32_t x, int32_t y) {
  switch (area) {
    case Area::kCorner:
      if (MouseSelects(s)) return PressTarget{true, 1, 1};
      break;
    case Area::kColHeader:
      if (TitlesSelect(s)) return PressTarget{true, IndexAt(s, kCols, x), 1};
      break;
    case Area::kRowHeader:
      if (TitlesSelect(s)) return PressTarget{true, 1, IndexAt(s, kRows, y)};
      break;
    case Area::kCells:
      if (!MouseSelects(s)) break;
      SetMarks(s, false, false, false);
      return PressTarget{true, IndexAt(s, kCols, x), IndexAt(s, kRows, y)};
    case Area::kNone:
      break;
  }
  return PressTarget{false, 0, 0};
}

void SelectByPress(GridState& s, Area area) {
  const bool wholeCols = area == Area::kCorner || area == Area::kRowHeader;
  const bool wholeRows = area == Area::kCorner || area == Area::kColHeader;
  s.selEndCol = wholeCols ? s.colCount - 1 : s.curCol;
  s.selEndRow = wholeRows ? s.rowCount - 1 : s.curRow;
  SetMarks(s, area == Area::kCorner, area == Area::kColHeader, area == Area::kRowHeader);
}

// ---- A drag -----------------------------------------------------------------

int DragStep(const GridState& s, const Axis& a, int32_t v) {
  const uint32_t end = s.*a.selEnd;
  const int32_t* pos = s.*a.pos;
  if (end + 1 > s.*a.count) return 0;  // out of the grid: no step
  // Forwards up to the last visible one, which a count lowered since the
  // last paint may have taken away.
  if (v >= pos[end + 1]) return end < s.*a.last && end + 1 < s.*a.count ? +1 : 0;
  return (v <= pos[end] && v >= 0 && end > 1) ? -1 : 0;
}

DragSteps DragStepsTowards(const GridState& s, int32_t x, int32_t y, bool cols, bool rows) {
  return DragSteps{cols ? DragStep(s, kCols, x) : 0, rows ? DragStep(s, kRows, y) : 0};
}

void ApplyDragSteps(GridState& s, const DragSteps& steps) {
  s.selEndCol += static_cast<uint32_t>(steps.cols);
  s.selEndRow += static_cast<uint32_t>(steps.rows);
}

void SetColumnRequests(GridState& s, int32_t x) {
  s.scrollRight = x > s.clientRect.right;
  s.scrollLeft = x < s.rowHeaderRect.right;
}

void SetRowRequests(GridState& s, int32_t y) {
  s.scrollDown = y > s.clientRect.bottom;
  s.scrollUp = y < s.colHeaderRect.bottom;
}

void ClearScrollRequests(GridState& s) { s.scrollDown = s.scrollUp = s.scrollLeft = s.scrollRight = 0; }

Tick AutoScrollTick(const GridState& s) {
  Tick tick{0, 0};
  if ((s.scrollDown && s.scrollRight) || (s.scrollUp && s.scrollLeft)) return tick;
  if (s.selEndRow < s.rowCount - 1) {
    if (s.scrollDown) {
      tick.rows = +1;
    } else if (s.scrollUp && s.selEndRow > 1) {
      tick.rows = -1;
    }
  }
  if (s.selEndCol < s.colCount - 1) {
    if (s.scrollRight) {
      tick.cols = +1;
    } else if (s.scrollLeft && s.selEndCol > 1) {
      tick.cols = -1;
    }
  }
  return tick;
}

// ---- Keys ---------------------------------------------------------------------

bool CanMoveAnchor(const GridState& s, const Axis& a, int step) {
  const uint32_t cur = s.*a.cur;
  return step > 0 ? cur < s.*a.count - 1 : cur > 1;
}

void MoveAnchor(GridState& s, const Axis& a, int step) {
  s.*a.cur += static_cast<uint32_t>(step);
  s.*a.selEnd = s.*a.cur;
}

bool ScrollAfterAnchorMove(const GridState& s, const Axis& a, int step) {
  return step > 0 ? s.*a.cur > s.*a.last : s.*a.cur < s.*a.first;
}

bool EndMoveForbidden(const GridState& s, const Axis& a, int step) {
  if (step < 0) return false;
  return s.allSelected || (a.vertical ? s.colsSelected : s.rowsSelected);
}

bool ScrollBeforeEndMove(const GridState& s, const Axis& a, int step) {
  const uint32_t end = s.*a.selEnd;
  // Unsigned: before the first paint the last index is 0 and 0 - 1 is huge.
  return step > 0 ? end > s.*a.last - 1 : end <= s.*a.first;
}

bool CanMoveEnd(const GridState& s, const Axis& a, int step) {
  const uint32_t end = s.*a.selEnd, count = s.*a.count;
  return step > 0 ? (end > 0 && end < count - 1) : (end > 1 && end < count);
}

void MoveEnd(GridState& s, const Axis& a, int step) {
  s.*a.selEnd = ClampOrigin(s.*a.selEnd + static_cast<uint32_t>(step), s.*a.count);
}

bool CanPageRows(const GridState& s, int step) {
  return step > 0 ? s.firstRow < s.rowCount - 1 : s.firstRow > 1;
}

}  // namespace latticor
