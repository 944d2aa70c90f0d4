// The setting and query messages: colours, current cell and selection end,
// sizes and sums, cell attributes and texts, the enable switches.
#include <cstring>

#include "access.h"
#include "grid_window.h"
#include "layout.h"
#include "selection.h"

namespace latticor::win32 {

static_assert(sizeof(::GridCell) == sizeof(latticor::GridCell), "GM_GETCURCELL copies the stored record");
static_assert(sizeof(void*) != 4 || sizeof(::GridCell) == 16, "a cell is 16 bytes on the 32-bit target");
static_assert(sizeof(::GridPrintRange) == 20, "five 32-bit fields");

namespace {

// GM_SETCURCOL / GM_SETCURROW.
LRESULT MoveCurrent(HWND grid, GridState& s, const Axis& a, WPARAM to, const char* refusal) {
  const auto target = static_cast<uint32_t>(to);
  switch (CheckCurrentMove(s, a, target)) {
    case CurrentMove::kRefused:
      return ShowRefusal(refusal);
    case CurrentMove::kUnchanged:
      return 0;
    case CurrentMove::kMoves:
      break;
  }
  SendNotification(grid, GN_CELLLEAVING);
  // The parent may have reshaped or destroyed the grid while it answered.
  GridState* after = StateOf(grid);
  if (!after || !IsDataIndex(*after, a, target)) return 0;
  ApplyCurrentMove(*after, a, target);
  InvalidateAll(grid, FALSE);
  return TRUE;
}

// GM_SETSELENDCOL / GM_SETSELENDROW.
LRESULT SetSelectionEnd(HWND grid, GridState& s, const Axis& a, WPARAM to, const char* refusal) {
  const auto target = static_cast<uint32_t>(to);
  if (!IsDataIndex(s, a, target)) return ShowRefusal(refusal);
  s.*a.selEnd = target;
  InvalidateAll(grid, FALSE);
  return TRUE;
}

// GM_SETCOLWIDTH / GM_SETROWHEIGHT: `limit` is the client extent less the
// title column (row) and 5 pixels.
LRESULT SetSize(HWND grid, GridState& s, const Axis& a, WPARAM index, LPARAM size, int32_t limit) {
  const auto requested = static_cast<int32_t>(size);
  if (requested < 0 || index >= a.capacity) return 0;
  (s.*a.size)[index] = ClampSize(requested, limit);
  InvalidateAll(grid, TRUE);
  return TRUE;
}

RECT ClientRect(HWND grid) {
  RECT client;
  GetClientRect(grid, &client);
  return client;
}

LRESULT GetSize(const GridState& s, const Axis& a, WPARAM index) {
  return index < a.capacity ? (s.*a.size)[index] : 0;
}

GridCell* AddressedCell(GridState& s, WPARAM address) {
  return CellAt(s, LOWORD(address), HIWORD(address));
}

// GM_SETCELLFONT, GM_SETCELLCOLOR, GM_SETCELLFORMAT: store, then repaint the
// cell with its grid lines.
template <typename Store>
LRESULT SetAttribute(HWND grid, GridState& s, WPARAM address, Store store) {
  GridCell* cell = AddressedCell(s, address);
  if (!cell) return 0;
  store(*cell);
  InvalidateCells(grid, s, CellFrameRect(s, LOWORD(address), HIWORD(address)), FALSE);
  return TRUE;
}

}  // namespace

LRESULT OnSetGridColor(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  s.gridColor = static_cast<uint32_t>(wParam);
  InvalidateAll(grid, FALSE);
  return TRUE;
}

LRESULT OnGetGridColor(HWND, GridState& s, WPARAM, LPARAM) { return s.gridColor; }

LRESULT OnSetBkColor(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  s.bkColor = static_cast<uint32_t>(wParam);
  InvalidateAll(grid, TRUE);
  return TRUE;
}

LRESULT OnGetBkColor(HWND, GridState& s, WPARAM, LPARAM) { return s.bkColor; }

LRESULT OnSetCurCol(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  return MoveCurrent(grid, s, kCols, wParam, kBadColumnText);
}

LRESULT OnSetCurRow(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  return MoveCurrent(grid, s, kRows, wParam, kBadRowText);
}

LRESULT OnGetCurCol(HWND, GridState& s, WPARAM, LPARAM) { return s.curCol; }
LRESULT OnGetCurRow(HWND, GridState& s, WPARAM, LPARAM) { return s.curRow; }
LRESULT OnGetColCount(HWND, GridState& s, WPARAM, LPARAM) { return s.colCount; }
LRESULT OnGetRowCount(HWND, GridState& s, WPARAM, LPARAM) { return s.rowCount; }

LRESULT OnSetColWidth(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  const int32_t limit = ClientRect(grid).right - s.rowHeaderRect.right - 5;
  return SetSize(grid, s, kCols, wParam, lParam, limit);
}

LRESULT OnSetRowHeight(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  const int32_t limit = ClientRect(grid).bottom - s.colHeaderRect.bottom - 5;
  return SetSize(grid, s, kRows, wParam, lParam, limit);
}

LRESULT OnGetColWidth(HWND, GridState& s, WPARAM wParam, LPARAM) { return GetSize(s, kCols, wParam); }
LRESULT OnGetRowHeight(HWND, GridState& s, WPARAM wParam, LPARAM) { return GetSize(s, kRows, wParam); }

LRESULT OnSetSelEndCol(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  return SetSelectionEnd(grid, s, kCols, wParam, kBadColumnText);
}

LRESULT OnSetSelEndRow(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  return SetSelectionEnd(grid, s, kRows, wParam, kBadRowText);
}

LRESULT OnGetSelEndCol(HWND, GridState& s, WPARAM, LPARAM) { return s.selEndCol; }
LRESULT OnGetSelEndRow(HWND, GridState& s, WPARAM, LPARAM) { return s.selEndRow; }
LRESULT OnGetFirstCol(HWND, GridState& s, WPARAM, LPARAM) { return s.firstCol; }
LRESULT OnGetFirstRow(HWND, GridState& s, WPARAM, LPARAM) { return s.firstRow; }
LRESULT OnGetLastCol(HWND, GridState& s, WPARAM, LPARAM) { return s.lastCol; }
LRESULT OnGetLastRow(HWND, GridState& s, WPARAM, LPARAM) { return s.lastRow; }

LRESULT OnSetCellFont(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  return SetAttribute(grid, s, wParam, [lParam](GridCell& c) { c.cellFont = reinterpret_cast<void*>(lParam); });
}

LRESULT OnSetCellColor(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  return SetAttribute(grid, s, wParam, [lParam](GridCell& c) { c.textColor = static_cast<uint32_t>(lParam); });
}

LRESULT OnSetCellFormat(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  return SetAttribute(grid, s, wParam, [lParam](GridCell& c) { c.format = static_cast<uint32_t>(lParam); });
}

LRESULT OnGetCellFont(HWND, GridState& s, WPARAM wParam, LPARAM) {
  const GridCell* cell = AddressedCell(s, wParam);
  return cell ? reinterpret_cast<LRESULT>(cell->cellFont) : 0;
}

LRESULT OnGetCellColor(HWND, GridState& s, WPARAM wParam, LPARAM) {
  const GridCell* cell = AddressedCell(s, wParam);
  return cell ? cell->textColor : 0;
}

LRESULT OnGetCellFormat(HWND, GridState& s, WPARAM wParam, LPARAM) {
  const GridCell* cell = AddressedCell(s, wParam);
  return cell ? cell->format : 0;
}

LRESULT OnSetCellText(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  GridCell* cell = AddressedCell(s, wParam);
  const auto* text = reinterpret_cast<const char*>(lParam);
  if (!cell || !text) return 0;
  const bool changes = ValueChangesHeard() && std::strcmp(cell->text, text) != 0;
  if (!SetCellText(*s.allocator, *cell, text)) return 0;  // out of memory: the old text stays
  InvalidateCells(grid, s, CellRect(s, LOWORD(wParam), HIWORD(wParam)), FALSE);
  if (changes) AnnounceValue(grid, LOWORD(wParam), HIWORD(wParam));
  return TRUE;
}

// Copies the text with its terminator; the result is the text's length.
LRESULT OnGetCellText(HWND, GridState& s, WPARAM wParam, LPARAM lParam) {
  const GridCell* cell = AddressedCell(s, wParam);
  auto* buffer = reinterpret_cast<char*>(lParam);
  if (!cell || !buffer) return 0;
  const size_t n = std::strlen(cell->text);
  std::memcpy(buffer, cell->text, n + 1);
  return static_cast<LRESULT>(n);
}

LRESULT OnEnableResize(HWND, GridState& s, WPARAM wParam, LPARAM) {
  s.resizeEnabled = static_cast<uint32_t>(wParam);
  if (wParam == 0) s.resizing = 0;
  return 0;
}

LRESULT OnEnableSelect(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  s.selectEnabled = static_cast<uint32_t>(wParam);
  InvalidateAll(grid, TRUE);
  UpdateWindow(grid);
  return TRUE;
}

LRESULT OnSumColWidths(HWND, GridState& s, WPARAM wParam, LPARAM lParam) {
  return SumSizes(s.colWidth, kColTableSize, static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
}

LRESULT OnSumRowHeights(HWND, GridState& s, WPARAM wParam, LPARAM lParam) {
  return SumSizes(s.rowHeight, kRowTableSize, static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
}

LRESULT OnGetCurCell(HWND, GridState& s, WPARAM wParam, LPARAM lParam) {
  auto* record = reinterpret_cast<latticor::GridCell*>(wParam);
  auto* rect = reinterpret_cast<RECT*>(lParam);
  if (!record || !rect) return 0;
  *record = *CellAt(s, s.curCol, s.curRow);
  *rect = ToRECT(CellRect(s, s.curCol, s.curRow));
  return MAKELONG(s.curCol, s.curRow);
}

}  // namespace latticor::win32
