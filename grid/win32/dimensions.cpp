// The messages that change the grid's shape.
#include "core/dimensions.h"
#include "core/layout.h"
#include "core/repaint.h"
#include "core/scroll.h"
#include "core/selection.h"
#include "handlers.h"
#include "latticor.h"
#include "notify.h"
#include "paint.h"
#include "params.h"
#include "scroll.h"

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
LRESULT CountChanged(HWND grid, GridState& s, Reshape result, const Axis& a, UINT msg, const char* refusal) {
  if (result == Reshape::kBadCount) return Refuse(grid, msg, refusal);
  if (result != Reshape::kDone) return 0;
  ForgetHistory(s);
  SetScrollBar(grid, a.vertical ? SB_VERT : SB_HORZ, s.*a.count, s.*a.first);
  InvalidateAll(grid, TRUE);
  return TRUE;
}

// Whether a child window shows over the grid (the editor while an edit is
// open, or a program's own), which moving pixels would leave behind.
bool ShowsChildWindow(HWND grid) {
  for (HWND child = GetWindow(grid, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsWindowVisible(child)) return true;
  }
  return false;
}

void AddTo(HRGN region, const Rect& r) {
  if (IsEmpty(r)) return;
  HRGN part = CreateRectRgn(r.left, r.top, r.right, r.bottom);
  CombineRgn(region, region, part, RGN_OR);
  DeleteObject(part);
}

// Row insertion and deletion on a grid that is shown: the rows below the
// change move on screen with their pixels, and only what is new is painted,
// instead of the whole window. That gives the pixels of a whole repaint when
// what stays on screen would be drawn again as it is: the grid has no child
// windows (an editor over a cell stays where it is), its origin does not
// move, and every cell shown before and after looks the same wherever it is
// painted. Otherwise the whole window is repainted.
class RowMove {
 public:
  // Before the change.
  RowMove(HWND grid, const GridState& s)
      : grid_(grid),
        firstRow_(s.firstRow),
        shown_(s.selectEnabled ? s.prevSelRect : Rect{}),
        possible_(IsWindowVisible(grid) && !IsEmpty(s.clientRect) && ScreenDrawsAlone(s) &&
                  !ShowsChildWindow(grid)) {}

  // After the change: `shift` is how the rows moved; with `erase`, the
  // background outside the cells is filled again.
  void Repaint(GridState& s, const RowShift& shift, BOOL erase) {
    if (!possible_ || s.firstRow != firstRow_) return RepaintAll(erase);
    RECT client;
    GetClientRect(grid_, &client);
    LayOut(s, FromRECT(client));  // as the paint will, for the highlight's new place
    if (!ScreenDrawsAlone(s)) return RepaintAll(erase);
    if (shift.distance) {
      const RECT area = ToRECT(shift.area);
      ScrollWindowEx(grid_, 0, shift.distance, &area, &area, nullptr, nullptr, SW_INVALIDATE);
    }
    // The new row, and the highlight where it was, where its pixels went
    // and where it belongs now.
    HRGN changed = CreateRectRgn(0, 0, 0, 0);
    AddTo(changed, shift.fresh);
    AddTo(changed, shown_);
    AddTo(changed, Rect{shown_.left, shown_.top + shift.distance, shown_.right, shown_.bottom + shift.distance});
    if (s.selectEnabled) AddTo(changed, ShownSelectionRect(s));
    if (erase) {
      AddTo(changed, Intersect(Rect{0, shift.end, client.right, client.bottom}, s.clientRect));
      AddTo(changed, Intersect(Rect{s.colPos[s.colCount], 0, client.right, client.bottom}, s.clientRect));
    }
    RECT box;
    const bool nothing = GetRgnBox(changed, &box) == NULLREGION;
    // When nothing on screen changes, the paint (and the parent's turn in
    // it) is owed all the same: it repaints the corner's first pixel.
    if (nothing && !shift.distance) AddTo(changed, Rect{0, 0, 1, 1});
    if (!nothing || !shift.distance) RedrawWindow(grid_, nullptr, changed, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
    DeleteObject(changed);
    UpdateWindow(grid_);
  }

 private:
  void RepaintAll(BOOL erase) {
    InvalidateAll(grid_, erase);
    UpdateWindow(grid_);
  }
  HWND grid_;
  uint32_t firstRow_;
  Rect shown_;  // the highlight on screen
  bool possible_;
};

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
  RowMove move(grid, s);
  const uint32_t row = Index32(wParam);
  const Reshape result = InsertRow(s, row);
  if (result == Reshape::kNoMemory) return 0;
  if (result != Reshape::kDone) return RefuseRow(grid, GM_INSERTROW, result);
  ForgetHistory(s);
  SetScrollBar(grid, SB_VERT, s.rowCount, s.firstRow);
  move.Repaint(s, InsertionShift(s, row), FALSE);
  return TRUE;
}

// Every deletion scrolls up a row when it can; by two when the first row
// shown was the last row.
LRESULT OnDeleteRow(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  if (s.rowCount <= kMinCount) return RefuseRow(grid, GM_DELETEROW, Reshape::kBadCount);
  if (s.firstRow == s.rowCount - 1) SendMessageA(grid, WM_VSCROLL, kScrollLineBack, 0);
  GridState* after = StateOf(grid);  // the parent answered GN_SCROLLED
  if (!after) return 0;
  RowMove move(grid, *after);
  const uint32_t row = Index32(wParam);
  const Reshape result = DeleteRow(*after, row);
  if (result != Reshape::kDone) return RefuseRow(grid, GM_DELETEROW, result);
  ForgetHistory(*after);
  SetScrollBar(grid, SB_VERT, after->rowCount, 0);
  move.Repaint(*after, DeletionShift(*after, row), TRUE);
  return SendMessageA(grid, WM_VSCROLL, kScrollLineBack, 0);
}

}  // namespace latticor::win32
