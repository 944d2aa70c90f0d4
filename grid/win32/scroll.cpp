// Scrolling by whole columns and rows, the wheel, and the auto-scroll timer.
#include "grid_window.h"
#include "scrolling.h"

namespace latticor::win32 {

namespace {

uint32_t BarMaximum(HWND grid, int bar) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  GetScrollInfo(grid, bar, &si);
  return static_cast<uint32_t>(si.nMax);
}

// One scroll step in one direction, then GN_SCROLLED.
// `avail` is the extent right of (below) the titles.
LRESULT ScrollStep(HWND grid, GridState& s, const Axis& a, int bar, WPARAM wParam, int32_t avail,
                   LPARAM direction) {
  const uint32_t target =
      ScrollTarget(s, a, LOWORD(wParam), HIWORD(wParam), BarMaximum(grid, bar), avail);
  if (target != s.*a.first) {
    s.*a.first = target;
    SetScrollPos(grid, bar, static_cast<int>(target), TRUE);
    InvalidateAll(grid, TRUE);
  }
  return SendNotification(grid, GN_SCROLLED, direction);
}

// GM_SETFIRSTCOL / GM_SETFIRSTROW: store, then scroll there through the
// window procedure.
LRESULT SetOrigin(HWND grid, GridState& s, const Axis& a, UINT scrollMsg, WPARAM origin) {
  if (!IsDataIndex(s, a, static_cast<uint32_t>(origin))) return 0;
  s.*a.first = static_cast<uint32_t>(origin);
  return SendMessageA(grid, scrollMsg, MAKELONG(kScrollThumbPosition, origin), 0);
}

}  // namespace

LRESULT OnVScroll(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  const int32_t avail = s.clientRect.bottom - s.colHeaderRect.bottom;
  return ScrollStep(grid, s, kRows, SB_VERT, wParam, avail, 1);
}

LRESULT OnHScroll(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  const int32_t avail = s.clientRect.right - s.rowHeaderRect.right;
  return ScrollStep(grid, s, kCols, SB_HORZ, wParam, avail, 2);
}

LRESULT OnSetFirstCol(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  return SetOrigin(grid, s, kCols, WM_HSCROLL, wParam);
}

LRESULT OnSetFirstRow(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  return SetOrigin(grid, s, kRows, WM_VSCROLL, wParam);
}

LRESULT OnMouseWheel(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  const uint32_t target = WheelTarget(s.firstRow, s.rowCount, static_cast<int16_t>(HIWORD(wParam)));
  return OnSetFirstRow(grid, s, target, 0);
}

LRESULT OnTimer(HWND, GridState&, WPARAM, LPARAM) { return 0; }

}  // namespace latticor::win32
