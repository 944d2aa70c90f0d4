#include "core/scroll.h"

namespace latticor {

uint32_t PageBackTarget(const int32_t* sizes, uint32_t first, int32_t avail) {
  if (first <= 1) return 1;
  uint32_t k = first;
  int64_t sum = sizes[k];
  for (;;) {
    --k;
    if (k == 1) break;
    sum += sizes[k];
    if (sum >= avail) break;
  }
  return k;
}

uint32_t ScrollTarget(const GridState& s, const Axis& a, uint32_t code, uint32_t thumb,
                      uint32_t barMax, int32_t avail) {
  const uint32_t first = s.*a.first;
  uint32_t target = first;
  switch (code) {
    case kScrollLineForward:
      if (first < barMax) target = first + 1;
      break;
    case kScrollLineBack:
      if (first > 1) target = first - 1;
      break;
    case kScrollPageBack:
      target = PageBackTarget(s.*a.size, ClampOrigin(first, s.*a.count), avail);
      break;
    case kScrollPageForward:
      target = s.*a.last;
      break;
    case kScrollThumbPosition:
    case kScrollThumbTrack:
      target = thumb;
      break;
    default:
      break;
  }
  return ClampOrigin(target, s.*a.count);
}

DragRepaint LineStepRepaint(const GridState& s, const Axis& a, bool forward) {
  const bool vertical = a.vertical;
  const uint32_t cur = s.*a.cur, end = s.*a.selEnd;
  const Rect& sel = s.selRect;
  if (forward) {
    if (!(vertical ? s.scrollDown : s.scrollRight)) return DragRepaint{false, {}, false};
    if (cur >= end) return DragRepaint{true, sel, true};
    const Rect band = vertical ? Rect{sel.left, sel.bottom, sel.right, s.clientRect.bottom}
                               : Rect{sel.right, sel.top, s.clientRect.right, sel.bottom};
    return DragRepaint{true, band, false};
  }
  if ((vertical ? s.scrollUp : s.scrollLeft) && cur <= end) return DragRepaint{true, sel, true};
  return DragRepaint{false, {}, false};
}

uint32_t OriginShowing(const GridState& s, const Axis& a, uint32_t index, int32_t avail) {
  const uint32_t first = ClampOrigin(s.*a.first, s.*a.count);
  if (index <= first) return index < 1 ? first : index;
  const int32_t* size = s.*a.size;
  int64_t width = size[index];
  if (width > avail) return index;
  uint32_t origin = index;
  while (origin > first && width + size[origin - 1] <= avail) width += size[--origin];
  return origin;
}

uint32_t WheelTarget(uint32_t firstRow, uint32_t rowCount, int16_t distance) {
  const int32_t d = distance;
  const int32_t step = 3 * ((d < 0 ? -d : d) / 120);
  if (d < 0) {
    const int64_t n = int64_t{firstRow} + step;
    return n > int64_t{rowCount} - 1 ? rowCount - 1 : static_cast<uint32_t>(n);
  }
  const int64_t n = int64_t{firstRow} - step;
  return n <= 1 ? 1 : static_cast<uint32_t>(n);
}

}  // namespace latticor
