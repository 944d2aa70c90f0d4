#include "core/repaint.h"

#include <algorithm>

#include "core/axis.h"
#include "core/layout.h"

namespace latticor {

namespace {

// Edges further out than this are left to the one-by-one drawing, which
// hands them to the platform exactly as they are.
constexpr int64_t kLargestEdge = int64_t{1} << 24;

int32_t Saturated(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// The part of the window that holds rows from `top` to `bottom`: the row
// titles and the cells, up to the last column's right edge.
Rect RowsBand(const GridState& s, int64_t top, int64_t bottom) {
  const int32_t right = std::min(s.clientRect.right, s.colPos[s.colCount]);
  return Intersect(Rect{0, Saturated(top), right, Saturated(bottom)}, s.clientRect);
}

}  // namespace

Span SpanOnScreen(const GridState& s, bool vertical, int32_t limit) {
  const Axis& a = vertical ? kRows : kCols;
  const uint32_t first = ClampOrigin(s.*a.first, s.*a.count);
  return Span{first, VisibleEnd(s.*a.pos, first, s.*a.count, limit)};
}

CellSpans CellsOnScreen(const GridState& s) {
  return CellSpans{SpanOnScreen(s, false, s.clientRect.right + 1), SpanOnScreen(s, true, s.clientRect.bottom)};
}

bool EdgesRise(const int32_t* pos, Span span) {
  for (uint32_t i = span.first; i < span.end; ++i) {
    if (pos[i + 1] <= pos[i]) return false;
  }
  return pos[span.first] > -kLargestEdge && pos[span.end] < kLargestEdge;
}

Span FramesWithin(const int32_t* pos, Span span, int32_t lo, int32_t hi) {
  uint32_t first = span.first;
  while (first < span.end && pos[first + 1] <= lo) ++first;
  uint32_t end = first;
  while (end < span.end && pos[end] - 1 < hi) ++end;
  return Span{first, end};
}

bool TextsStayInside(const GridState& s, Span cols, Span rows) {
  bool spills = false;
  ForEachShownCell(s, cols, rows, [&](const GridCell& cell) { spills = spills || (cell.format & kFormatNoClip) != 0; });
  return !spills;
}

bool CellsDrawAlone(const GridState& s, Span cols, Span rows) {
  bool unnamed = false, otherFont = false;
  ForEachShownCell(s, cols, rows, [&](const GridCell& cell) {
    if (!cell.cellFont) {
      unnamed = true;
    } else if (cell.cellFont != s.font) {
      otherFont = true;
    }
  });
  return TextsStayInside(s, cols, rows) && !(unnamed && otherFont);
}

bool ScreenDrawsAlone(const GridState& s) {
  const CellSpans on = CellsOnScreen(s);
  return EdgesRise(s.colPos, on.cols) && EdgesRise(s.rowPos, on.rows) && CellsDrawAlone(s, on.cols, on.rows);
}

RowShift InsertionShift(const GridState& s, uint32_t r) {
  const uint32_t before = s.rowCount - 1;
  const int64_t oldEnd = s.rowPos[before];
  // The row that is new on screen: the one inserted, or the one that comes
  // down into view when the insertion lies above the rows shown.
  const uint32_t k = r == 0 ? before : std::max(r, ClampOrigin(s.firstRow, before));
  const int64_t top = s.rowPos[k], height = s.rowHeight[k];
  RowShift shift{};
  shift.end = Saturated(oldEnd + height);
  shift.fresh = RowsBand(s, top, top + height);
  if (r != 0) {
    shift.area = RowsBand(s, top, std::min<int64_t>(s.clientRect.bottom, oldEnd + height));
    shift.distance = IsEmpty(shift.area) ? 0 : Saturated(height);
  }
  return shift;
}

RowShift DeletionShift(const GridState& s, uint32_t r) {
  const uint32_t before = s.rowCount + 1, last = s.rowCount;
  const int64_t oldEnd = s.rowPos[before];
  const bool lastGoes = r == 0 || r == last;
  // The row that leaves the screen: the one deleted, or the first one
  // shown when the deletion lies above the rows shown.
  const uint32_t k = lastGoes ? last : std::max(r, ClampOrigin(s.firstRow, before));
  const int64_t top = s.rowPos[k], height = int64_t{s.rowPos[k + 1]} - top;
  RowShift shift{};
  shift.end = Saturated(oldEnd - height);
  if (!lastGoes) {
    shift.area = RowsBand(s, top, oldEnd);
    shift.distance = IsEmpty(shift.area) ? 0 : Saturated(-height);
  }
  return shift;
}

}  // namespace latticor
