// The messages that change the grid's shape.
#include "dimensions.h"

#include "grid_window.h"
#include "scrolling.h"

namespace latticor::win32 {

namespace {

// GM_INSERTROW / GM_DELETEROW.
LRESULT RefuseRow(HWND grid, UINT msg, Reshape result) {
  if (result == Reshape::kBadRow) return Refuse(grid, msg, kBadRowText, MB_ICONEXCLAMATION);
  return Refuse(grid, msg, kBadRowCountText);
}

// After GM_SETCOLCOUNT / GM_SETROWCOUNT: the refusal, or the bar and the
// repaint. The thumb follows the origin, which stays unless the count
// dropped below it.
LRESULT CountChanged(HWND grid, const GridState& s, Reshape result, const Axis& a, UINT msg,
                     const char* refusal) {
  if (result == Reshape::kBadCount) return Refuse(grid, msg, refusal);
  if (result != Reshape::kDone) return 0;
  SetScrollBar(grid, a.vertical ? SB_VERT : SB_HORZ, s.*a.count, s.*a.first);
  InvalidateAll(grid, TRUE);
  return TRUE;
}

}  // namespace

LRESULT OnSetColCount(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  return CountChanged(grid, s, SetColCount(s, Index32(wParam)), kCols, GM_SETCOLCOUNT,
                      kBadColCountText);
}

LRESULT OnSetRowCount(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  return CountChanged(grid, s, SetRowCount(s, Index32(wParam)), kRows, GM_SETROWCOUNT,
                      kBadRowCountText);
}

LRESULT OnInsertRow(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  const Reshape result = InsertRow(s, Index32(wParam));
  if (result == Reshape::kNoMemory) return 0;
  if (result != Reshape::kDone) return RefuseRow(grid, GM_INSERTROW, result);
  SetScrollBar(grid, SB_VERT, s.rowCount, s.firstRow);
  InvalidateAll(grid, FALSE);
  UpdateWindow(grid);
  return TRUE;
}

// Every deletion scrolls up a row when it can; by two when the first row
// shown was the last row.
LRESULT OnDeleteRow(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  if (s.rowCount <= kMinCount) return RefuseRow(grid, GM_DELETEROW, Reshape::kBadCount);
  if (s.firstRow == s.rowCount - 1) SendMessageA(grid, WM_VSCROLL, kScrollLineBack, 0);
  GridState* after = StateOf(grid);  // the parent answered GN_SCROLLED
  if (!after) return 0;
  const Reshape result = DeleteRow(*after, Index32(wParam));
  if (result != Reshape::kDone) return RefuseRow(grid, GM_DELETEROW, result);
  SetScrollBar(grid, SB_VERT, after->rowCount, 0);
  InvalidateAll(grid, TRUE);
  UpdateWindow(grid);
  return SendMessageA(grid, WM_VSCROLL, kScrollLineBack, 0);
}

}  // namespace latticor::win32
