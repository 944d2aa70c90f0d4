#include "drag.h"

#include "layout.h"

namespace latticor {

uint32_t IndexAt(const GridState& s, const Axis& a, int32_t v) {
  const uint32_t last = s.*a.count - 1;
  const int32_t* pos = s.*a.pos;
  for (uint32_t k = ClampOrigin(s.*a.first, s.*a.count); k < last; ++k) {
    if (v <= pos[k + 1]) return k;
  }
  return last;
}

int DragStep(const GridState& s, const Axis& a, int32_t v) {
  const uint32_t end = s.*a.selEnd;
  const int32_t* pos = s.*a.pos;
  if (end + 1 > s.*a.count) return 0;  // out of the grid: no step
  // Forwards up to the last visible one, which a count lowered since the
  // last paint may have taken away.
  if (v >= pos[end + 1]) return end < s.*a.last && end + 1 < s.*a.count ? +1 : 0;
  return (v <= pos[end] && v >= 0 && end > 1) ? -1 : 0;
}

void SetColumnRequests(GridState& s, int32_t x) {
  s.scrollRight = x > s.clientRect.right;
  s.scrollLeft = x < s.rowHeaderRect.right;
}

void SetRowRequests(GridState& s, int32_t y) {
  s.scrollDown = y > s.clientRect.bottom;
  s.scrollUp = y < s.colHeaderRect.bottom;
}

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

Rect ClippedSelection(const GridState& s) { return Intersect(SelectionRect(s), s.viewRect); }

}  // namespace latticor
