// Painting: the layout pass, the background, the cells, the titles, the
// parent's turn, and the selection shown by inverting pixels.
#include "grid_window.h"
#include "layout.h"
#include "text.h"

namespace latticor::win32 {

namespace {

// Both bands outside the cells and titles: below them, then right of them.
void FillBackground(HDC dc, const GridState& s) {
  HBRUSH brush = CreateSolidBrush(s.bkColor);
  const Rect& client = s.clientRect;
  const RECT below{0, s.viewRect.bottom, client.right, client.bottom};
  const RECT right{s.viewRect.right, 0, client.right, s.viewRect.bottom};
  FillRect(dc, &below, brush);
  FillRect(dc, &right, brush);
  DeleteObject(brush);
}

// What skipping a cell must still do: a cell without a font of its own is
// drawn in the font the last cell before it selected.
void SelectLastFont(HDC dc, const GridCell* row, uint32_t from, uint32_t end) {
  for (uint32_t c = end; c-- > from;) {
    if (row[c].cellFont) {
      SelectObject(dc, static_cast<HFONT>(row[c].cellFont));
      return;
    }
  }
}

// White cells framed by grid lines; each frame shares its lines with its
// neighbours. Cells wholly outside the area being painted are skipped: the
// clipping would discard them anyway, and under Wine each call costs.
void PaintCells(HDC dc, const GridState& s) {
  HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
  HPEN pen = CreatePen(PS_SOLID, 1, s.gridColor);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  const uint32_t firstCol = ClampOrigin(s.firstCol, s.colCount);
  const uint32_t firstRow = ClampOrigin(s.firstRow, s.rowCount);
  // Columns stop at the first whose left line lies beyond the client area.
  const uint32_t endCol = VisibleEnd(s.colPos, firstCol, s.colCount, s.clientRect.right + 1);
  const uint32_t endRow = VisibleEnd(s.rowPos, firstRow, s.rowCount, s.clientRect.bottom);
  RECT box;
  GetClipBox(dc, &box);
  for (uint32_t r = firstRow; r < endRow; ++r) {
    const int32_t top = s.rowPos[r], bottom = s.rowPos[r + 1];
    const GridCell* row = &s.cells[size_t{r} * s.colCount];
    if (bottom <= box.top || top - 1 >= box.bottom) {
      SelectLastFont(dc, row, firstCol, endCol);
      continue;
    }
    for (uint32_t c = firstCol; c < endCol; ++c) {
      const int32_t left = s.colPos[c], right = s.colPos[c + 1];
      if (right <= box.left || left - 1 >= box.right) {
        SelectObject(dc, static_cast<HFONT>(row[c].cellFont));
        continue;
      }
      Rectangle(dc, left - 1, top - 1, right, bottom);
      DrawCellText(dc, row[c], RECT{left, top, right - 1, bottom - 1});
    }
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

// A title cell: light lines on its top and left, the raised edge's dark
// line on its right and bottom.
void DrawTitle(HDC dc, const GridCell& cell, RECT r) {
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
  DrawCellText(dc, cell, r);
}

void PaintTitles(HDC dc, GridState& s) {
  HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  const int32_t titleWidth = s.colWidth[0], titleHeight = s.rowHeight[0];
  DrawTitle(dc, s.cells[0], RECT{0, 0, titleWidth, titleHeight});

  const uint32_t firstCol = ClampOrigin(s.firstCol, s.colCount);
  const uint32_t endCol = VisibleEnd(s.colPos, firstCol, s.colCount, s.clientRect.right);
  for (uint32_t c = firstCol; c < endCol; ++c) {
    DrawTitle(dc, s.cells[c], RECT{s.colPos[c], 0, s.colPos[c + 1], titleHeight});
  }
  s.lastCol = endCol - 1;

  const uint32_t firstRow = ClampOrigin(s.firstRow, s.rowCount);
  const uint32_t endRow = VisibleEnd(s.rowPos, firstRow, s.rowCount, s.clientRect.bottom);
  for (uint32_t r = firstRow; r < endRow; ++r) {
    DrawTitle(dc, s.cells[size_t{r} * s.colCount], RECT{0, s.rowPos[r], titleWidth, s.rowPos[r + 1]});
  }
  s.lastRow = endRow - 1;
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

// Everything in the selection inverted, but the anchor cell's interior.
void ShowSelection(HDC dc, GridState& s) {
  SaveDC(dc);
  s.selRect = SelectionRect(s);
  s.focusRect = Intersect(FocusRect(s), s.viewRect);
  ExcludeClipRect(dc, s.focusRect.left, s.focusRect.top, s.focusRect.right, s.focusRect.bottom);
  s.selRect = Intersect(s.selRect, s.viewRect);
  const RECT sel = ToRECT(s.selRect);
  InvertRect(dc, &sel);
  s.prevSelRect = s.selRect;
  RestoreDC(dc, -1);
}

}  // namespace

void DrawCellText(HDC dc, const GridCell& cell, RECT r) {
  SelectObject(dc, static_cast<HFONT>(cell.cellFont));
  SetTextColor(dc, cell.textColor);
  if (!cell.text[0]) return;
  // The characters are a copy: there is nothing for DT_MODIFYSTRING to
  // write back into, and no room for what it would add.
  WithTextChars(TextCodePage(dc), cell.text, [&](const wchar_t* chars, int length) {
    DrawTextW(dc, chars, length, &r, cell.format & ~DT_MODIFYSTRING);
  });
}

void PaintGrid(HWND grid, HDC dc) {
  GridState* s = StateOf(grid);
  RECT client;
  GetClientRect(grid, &client);
  LayOut(*s, FromRECT(client));

  HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
  SelectObject(dc, static_cast<HFONT>(s->font));
  SetBkMode(dc, TRANSPARENT);
  if (s->fillBackground) {
    FillBackground(dc, *s);
    s->fillBackground = 0;
  }
  PaintCells(dc, *s);
  PaintTitles(dc, *s);
  SelectObject(dc, oldFont);

  // The parent's turn. It may ask for the new cell's rectangle, draw, or
  // even reshape or destroy the grid: the state is fetched again after.
  if (s->notifyEnterPending) {
    s->notifyEnterPending = 0;  // owed once, even if the parent repaints us
    SendNotification(grid, GN_CELLENTERED);
    if (!(s = StateOf(grid))) return;
  }
  SaveDC(dc);
  SendNotification(grid, GN_PAINT, reinterpret_cast<LPARAM>(dc));
  RestoreDC(dc, -1);
  if (!(s = StateOf(grid))) return;

  if (s->selectEnabled) ShowSelection(dc, *s);
}

void InvertFocusCell(HWND grid, GridState& s) {
  ReplaceHighlight(grid, s, BlockRect(s, s.curCol, s.curCol, s.curRow, s.curRow));
}

void ReplaceHighlight(HWND grid, GridState& s, const Rect& next) {
  HDC dc = GetDC(grid);
  SaveDC(dc);
  // Restore the unselected look: invert what is shown, the anchor's
  // interior left out.
  ExcludeClipRect(dc, s.focusRect.left, s.focusRect.top, s.focusRect.right, s.focusRect.bottom);
  RECT shown = ToRECT(s.selRect);
  InvertRect(dc, &shown);
  // Show the new selection, the anchor's interior left out.
  s.selRect = next;
  s.focusRect = FocusRect(s);
  ExcludeClipRect(dc, s.focusRect.left, s.focusRect.top, s.focusRect.right, s.focusRect.bottom);
  s.selRect = Intersect(s.selRect, s.viewRect);
  const RECT shownNow = ToRECT(s.selRect);
  InvertRect(dc, &shownNow);
  s.prevSelRect = s.selRect;
  RestoreDC(dc, -1);
  ReleaseDC(grid, dc);
}

void UpdateSelectionInversion(HDC dc, Rect& shown, Rect& next, const Rect& clip) {
  const Inversion plan = PlanInversion(shown, next, clip);
  shown = plan.shown;
  next = plan.next;
  SaveDC(dc);
  ExcludeClipRect(dc, plan.overlap.left, plan.overlap.top, plan.overlap.right, plan.overlap.bottom);
  const RECT a = ToRECT(plan.shown), b = ToRECT(plan.next);
  InvertRect(dc, &a);
  InvertRect(dc, &b);
  shown = next;
  RestoreDC(dc, -1);
}

LRESULT OnPaint(HWND grid, GridState&, WPARAM, LPARAM) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(grid, &ps);
  PaintGrid(grid, dc);
  return EndPaint(grid, &ps);
}

}  // namespace latticor::win32
