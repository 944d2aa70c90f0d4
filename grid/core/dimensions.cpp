#include "core/dimensions.h"

#include <cstring>
#include <initializer_list>

#include "core/axis.h"

namespace latticor {

namespace {

// Gives `count` cells from `first` on new text blocks; on failure gives
// back those it made and returns false.
bool InitCells(GridState& s, GridCell* first, size_t count, uint32_t format) {
  for (size_t i = 0; i < count; ++i) {
    if (!InitCell(*s.allocator, first[i], s.font, format)) {
      ReleaseTexts(*s.allocator, first, i);
      return false;
    }
  }
  return true;
}

size_t CellCount(const GridState& s, uint32_t rows) { return size_t{s.colCount} * rows; }

// Row r's texts leave the counts of the cells holding text (the row goes).
void ForgetRowUse(GridState& s, uint32_t r) {
  const GridCell* row = &s.cells[CellCount(s, r)];
  for (uint32_t c = 1; c < s.colCount; ++c) NoteTextUse(s, c, r, row[c].text[0] != '\0', false);
}

// The rows' counts follow their rows when rows [from, rowCount) move by
// `shift` (+1 or -1); what is uncovered counts nothing.
void MoveRowUse(GridState& s, uint32_t from, int shift) {
  uint8_t* used = s.usedInRow;
  const uint32_t rows = s.rowCount - from;
  std::memmove(used + from + shift, used + from, rows);
  used[shift > 0 ? from : s.rowCount - 1] = 0;
}

// Moves rows [from, from + rows) by `shift` rows (positive: down).
void MoveRows(GridState& s, uint32_t from, uint32_t rows, int shift) {
  GridCell* source = &s.cells[CellCount(s, from)];
  std::memmove(source + static_cast<ptrdiff_t>(shift) * s.colCount, source,
               CellCount(s, rows) * sizeof(GridCell));
}

}  // namespace

void KeepSelectionInside(GridState& s) {
  for (const Axis* a : {&kCols, &kRows}) {
    s.*a->cur = ClampOrigin(s.*a->cur, s.*a->count);
    s.*a->selEnd = ClampOrigin(s.*a->selEnd, s.*a->count);
    s.*a->first = ClampOrigin(s.*a->first, s.*a->count);
    // The last visible one comes from the last paint; it is never beyond
    // the cells that exist now.
    if (s.*a->last > s.*a->count - 1) s.*a->last = s.*a->count - 1;
  }
}

Reshape SetColCount(GridState& s, uint32_t n) {
  if (n < kMinCount || n > kMaxColCount) return Reshape::kBadCount;
  const size_t count = size_t{n} * s.rowCount;
  auto* cells = static_cast<GridCell*>(s.allocator->Allocate(count * sizeof(GridCell)));
  if (!cells) return Reshape::kNoMemory;
  if (!InitCells(s, cells, count, kFormatDefault)) {
    s.allocator->Release(cells);
    return Reshape::kNoMemory;
  }
  ReleaseTexts(*s.allocator, s.cells, CellCount(s, s.rowCount));
  s.allocator->Release(s.cells);
  s.cells = cells;
  s.colCount = n;
  RecountUse(s);  // every cell is empty: all counts 0
  KeepSelectionInside(s);
  return Reshape::kDone;
}

Reshape SetRowCount(GridState& s, uint32_t n) {
  if (n < kMinCount || n > kMaxRowCount) return Reshape::kBadCount;
  const size_t before = CellCount(s, s.rowCount);
  const size_t after = CellCount(s, n);
  if (after < before) {
    for (uint32_t r = n; r < s.rowCount; ++r) ForgetRowUse(s, r);
    ReleaseTexts(*s.allocator, &s.cells[after], before - after);
    // Shrinking cannot fail to leave a valid table: on failure the larger
    // block simply stays.
    if (void* smaller = s.allocator->Resize(s.cells, after * sizeof(GridCell))) {
      s.cells = static_cast<GridCell*>(smaller);
    }
  } else if (after > before) {
    void* larger = s.allocator->Resize(s.cells, after * sizeof(GridCell));
    if (!larger) return Reshape::kNoMemory;
    s.cells = static_cast<GridCell*>(larger);
    if (!InitCells(s, &s.cells[before], after - before, kFormatDefault)) return Reshape::kNoMemory;
  }
  s.rowCount = n;
  KeepSelectionInside(s);
  return Reshape::kDone;
}

Reshape InsertRow(GridState& s, uint32_t r) {
  if (s.rowCount >= kMaxRowCount) return Reshape::kBadCount;
  if (r > s.rowCount - 1) return Reshape::kBadRow;
  const uint32_t rows = s.rowCount + 1;
  void* larger = s.allocator->Resize(s.cells, CellCount(s, rows) * sizeof(GridCell));
  if (!larger) return Reshape::kNoMemory;
  s.cells = static_cast<GridCell*>(larger);
  // The new row is made at the bottom, then moved into place.
  GridCell* bottom = &s.cells[CellCount(s, s.rowCount)];
  if (!InitCells(s, bottom, s.colCount, kFormatInserted)) return Reshape::kNoMemory;
  if (r != 0) {
    GridCell made[kMaxColCount];
    std::memcpy(made, bottom, s.colCount * sizeof(GridCell));
    MoveRows(s, r, s.rowCount - r, +1);
    std::memcpy(&s.cells[CellCount(s, r)], made, s.colCount * sizeof(GridCell));
    std::memmove(&s.rowHeight[r + 1], &s.rowHeight[r], (rows - 1 - r) * sizeof(int32_t));
    s.rowHeight[r] = s.metrics.rowHeight;
    MoveRowUse(s, r, +1);
  }
  s.rowCount = rows;
  return Reshape::kDone;
}

Reshape DeleteRow(GridState& s, uint32_t r) {
  if (s.rowCount <= kMinCount) return Reshape::kBadCount;
  const uint32_t last = s.rowCount - 1;
  if (r == 0 || r == last) {
    ForgetRowUse(s, last);
    ReleaseTexts(*s.allocator, &s.cells[CellCount(s, last)], s.colCount);
  } else if (r > last) {
    return Reshape::kBadRow;
  } else {
    ForgetRowUse(s, r);
    ReleaseTexts(*s.allocator, &s.cells[CellCount(s, r)], s.colCount);
    std::memmove(&s.rowHeight[r], &s.rowHeight[r + 1], (last - r) * sizeof(int32_t));
    MoveRows(s, r + 1, last - r, -1);
    MoveRowUse(s, r + 1, -1);
  }
  s.rowCount = last;
  if (void* smaller = s.allocator->Resize(s.cells, CellCount(s, last) * sizeof(GridCell))) {
    s.cells = static_cast<GridCell*>(smaller);
  }
  KeepSelectionInside(s);
  return Reshape::kDone;
}

}  // namespace latticor
