// Scrolling by whole columns and rows: the scroll bars, GM_SETFIRSTCOL and
// GM_SETFIRSTROW, the wheel, and the timer that carries a drag past the
// edge. Pixels already on screen move; only the uncovered strip repaints.
#include "scroll.h"

#include "core/scroll.h"
#include "core/selection.h"
#include "handlers.h"
#include "latticor.h"
#include "notify.h"
#include "paint.h"
#include "params.h"

namespace latticor::win32 {

void SetScrollBar(HWND grid, int bar, uint32_t count, uint32_t position) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  si.nMin = 1;
  si.nMax = static_cast<int>(count) - 1;
  si.nPage = 1;
  si.nPos = static_cast<int>(position);
  SetScrollInfo(grid, bar, &si, TRUE);
}

void AwaitNextMessage() { MsgWaitForMultipleObjects(0, nullptr, FALSE, kAutoScrollPeriodMs, QS_ALLINPUT); }

namespace {

uint32_t BarMaximum(HWND grid, int bar) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  GetScrollInfo(grid, bar, &si);
  return static_cast<uint32_t>(si.nMax);
}

// One scroll step in one direction; the window procedure then sends
// GN_SCROLLED.
void ScrollStep(HWND grid, GridState& s, const Axis& a, WPARAM wParam) {
  const int bar = a.vertical ? SB_VERT : SB_HORZ;
  const uint32_t code = LOWORD(wParam);
  const int32_t titleEnd = a.vertical ? s.colHeaderRect.bottom : s.rowHeaderRect.right;
  const int32_t clientEnd = a.vertical ? s.clientRect.bottom : s.clientRect.right;

  // A drag that auto-scrolls redraws the highlight it is about to move.
  if (code == kScrollLineForward || code == kScrollLineBack) {
    const bool forward = code == kScrollLineForward;
    const bool moves = forward ? s.*a.first < BarMaximum(grid, bar) : s.*a.first > 1;
    const DragRepaint repaint = LineStepRepaint(s, a, forward);
    if (moves && repaint.needed) {
      InvalidateCells(grid, s, repaint.area, repaint.erase);
      UpdateWindow(grid);
    }
  }
  GridState* t = StateOf(grid);  // a repaint lets the parent act
  if (!t) return;
  const uint32_t before = t->*a.first;
  const uint32_t target =
      ScrollTarget(*t, a, code, HIWORD(wParam), BarMaximum(grid, bar), clientEnd - titleEnd);
  const bool assigned = code <= kScrollThumbTrack &&
                        !((code == kScrollLineForward || code == kScrollLineBack) && target == before);
  t->*a.first = target;
  if (assigned) SetScrollPos(grid, bar, static_cast<int>(target), TRUE);

  // Move the pixels below (right of) the titles by the distance between the
  // old first row (column) and the new one, children included.
  const int32_t distance = titleEnd - (t->*a.pos)[target];
  const RECT area = a.vertical ? RECT{0, titleEnd, t->clientRect.right, t->clientRect.bottom}
                               : RECT{titleEnd, 0, t->clientRect.right, t->clientRect.bottom};
  RECT uncovered{};
  if (distance != 0) {
    ScrollWindowEx(grid, a.vertical ? 0 : distance, a.vertical ? distance : 0, &area, &area, nullptr,
                   &uncovered, SW_SCROLLCHILDREN | SW_INVALIDATE);
  }
  UpdateWindow(grid);  // lays the grid out for the new origin
  if (!(t = StateOf(grid))) return;
  // When the grid now ends inside the window, the space after it is
  // background.
  if ((t->*a.pos)[t->*a.count] <= clientEnd && !IsRectEmpty(&uncovered)) {
    RedrawWindow(grid, &uncovered, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
  }
  AwaitNextMessage();
}

LRESULT Scroll(HWND grid, GridState& s, const Axis& a, WPARAM wParam) {
  ScrollStep(grid, s, a, wParam);
  return SendNotification(grid, GN_SCROLLED, a.vertical ? 1 : 2);
}

// GM_SETFIRSTCOL / GM_SETFIRSTROW: store, then scroll there through the
// window procedure. An origin outside the data columns (rows) is ignored.
LRESULT SetOrigin(HWND grid, GridState& s, const Axis& a, WPARAM origin) {
  const uint32_t first = Index32(origin);
  if (!IsDataIndex(s, a, first)) return 0;
  s.*a.first = first;
  return SendMessageA(grid, a.vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(kScrollThumbPosition, first), 0);
}

// Auto-scroll in one direction: a line, then the end one further.
void TickStep(HWND grid, const Axis& a, int step) {
  SendMessageA(grid, a.vertical ? WM_VSCROLL : WM_HSCROLL, step > 0 ? kScrollLineForward : kScrollLineBack, 0);
  GridState* s = StateOf(grid);
  if (!s) return;
  MoveEnd(*s, a, step);
  FollowSelection(grid, *s);
  AwaitNextMessage();
}

}  // namespace

LRESULT OnVScroll(HWND grid, GridState& s, WPARAM wParam, LPARAM) { return Scroll(grid, s, kRows, wParam); }
LRESULT OnHScroll(HWND grid, GridState& s, WPARAM wParam, LPARAM) { return Scroll(grid, s, kCols, wParam); }

LRESULT OnSetFirstCol(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  return SetOrigin(grid, s, kCols, wParam);
}

LRESULT OnSetFirstRow(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  return SetOrigin(grid, s, kRows, wParam);
}

LRESULT OnMouseWheel(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  const uint32_t target = WheelTarget(s.firstRow, s.rowCount, static_cast<int16_t>(HIWORD(wParam)));
  return OnSetFirstRow(grid, s, target, 0);
}

LRESULT OnTimer(HWND grid, GridState& s, WPARAM, LPARAM) {
  if (EndPressIfButtonUp(grid, s)) return 0;  // no auto-scrolling without the button
  const Tick tick = AutoScrollTick(s);
  if (tick.rows) TickStep(grid, kRows, tick.rows);
  if (tick.cols) {
    // The row step ran the window procedure; decide the columns afresh.
    GridState* t = StateOf(grid);
    if (t && AutoScrollTick(*t).cols == tick.cols) TickStep(grid, kCols, tick.cols);
  }
  return 0;
}

}  // namespace latticor::win32
