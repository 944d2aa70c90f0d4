#include "core/access.h"

#include <algorithm>
#include <cmath>

#include "core/hit_test.h"
#include "core/layout.h"
#include "core/selection.h"

namespace latticor {

bool Exists(const GridState& s, const AccessItem& item) {
  switch (item.part) {
    case Part::kGrid:
      return true;
    case Part::kRow:
      return item.row < s.rowCount;
    case Part::kCell:
      return item.row < s.rowCount && item.col < s.colCount;
    case Part::kNone:
      break;
  }
  return false;
}

int32_t ChildIdOf(const GridState& s, const AccessItem& item) {
  if (!Exists(s, item)) return -1;
  switch (item.part) {
    case Part::kRow:
      return static_cast<int32_t>(item.row + 1);
    case Part::kCell:
      return static_cast<int32_t>(s.rowCount + 1 + item.row * s.colCount + item.col);
    default:
      return 0;
  }
}

AccessItem ItemOfChildId(const GridState& s, int32_t id) {
  if (id < 0) return kNoItem;
  const auto n = static_cast<uint32_t>(id);
  if (n == 0) return kGridItem;
  if (n <= s.rowCount) return RowItem(n - 1);
  const uint32_t cell = n - s.rowCount - 1;
  if (cell / s.colCount >= s.rowCount) return kNoItem;
  return CellItem(cell % s.colCount, cell / s.colCount);
}

AccessItem ChildOf(const GridState& s, const AccessItem& parent, int32_t id) {
  if (id == 0) return parent;
  switch (parent.part) {
    case Part::kGrid:
      return ItemOfChildId(s, id);
    case Part::kRow:
      if (id < 0 || static_cast<uint32_t>(id) > s.colCount) return kNoItem;
      return CellItem(static_cast<uint32_t>(id) - 1, parent.row);
    default:
      return kNoItem;
  }
}

uint32_t ChildCount(const GridState& s, const AccessItem& item) {
  switch (item.part) {
    case Part::kGrid:
      return s.rowCount;
    case Part::kRow:
      return s.colCount;
    default:
      return 0;
  }
}

AccessItem ParentOf(const AccessItem& item) {
  switch (item.part) {
    case Part::kRow:
      return kGridItem;
    case Part::kCell:
      return RowItem(item.row);
    default:
      return kNoItem;
  }
}

AccessRole RoleOf(const AccessItem& item) {
  switch (item.part) {
    case Part::kRow:
      return kRoleRow;
    case Part::kCell:
      if (item.row == 0) return kRoleColumnHeader;
      return item.col == 0 ? kRoleRowHeader : kRoleCell;
    default:
      return kRoleTable;
  }
}

bool IsSelected(const GridState& s, const AccessItem& item) {
  if (!IsDataCell(item) || !s.selectEnabled) return false;
  return InBlock(SelectedBlock(s), item.col, item.row);
}

uint32_t AccessStates(const GridState& s, const AccessItem& item, bool gridFocused) {
  if (item.part == Part::kGrid) {
    uint32_t states = kStateFocusable;
    if (gridFocused) states |= kStateFocused;
    if (s.selectEnabled) states |= kStateMultiSelectable | kStateExtSelectable;
    return states;
  }
  uint32_t states = 0;
  if (IsOffscreen(s, item)) states |= kStateOffscreen;
  if (IsDataCell(item)) {
    states |= kStateSelectable | kStateFocusable;
    if (IsSelected(s, item)) states |= kStateSelected;
    if (gridFocused && item.col == s.curCol && item.row == s.curRow) states |= kStateFocused;
  }
  return states;
}

namespace {

// Where column (row) i lies along its axis, in pixels: the title where it
// is drawn, a data column (row) where the last paint put it.
struct Pixels {
  int32_t begin, end;
};
Pixels PixelsOf(const GridState& s, const Axis& a, uint32_t i) {
  const int32_t* pos = s.*a.pos;
  if (i == 0) return Pixels{0, (s.*a.size)[0]};
  return Pixels{pos[i], pos[i + 1]};
}

// The pane a column (row) is drawn in along its axis: the title, or what
// lies beyond it up to the client's end.
Pixels PaneOf(const GridState& s, const Axis& a, uint32_t i) {
  const int32_t title = (s.*a.size)[0];
  const int32_t clientEnd = a.vertical ? s.clientRect.bottom : s.clientRect.right;
  return i == 0 ? Pixels{0, std::min(title, clientEnd)} : Pixels{title, clientEnd};
}

}  // namespace

Rect LocationOf(const GridState& s, const AccessItem& item) {
  switch (item.part) {
    case Part::kGrid:
      return s.clientRect;
    case Part::kRow: {
      const Pixels y = PixelsOf(s, kRows, item.row);
      return Rect{0, y.begin, s.colPos[s.colCount], y.end};
    }
    case Part::kCell: {
      const Pixels x = PixelsOf(s, kCols, item.col), y = PixelsOf(s, kRows, item.row);
      return Rect{x.begin, y.begin, x.end, y.end};
    }
    case Part::kNone:
      break;
  }
  return Rect{0, 0, 0, 0};
}

bool IsOffscreen(const GridState& s, const AccessItem& item) {
  if (item.part == Part::kGrid || !Exists(s, item)) return false;
  const Pixels y = PaneOf(s, kRows, item.row);
  const Pixels x = item.part == Part::kCell ? PaneOf(s, kCols, item.col) : Pixels{0, s.clientRect.right};
  return IsEmpty(Intersect(LocationOf(s, item), Rect{x.begin, y.begin, x.end, y.end}));
}

AccessItem ItemAt(const GridState& s, int32_t x, int32_t y) {
  switch (HitArea(s, x, y)) {
    case Area::kCells:
      return CellItem(IndexAt(s, kCols, x), IndexAt(s, kRows, y));
    case Area::kColHeader:
      return CellItem(IndexAt(s, kCols, x), 0);
    case Area::kRowHeader:
      return CellItem(0, IndexAt(s, kRows, y));
    case Area::kCorner:
      return CellItem(0, 0);
    case Area::kNone:
      break;
  }
  return Contains(s.clientRect, x, y) ? kGridItem : kNoItem;
}

AccessItem Navigate(const GridState& s, const AccessItem& from, Direction d) {
  if (!Exists(s, from)) return kNoItem;
  const uint32_t lastCol = s.colCount - 1, lastRow = s.rowCount - 1;
  const uint32_t c = from.col, r = from.row;
  switch (from.part) {
    case Part::kGrid:
      if (d == Direction::kFirstChild) return RowItem(0);
      if (d == Direction::kLastChild) return RowItem(lastRow);
      return kNoItem;
    case Part::kRow:
      switch (d) {
        case Direction::kFirstChild:
          return CellItem(0, r);
        case Direction::kLastChild:
          return CellItem(lastCol, r);
        case Direction::kUp:
        case Direction::kPrevious:
          return r > 0 ? RowItem(r - 1) : kNoItem;
        case Direction::kDown:
        case Direction::kNext:
          return r < lastRow ? RowItem(r + 1) : kNoItem;
        default:
          return kNoItem;
      }
    case Part::kCell:
      switch (d) {
        case Direction::kLeft:
        case Direction::kPrevious:
          return c > 0 ? CellItem(c - 1, r) : kNoItem;
        case Direction::kRight:
        case Direction::kNext:
          return c < lastCol ? CellItem(c + 1, r) : kNoItem;
        case Direction::kUp:
          return r > 0 ? CellItem(c, r - 1) : kNoItem;
        case Direction::kDown:
          return r < lastRow ? CellItem(c, r + 1) : kNoItem;
        default:
          return kNoItem;
      }
    case Part::kNone:
      break;
  }
  return kNoItem;
}

AccessName NameOf(const GridState& s, const AccessItem& item) {
  AccessName name{false, 0, {}};
  if (!Exists(s, item) || item.part == Part::kGrid) return name;
  auto piece = [&](uint32_t c, uint32_t r, uint32_t number, bool numbered) {
    const GridCell& cell = *CellAt(s, c, r);
    name.pieces[name.count++] = NamePiece{cell.text, cell.cellFont, number, numbered};
  };
  if (item.part == Part::kRow) {
    name.rowWord = true;
    piece(0, item.row, item.row, true);
  } else if (IsDataCell(item)) {
    piece(item.col, 0, item.col, true);
    piece(0, item.row, item.row, true);
  } else {
    const bool corner = item.col == 0 && item.row == 0;
    piece(item.col, item.row, item.col + item.row, !corner);
  }
  return name;
}

SelectionList ListSelection(const GridState& s) {
  if (!s.selectEnabled) return SelectionList{Block{1, 0, 1, 0}, 0};
  const Block b = SelectedBlock(s);
  return SelectionList{b, (b.c1 - b.c0 + 1) * (b.r1 - b.r0 + 1)};
}

AccessItem ListedCell(const SelectionList& list, uint32_t index) {
  if (index >= list.count) return kNoItem;
  const uint32_t width = list.block.c1 - list.block.c0 + 1;
  return CellItem(list.block.c0 + index % width, list.block.r0 + index / width);
}

AccessSnapshot SnapshotOf(const GridState& s) {
  return AccessSnapshot{s.curCol, s.curRow, s.selEndCol, s.selEndRow, s.colCount, s.rowCount, s.selectEnabled};
}

AccessChanges ChangesBetween(const AccessSnapshot& a, const AccessSnapshot& b) {
  AccessChanges changes{};
  changes.reorder = a.colCount != b.colCount || a.rowCount != b.rowCount;
  changes.currentMoved = a.curCol != b.curCol || a.curRow != b.curRow;
  const bool blockChanged = std::min(a.curCol, a.selEndCol) != std::min(b.curCol, b.selEndCol) ||
                            std::max(a.curCol, a.selEndCol) != std::max(b.curCol, b.selEndCol) ||
                            std::min(a.curRow, a.selEndRow) != std::min(b.curRow, b.selEndRow) ||
                            std::max(a.curRow, a.selEndRow) != std::max(b.curRow, b.selEndRow);
  const bool singleCell = b.curCol == b.selEndCol && b.curRow == b.selEndRow;
  // A move to a single cell says it all with the event on that cell.
  changes.selectionWithin = b.selectEnabled && blockChanged && !(changes.currentMoved && singleCell);
  return changes;
}

double ScrollPercent(const GridState& s, const Axis& a) {
  const uint32_t count = s.*a.count;
  if (count <= 2) return -1;
  return 100.0 * (ClampOrigin(s.*a.first, count) - 1) / (count - 2);
}

double ViewPercent(const GridState& s, const Axis& a) {
  const uint32_t first = ClampOrigin(s.*a.first, s.*a.count), last = s.*a.last;
  if (last < first) return 0;
  return std::min(100.0, 100.0 * (last - first + 1) / (s.*a.count - 1));
}

uint32_t OriginForPercent(const GridState& s, const Axis& a, double percent) {
  const uint32_t count = s.*a.count;
  if (count <= 2 || !(percent >= 0)) return ClampOrigin(s.*a.first, count);
  const double origin = 1 + std::lround(std::min(percent, 100.0) / 100 * (count - 2));
  return ClampOrigin(static_cast<uint32_t>(origin), count);
}

uint32_t OriginToShow(const GridState& s, const Axis& a, uint32_t index) {
  if (index == 0 || index >= s.*a.count) return 0;  // titles are always in view
  if (index >= s.*a.first && index <= s.*a.last) return 0;
  return index;
}

}  // namespace latticor
