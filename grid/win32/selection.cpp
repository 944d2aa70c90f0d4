#include "selection.h"

#include "core/scroll.h"
#include "core/selection.h"
#include "latticor.h"
#include "notify.h"
#include "paint.h"

namespace latticor::win32 {

namespace {

// Sends the grid a line scroll; it runs to the end (wait included).
GridState* ScrollLine(HWND grid, const Axis& a, int step) {
  SendMessageA(grid, a.vertical ? WM_VSCROLL : WM_HSCROLL, step > 0 ? kScrollLineForward : kScrollLineBack, 0);
  return StateOf(grid);
}

void MoveAnchorByKey(HWND grid, GridState* s, const Axis& a, int step, bool collapse) {
  if (!CanMoveAnchor(*s, a, step)) return;
  NotifyLeaving(grid);
  if (!(s = StateOf(grid)) || !CanMoveAnchor(*s, a, step)) return;
  MoveAnchor(*s, a, step);
  if (collapse) SelectByPress(*s, Area::kCells);
  // The highlight shows the whole selection: after a title press the other
  // direction keeps its extent, and the screen must say so.
  ReplaceHighlight(grid, *s, SelectionRect(*s));
  if (ScrollAfterAnchorMove(*s, a, step) && !(s = ScrollLine(grid, a, step))) return;
  NotifyEntered(grid);
}

void MoveEndByKey(HWND grid, GridState* s, const Axis& a, int step) {
  if (EndMoveForbidden(*s, a, step)) return;
  if (ScrollBeforeEndMove(*s, a, step) && !(s = ScrollLine(grid, a, step))) return;
  if (!CanMoveEnd(*s, a, step)) return;
  MoveEnd(*s, a, step);
  FollowSelection(grid, *s);
}

}  // namespace

void NotifyLeaving(HWND grid) { SendNotification(grid, GN_CELLLEAVING); }
void NotifyEntered(HWND grid) { SendNotification(grid, GN_CELLENTERED); }

void PressSelects(HWND grid, GridState& s, Area area, int32_t x, int32_t y) {
  const PressTarget target = BeginPress(s, area, x, y);
  if (!target.selects) return;
  MoveCurrentTo(grid, &s, target.col, target.row, [grid, area](GridState& t) {
    SelectByPress(t, area);
    InvertFocusCell(grid, t);
    if (area != Area::kCells) FollowSelection(grid, t);
  });
}

GridState* SelectCellAt(HWND grid, GridState* s, uint32_t col, uint32_t row) {
  return MoveCurrentTo(
      grid, s, col, row,
      [grid](GridState& t) {
        SelectByPress(t, Area::kCells);
        InvertFocusCell(grid, t);
      },
      true);
}

void SelectBlock(HWND grid, GridState* s, const Block& b) {
  MoveCurrentTo(
      grid, s, b.c0, b.r0,
      [grid, &b](GridState& t) {
        SelectByPress(t, Area::kCells);
        InvertFocusCell(grid, t);
        t.selEndCol = ClampOrigin(b.c1, t.colCount);
        t.selEndRow = ClampOrigin(b.r1, t.rowCount);
        FollowSelection(grid, t);
      },
      true);
}

void ExtendTo(HWND grid, GridState* s, uint32_t col, uint32_t row) {
  s->selEndCol = col;
  s->selEndRow = row;
  s->allSelected = s->colsSelected = s->rowsSelected = 0;
  FollowSelection(grid, *s);
  ScrollIntoView(grid, s, col, row);
}

void MoveByArrow(HWND grid, GridState* s, const Axis& a, int step, bool extend, bool collapse) {
  if (extend) {
    MoveEndByKey(grid, s, a, step);
  } else {
    MoveAnchorByKey(grid, s, a, step, collapse);
  }
}

GridState* ScrollIntoView(HWND grid, GridState* s, uint32_t col, uint32_t row) {
  RECT client;
  GetClientRect(grid, &client);
  const uint32_t firstCol = OriginShowing(*s, kCols, col, client.right - s->colWidth[0]);
  if (firstCol != s->firstCol && !(SendMessageA(grid, GM_SETFIRSTCOL, firstCol, 0), s = StateOf(grid))) return nullptr;
  const uint32_t firstRow = OriginShowing(*s, kRows, row, client.bottom - s->rowHeight[0]);
  if (firstRow != s->firstRow && !(SendMessageA(grid, GM_SETFIRSTROW, firstRow, 0), s = StateOf(grid))) return nullptr;
  return s;
}

}  // namespace latticor::win32
