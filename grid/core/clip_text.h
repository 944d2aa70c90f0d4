// The selection as tab-separated text, and such text back into the cells.
// Fields are cell texts as they are, TAB between the cells of a row, CR LF
// after every row, one zero at the end.
#pragma once

#include <cstddef>
#include <cstring>

#include "core/selection.h"
#include "core/undo.h"

namespace latticor {

// Bytes CopySelection writes into an empty buffer, the zero included.
size_t CopySize(const GridState& s);
// Appends the selection's text to the string already in `buffer` (which
// must hold CopySize more bytes); returns the address of the new end zero.
char* CopySelection(const GridState& s, char* buffer);

// The block a text describes when pasted with its top-left corner at
// (c0, r0): the last column its first line fills and its last row; the
// last column any line reaches; and the length of its longest field,
// wherever it lies.
struct PasteShape {
  uint64_t colEnd;
  int64_t rowEnd;
  uint64_t colFarthest;
  size_t longestField;
};
PasteShape MeasurePaste(const char* text, uint32_t c0, uint32_t r0);

// A single selected cell takes any block that fits the grid from it on; a
// larger selection only a block of exactly its own shape.
bool AcceptsPaste(const GridState& s, const PasteShape& shape);

// The fields of a paste text in order: visit(begin, length, column, line)
// for each, column and line counted from 0. A field ends at a TAB, a CR or
// the terminating zero; a CR ends a line, and so does a CR LF pair; a text
// that ends right after a line end has no further field. Nothing is read
// past the zero. (The character after a CR is taken as the pair's LF only
// when it is one: a lone CR, as old files end their lines, keeps the first
// byte of the next line.)
template <typename Visit>
void WalkFields(const char* text, Visit visit) {
  uint64_t column = 0, line = 0;
  for (const char* p = text;;) {
    const size_t length = std::strcspn(p, "\t\r");
    visit(p, length, column, line);
    p += length;
    if (*p == '\0') return;
    if (*p == '\t') {
      ++column;
      ++p;
      continue;
    }
    column = 0;
    ++line;
    ++p;                  // the CR
    if (*p == '\n') ++p;  // and the LF of a pair
    if (*p == '\0') return;
  }
}

// The storing pass: calls store(column, row, field) for every field of the
// text, from (c0, r0) on, empty fields included, each field whole and
// zero-terminated. Fields that would lie right of column `colLimit` - 1 or
// below row `rowLimit` - 1 are dropped. `shape` is the text's measure; the
// fields are copied one by one into a single block of its longestField + 1
// bytes from `scratch`. When that block cannot be had nothing is stored and
// the result is false.
template <typename Store>
bool ForEachField(BlockAllocator& scratch, const char* text, const PasteShape& shape, uint32_t c0, uint32_t r0,
                  uint32_t colLimit, uint32_t rowLimit, Store store) {
  auto* field = static_cast<char*>(scratch.Allocate(shape.longestField + 1));
  if (!field) return false;
  WalkFields(text, [&](const char* begin, size_t length, uint64_t column, uint64_t line) {
    const uint64_t c = c0 + column, r = r0 + line;
    if (c >= colLimit || r >= rowLimit) return;
    std::memcpy(field, begin, length);
    field[length] = '\0';
    store(static_cast<uint32_t>(c), static_cast<uint32_t>(r), static_cast<const char*>(field));
  });
  scratch.Release(field);
  return true;
}

// The paste of an accepted text as the texts of the cells it reaches: the
// block from (c0, r0) to the farthest column any line reaches and the last
// line, kept inside the grid, with each cell's field or, where a line has
// fewer fields, the text the cell holds. False when memory runs out.
bool PasteTexts(BlockAllocator& a, const GridState& s, const char* text, const PasteShape& shape, uint32_t c0,
                uint32_t r0, BlockTexts& out);

}  // namespace latticor
