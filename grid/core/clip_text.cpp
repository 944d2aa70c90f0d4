#include "core/clip_text.h"

#include <algorithm>
#include <cstring>

namespace latticor {

namespace {

// The block's cells that exist, row by row.
template <typename Visit>
void ForEachSelectedCell(const GridState& s, Visit visit) {
  const Block b = SelectedBlock(s);
  const uint32_t c1 = std::min(b.c1, s.colCount - 1), r1 = std::min(b.r1, s.rowCount - 1);
  for (uint32_t r = b.r0; r <= r1; ++r) {
    const GridCell* row = &s.cells[size_t{r} * s.colCount];
    for (uint32_t c = b.c0; c <= c1; ++c) visit(row[c], c == c1);
  }
}

}  // namespace

size_t CopySize(const GridState& s) {
  size_t size = 1;
  ForEachSelectedCell(s, [&](const GridCell& cell, bool rowEnd) {
    size += std::strlen(cell.text) + (rowEnd ? 2 : 1);
  });
  return size;
}

char* CopySelection(const GridState& s, char* buffer) {
  char* end = buffer + std::strlen(buffer);  // the text goes after what is there
  ForEachSelectedCell(s, [&](const GridCell& cell, bool rowEnd) {
    const size_t n = std::strlen(cell.text);
    std::memcpy(end, cell.text, n);
    end += n;
    if (rowEnd) {
      *end++ = '\r';
      *end++ = '\n';
    } else {
      *end++ = '\t';
    }
  });
  *end = '\0';
  return end;
}

PasteShape MeasurePaste(const char* text, uint32_t c0, uint32_t r0) {
  PasteShape shape{c0, int64_t{r0}, c0, 0};
  WalkFields(text, [&](const char*, size_t length, uint64_t column, uint64_t line) {
    if (line == 0) shape.colEnd = c0 + column;  // the first line sets the width
    shape.rowEnd = int64_t{r0} + static_cast<int64_t>(line);
    shape.colFarthest = std::max<uint64_t>(shape.colFarthest, c0 + column);
    shape.longestField = std::max(shape.longestField, length);
  });
  return shape;
}

bool AcceptsPaste(const GridState& s, const PasteShape& shape) {
  const Block b = SelectedBlock(s);
  if (b.c0 == b.c1 && b.r0 == b.r1) {
    return shape.colEnd <= s.colCount - 1 && shape.rowEnd <= int64_t{s.rowCount} - 1;
  }
  return shape.colEnd == b.c1 && shape.rowEnd == int64_t{b.r1};
}

namespace {

// Calls emit(bytes, length) with the text of every cell of `box` in order,
// row by row: its field where the paste has one, else the cell's own.
template <typename Emit>
void EmitPasteTexts(const GridState& s, const char* text, uint32_t c0, uint32_t r0, const Block& box, Emit emit) {
  uint32_t c = box.c0, r = box.r0;  // the next cell of the box
  const auto next = [&] {
    if (++c > box.c1) c = box.c0, ++r;
  };
  const auto keepUntil = [&](uint64_t toCol, uint64_t toRow) {
    while (r < toRow || (r == toRow && c < toCol)) {
      const char* own = CellAt(s, c, r)->text;
      emit(own, std::strlen(own));
      next();
    }
  };
  WalkFields(text, [&](const char* begin, size_t length, uint64_t column, uint64_t line) {
    const uint64_t fieldCol = c0 + column, fieldRow = r0 + line;
    if (fieldCol > box.c1 || fieldRow > box.r1) return;
    keepUntil(fieldCol, fieldRow);
    emit(begin, length);
    next();
  });
  keepUntil(box.c0, uint64_t{box.r1} + 1);
}

}  // namespace

bool PasteTexts(BlockAllocator& a, const GridState& s, const char* text, const PasteShape& shape, uint32_t c0,
                uint32_t r0, BlockTexts& out) {
  const Block box{c0, static_cast<uint32_t>(std::min<uint64_t>(shape.colFarthest, s.colCount - 1)), r0,
                  static_cast<uint32_t>(std::min<int64_t>(shape.rowEnd, int64_t{s.rowCount} - 1))};
  out = BlockTexts{box, nullptr, 0};
  size_t bytes = 0;
  EmitPasteTexts(s, text, c0, r0, box, [&](const char*, size_t length) { bytes += length + 1; });
  auto* texts = static_cast<char*>(a.Allocate(bytes));
  if (!texts) return false;
  char* end = texts;
  EmitPasteTexts(s, text, c0, r0, box, [&](const char* begin, size_t length) {
    std::memcpy(end, begin, length);
    end += length;
    *end++ = '\0';
  });
  out.texts = texts;
  out.bytes = bytes;
  return true;
}

}  // namespace latticor
