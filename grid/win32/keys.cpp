// Keys: the arrows move the anchor, or with Shift the selection's other
// end; Page Up and Page Down page through the rows; with GS_EX_EDIT, F2,
// Backspace and typed characters begin an edit. Every key is reported.
#include "core/scroll.h"
#include "core/selection.h"
#include "edit.h"
#include "handlers.h"
#include "latticor.h"
#include "notify.h"
#include "paint.h"
#include "selection.h"

namespace latticor::win32 {

namespace {

void PageRows(HWND grid, const GridState& s, int step) {
  if (CanPageRows(s, step)) SendMessageA(grid, WM_VSCROLL, step > 0 ? kScrollPageForward : kScrollPageBack, 0);
}

}  // namespace

LRESULT OnKeyDown(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  // A key typed before the editor had the focus is the editor's.
  if (ForwardToEditor(grid, WM_KEYDOWN, wParam, lParam)) return TRUE;
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
      if (s.exStyle & kExEdit) BeginEditByKey(grid, s, wParam);
      break;
  }
  if (axis) MoveByArrow(grid, &s, *axis, step, shift);
  if (StateOf(grid)) PostNotification(grid, GN_KEYDOWN, wParam, ControlId(grid));
  return TRUE;
}

}  // namespace latticor::win32
