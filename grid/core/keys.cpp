#include "keys.h"

namespace latticor {

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

bool CanPageRows(const GridState& s, int step) {
  return step > 0 ? s.firstRow < s.rowCount - 1 : s.firstRow > 1;
}

}  // namespace latticor
