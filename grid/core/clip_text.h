// The selection as tab-separated text, and such text back into the cells.
// Fields are cell texts as they are, TAB between the cells of a row, CR LF
// after every row, one zero at the end.
#pragma once

#include <cstddef>
#include <cstring>

#include "char_boundary.h"
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

// The longest field a paste stores, in bytes; the rest of a longer field is
// dropped.
constexpr size_t kMaxFieldLength = 255;

// The storing pass: calls store(column, row, field) for every field of the
// text, from (c0, r0) on, empty fields included. Fields that would lie
// right of column `colLimit` - 1 or below row `rowLimit` - 1 are dropped.
// A longer field is cut to kMaxFieldLength bytes on a character boundary
// of `encoding`. Nothing is read past the text's terminating zero.
template <typename Store>
void ForEachField(const char* text, uint32_t c0, uint32_t r0, uint32_t colLimit, uint32_t rowLimit, Store store,
                  const Encoding& encoding = Encoding{}) {
  char field[kMaxFieldLength + 1];
  uint64_t c = c0, r = r0;
  const char* start = text;  // of the field being read
  auto flush = [&](const char* end) {
    if (c >= colLimit || r >= rowLimit) return;
    size_t length = static_cast<size_t>(end - start);
    if (length > kMaxFieldLength) length = CharBoundaryAtOrBefore(start, kMaxFieldLength, encoding);
    std::memcpy(field, start, length);
    field[length] = '\0';
    store(static_cast<uint32_t>(c), static_cast<uint32_t>(r), field);
  };
  for (const char* p = text;;) {
    const char ch = *p;
    if (ch == '\0') {
      flush(p);
      return;
    }
    if (ch == '\t') {
      flush(p);
      ++c;
      start = ++p;
    } else if (ch == '\r') {
      flush(p);
      c = c0;
      ++r;
      ++p;
      if (*p != '\0') ++p;  // the LF of the pair, whatever it is
      if (*p == '\0') return;
      start = p;
    } else {
      ++p;
    }
  }
}

}  // namespace latticor
