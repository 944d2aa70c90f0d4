// Fuzzes the fast path of a row insertion or deletion on a shown grid: the
// pixels it moves and the parts it repaints must give the screen a whole
// repaint would. The screen is modelled a pixel line at a time (a row's
// pixels span the grid's width): each line shows the title row, a grid
// line, a line of some row's cells, or the background; moved lines carry
// what they showed before.
#include <cstdint>
#include <vector>

#include "check.h"
#include "core/axis.h"
#include "core/dimensions.h"
#include "core/layout.h"
#include "core/repaint.h"
#include "counting_allocator.h"

using namespace latticor;

namespace {

constexpr int64_t kTitle = -1, kLine = -2, kBackground = -3, kNewRow = -4;

// What line y shows, with rows named by `identity` (their cells move with
// them): a row owns its top grid line and its lines down to the next row's.
std::vector<int64_t> Screen(const GridState& s, const std::vector<int64_t>& identity) {
  std::vector<int64_t> lines(static_cast<size_t>(s.clientRect.bottom), kBackground);
  for (int32_t y = 0; y < s.clientRect.bottom; ++y) {
    if (y < s.rowHeight[0]) {
      lines[y] = kTitle;
      continue;
    }
    if (y == s.rowPos[s.rowCount] - 1) lines[y] = kLine;  // the last row's bottom line
    for (uint32_t r = ClampOrigin(s.firstRow, s.rowCount); r < s.rowCount; ++r) {
      const int32_t top = s.rowPos[r] - 1, bottom = s.rowPos[r + 1] - 1;
      if (y >= top && y < bottom) {
        lines[y] = y == top ? kLine : identity[r] * 4096 + (y - top);
        break;
      }
    }
  }
  return lines;
}

bool In(const Rect& r, int32_t y) { return y >= r.top && y < r.bottom && r.left < r.right; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  testing::CountingAllocator heap;
  GridState* s = CreateGridState(heap, 0, 0);
  const uint32_t rows = kMinCount + data[0] % 40;
  SetRowCount(*s, rows);
  s->selectEnabled = 0;  // the highlight's own repaint is not modelled
  for (uint32_t r = 0; r <= rows && r + 6 < size; ++r) s->rowHeight[r] = 1 + data[r + 6] % 40;
  s->firstRow = ClampOrigin(1 + data[1] % rows, rows);
  const bool insert = data[2] & 1;
  const uint32_t r = data[3] % (rows + 1);
  const Rect client{0, 0, 300, 1 + data[4] % 400 + (data[5] % 2) * 300};
  // A deletion while the last row is the first shown scrolls up first.
  if (!insert && s->firstRow == s->rowCount - 1) --s->firstRow;
  LayOut(*s, client);  // the last paint
  if (!ScreenDrawsAlone(*s) || (insert && s->rowCount >= kMaxRowCount) || (!insert && s->rowCount <= kMinCount)) {
    DestroyGridState(s);
    return 0;
  }
  std::vector<int64_t> before(kRowTableSize), after(kRowTableSize);
  for (uint32_t i = 0; i < kRowTableSize; ++i) before[i] = i;
  const std::vector<int64_t> old = Screen(*s, before);
  const uint32_t firstRow = s->firstRow;
  const Reshape done = insert ? InsertRow(*s, r) : DeleteRow(*s, r);
  if (done != Reshape::kDone) {
    DestroyGridState(s);
    return 0;
  }
  const RowShift shift = insert ? InsertionShift(*s, r) : DeletionShift(*s, r);
  const uint32_t last = s->rowCount - 1;
  for (uint32_t i = 0; i < kRowTableSize; ++i) {
    if (insert) {
      after[i] = (r == 0 ? i == last : i == r) ? kNewRow : (r != 0 && i > r ? i - 1 : i);
    } else {
      after[i] = (r != 0 && r <= last && i >= r) ? i + 1 : i;
    }
  }
  LayOut(*s, client);  // as the paint will
  // The fast path applies while the origin stays and the screen still draws alone.
  if (s->firstRow == firstRow && ScreenDrawsAlone(*s)) {
    const std::vector<int64_t> now = Screen(*s, after);
    const Rect dest = Intersect(Rect{shift.area.left, shift.area.top + shift.distance, shift.area.right,
                                     shift.area.bottom + shift.distance},
                                shift.area);
    for (int32_t y = 0; y < client.bottom; ++y) {
      const bool moved = shift.distance != 0 && In(dest, y);
      const bool uncovered = shift.distance != 0 && In(shift.area, y) && !moved;
      const bool erased = !insert && y >= shift.end;
      const bool repainted = uncovered || In(shift.fresh, y) || erased;
      const int64_t shown = repainted ? now[y] : moved ? old[y - shift.distance] : old[y];
      CHECK(shown == now[y]);
    }
  }
  DestroyGridState(s);
  CHECK(heap.live() == 0);
  return 0;
}
