// The texts Celdra writes into a grid's title cells. Platform-free.
#pragma once

#include <cstdint>
#include <string>

namespace celdra {

// Column letters: 1 .. 26 are A .. Z, then AA, AB, ... (253 is IS).
std::string ColumnTitle(uint32_t column);
// Row numbers in plain decimal.
std::string RowTitle(uint32_t row);
// The document title for a window identifier: "Spreadsheet" + (id - 400).
std::string DocumentTitle(int32_t id);

}  // namespace celdra
