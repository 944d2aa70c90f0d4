#include "core/resize.h"

namespace latticor {

void HoverEdge(GridState& s, const Axis& a, int32_t v) {
  if (!s.resizeEnabled) return;
  const auto x = static_cast<uint32_t>(v);
  const auto clientEnd = static_cast<uint32_t>(a.vertical ? s.clientRect.bottom : s.clientRect.right);
  const int32_t* pos = s.*a.pos;
  for (uint32_t i = ClampOrigin(s.*a.first, s.*a.count) + 1; i <= s.*a.count; ++i) {
    // The zone lies each side of the grid line before edge e. Unsigned, as
    // its ends are compared: an edge nearer 0 than the zone never arms.
    const auto e = static_cast<uint32_t>(pos[i]);
    const auto zone = static_cast<uint32_t>(s.metrics.edgeZone);
    if (e - 1 - zone <= x && x <= e - 1 + zone && x < clientEnd - 1) {
      s.*a.resizeIndex = i - 1;
      s.resizing = 1;
      s.cursorKind = a.resizeCursor;
      return;
    }
    s.resizing = 0;
    s.cursorKind = kCursorClass;
  }
}

int32_t StartResize(GridState& s, const Axis& a, int32_t v) {
  const uint32_t index = s.*a.resizeIndex;
  const int32_t line = (index + 1 <= s.*a.count ? (s.*a.pos)[index + 1] : 0) - 1;
  s.*a.resizeLine = line;
  s.*a.resizeLast = v;
  return line;
}

ResizeMove DragResize(GridState& s, const Axis& a, int32_t v, int32_t clientEnd) {
  const uint32_t index = s.*a.resizeIndex;
  if (index >= a.capacity || v > clientEnd - s.metrics.dragStop) return ResizeMove{false, 0, 0};
  const int32_t d = v - s.*a.resizeLast;
  const int64_t size = int64_t{(s.*a.size)[index]} + d;
  if (size < 1 || size > INT32_MAX) return ResizeMove{false, 0, 0};
  (s.*a.size)[index] = static_cast<int32_t>(size);
  const int32_t oldLine = s.*a.resizeLine;
  s.*a.resizeLine = oldLine + d;
  s.*a.resizeLast = v;
  return ResizeMove{true, oldLine, oldLine + d};
}

}  // namespace latticor
