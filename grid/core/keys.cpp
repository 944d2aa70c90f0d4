#include "core/keys.h"

#include <algorithm>

namespace latticor {

namespace {

bool HoldsText(const GridState& s, const Axis& a, uint32_t col, uint32_t row, uint32_t at) {
  return CellAt(s, a.vertical ? col : at, a.vertical ? at : row)->text[0] != '\0';
}

SheetAction Move(uint32_t col, uint32_t row, bool extend) { return SheetAction{SheetCommand::kMove, col, row, 0, extend}; }
SheetAction Do(SheetCommand command) { return SheetAction{command, 0, 0, 0, false}; }

// A step along one axis from the current cell, kept inside: Tab and Enter.
SheetAction Step(const GridState& s, const Axis& a, int step) {
  uint32_t col = s.curCol, row = s.curRow;
  uint32_t& at = a.vertical ? row : col;
  at = ClampOrigin(at + static_cast<uint32_t>(step), s.*a.count);
  return Move(col, row, false);
}

}  // namespace

SheetAction SheetKeyAction(const GridState& s, const Chord& k) {
  // Without Shift the current cell moves; with it, the other corner.
  const uint32_t col = k.shift ? s.selEndCol : s.curCol, row = k.shift ? s.selEndRow : s.curRow;
  const int back = k.shift ? -1 : +1;
  switch (k.key) {
    case Key::kHome:
      return k.ctrl ? Move(1, 1, k.shift) : Move(1, row, k.shift);
    case Key::kEnd: {
      if (!k.ctrl) return Move(s.colCount - 1, row, k.shift);
      const Corner used = UsedCorner(s);
      return Move(used.col, used.row, k.shift);
    }
    case Key::kLeft:
    case Key::kRight:
    case Key::kUp:
    case Key::kDown: {
      if (!k.ctrl) return Do(SheetCommand::kArrow);
      const bool vertical = k.key == Key::kUp || k.key == Key::kDown;
      const int step = k.key == Key::kRight || k.key == Key::kDown ? +1 : -1;
      const uint32_t to = JumpTarget(s, vertical ? kRows : kCols, col, row, step);
      return vertical ? Move(col, to, k.shift) : Move(to, row, k.shift);
    }
    case Key::kTab:
      return k.ctrl ? Do(SheetCommand::kNone) : Step(s, kCols, back);
    case Key::kEnter:
      return k.ctrl ? Do(SheetCommand::kNone) : Step(s, kRows, back);
    case Key::kPageUp:
    case Key::kPageDown:
      if (k.ctrl) return Do(SheetCommand::kNone);
      return SheetAction{SheetCommand::kPage, 0, 0, k.key == Key::kPageDown ? +1 : -1, k.shift};
    case Key::kA:
      return Do(k.ctrl && !k.shift ? SheetCommand::kSelectAll : SheetCommand::kNone);
    case Key::kC:
      return Do(k.ctrl && !k.shift ? SheetCommand::kCopy : SheetCommand::kNone);
    case Key::kX:
      return Do(k.ctrl && !k.shift ? SheetCommand::kCut : SheetCommand::kNone);
    case Key::kV:
      return Do(k.ctrl && !k.shift ? SheetCommand::kPaste : SheetCommand::kNone);
    case Key::kY:
      return Do(k.ctrl && !k.shift ? SheetCommand::kRedo : SheetCommand::kNone);
    case Key::kZ:
      if (!k.ctrl) return Do(SheetCommand::kNone);
      return Do(k.shift ? SheetCommand::kRedo : SheetCommand::kUndo);
    case Key::kInsert:
      if (k.ctrl == k.shift) return Do(SheetCommand::kNone);
      return Do(k.ctrl ? SheetCommand::kCopy : SheetCommand::kPaste);
    case Key::kDelete:
      if (k.ctrl) return Do(SheetCommand::kNone);
      return Do(k.shift ? SheetCommand::kCut : SheetCommand::kClear);
    case Key::kOther:
      break;
  }
  return Do(SheetCommand::kNone);
}

uint32_t JumpTarget(const GridState& s, const Axis& a, uint32_t col, uint32_t row, int step) {
  const uint32_t from = a.vertical ? row : col, last = s.*a.count - 1, edge = step > 0 ? last : 1;
  if (from == edge) return from;
  const auto at = [&](uint32_t i) { return HoldsText(s, a, col, row, i); };
  const auto next = [step](uint32_t i) { return i + static_cast<uint32_t>(step); };
  uint32_t i = next(from);
  if (at(from) && at(i)) {
    while (i != edge && at(next(i))) i = next(i);
    return i;
  }
  for (;; i = next(i)) {
    if (at(i) || i == edge) return i;
  }
}

Corner UsedCorner(const GridState& s) {
  Corner corner{1, 1};
  for (uint32_t r = s.rowCount - 1; r >= 1; --r) {
    if (s.usedInRow[r]) {
      corner.row = r;
      break;
    }
  }
  for (uint32_t c = s.colCount - 1; c >= 1; --c) {
    if (s.usedInCol[c]) {
      corner.col = c;
      break;
    }
  }
  return corner;
}

PageMove PageTarget(const GridState& s, uint32_t row, int step, uint32_t rowsShown) {
  const int64_t distance = int64_t{step} * rowsShown;
  const auto moved = [&](uint32_t v) {
    return static_cast<uint32_t>(std::clamp<int64_t>(int64_t{v} + distance, 1, int64_t{s.rowCount} - 1));
  };
  return PageMove{moved(row), moved(ClampOrigin(s.firstRow, s.rowCount))};
}

uint32_t RowsShown(const GridState& s) {
  uint32_t shown = 0;
  for (uint32_t r = ClampOrigin(s.firstRow, s.rowCount); r < s.rowCount && s.rowPos[r + 1] <= s.clientRect.bottom; ++r) {
    ++shown;
  }
  return std::max(shown, 1u);
}

}  // namespace latticor
