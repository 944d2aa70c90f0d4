#include "core/print.h"

#include <cstdint>

namespace latticor {

bool ClipPrintRange(const GridState& s, PrintRange& range) {
  if (range.colFrom >= s.colCount || range.rowFrom >= s.rowCount) return false;
  if (range.colTo >= s.colCount) range.colTo = s.colCount - 1;
  if (range.rowTo >= s.rowCount) range.rowTo = s.rowCount - 1;
  return true;
}

int32_t ScaledResolution(int32_t dotsPerInch, uint32_t percent) {
  const int64_t scaled = int64_t{dotsPerInch} * percent / 100;
  return scaled > INT32_MAX ? INT32_MAX : static_cast<int32_t>(scaled);
}

}  // namespace latticor
