#include "changes.h"

#include <cstring>

#include "access/access.h"
#include "core/layout.h"
#include "latticor.h"
#include "notify.h"
#include "paint.h"
#include "window.h"

namespace latticor::win32 {

bool StoreCellText(HWND grid, GridState& s, uint32_t col, uint32_t row, const char* text) {
  GridCell& cell = *CellAt(s, col, row);
  const bool changes = ValueChangesHeard() && std::strcmp(cell.text, text) != 0;
  if (!SetCellText(*s.allocator, cell, text)) return false;
  InvalidateCells(grid, s, CellRect(s, col, row), FALSE);
  if (changes) AnnounceValue(grid, col, row);
  return true;
}

bool StoreUserText(HWND grid, uint32_t col, uint32_t row, const char* text) {
  GridState* s = StateOf(grid);
  const GridCell* cell = s ? CellAt(*s, col, row) : nullptr;
  if (!cell) return false;
  if (std::strcmp(cell->text, text) == 0) return true;  // nothing changes
  if (!StoreCellText(grid, *s, col, row, text)) return false;
  NotifyCellsChanged(grid, Block{col, col, row, row});
  return true;
}

void NotifyCellsChanged(HWND grid, const Block& b) {
  const GridRange range{b.c0, b.c1, b.r0, b.r1};
  SendNotification(grid, GN_CELLSCHANGED, reinterpret_cast<LPARAM>(&range));
}

}  // namespace latticor::win32
