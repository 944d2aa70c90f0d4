// wParam and lParam as the 32-bit indices, counts, sizes and cell addresses
// the messages speak of, and rectangles between the core and the platform.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/grid_state.h"

namespace latticor::win32 {

// On 64-bit Windows a value that does not fit in 32 bits is out of range,
// as any other out-of-range value is: it becomes kOutOfRange rather than
// wrapping into range.
constexpr uint32_t kOutOfRange = 0xFFFFFFFF;
inline uint32_t Index32(WPARAM v) {
  if constexpr (sizeof v > 4) {
    if (v > kOutOfRange) return kOutOfRange;
  }
  return static_cast<uint32_t>(v);
}

// A size in lParam, not negative: beyond 32 bits (64-bit) as large as a
// size can be.
inline int32_t Size32(LPARAM v) {
  if constexpr (sizeof v > 4) {
    if (v > INT32_MAX) return INT32_MAX;
  }
  return static_cast<int32_t>(v);
}

// GRID_CELL(column, row); anything in the upper half (64-bit) addresses no
// cell.
struct CellAddress {
  uint32_t col, row;
};
inline CellAddress CellOf(WPARAM address) {
  if (Index32(address) != address) return CellAddress{kOutOfRange, kOutOfRange};
  return CellAddress{LOWORD(address), HIWORD(address)};
}

inline RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

}  // namespace latticor::win32
