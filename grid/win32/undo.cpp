// GM_UNDO, GM_REDO and the history's messages: the user's changes taken
// back and done again, each showing the block it wrote.
#include "changes.h"
#include "core/undo.h"
#include "handlers.h"
#include "selection.h"

namespace latticor::win32 {

namespace {

LRESULT StepHistory(HWND grid, GridState& s, bool back) {
  Block restored{};
  if (!StepThroughHistory(s, back, restored)) return 0;
  SelectBlock(grid, &s, restored);
  if (GridState* t = StateOf(grid)) ShowChangedTexts(grid, *t, restored);
  return TRUE;
}

}  // namespace

LRESULT OnUndo(HWND grid, GridState& s, WPARAM, LPARAM) { return StepHistory(grid, s, true); }
LRESULT OnRedo(HWND grid, GridState& s, WPARAM, LPARAM) { return StepHistory(grid, s, false); }

LRESULT OnCanUndo(HWND, GridState& s, WPARAM, LPARAM) {
  return (StepToUndo(s.history) ? 1 : 0) | (StepToRedo(s.history) ? 2 : 0);
}

LRESULT OnEmptyUndo(HWND, GridState& s, WPARAM, LPARAM) {
  EmptyHistory(*s.allocator, s.history);
  return 0;
}

void ForgetHistory(GridState& s) { EmptyHistory(*s.allocator, s.history); }

}  // namespace latticor::win32
