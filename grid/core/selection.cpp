#include "selection.h"

namespace latticor {

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

}  // namespace latticor
