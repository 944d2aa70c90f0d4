// Where a scroll request takes the scroll origin.
#pragma once

#include "core/axis.h"

namespace latticor {

enum ScrollCode : uint32_t {
  kScrollLineBack = 0,
  kScrollLineForward = 1,
  kScrollPageBack = 2,
  kScrollPageForward = 3,
  kScrollThumbPosition = 4,
  kScrollThumbTrack = 5,
};

// The first column (row) shown after a scroll step with `code`; `thumb` is
// the position that comes with the thumb codes, `barMax` the scroll bar's
// maximum and `avail` the pixels right of (below) the titles. The result
// always names a data column (row); an unknown code keeps the origin.
uint32_t ScrollTarget(const GridState& s, const Axis& a, uint32_t code, uint32_t thumb,
                      uint32_t barMax, int32_t avail);

// A page back: back by the columns (rows) whose sizes, with the old first
// one's, first reach `avail`; at least one, never past 1.
uint32_t PageBackTarget(const int32_t* sizes, uint32_t first, int32_t avail);

// A line step taken while a drag auto-scrolls repaints part of the
// highlight first: the whole highlight (erasing) when the selection grows
// towards the anchor's side, else the band beyond it (forwards only).
struct DragRepaint {
  bool needed;
  Rect area;
  bool erase;
};
DragRepaint LineStepRepaint(const GridState& s, const Axis& a, bool forward);

// The origin that shows column (row) `index` whole, moving as little as
// it can: the origin itself when it shows it already, `index` when it lies
// before the origin or is wider than `avail` (the pixels right of or below
// the titles), else the first origin from which it fits.
uint32_t OriginShowing(const GridState& s, const Axis& a, uint32_t index, int32_t avail);

// WM_MOUSEWHEEL: three rows a notch, towards the user forwards.
uint32_t WheelTarget(uint32_t firstRow, uint32_t rowCount, int16_t distance);

}  // namespace latticor
