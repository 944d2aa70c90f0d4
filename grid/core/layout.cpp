#include "core/layout.h"

#include <algorithm>

#include "core/axis.h"

namespace latticor {

Rect Intersect(const Rect& a, const Rect& b) {
  const Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
  return IsEmpty(r) ? Rect{0, 0, 0, 0} : r;
}

namespace {

// Positions are 32-bit and wrap, as they would in the platform's RECTs,
// rather than overflow.
int32_t Add(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
int32_t Sub(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }

// One direction of the layout pass: edges forwards from the origin up to
// the end of the last column (row), then backwards for those scrolled out.
void LayOutAxis(GridState& s, const Axis& a) {
  int32_t* pos = s.*a.pos;
  const int32_t* size = s.*a.size;
  const uint32_t count = s.*a.count;
  const uint32_t first = ClampOrigin(s.*a.first, count);
  pos[first] = size[0];
  for (uint32_t i = first + 1; i <= count; ++i) pos[i] = Add(pos[i - 1], size[i - 1]);
  for (uint32_t i = first - 1; i >= 1; --i) pos[i] = Sub(pos[i + 1], size[i]);
}

}  // namespace

void LayOut(GridState& s, const Rect& client) {
  s.clientRect = client;
  LayOutAxis(s, kCols);
  LayOutAxis(s, kRows);
  const int32_t titleWidth = s.colWidth[0];
  const int32_t titleHeight = s.rowHeight[0];
  const int32_t right = s.colPos[s.colCount];
  const int32_t bottom = s.rowPos[s.rowCount];
  s.colHeaderRect = Intersect(Rect{titleWidth, 0, right, titleHeight}, client);
  s.rowHeaderRect = Intersect(Rect{0, titleHeight, titleWidth, bottom}, client);
  s.viewRect = Intersect(Rect{titleWidth, titleHeight, right, bottom}, client);
}

uint32_t VisibleEnd(const int32_t* pos, uint32_t first, uint32_t count, int32_t limit) {
  for (uint32_t i = first; i < count; ++i) {
    if (pos[i] > limit) return i;
  }
  return count;
}

void NoteLastShown(GridState& s) {
  s.lastCol = LastVisible(s.colPos, ClampOrigin(s.firstCol, s.colCount), s.colCount, s.clientRect.right);
  s.lastRow = LastVisible(s.rowPos, ClampOrigin(s.firstRow, s.rowCount), s.rowCount, s.clientRect.bottom);
}

Rect BlockRect(const GridState& s, uint32_t a, uint32_t b, uint32_t p, uint32_t q) {
  const uint32_t c0 = ClampOrigin(std::min(a, b), s.colCount);
  const uint32_t c1 = ClampOrigin(std::max(a, b), s.colCount);
  const uint32_t r0 = ClampOrigin(std::min(p, q), s.rowCount);
  const uint32_t r1 = ClampOrigin(std::max(p, q), s.rowCount);
  return Rect{Sub(s.colPos[c0], 2), Sub(s.rowPos[r0], 2), Add(s.colPos[c1 + 1], 1), Add(s.rowPos[r1 + 1], 1)};
}

Rect FocusRect(const GridState& s) {
  return Inflate(BlockRect(s, s.curCol, s.curCol, s.curRow, s.curRow), -3);
}

Rect CellRect(const GridState& s, uint32_t c, uint32_t r) {
  if (c >= s.colCount || r >= s.rowCount) return Rect{0, 0, 0, 0};
  return Rect{s.colPos[c], s.rowPos[r], s.colPos[c + 1], s.rowPos[r + 1]};
}

Rect CellFrameRect(const GridState& s, uint32_t c, uint32_t r) {
  if (c >= s.colCount || r >= s.rowCount) return Rect{0, 0, 0, 0};
  return Rect{s.colPos[c] - 1, s.rowPos[r] - 1, s.colPos[c + 1], s.rowPos[r + 1]};
}

Inversion PlanInversion(const Rect& shown, const Rect& next, const Rect& clip) {
  Inversion plan;
  plan.shown = Intersect(shown, clip);
  plan.next = Intersect(next, clip);
  plan.overlap = Intersect(plan.shown, plan.next);
  return plan;
}

}  // namespace latticor
