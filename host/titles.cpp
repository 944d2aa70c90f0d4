#include "titles.h"

namespace celdra {

std::string ColumnTitle(uint32_t column) {
  if (column >= 1 && column <= 26) return std::string(1, static_cast<char>('A' + column - 1));
  const uint32_t m = column - 27;
  return std::string{static_cast<char>('A' + (m / 26) % 26), static_cast<char>('A' + m % 26)};
}

std::string RowTitle(uint32_t row) { return std::to_string(row); }

std::string DocumentTitle(int32_t id) { return "Spreadsheet" + std::to_string(int64_t{id} - 400); }

}  // namespace celdra
