// Keys: the arrows move the anchor, or with Shift the selection's other
// end; Page Up and Page Down page through the rows; with GS_EX_SHEETKEYS,
// the keys of a spreadsheet; with GS_EX_EDIT, F2, Backspace and typed
// characters begin an edit. Every key is reported.
#include "changes.h"
#include "clipboard.h"
#include "core/keys.h"
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

Key KeyOf(WPARAM vk) {
  switch (vk) {
    case VK_LEFT: return Key::kLeft;
    case VK_RIGHT: return Key::kRight;
    case VK_UP: return Key::kUp;
    case VK_DOWN: return Key::kDown;
    case VK_HOME: return Key::kHome;
    case VK_END: return Key::kEnd;
    case VK_PRIOR: return Key::kPageUp;
    case VK_NEXT: return Key::kPageDown;
    case VK_TAB: return Key::kTab;
    case VK_RETURN: return Key::kEnter;
    case VK_DELETE: return Key::kDelete;
    case VK_INSERT: return Key::kInsert;
    case 'A': return Key::kA;
    case 'C': return Key::kC;
    case 'V': return Key::kV;
    case 'X': return Key::kX;
    case 'Y': return Key::kY;
    case 'Z': return Key::kZ;
    default: return Key::kOther;
  }
}

// Page Up and Page Down of a sheet: the view scrolls by the rows it shows,
// and the current cell (with Shift, the other corner) by as many, keeping
// its place on the screen.
void PageSheet(HWND grid, GridState* s, int step, bool extend) {
  const PageMove page = PageTarget(*s, extend ? s->selEndRow : s->curRow, step, RowsShown(*s));
  if (page.first != s->firstRow) {
    SendMessageA(grid, GM_SETFIRSTROW, page.first, 0);
    if (!(s = StateOf(grid))) return;
  }
  if (extend) {
    ExtendTo(grid, s, s->selEndCol, ClampOrigin(page.row, s->rowCount));
  } else {
    MoveCurrentTo(grid, s, s->curCol, page.row, [grid](GridState& t) {
      SelectByPress(t, Area::kCells);
      InvertFocusCell(grid, t);
    });
  }
}

// A key of a sheet (GS_EX_SHEETKEYS); whether it was one.
bool SheetKey(HWND grid, GridState& s, WPARAM vk) {
  const Chord chord{KeyOf(vk), GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0};
  const SheetAction action = SheetKeyAction(s, chord);
  switch (action.command) {
    case SheetCommand::kNone:
      return false;
    case SheetCommand::kArrow:
      MoveByArrow(grid, &s, vk == VK_LEFT || vk == VK_RIGHT ? kCols : kRows, vk == VK_RIGHT || vk == VK_DOWN ? +1 : -1,
                  chord.shift, true);
      break;
    case SheetCommand::kMove:
      if (action.extend) {
        ExtendTo(grid, &s, action.col, action.row);
      } else {
        SelectCellAt(grid, &s, action.col, action.row);
      }
      break;
    case SheetCommand::kPage:
      PageSheet(grid, &s, action.step, action.extend);
      break;
    case SheetCommand::kSelectAll:
      PressSelects(grid, s, Area::kCorner, 0, 0);
      break;
    case SheetCommand::kCopy:
      CopyToClipboard(grid, s);
      break;
    case SheetCommand::kCut:
      CutSelection(grid, s);
      break;
    case SheetCommand::kPaste:
      PasteClipboard(grid, s);
      break;
    case SheetCommand::kClear:
      ClearSelection(grid, s);
      break;
    case SheetCommand::kUndo:
      OnUndo(grid, s, 0, 0);
      break;
    case SheetCommand::kRedo:
      OnRedo(grid, s, 0, 0);
      break;
  }
  return true;
}

}  // namespace

LRESULT OnKeyDown(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  // A key typed before the editor had the focus is the editor's.
  if (ForwardToEditor(grid, WM_KEYDOWN, wParam, lParam)) return TRUE;
  if ((s.exStyle & kExSheetKeys) && SheetKey(grid, s, wParam)) {
    if (StateOf(grid)) PostNotification(grid, GN_KEYDOWN, wParam, ControlId(grid));
    return TRUE;
  }
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
