#include "core/grid_state.h"

#include "core/undo.h"

#include <cstring>
#include <initializer_list>

namespace latticor {

namespace {

int32_t* NewTable(BlockAllocator& a, uint32_t entries, int32_t value) {
  auto* table = static_cast<int32_t*>(a.Allocate(entries * sizeof(int32_t)));
  if (table && value != 0) {
    for (uint32_t i = 0; i < entries; ++i) table[i] = value;
  }
  return table;
}

}  // namespace

void ReleaseTexts(BlockAllocator& a, GridCell* first, size_t count) {
  // A table that creation could not fill holds cells without a text yet.
  for (size_t i = 0; i < count; ++i) {
    if (first[i].text) a.Release(first[i].text);
  }
}

bool InitCell(BlockAllocator& allocator, GridCell& cell, void* font, uint32_t format) {
  auto* text = static_cast<char*>(allocator.Allocate(1));
  if (!text) return false;
  cell.cellFont = font;
  cell.textColor = 0;
  cell.format = format;
  cell.text = text;
  return true;
}

bool SetCellText(BlockAllocator& allocator, GridCell& cell, const char* text) {
  const size_t n = std::strlen(text);
  if (n == std::strlen(cell.text)) {  // the block has the size already: n + 1
    std::memcpy(cell.text, text, n + 1);
    return true;
  }
  auto* block = static_cast<char*>(allocator.Resize(cell.text, n + 1));
  if (!block) return false;
  cell.text = block;
  std::memcpy(block, text, n + 1);
  return true;
}

bool SetText(GridState& s, uint32_t c, uint32_t r, const char* text) {
  GridCell& cell = *CellAt(s, c, r);
  const bool was = cell.text[0] != '\0';
  if (!SetCellText(*s.allocator, cell, text)) return false;
  NoteTextUse(s, c, r, was, text[0] != '\0');
  return true;
}

void NoteTextUse(GridState& s, uint32_t c, uint32_t r, bool was, bool is) {
  if (was == is || c == 0 || r == 0) return;
  const int d = is ? +1 : -1;
  s.usedInRow[r] = static_cast<uint8_t>(s.usedInRow[r] + d);
  s.usedInCol[c] = static_cast<uint16_t>(s.usedInCol[c] + d);
}

void RecountUse(GridState& s) {
  std::memset(s.usedInRow, 0, kRowTableSize + kColTableSize * sizeof(uint16_t));
  for (uint32_t r = 1; r < s.rowCount; ++r) {
    for (uint32_t c = 1; c < s.colCount; ++c) NoteTextUse(s, c, r, false, CellAt(s, c, r)->text[0] != '\0');
  }
}

size_t BoundedCopyLength(const char* text, size_t size, const Encoding& encoding) {
  return CharBoundaryAtOrBefore(text, size - 1, encoding);
}

bool InitGridState(GridState& s, BlockAllocator& a, uint32_t gridColor, uint32_t bkColor) {
  s.allocator = &a;
  s.curCol = s.curRow = s.selEndCol = s.selEndRow = 1;
  s.colCount = kInitialColCount;
  s.rowCount = kInitialRowCount;
  s.firstCol = s.firstRow = 1;
  s.gridColor = gridColor;
  s.bkColor = bkColor;
  s.selectEnabled = 1;
  s.resizeEnabled = 1;
  s.metrics = MetricsAt(kBaseDpi);

  s.colWidth = NewTable(a, kColTableSize, kInitialColWidth);
  s.rowHeight = NewTable(a, kRowTableSize, kInitialRowHeight);
  s.colPos = NewTable(a, kColTableSize, 0);
  s.rowPos = NewTable(a, kRowTableSize, 0);
  s.usedInRow = static_cast<uint8_t*>(a.Allocate(kRowTableSize + kColTableSize * sizeof(uint16_t)));
  if (s.usedInRow) s.usedInCol = reinterpret_cast<uint16_t*>(s.usedInRow + kRowTableSize);
  const size_t count = size_t{kInitialColCount} * kInitialRowCount;
  s.cells = static_cast<GridCell*>(a.Allocate(count * sizeof(GridCell)));
  bool ok = s.colWidth && s.rowHeight && s.colPos && s.rowPos && s.usedInRow && s.cells;
  for (size_t i = 0; ok && i < count; ++i) ok = InitCell(a, s.cells[i], nullptr, kFormatDefault);
  if (!ok) ReleaseGridState(s);
  return ok;
}

void ReleaseGridState(GridState& s) {
  BlockAllocator& a = *s.allocator;
  for (int32_t* table : {s.colWidth, s.rowHeight, s.colPos, s.rowPos}) {
    if (table) a.Release(table);
  }
  if (s.usedInRow) a.Release(s.usedInRow);
  EmptyHistory(a, s.history);
  if (s.cells) {
    ReleaseTexts(a, s.cells, size_t{s.colCount} * s.rowCount);
    a.Release(s.cells);
  }
  // Anything that still holds the record after this finds garbage, not a
  // grid that seems to work.
  std::memset(&s, 0xDD, sizeof s);
}

GridState* CreateGridState(BlockAllocator& a, uint32_t gridColor, uint32_t bkColor) {
  auto* s = static_cast<GridState*>(a.Allocate(sizeof(GridState)));
  if (!s) return nullptr;
  if (!InitGridState(*s, a, gridColor, bkColor)) {
    a.Release(s);
    return nullptr;
  }
  return s;
}

void DestroyGridState(GridState* s) {
  if (!s) return;
  BlockAllocator& a = *s->allocator;
  ReleaseGridState(*s);
  a.Release(s);
}

uint32_t ChangeExStyle(GridState& s, uint32_t mask, uint32_t bits) {
  const uint32_t before = s.exStyle;
  if (mask == 0) mask = kExDefined;
  s.exStyle = ((before & ~mask) | (bits & mask)) & kExDefined;
  return before;
}

GridCell* CellAt(GridState& s, uint32_t c, uint32_t r) {
  if (c >= s.colCount || r >= s.rowCount) return nullptr;
  return &s.cells[c + size_t{r} * s.colCount];
}

int32_t SumSizes(const int32_t* table, uint32_t capacity, uint32_t from, uint32_t to) {
  if (from >= capacity) return 0;
  if (to >= capacity) to = capacity - 1;
  uint32_t sum = static_cast<uint32_t>(table[from]);  // wraps like the 32-bit sum it is
  for (uint32_t i = from + 1; i <= to; ++i) sum += static_cast<uint32_t>(table[i]);
  return static_cast<int32_t>(sum);
}

int32_t ClampSize(int32_t requested, int32_t limit) {
  return (limit >= 0 && requested > limit) ? limit : requested;
}

bool StateIsConsistent(const GridState& s) {
  auto inRange = [](uint32_t v, uint32_t count) { return v >= 1 && v + 1 <= count; };
  return s.colCount >= kMinCount && s.colCount <= kMaxColCount && s.rowCount >= kMinCount &&
         s.rowCount <= kMaxRowCount && inRange(s.curCol, s.colCount) &&
         inRange(s.selEndCol, s.colCount) && inRange(s.firstCol, s.colCount) &&
         inRange(s.curRow, s.rowCount) && inRange(s.selEndRow, s.rowCount) &&
         inRange(s.firstRow, s.rowCount) && s.colPos[0] == 0 && s.rowPos[0] == 0;
}

bool UseCountsAgree(const GridState& s) {
  uint32_t rows[kRowTableSize] = {}, cols[kColTableSize] = {};
  for (uint32_t r = 1; r < s.rowCount; ++r) {
    for (uint32_t c = 1; c < s.colCount; ++c) {
      const bool used = CellAt(s, c, r)->text[0] != '\0';
      rows[r] += used;
      cols[c] += used;
    }
  }
  for (uint32_t r = 0; r < kRowTableSize; ++r) {
    if (rows[r] != s.usedInRow[r]) return false;
  }
  for (uint32_t c = 0; c < kColTableSize; ++c) {
    if (cols[c] != s.usedInCol[c]) return false;
  }
  return true;
}

}  // namespace latticor
