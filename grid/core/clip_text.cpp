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
  PasteShape shape{c0, int64_t{r0}, 0};
  WalkFields(text, [&](const char*, size_t length, uint64_t column, uint64_t line) {
    if (line == 0) shape.colEnd = c0 + column;  // the first line sets the width
    shape.rowEnd = int64_t{r0} + static_cast<int64_t>(line);
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

}  // namespace latticor
