// Fuzzes sequences of operations on the portable core, applied the way the
// window procedure applies them, and checks the grid's invariants after
// each: the current cell, the selection's end and the scroll origin inside
// the data cells, entry 0 of the position tables at 0, every cell owning
// exactly one live text block, the counts of the cells holding text, and
// the undo history within its bounds. The user's changes (edits, Delete,
// cut, pastes by keys), which may run out of memory half way, change all or
// nothing; after the sequence, undoing every change gives back the texts
// from before the first one, byte for byte, and redoing them the texts from
// before the undos. Changes made by messages forget the history, as the
// window layer makes them forget it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <vector>
#include <string>

#include "core/axis.h"
#include "core/hit_test.h"
#include "core/keys.h"
#include "core/undo.h"
#include "check.h"
#include "core/clip_text.h"
#include "counting_allocator.h"
#include "core/dimensions.h"
#include "core/selection.h"
#include "core/layout.h"
#include "core/resize.h"
#include "core/scroll.h"

using namespace latticor;

namespace {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint32_t Word() { return Byte() | (uint32_t{Byte()} << 8); }
  int32_t Signed() { return static_cast<int16_t>(Word()); }
  std::string Text() {
    const size_t n = Byte() % 40;
    std::string t;
    for (size_t i = 0; i < n; ++i) {
      const char c = static_cast<char>(Byte());
      t += c ? c : 'z';
    }
    return t;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Walking every cell of a large grid after every step would spend the run
// on the walk: there it is walked every eighth step and at the end.
void CheckInvariants(const GridState& s, const testing::CountingAllocator& heap, int step) {
  CHECK(StateIsConsistent(s));
  CHECK(s.history.bytes <= kHistoryBytes && s.history.count <= kHistorySteps && s.history.done <= s.history.count);
  const size_t cells = size_t{s.colCount} * s.rowCount;
  if (cells > 2000 && step % 8 != 7) return;
  std::vector<const char*> texts(cells);
  for (size_t i = 0; i < cells; ++i) {
    CHECK(heap.owns(s.cells[i].text));
    CHECK(std::strlen(s.cells[i].text) + 1 <= heap.sizeOf(s.cells[i].text));
    texts[i] = s.cells[i].text;
  }
  std::sort(texts.begin(), texts.end());
  CHECK(std::adjacent_find(texts.begin(), texts.end()) == texts.end());  // each owned once
  CHECK(heap.live() == 1 + 5 + 1 + cells + testing::HistoryBlocks(s.history));
  CHECK(UseCountsAgree(s));
  CHECK(heap.foreign() == 0);
}

// The grid as the last paint left it, for a client area from the input.
void Paint(GridState& s, Input& in) {
  const Rect client{0, 0, static_cast<int32_t>(in.Word() % 2000), static_cast<int32_t>(in.Word() % 2000)};
  LayOut(s, client);
  NoteLastShown(s);
  s.selRect = ShownSelectionRect(s);
  s.prevSelRect = s.selRect;
}

// The rules, not the scale, are fuzzed here: shapes stay under 60,000
// cells, so that each input runs in milliseconds. The count limits
// themselves (2, 254, 16382) are still reached, on narrow or short grids.
bool Small(uint64_t cols, uint64_t rows) { return cols * rows <= 20000; }

uint32_t CountFrom(Input& in, uint32_t limit) {
  const uint8_t kind = in.Byte();
  if (kind < 16) return kind;                       // 0 .. 15: the low end, refusals included
  if (kind < 24) return limit - 4 + kind % 8;       // around the high end
  return in.Word() % (limit + 2);
}

std::vector<std::string> Texts(const GridState& s) {
  std::vector<std::string> texts;
  for (size_t i = 0; i < size_t{s.colCount} * s.rowCount; ++i) texts.emplace_back(s.cells[i].text);
  return texts;
}

// The user's changes since the history was last forgotten.
struct UserChanges {
  bool made = false;
  std::vector<std::string> before;  // the texts before the first one
};

// A block of at most 16 x 16 cells from (c, r), kept inside the grid: the
// history holds the user's changes of a sequence without reaching its bounds.
Block SmallBlock(const GridState& s, Input& in) {
  const uint32_t c0 = ClampOrigin(in.Byte(), s.colCount), r0 = ClampOrigin(in.Word(), s.rowCount);
  return Block{c0, ClampOrigin(c0 + in.Byte() % 16, s.colCount), r0, ClampOrigin(r0 + in.Byte() % 16, s.rowCount)};
}

// The texts of block `b` as they are.
std::vector<std::string> TextsOf(const GridState& s, const Block& b) {
  std::vector<std::string> texts;
  for (uint32_t r = b.r0; r <= b.r1; ++r) {
    for (uint32_t c = b.c0; c <= b.c1; ++c) texts.emplace_back(CellAt(s, c, r)->text);
  }
  return texts;
}

// The texts a block is given, one after another, or none at all (all empty).
std::vector<std::string> Given(const Block& b, const char* texts) {
  std::vector<std::string> given;
  for (uint32_t n = (b.c1 - b.c0 + 1) * (b.r1 - b.r0 + 1); n > 0; --n) {
    given.emplace_back(texts ? texts : "");
    if (texts) texts += given.back().size() + 1;
  }
  return given;
}

// A change of the user's: all or nothing, whatever allocation fails.
void ChangeAsUser(GridState& s, testing::CountingAllocator& heap, Input& in, UserChanges& u, BlockTexts after) {
  if (!u.made) u.before = Texts(s);
  u.made = true;
  const Block b = after.block;
  const std::vector<std::string> was = TextsOf(s, b), given = Given(b, after.texts);
  heap.failAfter(in.Byte() % 8 == 0 ? in.Byte() % 4 : -1);
  const Change change = ChangeByUser(s, after);
  heap.failAfter(-1);
  CHECK(TextsOf(s, b) == (change == Change::kChanged ? given : was));
}

void StepHistory(GridState& s, testing::CountingAllocator& heap, Input& in, bool back) {
  const UndoStep* step = back ? StepToUndo(s.history) : StepToRedo(s.history);
  if (!step) return;
  const Block b = step->block;
  const std::vector<std::string> was = TextsOf(s, b), given = Given(b, back ? step->before : step->after);
  heap.failAfter(in.Byte() % 8 == 0 ? in.Byte() % 3 : -1);
  Block restored{};
  const bool stepped = StepThroughHistory(s, back, restored);
  heap.failAfter(-1);
  CHECK(TextsOf(s, b) == (stepped ? given : was));
}

// Texts for a block, one after another: random ones, or none (Delete).
BlockTexts RandomTexts(testing::CountingAllocator& heap, const Block& b, Input& in) {
  BlockTexts t{b, nullptr, 0};
  if (in.Byte() % 3 == 0) return t;
  std::string all;
  for (uint32_t n = (b.c1 - b.c0 + 1) * (b.r1 - b.r0 + 1); n > 0; --n) all += in.Text() + '\0';
  t.texts = static_cast<char*>(heap.Allocate(all.size()));
  std::memcpy(t.texts, all.data(), all.size());
  t.bytes = all.size();
  return t;
}

// A key of a sheet: its move, or the change it makes.
void SheetKey(GridState& s, testing::CountingAllocator& heap, Input& in, UserChanges& u) {
  const uint8_t chord = in.Byte();
  const SheetAction action =
      SheetKeyAction(s, Chord{static_cast<Key>(in.Byte() % (static_cast<int>(Key::kOther) + 1)), (chord & 1) != 0,
                              (chord & 2) != 0});
  const Block selected = SelectedBlock(s);
  const bool small = (selected.c1 - selected.c0 + 1) * (selected.r1 - selected.r0 + 1) <= 256;
  switch (action.command) {
    case SheetCommand::kMove:
      CHECK(IsDataCell(s, action.col, action.row));
      if (action.extend) {
        s.selEndCol = action.col, s.selEndRow = action.row;
      } else {
        s.curCol = s.selEndCol = action.col, s.curRow = s.selEndRow = action.row;
      }
      break;
    case SheetCommand::kPage: {
      const PageMove page = PageTarget(s, action.extend ? s.selEndRow : s.curRow, action.step, RowsShown(s));
      CHECK(IsDataIndex(s, kRows, page.row) && IsDataIndex(s, kRows, page.first));
      s.firstRow = page.first;
      (action.extend ? s.selEndRow : s.curRow) = page.row;
      break;
    }
    case SheetCommand::kCut:
    case SheetCommand::kClear:
      if (small) ChangeAsUser(s, heap, in, u, BlockTexts{selected, nullptr, 0});
      break;
    case SheetCommand::kPaste: {
      const std::string text = in.Text();
      const PasteShape shape = MeasurePaste(text.c_str(), selected.c0, selected.r0);
      BlockTexts pasted;
      if (small && AcceptsPaste(s, shape) && PasteTexts(heap, s, text.c_str(), shape, selected.c0, selected.r0, pasted)) {
        ChangeAsUser(s, heap, in, u, pasted);
      }
      break;
    }
    case SheetCommand::kUndo:
    case SheetCommand::kRedo:
      StepHistory(s, heap, in, action.command == SheetCommand::kUndo);
      break;
    default:
      break;
  }
}

void Step(GridState& s, testing::CountingAllocator& heap, Input& in, UserChanges& u) {
  const Axis& a = in.Byte() & 1 ? kRows : kCols;
  const uint8_t op = in.Byte() % 19;
  // Changes made by messages: undo must never write into what they made.
  if (op <= 4 || op == 10 || op == 11) {
    EmptyHistory(heap, s.history);
    u.made = false;
  }
  switch (op) {
    case 0: {
      const uint32_t n = CountFrom(in, kMaxColCount);
      if (Small(n, s.rowCount)) SetColCount(s, n);
      break;
    }
    case 1: {
      const uint32_t n = CountFrom(in, kMaxRowCount);
      if (Small(s.colCount, n)) SetRowCount(s, n);
      break;
    }
    case 2:
      InsertRow(s, in.Word() % (s.rowCount + 2));
      break;
    case 3:
      DeleteRow(s, in.Word() % (s.rowCount + 2));
      break;
    case 4:
      if (uint32_t c = in.Byte(), r = in.Word(); CellAt(s, c, r)) SetText(s, c, r, in.Text().c_str());
      break;
    case 5:
      if (GridCell* cell = CellAt(s, in.Byte(), in.Word())) cell->format = in.Word();
      break;
    case 6: {  // GM_SETCURCOL / GM_SETCURROW
      const uint32_t to = in.Word();
      if (CheckCurrentMove(s, a, to) == CurrentMove::kMoves) ApplyCurrentMove(s, a, to);
      break;
    }
    case 7: {  // GM_SETSELENDCOL / ROW
      const uint32_t to = in.Word();
      if (IsDataIndex(s, a, to)) s.*a.selEnd = to;
      break;
    }
    case 8:  // a scroll step
      s.*a.first = ScrollTarget(s, a, in.Byte() % 8, in.Word(), s.*a.count - 1, in.Signed());
      break;
    case 9: {  // GM_SETCOLWIDTH / ROWHEIGHT
      const uint32_t index = in.Word();
      const int32_t size = in.Signed();
      if (size >= 0 && index < a.capacity) (s.*a.size)[index] = ClampSize(size, in.Signed());
      break;
    }
    case 10: {  // copy, then paste the copy back where it came from
      std::string buffer(CopySize(s), '\0');
      char* end = CopySelection(s, &buffer[0]);
      CHECK(static_cast<size_t>(end - buffer.data()) + 1 == buffer.size());
      // Texts without TAB or CR come back in the shape they left.
      const Block b = SelectedBlock(s);
      bool clean = true;
      for (uint32_t r = b.r0; r <= b.r1; ++r) {
        for (uint32_t c = b.c0; c <= b.c1; ++c) clean = clean && !std::strpbrk(CellAt(s, c, r)->text, "\t\r");
      }
      const PasteShape shape = MeasurePaste(buffer.c_str(), b.c0, b.r0);
      CHECK(!clean || AcceptsPaste(s, shape));
      // ... and paste back byte for byte.
      if (clean) {
        ForEachField(heap, buffer.c_str(), shape, b.c0, b.r0, s.colCount, s.rowCount,
                     [&](uint32_t c, uint32_t r, const char* f) { CHECK(std::strcmp(CellAt(s, c, r)->text, f) == 0); });
      }
      break;
    }
    case 11: {  // paste text from the input
      const std::string text = in.Text();
      const Block b = SelectedBlock(s);
      const PasteShape shape = MeasurePaste(text.c_str(), b.c0, b.r0);
      if (AcceptsPaste(s, shape)) {
        ForEachField(heap, text.c_str(), shape, b.c0, b.r0, s.colCount, s.rowCount,
                     [&](uint32_t c, uint32_t r, const char* f) { SetText(s, c, r, f); });
      }
      break;
    }
    case 12:
      Paint(s, in);
      break;
    case 13: {  // an arrow key, with or without Shift
      const int step = in.Byte() & 1 ? +1 : -1;
      if (in.Byte() & 1) {
        if (!EndMoveForbidden(s, a, step)) {
          if (ScrollBeforeEndMove(s, a, step)) s.*a.first = ScrollTarget(s, a, step > 0, 0, s.*a.count - 1, 0);
          if (CanMoveEnd(s, a, step)) MoveEnd(s, a, step);
        }
      } else if (CanMoveAnchor(s, a, step)) {
        MoveAnchor(s, a, step);
      }
      break;
    }
    case 14: {  // a press wherever it lands, then a drag step
      const int32_t x = in.Signed(), y = in.Signed();
      const Area area = HitArea(s, x, y);
      const PressTarget target = BeginPress(s, area, x, y);
      if (target.selects) {
        s.curCol = target.col;
        s.curRow = target.row;
        SelectByPress(s, area);
      }
      const int32_t dx = in.Signed(), dy = in.Signed();
      ApplyDragSteps(s, DragStepsTowards(s, dx, dy, true, true));
      SetColumnRequests(s, dx);
      SetRowRequests(s, dy);
      break;
    }
    case 15: {  // an auto-scroll tick, or a resize by mouse
      if (in.Byte() & 1) {
        const Tick tick = AutoScrollTick(s);
        if (tick.rows) MoveEnd(s, kRows, tick.rows);
        if (tick.cols) MoveEnd(s, kCols, tick.cols);
      } else {
        s.resizeEnabled = 1;
        HoverEdge(s, a, in.Signed());
        if (s.resizing) {
          StartResize(s, a, in.Signed());
          DragResize(s, a, in.Signed(), in.Signed());
        }
      }
      break;
    }
    case 16: {  // a user's change of a block: an edit, a value, a paste
      const Block b = SmallBlock(s, in);
      ChangeAsUser(s, heap, in, u, RandomTexts(heap, b, in));
      break;
    }
    case 17:
      StepHistory(s, heap, in, in.Byte() & 1);
      break;
    case 18:
      SheetKey(s, heap, in, u);
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  testing::CountingAllocator heap;
  GridState* s = CreateGridState(heap, 0, 0);
  Input in(data, size);
  UserChanges u;
  for (int steps = 0; !in.empty() && steps < 64; ++steps) {
    Step(*s, heap, in, u);
    CheckInvariants(*s, heap, in.empty() || steps == 63 ? 7 : steps);
  }
  if (u.made) {
    const std::vector<std::string> last = Texts(*s);
    uint32_t undone = 0;
    for (Block b{}; StepThroughHistory(*s, true, b);) ++undone;
    CHECK(Texts(*s) == u.before);
    for (Block b{}; undone > 0; --undone) CHECK(StepThroughHistory(*s, false, b));
    CHECK(Texts(*s) == last);
    CheckInvariants(*s, heap, 7);
  }
  DestroyGridState(s);
  CHECK(heap.live() == 0);
  return 0;
}
