// Keys: the arrows move the anchor, or with Shift the selection's other
// end; Page Up and Page Down page through the rows. Every key is reported.
#include "core/scroll.h"
#include "core/selection.h"
#include "handlers.h"
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

void MoveAnchorByKey(HWND grid, GridState* s, const Axis& a, int step) {
  if (!CanMoveAnchor(*s, a, step)) return;
  SendNotification(grid, GN_CELLLEAVING);
  if (!(s = StateOf(grid)) || !CanMoveAnchor(*s, a, step)) return;
  MoveAnchor(*s, a, step);
  // The highlight shows the whole selection: after a title press the other
  // direction keeps its extent, and the screen must say so.
  ReplaceHighlight(grid, *s, SelectionRect(*s));
  if (ScrollAfterAnchorMove(*s, a, step) && !(s = ScrollLine(grid, a, step))) return;
  SendNotification(grid, GN_CELLENTERED);
}

void MoveEndByKey(HWND grid, GridState* s, const Axis& a, int step) {
  if (EndMoveForbidden(*s, a, step)) return;
  if (ScrollBeforeEndMove(*s, a, step) && !(s = ScrollLine(grid, a, step))) return;
  if (!CanMoveEnd(*s, a, step)) return;
  MoveEnd(*s, a, step);
  FollowSelection(grid, *s);
}

void PageRows(HWND grid, const GridState& s, int step) {
  if (CanPageRows(s, step)) SendMessageA(grid, WM_VSCROLL, step > 0 ? kScrollPageForward : kScrollPageBack, 0);
}

}  // namespace

LRESULT OnKeyDown(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const Axis* axis = nullptr;
  int step = 0;
  switch (wParam) {
    case VK_PRIOR:
      PageRows(grid, s, -1);
      break;
    case VK_NEXT:
      PageRows(grid, s, +1);
      break;
    case VK_LEFT:
      axis = &kCols, step = -1;
      break;
    case VK_RIGHT:
      axis = &kCols, step = +1;
      break;
    case VK_UP:
      axis = &kRows, step = -1;
      break;
    case VK_DOWN:
      axis = &kRows, step = +1;
      break;
    default:
      break;
  }
  if (axis) {
    if (shift) {
      MoveEndByKey(grid, &s, *axis, step);
    } else {
      MoveAnchorByKey(grid, &s, *axis, step);
    }
  }
  PostNotification(grid, GN_KEYDOWN, wParam, ControlId(grid));
  return TRUE;
}

}  // namespace latticor::win32
