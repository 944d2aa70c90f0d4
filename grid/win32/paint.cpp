// Painting: the layout pass, the background, the cells, the titles, the
// parent's turn, and the selection shown by inverting pixels.
//
// A paint draws only what reaches the part of the window being painted,
// and, when every cell on screen allows it (its text stays inside it, its
// font is a font, the columns and rows on screen are a pixel wide at
// least), draws the cells in batches: all frames filled at once, every grid
// line once, then the texts, each font and colour set once per run of cells
// that share them. Either way the pixels are those of the cell-by-cell
// drawing: a rectangle per cell whose border lies on the shared grid lines,
// then its text inside it.
#include "paint.h"

#include "core/layout.h"
#include "core/repaint.h"
#include "core/selection.h"
#include "edit.h"
#include "gdi.h"
#include "handlers.h"
#include "latticor.h"
#include "notify.h"
#include "params.h"
#include "text.h"

namespace latticor::win32 {

namespace {

// What the texts of one batched paint have set in its device context, so
// that cells sharing a font and a colour set them once. `font` is the font
// in effect for the next text: a cell without a font of its own keeps it,
// as SelectObject(dc, nullptr) would.
struct TextState {
  HGDIOBJ font;             // in effect
  HGDIOBJ selected = font;  // held by the device context
  UINT codePage = 0;        // of `selected`; 0 until asked
  COLORREF color = 0;
  bool colorSet = false;

  void Follow(const GridCell& cell) {
    if (cell.cellFont) font = static_cast<HGDIOBJ>(cell.cellFont);
  }
  // Sets the colour of the text drawn last, when it differs.
  void SetColor(HDC dc, COLORREF c) {
    if (colorSet && color == c) return;
    SetTextColor(dc, c);
    color = c;
    colorSet = true;
  }
};

// The characters of a cell's text drawn with what the device context holds.
// They are a copy: there is nothing for DT_MODIFYSTRING to write back into,
// and no room for what it would add.
void DrawChars(HDC dc, const GridCell& cell, RECT r, UINT codePage) {
  WithTextChars(codePage, cell.text, [&](const wchar_t* chars, int length) {
    DrawTextW(dc, chars, length, &r, cell.format & ~DT_MODIFYSTRING);
  });
}

// A cell's text in a batch: the font and colour are set only when they
// differ from what the device context holds, and only for a text.
void DrawCellTextKnown(HDC dc, const GridCell& cell, RECT r, TextState& known) {
  known.Follow(cell);
  if (!cell.text[0]) return;  // the font and colour can wait for a text
  if (known.selected != known.font) {
    SelectObject(dc, known.font);
    known.selected = known.font;
    known.codePage = 0;
  }
  known.SetColor(dc, cell.textColor);
  if (!known.codePage) known.codePage = TextCodePage(dc);
  DrawChars(dc, cell, r, known.codePage);
}

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

// The part of the window being painted: its clip region's bounding box
// and, when the region is more than one rectangle, the region itself.
class PaintClip {
 public:
  explicit PaintClip(HDC dc) : dc_(dc) {
    RECT box{};
    complex_ = GetClipBox(dc, &box) == COMPLEXREGION;
    box_ = FromRECT(box);
  }
  const Rect& box() const { return box_; }
  // Whether drawing into `r` can change a pixel.
  bool Reaches(const Rect& r) const {
    if (IsEmpty(Intersect(r, box_))) return false;
    const RECT rect = ToRECT(r);
    return !complex_ || RectVisible(dc_, &rect);
  }

 private:
  HDC dc_;
  Rect box_;
  bool complex_;
};

// How one paint draws its texts: each as it always was, or in batches,
// knowing what the device context holds.
struct Painter {
  HDC dc;
  const PaintClip& clip;
  bool batched;
  TextState text;
};

// Whether the cells and titles on screen may be drawn in batches.
bool MayBatch(const GridState& s, Span cols, Span rows) {
  if (!EdgesRise(s.colPos, cols) || !EdgesRise(s.rowPos, rows) || !TextsStayInside(s, cols, rows)) return false;
  const auto isFont = [](void* font) { return !font || GetObjectType(font) == OBJ_FONT; };
  bool fonts = isFont(s.font);
  const void* checked = s.font;
  ForEachShownCell(s, cols, rows, [&](const GridCell& cell) {
    if (cell.cellFont && cell.cellFont != checked) {
      fonts = fonts && isFont(cell.cellFont);
      checked = cell.cellFont;
    }
  });
  return fonts;
}

// What skipping a row must still do: a cell without a font of its own is
// drawn in the font the last cell before it selected.
void SelectLastFont(HDC dc, const GridCell* row, Span cols) {
  for (uint32_t c = cols.end; c-- > cols.first;) {
    if (row[c].cellFont) {
      SelectObject(dc, static_cast<HFONT>(row[c].cellFont));
      return;
    }
  }
}

// Grid lines from `from` to `to`, a batch at a time.
class GridLines {
 public:
  explicit GridLines(HDC dc) : dc_(dc) {}
  ~GridLines() { Flush(); }
  void Add(POINT from, POINT to) {
    if (lines_ == kBatch) Flush();
    points_[2 * lines_] = from;
    points_[2 * lines_ + 1] = to;
    counts_[lines_++] = 2;
  }

 private:
  void Flush() {
    if (lines_) PolyPolyline(dc_, points_, counts_, lines_);
    lines_ = 0;
  }
  static constexpr DWORD kBatch = 64;
  HDC dc_;
  POINT points_[2 * kBatch];
  DWORD counts_[kBatch];
  DWORD lines_ = 0;
};

// The frames of columns `cols` and rows `rows` at once: everything they
// cover filled with the selected brush, then each grid line drawn once
// with the selected pen, where a rectangle per cell would draw its border.
void DrawFrames(HDC dc, const GridState& s, Span cols, Span rows, HBRUSH inside) {
  const int32_t left = s.colPos[cols.first] - 1, right = s.colPos[cols.end];
  const int32_t top = s.rowPos[rows.first] - 1, bottom = s.rowPos[rows.end];
  const RECT all{left, top, right, bottom};
  FillRect(dc, &all, inside);
  GridLines lines(dc);
  for (uint32_t c = cols.first; c <= cols.end; ++c) {
    const int32_t x = s.colPos[c] - 1;
    lines.Add(POINT{x, top}, POINT{x, bottom});
  }
  for (uint32_t r = rows.first; r <= rows.end; ++r) {
    const int32_t y = s.rowPos[r] - 1;
    lines.Add(POINT{left, y}, POINT{right, y});
  }
}

// White cells framed by grid lines, each one a rectangle whose border the
// neighbours share, then its text. Cells wholly outside the part being
// painted are skipped: the clipping would discard them anyway, and under
// Wine each call costs.
void PaintCellsOneByOne(HDC dc, const PaintClip& clip, const GridState& s, Span cols, Span rows) {
  const Rect& box = clip.box();
  for (uint32_t r = rows.first; r < rows.end; ++r) {
    const int32_t top = s.rowPos[r], bottom = s.rowPos[r + 1];
    const GridCell* row = &s.cells[size_t{r} * s.colCount];
    if (bottom <= box.top || top - 1 >= box.bottom) {
      SelectLastFont(dc, row, cols);
      continue;
    }
    for (uint32_t c = cols.first; c < cols.end; ++c) {
      const int32_t left = s.colPos[c], right = s.colPos[c + 1];
      if (right <= box.left || left - 1 >= box.right) {
        SelectObject(dc, static_cast<HFONT>(row[c].cellFont));
        continue;
      }
      Rectangle(dc, left - 1, top - 1, right, bottom);
      DrawCellText(dc, row[c], RECT{left, top, right - 1, bottom - 1});
    }
  }
}

// The same cells in batches: the frames that reach the part being painted
// all at once, then the texts whose insides the paint reaches.
void PaintCellsInBatches(Painter& p, const GridState& s, Span cols, Span rows, HBRUSH inside) {
  const Rect& box = p.clip.box();
  const Span framedCols = FramesWithin(s.colPos, cols, box.left, box.right);
  const Span framedRows = FramesWithin(s.rowPos, rows, box.top, box.bottom);
  if (!framedCols.empty() && !framedRows.empty()) DrawFrames(p.dc, s, framedCols, framedRows, inside);
  for (uint32_t r = rows.first; r < rows.end; ++r) {
    const int32_t top = s.rowPos[r], bottom = s.rowPos[r + 1];
    const GridCell* row = &s.cells[size_t{r} * s.colCount];
    const bool rowShown = r >= framedRows.first && r < framedRows.end;
    for (uint32_t c = cols.first; c < cols.end; ++c) {
      const RECT text{s.colPos[c], top, s.colPos[c + 1] - 1, bottom - 1};
      const bool shown = rowShown && c >= framedCols.first && c < framedCols.end;
      if (shown && p.clip.Reaches(FromRECT(text))) {
        DrawCellTextKnown(p.dc, row[c], text, p.text);
      } else {
        p.text.Follow(row[c]);
      }
    }
  }
}

void PaintCells(Painter& p, const GridState& s, Span cols, Span rows) {
  HBRUSH inside = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
  const Selected pen(p.dc, CreatePen(PS_SOLID, 1, s.gridColor));
  const Selected brush(p.dc, inside);
  if (p.batched) {
    PaintCellsInBatches(p, s, cols, rows, inside);
  } else {
    PaintCellsOneByOne(p.dc, p.clip, s, cols, rows);
  }
}

// A title cell: light lines on its top and left, the raised edge's dark
// line on its right and bottom. In batches, a title the paint does not
// reach is skipped.
void DrawTitle(Painter& p, const GridCell& cell, RECT r) {
  if (p.batched && !p.clip.Reaches(FromRECT(r))) {
    p.text.Follow(cell);
    return;
  }
  Rectangle(p.dc, r.left, r.top, r.right, r.bottom);
  DrawEdge(p.dc, &r, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
  if (p.batched) {
    DrawCellTextKnown(p.dc, cell, r, p.text);
  } else {
    DrawCellText(p.dc, cell, r);
  }
}

void PaintTitles(Painter& p, const GridState& s) {
  HDC dc = p.dc;
  const Selected pen(dc, CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
  const Selected brush(dc, CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  const int32_t titleWidth = s.colWidth[0], titleHeight = s.rowHeight[0];
  const GridCell* last = &s.cells[0];
  DrawTitle(p, *last, RECT{0, 0, titleWidth, titleHeight});

  const Span cols = SpanOnScreen(s, false, s.clientRect.right);
  for (uint32_t c = cols.first; c < cols.end; ++c) {
    last = &s.cells[c];
    DrawTitle(p, *last, RECT{s.colPos[c], 0, s.colPos[c + 1], titleHeight});
  }
  const Span rows = SpanOnScreen(s, true, s.clientRect.bottom);
  for (uint32_t r = rows.first; r < rows.end; ++r) {
    last = &s.cells[size_t{r} * s.colCount];
    DrawTitle(p, *last, RECT{0, s.rowPos[r], titleWidth, s.rowPos[r + 1]});
  }
  // The parent's turn comes next, in the colour the last title set.
  if (p.batched) p.text.SetColor(dc, last->textColor);
}

// Shows the selection `next` (unclipped) by inverting it, the anchor's
// interior left out; `selRect`, `focusRect` and `prevSelRect` then say what
// is shown, clipped to the visible cells.
void InvertSelection(HDC dc, GridState& s, const Rect& next) {
  SaveDC(dc);
  s.selRect = next;
  s.focusRect = Intersect(FocusRect(s), s.viewRect);
  ExcludeClipRect(dc, s.focusRect.left, s.focusRect.top, s.focusRect.right, s.focusRect.bottom);
  s.selRect = Intersect(s.selRect, s.viewRect);
  const RECT sel = ToRECT(s.selRect);
  InvertRect(dc, &sel);
  s.prevSelRect = s.selRect;
  RestoreDC(dc, -1);
}

void PaintGrid(HWND grid, HDC dc) {
  GridState* s = StateOf(grid);
  RECT client;
  GetClientRect(grid, &client);
  LayOut(*s, FromRECT(client));
  NoteLastShown(*s);
  // An open editor follows its cell, and what it covers is its to draw.
  GridWindow& w = *WindowOf(grid);
  PlaceEditor(w);
  const Rect editor = EditorArea(w);
  if (!IsEmpty(editor)) ExcludeClipRect(dc, editor.left, editor.top, editor.right, editor.bottom);

  HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
  SelectObject(dc, static_cast<HFONT>(s->font));
  SetBkMode(dc, TRANSPARENT);
  if (s->fillBackground) {
    FillBackground(dc, *s);
    s->fillBackground = 0;
  }
  const CellSpans on = CellsOnScreen(*s);
  const PaintClip clip(dc);
  Painter painter{dc, clip, MayBatch(*s, on.cols, on.rows), TextState{s->font}};
  PaintCells(painter, *s, on.cols, on.rows);
  PaintTitles(painter, *s);
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

  if (s->selectEnabled) InvertSelection(dc, *s, SelectionRect(*s));
}

}  // namespace

void DrawCellText(HDC dc, const GridCell& cell, RECT r) {
  SelectObject(dc, static_cast<HFONT>(cell.cellFont));
  SetTextColor(dc, cell.textColor);
  if (cell.text[0]) DrawChars(dc, cell, r, TextCodePage(dc));
}

void InvertFocusCell(HWND grid, GridState& s) {
  ReplaceHighlight(grid, s, BlockRect(s, s.curCol, s.curCol, s.curRow, s.curRow));
}

void ReplaceHighlight(HWND grid, GridState& s, const Rect& next) {
  HDC dc = KeptDC(grid);
  // Restore the unselected look: invert what is shown, the anchor's
  // interior left out.
  SaveDC(dc);
  ExcludeClipRect(dc, s.focusRect.left, s.focusRect.top, s.focusRect.right, s.focusRect.bottom);
  const RECT shown = ToRECT(s.selRect);
  InvertRect(dc, &shown);
  RestoreDC(dc, -1);
  InvertSelection(dc, s, next);
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

void FollowSelection(HWND grid, GridState& s) {
  s.selRect = SelectionRect(s);
  UpdateSelectionInversion(KeptDC(grid), s.prevSelRect, s.selRect, s.viewRect);
}

// The client rectangle of the last paint is enough to decide: a window that
// grew since then is wholly invalid already (the class redraws on resizing).
void InvalidateCells(HWND grid, const GridState& s, const Rect& r, BOOL erase) {
  if (IsEmpty(Intersect(r, s.clientRect))) return;  // nothing on screen changes
  const RECT area = ToRECT(r);
  InvalidateRect(grid, &area, erase);
}

void InvalidateAll(HWND grid, BOOL erase) { InvalidateRect(grid, nullptr, erase); }

LRESULT OnPaint(HWND grid, GridState&, WPARAM, LPARAM) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(grid, &ps);
  PaintGrid(grid, dc);
  return EndPaint(grid, &ps);
}

}  // namespace latticor::win32
