// Editing in the grid: how an edit began, and what a key pressed in the
// editor does — commit and move the current cell, cancel, or stay with the
// editor as any other key does.
#pragma once

#include "core/axis.h"

namespace latticor {

enum class EditStart : uint32_t {
  kProgram,      // GM_EDITCELL
  kF2,           // the cell's text, to be changed where the caret goes
  kDoubleClick,  // likewise
  kTyping,       // a typed character replaces the text
  kBackspace,    // likewise, starting empty
  kReader,       // a value set through a screen reader: no editor shows
};

// An edit begun by typing treats the arrows as the grid would: they commit
// and move. Any other edit lets them move the caret.
inline bool ArrowsCommit(EditStart start) { return start == EditStart::kTyping || start == EditStart::kBackspace; }

// The keys the editor knows; everything else it treats as text does.
enum class EditorKey { kEnter, kTab, kEscape, kLeft, kRight, kUp, kDown, kOther };

struct EditorAction {
  enum Kind { kKeep, kCommit, kCancel } kind;
  // After a commit: the current cell moves a step along `axis` (null: it
  // stays); with `extend`, the selection's other corner moves instead, as
  // Shift and an arrow move it in the grid.
  const Axis* axis;
  int step;
  bool extend;
};
EditorAction EditorKeyAction(EditorKey key, bool shift, EditStart start);

}  // namespace latticor
