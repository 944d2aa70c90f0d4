// The keys of a spreadsheet (GS_EX_SHEETKEYS): where Home, End, the Ctrl
// arrows, Tab, Enter and the page keys take the current cell or, with
// Shift, the selection's other corner; and which keys copy, cut, paste,
// clear, undo and redo. Keys are named here, not by the platform's codes.
#pragma once

#include "core/axis.h"

namespace latticor {

enum class Key { kLeft, kRight, kUp, kDown, kHome, kEnd, kPageUp, kPageDown, kTab, kEnter, kDelete, kInsert,
                 kA, kC, kV, kX, kY, kZ, kOther };

struct Chord {
  Key key;
  bool shift, ctrl;
};

enum class SheetCommand {
  kNone,       // not a key of the sheet: it does what it does without them
  kMove,       // the current cell to (col, row); with `extend`, the other corner
  kArrow,      // a plain arrow: its move, then the selection collapses to the current cell
  kPage,       // Page Up or Down: `step` is -1 or +1; with `extend`, the other corner
  kSelectAll,  // as a press on the corner
  kCopy,
  kCut,
  kPaste,
  kClear,      // Delete
  kUndo,
  kRedo,
};

struct SheetAction {
  SheetCommand command;
  uint32_t col, row;
  int step;
  bool extend;
};
SheetAction SheetKeyAction(const GridState& s, const Chord& chord);

// Ctrl and an arrow from (col, row) along `a`, `step` +1 or -1: to the last
// cell holding text before an empty one, when this cell and the next both
// hold text; else to the next cell holding text; else to the grid's edge.
uint32_t JumpTarget(const GridState& s, const Axis& a, uint32_t col, uint32_t row, int step);

// The bottom-right corner of the cells that hold text: the last column
// and the last row holding any; (1, 1) when no data cell does.
struct Corner {
  uint32_t col, row;
};
Corner UsedCorner(const GridState& s);

// A page a key moves: the moving corner's row and the first row shown both
// go `rowsShown` rows on (back for a negative step), each kept in the grid.
struct PageMove {
  uint32_t row, first;
};
PageMove PageTarget(const GridState& s, uint32_t row, int step, uint32_t rowsShown);
// The data rows the last layout shows whole from the first one on; at
// least 1.
uint32_t RowsShown(const GridState& s);

}  // namespace latticor
