// The setting and query messages: colours, current cell and selection end,
// sizes and sums, cell attributes and texts, the enable switches.
#include <cstddef>
#include <cstring>

#include "access/access.h"
#include "changes.h"
#include "core/layout.h"
#include "core/selection.h"
#include "edit.h"
#include "handlers.h"
#include "latticor.h"
#include "notify.h"
#include "paint.h"
#include "params.h"
#include "text.h"

namespace latticor::win32 {

// The header's numbers are the core's.
static_assert(GRID_MIN_COUNT == kMinCount && GRID_MAX_COLS == kMaxColCount && GRID_MAX_ROWS == kMaxRowCount);
static_assert(GRID_FORMAT_DEFAULT == kFormatDefault && GRID_FORMAT_DEFAULT == (DT_EDITCONTROL | DT_WORDBREAK));
static_assert(GRID_FORMAT_TITLE == kFormatInserted && GRID_FORMAT_TITLE == (DT_CENTER | DT_VCENTER | DT_SINGLELINE));
static_assert(kFormatNoClip == DT_NOCLIP);

// GM_GETCURCELL copies the stored record: 16 bytes on 32-bit Windows; 24 on
// 64-bit, where the handle and the text address are 8 bytes each.
static_assert(sizeof(::GridCell) == sizeof(latticor::GridCell));
static_assert(sizeof(::GridCell) == (sizeof(void*) == 4 ? 16 : 24));
static_assert(offsetof(::GridCell, textColor) == offsetof(latticor::GridCell, textColor));
static_assert(offsetof(::GridCell, format) == offsetof(latticor::GridCell, format));
static_assert(offsetof(::GridCell, text) == (sizeof(void*) == 4 ? 12 : 16));
static_assert(offsetof(::GridCell, text) == offsetof(latticor::GridCell, text));
static_assert(sizeof(::GridPrintRange) == 20, "five 32-bit fields on either");
static_assert(sizeof(::GridTextBuffer) == 2 * sizeof(void*), "an address and a size: 8 or 16 bytes");

namespace {

// GM_SETCURCOL / GM_SETCURROW.
LRESULT MoveCurrent(HWND grid, GridState& s, const Axis& a, WPARAM to, UINT msg, const char* refusal) {
  const uint32_t target = Index32(to);
  switch (CheckCurrentMove(s, a, target)) {
    case CurrentMove::kRefused:
      return Refuse(grid, msg, refusal);
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
LRESULT SetSelectionEnd(HWND grid, GridState& s, const Axis& a, WPARAM to, UINT msg, const char* refusal) {
  const uint32_t target = Index32(to);
  if (!IsDataIndex(s, a, target)) return Refuse(grid, msg, refusal);
  s.*a.selEnd = target;
  InvalidateAll(grid, FALSE);
  return TRUE;
}

// GM_SETCOLWIDTH / GM_SETROWHEIGHT: `limit` is the client extent less the
// title column (row) and the margin (5 pixels at 96 DPI). lParam is signed at its full width.
LRESULT SetSize(HWND grid, GridState& s, const Axis& a, WPARAM index, LPARAM size, int32_t limit) {
  if (size < 0 || index >= a.capacity) return 0;
  (s.*a.size)[index] = ClampSize(Size32(size), limit);
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
  const CellAddress at = CellOf(address);
  return CellAt(s, at.col, at.row);
}

// GM_SETCELLFONT, GM_SETCELLCOLOR, GM_SETCELLFORMAT: store, then repaint the
// cell with its grid lines.
template <typename Store>
LRESULT SetAttribute(HWND grid, GridState& s, WPARAM address, Store store) {
  GridCell* cell = AddressedCell(s, address);
  if (!cell) return 0;
  store(*cell);
  const CellAddress at = CellOf(address);
  InvalidateCells(grid, s, CellFrameRect(s, at.col, at.row), FALSE);
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
  return MoveCurrent(grid, s, kCols, wParam, GM_SETCURCOL, kBadColumnText);
}

LRESULT OnSetCurRow(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  return MoveCurrent(grid, s, kRows, wParam, GM_SETCURROW, kBadRowText);
}

LRESULT OnGetCurCol(HWND, GridState& s, WPARAM, LPARAM) { return s.curCol; }
LRESULT OnGetCurRow(HWND, GridState& s, WPARAM, LPARAM) { return s.curRow; }
LRESULT OnGetColCount(HWND, GridState& s, WPARAM, LPARAM) { return s.colCount; }
LRESULT OnGetRowCount(HWND, GridState& s, WPARAM, LPARAM) { return s.rowCount; }

LRESULT OnSetColWidth(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  const int32_t limit = ClientRect(grid).right - s.rowHeaderRect.right - s.metrics.sizeMargin;
  return SetSize(grid, s, kCols, wParam, lParam, limit);
}

LRESULT OnSetRowHeight(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  const int32_t limit = ClientRect(grid).bottom - s.colHeaderRect.bottom - s.metrics.sizeMargin;
  return SetSize(grid, s, kRows, wParam, lParam, limit);
}

LRESULT OnGetColWidth(HWND, GridState& s, WPARAM wParam, LPARAM) { return GetSize(s, kCols, wParam); }
LRESULT OnGetRowHeight(HWND, GridState& s, WPARAM wParam, LPARAM) { return GetSize(s, kRows, wParam); }

LRESULT OnSetSelEndCol(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  return SetSelectionEnd(grid, s, kCols, wParam, GM_SETSELENDCOL, kBadColumnText);
}

LRESULT OnSetSelEndRow(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  return SetSelectionEnd(grid, s, kRows, wParam, GM_SETSELENDROW, kBadRowText);
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

// The program's text wins over an edit open on the same cell, which is
// cancelled first.
LRESULT OnSetCellText(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  const CellAddress at = CellOf(wParam);
  const auto* text = reinterpret_cast<const char*>(lParam);
  if (!CellAt(s, at.col, at.row) || !text) return 0;
  GridState* t = CancelEditOf(grid, at.col, at.row);
  if (!t || !CellAt(*t, at.col, at.row)) return 0;
  if (!StoreCellText(grid, *t, at.col, at.row, text)) return 0;  // out of memory: the old text stays
  ForgetHistory(*t);
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

LRESULT OnGetCellTextLength(HWND, GridState& s, WPARAM wParam, LPARAM) {
  const GridCell* cell = AddressedCell(s, wParam);
  return cell ? static_cast<LRESULT>(std::strlen(cell->text)) : 0;
}

// Copies at most size - 1 bytes and a terminator, so that the buffer holds
// a string whatever the cell; the result is the bytes copied.
LRESULT OnGetCellTextN(HWND, GridState& s, WPARAM wParam, LPARAM lParam) {
  const auto* request = reinterpret_cast<const GridTextBuffer*>(lParam);
  if (!request || !request->text || request->size == 0) return 0;
  const GridCell* cell = AddressedCell(s, wParam);
  const size_t n = cell ? BoundedCopyLength(cell->text, request->size, ProcessEncoding()) : 0;
  if (n) std::memcpy(request->text, cell->text, n);
  request->text[n] = '\0';
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
  return SumSizes(s.colWidth, kColTableSize, Index32(wParam), Index32(lParam));
}

LRESULT OnSumRowHeights(HWND, GridState& s, WPARAM wParam, LPARAM lParam) {
  return SumSizes(s.rowHeight, kRowTableSize, Index32(wParam), Index32(lParam));
}

LRESULT OnGetCurCell(HWND, GridState& s, WPARAM wParam, LPARAM lParam) {
  auto* record = reinterpret_cast<latticor::GridCell*>(wParam);
  auto* rect = reinterpret_cast<RECT*>(lParam);
  if (!record || !rect) return 0;
  *record = *CellAt(s, s.curCol, s.curRow);
  *rect = ToRECT(CellRect(s, s.curCol, s.curRow));
  return static_cast<LRESULT>(GRID_CELL(s.curCol, s.curRow));
}

}  // namespace latticor::win32
