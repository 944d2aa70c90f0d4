// The left button and the pointer: press, release, move, double click.
#include "grid_window.h"
#include "hit_test.h"

namespace latticor::win32 {

namespace {

POINT PointerInClient(HWND grid) {
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(grid, &p);
  return p;
}

void SetPressFlags(GridState& s, Area area) {
  s.dragCells = area == Area::kCells;
  s.dragColHeader = area == Area::kColHeader;
  s.dragRowHeader = area == Area::kRowHeader;
  s.dragCorner = area == Area::kCorner;
}

}  // namespace

LRESULT OnLButtonDown(HWND grid, GridState&, WPARAM wParam, LPARAM lParam) {
  SetFocus(grid);  // may run WM_SETFOCUS and its GN_SETFOCUS first
  SetCapture(grid);
  if (GridState* s = StateOf(grid)) {
    const Area area = HitArea(*s, LOWORD(lParam), HIWORD(lParam));
    if (area != Area::kNone) SetPressFlags(*s, area);
  }
  PostNotification(grid, GN_LBUTTONDOWN, MouseWord(grid, wParam), lParam);
  return TRUE;
}

LRESULT OnLButtonUp(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  if (s.dragCells || s.dragColHeader || s.dragRowHeader) {
    s.scrollDown = s.scrollUp = s.scrollLeft = s.scrollRight = 0;
  }
  SetPressFlags(s, Area::kNone);
  PostNotification(grid, GN_LBUTTONUP, MouseWord(grid, wParam), lParam);
  ReleaseCapture();
  return TRUE;
}

LRESULT OnMouseMove(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  const POINT p = PointerInClient(grid);
  if (!(wParam & MK_LBUTTON)) {
    switch (HitArea(s, p.x, p.y)) {
      case Area::kColHeader:
      case Area::kRowHeader:
        break;  // the edge hover decides there
      default:
        s.cursorKind = kCursorClass;
        break;
    }
  }
  PostNotification(grid, GN_MOUSEMOVE, MouseWord(grid, wParam), lParam);
  return TRUE;
}

LRESULT OnLButtonDblClk(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  if (!Contains(s.viewRect, LOWORD(lParam), HIWORD(lParam))) return 0;
  PostNotification(grid, GN_DBLCLK, MouseWord(grid, wParam), lParam);
  return TRUE;
}

}  // namespace latticor::win32
