#include "core/edit.h"

namespace latticor {

EditorAction EditorKeyAction(EditorKey key, bool shift, EditStart start) {
  const int back = shift ? -1 : +1;
  switch (key) {
    case EditorKey::kEnter:
      return EditorAction{EditorAction::kCommit, &kRows, back, false};
    case EditorKey::kTab:
      return EditorAction{EditorAction::kCommit, &kCols, back, false};
    case EditorKey::kEscape:
      return EditorAction{EditorAction::kCancel, nullptr, 0, false};
    case EditorKey::kLeft:
    case EditorKey::kRight:
    case EditorKey::kUp:
    case EditorKey::kDown: {
      if (!ArrowsCommit(start)) break;
      const bool vertical = key == EditorKey::kUp || key == EditorKey::kDown;
      const int step = key == EditorKey::kRight || key == EditorKey::kDown ? +1 : -1;
      return EditorAction{EditorAction::kCommit, vertical ? &kRows : &kCols, step, shift};
    }
    case EditorKey::kOther:
      break;
  }
  return EditorAction{EditorAction::kKeep, nullptr, 0, false};
}

}  // namespace latticor
