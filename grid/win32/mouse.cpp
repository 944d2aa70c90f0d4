// The left button and the pointer: presses select a cell, whole columns,
// whole rows or everything; drags extend the selection a cell at a time and
// ask for auto-scrolling; the release ends what the press began, and so
// does anything that shows the release will not come.
#include "core/resize.h"
#include "core/selection.h"
#include "edit.h"
#include "handlers.h"
#include "latticor.h"
#include "notify.h"
#include "paint.h"
#include "resize.h"
#include "scroll.h"
#include "selection.h"

namespace latticor::win32 {

namespace {

POINT PointerInClient(HWND grid) {
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(grid, &p);
  return p;
}

// The pointer as a mouse message's lParam carries it.
LPARAM PointerParam(HWND grid) {
  const POINT p = PointerInClient(grid);
  return MAKELPARAM(p.x, p.y);
}

// Moves the system pointer by one mickey (dx, dy each -1, 0 or 1), on a
// thread of the pool, and waits until it has moved, as a move made on this
// thread would. Under Wine a pointer move made by the thread that owns the
// window ends the X server's grab of the pressed button: a release over no
// window of this process then never arrives, and the system believes the
// button still down. Made by another thread the move cannot end that grab,
// and the grid still gets its next WM_MOUSEMOVE.
struct PointerMove {
  DWORD dx, dy;
};

VOID CALLBACK MovePointer(PTP_CALLBACK_INSTANCE, void* move, PTP_WORK) {
  const auto* m = static_cast<const PointerMove*>(move);
  mouse_event(MOUSEEVENTF_MOVE, m->dx, m->dy, 0, 0);
}

void Nudge(int dx, int dy) {
  PointerMove move{static_cast<DWORD>(dx), static_cast<DWORD>(dy)};
  if (PTP_WORK work = CreateThreadpoolWork(MovePointer, &move, nullptr)) {
    SubmitThreadpoolWork(work);
    WaitForThreadpoolWorkCallbacks(work, FALSE);
    CloseThreadpoolWork(work);
  } else {
    MovePointer(nullptr, &move, nullptr);
  }
}

void SetPressFlags(GridState& s, Area area) {
  s.dragCells = area == Area::kCells;
  s.dragColHeader = area == Area::kColHeader;
  s.dragRowHeader = area == Area::kRowHeader;
}

// A press on the cells selects the cell; on a column title, that column
// whole; on a row title, that row; on the corner, everything. An armed
// edge on the titles starts a resize instead.
void Press(HWND grid, GridState& s, Area area, int32_t x, int32_t y) {
  if ((area == Area::kColHeader || area == Area::kRowHeader) && s.resizing) {
    const Axis& a = area == Area::kRowHeader ? kRows : kCols;
    DrawGuideLine(grid, s, a, StartResize(s, a, a.vertical ? y : x));
    return;
  }
  PressSelects(grid, s, area, x, y);
}

// One step of a selecting drag in the directions given: at most one column
// and one row, each nudging the pointer one mickey on so that the system
// sends another move while the selection still lags behind the pointer.
void DragSelection(HWND grid, GridState& s, POINT p, bool cols, bool rows) {
  const DragSteps steps = DragStepsTowards(s, p.x, p.y, cols, rows);
  if (!steps.cols && !steps.rows) return;
  if (steps.cols) Nudge(steps.cols, 0);
  if (steps.rows) Nudge(0, steps.rows);
  ApplyDragSteps(s, steps);
  FollowSelection(grid, s);
  AwaitNextMessage();
}

void TitleDrag(HWND grid, GridState& s, const Axis& a, POINT p) {
  const int32_t v = a.vertical ? p.y : p.x;
  if (s.resizing) {
    RECT client;
    GetClientRect(grid, &client);
    const ResizeMove move = DragResize(s, a, v, a.vertical ? client.bottom : client.right);
    if (move.accepted) {
      DrawGuideLine(grid, s, a, move.oldLine);  // drawn twice, it is gone
      DrawGuideLine(grid, s, a, move.newLine);
    }
    return;
  }
  if (!MouseSelects(s)) return;
  if (a.vertical) {
    SetRowRequests(s, p.y);
  } else {
    SetColumnRequests(s, p.x);
  }
  DragSelection(grid, s, p, !a.vertical, a.vertical);
}

void Hover(GridState& s, POINT p) {
  switch (HitArea(s, p.x, p.y)) {
    case Area::kColHeader:
      HoverEdge(s, kCols, p.x);
      break;
    case Area::kRowHeader:
      HoverEdge(s, kRows, p.y);
      break;
    default:
      s.cursorKind = kCursorClass;
      break;
  }
}

// The release of a press on the titles: the resize ends with one repaint.
void EndTitlePress(HWND grid, GridState& s, const Rect& titles, int32_t x, int32_t y) {
  if (!Contains(titles, x, y)) s.cursorKind = kCursorClass;
  if (s.resizing) {
    InvalidateAll(grid, TRUE);
    UpdateWindow(grid);
  }
}

// Ends what the press began, as its release does, with the release's
// flags and point: the auto-scroll requests stop, a resize ends with its
// repaint, and the parent hears GN_LBUTTONUP. The capture is the caller's
// to let go.
void EndPress(HWND grid, GridState& s, WPARAM keys, LPARAM at) {
  const int32_t x = LOWORD(at), y = HIWORD(at);
  s.press = kNoPress;
  if (s.dragCells || s.dragColHeader || s.dragRowHeader) ClearScrollRequests(s);
  if (s.dragCells) {
    // nothing more: the selection is made
  } else if (s.dragColHeader) {
    EndTitlePress(grid, s, s.colHeaderRect, x, y);
  } else if (s.dragRowHeader) {
    EndTitlePress(grid, s, s.rowHeaderRect, x, y);
  }
  if (GridState* t = StateOf(grid)) SetPressFlags(*t, Area::kNone);
  PostNotification(grid, GN_LBUTTONUP, MouseWord(grid, keys), at);
}

// A press whose release did not reach the grid ends here, and the capture
// goes with it.
void EndLostPress(HWND grid, GridState& s, WPARAM keys, LPARAM at) {
  EndPress(grid, s, keys, at);
  ReleaseCapture();
}

}  // namespace

LRESULT OnLButtonDown(HWND grid, GridState& held, WPARAM wParam, LPARAM lParam) {
  // A press while another is held: the first one's release never came.
  if (held.press != kNoPress) EndPress(grid, held, wParam & ~WPARAM{MK_LBUTTON}, lParam);
  SetFocus(grid);  // may run WM_SETFOCUS and its GN_SETFOCUS first
  SetCapture(grid);
  if (GridState* s = StateOf(grid)) {
    s->press = kPressStarting;
    const int32_t x = LOWORD(lParam), y = HIWORD(lParam);
    const Area area = HitArea(*s, x, y);
    if (area != Area::kNone) SetPressFlags(*s, area);
    Press(grid, *s, area, x, y);
  }
  PostNotification(grid, GN_LBUTTONDOWN, MouseWord(grid, wParam), lParam);
  if (GridState* s = StateOf(grid)) {
    if (s->press == kPressEndedStarting) {
      EndPress(grid, *s, wParam & ~WPARAM{MK_LBUTTON}, PointerParam(grid));
    } else {
      s->press = kPressHeld;
    }
  }
  return TRUE;
}

LRESULT OnLButtonUp(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  EndPress(grid, s, wParam, lParam);
  ReleaseCapture();
  return TRUE;
}

// Another window took the capture, or it was let go (WM_CANCELMODE does so
// by default): the release will not come here.
LRESULT OnCaptureChanged(HWND grid, GridState& s, WPARAM, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) == grid) return 0;
  if (s.press == kPressStarting) {
    s.press = kPressEndedStarting;
  } else if (s.press == kPressHeld) {
    EndPress(grid, s, 0, PointerParam(grid));
  }
  return 0;
}

bool EndPressIfButtonUp(HWND grid, GridState& s) {
  // The button's state is asked only during a press.
  if (s.press != kPressHeld || GetKeyState(VK_LBUTTON) < 0) return false;
  EndLostPress(grid, s, 0, PointerParam(grid));
  return true;
}

LRESULT OnMouseMove(HWND grid, GridState& held, WPARAM wParam, LPARAM lParam) {
  // A move with the button up during a press: its release was lost.
  if (held.press == kPressHeld && !(wParam & MK_LBUTTON)) EndLostPress(grid, held, wParam, lParam);
  GridState* s = StateOf(grid);
  if (!s) return TRUE;
  const POINT p = PointerInClient(grid);  // negative outside, under capture
  if (wParam & MK_LBUTTON) {
    if (s->dragCells && MouseSelects(*s)) {
      SetRowRequests(*s, p.y);
      SetColumnRequests(*s, p.x);
      DragSelection(grid, *s, p, true, true);
    }
    if (GridState* t = StateOf(grid); t && t->dragColHeader) TitleDrag(grid, *t, kCols, p);
    if (GridState* t = StateOf(grid); t && t->dragRowHeader) TitleDrag(grid, *t, kRows, p);
  } else {
    Hover(*s, p);
  }
  PostNotification(grid, GN_MOUSEMOVE, MouseWord(grid, wParam), lParam);
  return TRUE;
}

// With GS_EX_EDIT, a double click on a data cell edits it.
LRESULT OnLButtonDblClk(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  const int32_t x = LOWORD(lParam), y = HIWORD(lParam);
  if (!Contains(s.viewRect, x, y)) return 0;
  PostNotification(grid, GN_DBLCLK, MouseWord(grid, wParam), lParam);
  if (s.exStyle & kExEdit) BeginEdit(grid, IndexAt(s, kCols, x), IndexAt(s, kRows, y), nullptr, EditStart::kDoubleClick);
  return TRUE;
}

}  // namespace latticor::win32
