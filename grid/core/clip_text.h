// The selection as tab-separated text, and such text back into the cells.
// Fields are cell texts as they are, TAB between the cells of a row, CR LF
// after every row, one zero at the end.
#pragma once

#include <cstddef>

#include "grid_state.h"

namespace latticor {

// The selected block, normalised: columns c0..c1, rows r0..r1.
struct Block {
  uint32_t c0, c1, r0, r1;
};
Block SelectedBlock(const GridState& s);

// Bytes CopySelection writes into an empty buffer, the zero included.
size_t CopySize(const GridState& s);
// Appends the selection's text to the string already in `buffer` (which
// must hold CopySize more bytes); returns the address of the new end zero.
char* CopySelection(const GridState& s, char* buffer);

// The block a text describes when pasted with its top-left corner at
// (c0, r0): the last column its first line fills and its last row.
struct PasteShape {
  uint64_t colEnd;
  int64_t rowEnd;
};
PasteShape MeasurePaste(const char* text, uint32_t c0, uint32_t r0);

// A single selected cell takes any block that fits the grid from it on; a
// larger selection only a block of exactly its own shape.
bool AcceptsPaste(const GridState& s, const PasteShape& shape);

// The longest field a paste stores; the rest of a longer field is dropped.
constexpr size_t kMaxFieldLength = 255;

// The storing pass: calls store(column, row, field) for every field of the
// text, from (c0, r0) on, empty fields included. Fields that would lie
// right of column `colLimit` - 1 or below row `rowLimit` - 1 are dropped.
// Nothing is read past the text's terminating zero.
template <typename Store>
void ForEachField(const char* text, uint32_t c0, uint32_t r0, uint32_t colLimit, uint32_t rowLimit,
                  Store store) {
  char field[kMaxFieldLength + 1];
  size_t length = 0;
  uint64_t c = c0, r = r0;
  auto flush = [&] {
    field[length] = '\0';
    if (c < colLimit && r < rowLimit) store(static_cast<uint32_t>(c), static_cast<uint32_t>(r), field);
    length = 0;
  };
  for (const char* p = text;;) {
    const char ch = *p;
    if (ch == '\0') {
      flush();
      return;
    }
    if (ch == '\t') {
      flush();
      ++c;
      ++p;
    } else if (ch == '\r') {
      flush();
      c = c0;
      ++r;
      ++p;
      if (*p != '\0') ++p;  // the LF of the pair, whatever it is
      if (*p == '\0') return;
    } else {
      if (length < kMaxFieldLength) field[length++] = ch;
      ++p;
    }
  }
}

}  // namespace latticor
