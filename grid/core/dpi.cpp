#include "core/dpi.h"

#include <algorithm>

#include "core/grid_state.h"

namespace latticor {

int32_t ScaleSize(int32_t v, uint32_t to, uint32_t from) {
  const int64_t product = int64_t{v} * to;
  const int64_t half = from / 2;
  const int64_t scaled = (product < 0 ? product - half : product + half) / int64_t{from};
  return static_cast<int32_t>(std::clamp<int64_t>(scaled, INT32_MIN, INT32_MAX));
}

PixelMetrics MetricsAt(uint32_t dpi) {
  if (dpi == 0) dpi = kBaseDpi;
  auto scale = [dpi](int32_t v) { return std::max(1, ScaleSize(v, dpi, kBaseDpi)); };
  return PixelMetrics{dpi, scale(kInitialColWidth), scale(kInitialRowHeight), scale(3), scale(10), scale(5)};
}

void StartAtDpi(GridState& s, uint32_t dpi) {
  s.metrics = MetricsAt(dpi);
  std::fill(s.colWidth, s.colWidth + kColTableSize, s.metrics.colWidth);
  std::fill(s.rowHeight, s.rowHeight + kRowTableSize, s.metrics.rowHeight);
}

bool ChangeDpi(GridState& s, uint32_t dpi) {
  if (dpi == 0) dpi = kBaseDpi;
  const uint32_t old = s.metrics.dpi;
  if (dpi == old) return false;
  // The whole tables: a column beyond the count keeps its width for when
  // the count grows again.
  for (int32_t* w = s.colWidth; w != s.colWidth + kColTableSize; ++w) *w = ScaleSize(*w, dpi, old);
  for (int32_t* h = s.rowHeight; h != s.rowHeight + kRowTableSize; ++h) *h = ScaleSize(*h, dpi, old);
  s.metrics = MetricsAt(dpi);
  return true;
}

}  // namespace latticor
