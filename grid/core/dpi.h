// The grid's own pixel sizes at the DPI of its window. They are drawn for
// 96 DPI and scale by DPI / 96; sizes that a program sets are pixels at
// any DPI and are left as they are, until the window moves to a monitor of
// another DPI.
#pragma once

#include <cstdint>

namespace latticor {

struct GridState;

constexpr uint32_t kBaseDpi = 96;

struct PixelMetrics {
  uint32_t dpi;
  int32_t colWidth;    // a column the grid adds: 50 at 96 DPI
  int32_t rowHeight;   // a row the grid adds: 20
  int32_t edgeZone;    // pixels each side of a title's grid line that arm a resize: 3
  int32_t dragStop;    // a resize drag stops this far before the client's end: 10
  int32_t sizeMargin;  // GM_SETCOLWIDTH / GM_SETROWHEIGHT leave this much of the client: 5
};

// v * to / from, rounded half away from zero as MulDiv rounds, within
// int32_t; `from` is not 0.
int32_t ScaleSize(int32_t v, uint32_t to, uint32_t from);

// The metrics at `dpi` (0 is taken as 96), each at least 1.
PixelMetrics MetricsAt(uint32_t dpi);

// A new grid shown at `dpi`: its metrics, and every column and row at the
// scaled default size.
void StartAtDpi(GridState& s, uint32_t dpi);

// The window now shows at `dpi`: every width and height scaled by new / old,
// the metrics with them. False when the DPI did not change.
bool ChangeDpi(GridState& s, uint32_t dpi);

}  // namespace latticor
