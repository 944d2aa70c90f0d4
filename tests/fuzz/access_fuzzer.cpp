// Fuzzes the accessible model over random counts and geometry: child ids
// and cells map one to one, every step of navigation has its way back, and
// the object a hit test finds lies where the layout puts it.
#include <cstdint>

#include "check.h"
#include "core/access.h"
#include "core/dimensions.h"
#include "core/hit_test.h"
#include "core/layout.h"
#include "counting_allocator.h"

using namespace latticor;

namespace {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint32_t Word() {
    const uint32_t lo = pos_ < size_ ? data_[pos_++] : 0;
    return lo | (uint32_t{pos_ < size_ ? data_[pos_++] : 0u} << 8);
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

Direction Back(Direction d) {
  switch (d) {
    case Direction::kUp: return Direction::kDown;
    case Direction::kDown: return Direction::kUp;
    case Direction::kLeft: return Direction::kRight;
    case Direction::kRight: return Direction::kLeft;
    case Direction::kNext: return Direction::kPrevious;
    default: return Direction::kNext;
  }
}

void CheckItem(const GridState& s, const AccessItem& item) {
  const int32_t id = ChildIdOf(s, item);
  CHECK(id >= 0 && ItemOfChildId(s, id) == item);
  for (Direction d : {Direction::kUp, Direction::kDown, Direction::kLeft, Direction::kRight, Direction::kNext,
                      Direction::kPrevious}) {
    const AccessItem to = Navigate(s, item, d);
    if (to.part == Part::kNone) continue;
    CHECK(to.part == item.part);
    CHECK(Navigate(s, to, Back(d)) == item);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  testing::CountingAllocator heap;
  GridState* s = CreateGridState(heap, 0, 0);
  // Small shapes run fast; the ids are arithmetic on the counts alone.
  SetColCount(*s, kMinCount + in.Word() % 40);
  SetRowCount(*s, kMinCount + in.Word() % 200);
  for (uint32_t c = 0; c < s->colCount; ++c) s->colWidth[c] = static_cast<int32_t>(in.Word() % 90);
  for (uint32_t r = 0; r < s->rowCount && r < 64; ++r) s->rowHeight[r] = static_cast<int32_t>(in.Word() % 60);
  s->firstCol = 1 + in.Word() % (s->colCount - 1);
  s->firstRow = 1 + in.Word() % (s->rowCount - 1);
  const Rect client{0, 0, static_cast<int32_t>(in.Word() % 1200), static_cast<int32_t>(in.Word() % 900)};
  LayOut(*s, client);
  NoteLastShown(*s);

  // Every id names one object and comes back from it.
  const int32_t ids = static_cast<int32_t>(s->rowCount + 1 + s->rowCount * s->colCount);
  for (int32_t id = 0; id < ids; id += 1 + static_cast<int32_t>(in.Word() % 7)) {
    const AccessItem item = ItemOfChildId(*s, id);
    CHECK(item.part != Part::kNone && ChildIdOf(*s, item) == id);
    if (item.part != Part::kGrid) CheckItem(*s, item);
  }
  CHECK(ItemOfChildId(*s, ids).part == Part::kNone);

  // A point's object is the one whose place holds it, as a press finds it:
  // its near edges inclusive, its far edges too (a press on the boundary
  // pixel picks the left column and the upper row).
  for (int i = 0; i < 64; ++i) {
    const int32_t x = static_cast<int32_t>(in.Word() % 1300) - 50, y = static_cast<int32_t>(in.Word() % 1000) - 50;
    const AccessItem hit = ItemAt(*s, x, y);
    const Area area = HitArea(*s, x, y);
    if (area == Area::kNone) {
      CHECK(hit.part == (Contains(client, x, y) ? Part::kGrid : Part::kNone));
      continue;
    }
    CHECK(hit.part == Part::kCell);
    CHECK((hit.col == 0) == (area == Area::kRowHeader || area == Area::kCorner));
    CHECK((hit.row == 0) == (area == Area::kColHeader || area == Area::kCorner));
    const Rect at = LocationOf(*s, hit);
    CHECK(x >= at.left && x <= at.right && y >= at.top && y <= at.bottom);
    // A point of the client area shows what it hits (the corner is found
    // outside the client too, as a press finds it; a column 0 pixels wide
    // shows nothing).
    if (Contains(client, x, y) && !IsEmpty(at)) CHECK(!IsOffscreen(*s, hit));
  }
  DestroyGridState(s);
  CHECK(heap.live() == 0);
  return 0;
}
