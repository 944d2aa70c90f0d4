// The grid as an accessible table, for screen readers: which object a
// child id names, what each object is called, where it lies, its states,
// how a point or a direction leads from one to another, the selection as a
// list, and which events a change of the selection owes.
//
// The objects: the grid; its rows, the title row 0 first; each row's
// cells, the title cells included. Child ids on the grid: 0 the grid
// itself, 1 .. rowCount the rows (row r is r + 1), and above that every
// cell, rowCount + 1 + r * colCount + c, so that an event can name a cell.
#pragma once

#include "core/axis.h"
#include "core/selection.h"

namespace latticor {

enum class Part { kNone, kGrid, kRow, kCell };

// One accessible object: the grid, row `row`, or cell (col, row). Fields
// an object does not use are 0, so that equal objects compare equal.
struct AccessItem {
  Part part;
  uint32_t col;
  uint32_t row;
};
inline bool operator==(const AccessItem& a, const AccessItem& b) {
  return a.part == b.part && a.col == b.col && a.row == b.row;
}
inline bool operator!=(const AccessItem& a, const AccessItem& b) { return !(a == b); }
constexpr AccessItem kNoItem{Part::kNone, 0, 0};
constexpr AccessItem kGridItem{Part::kGrid, 0, 0};
inline AccessItem RowItem(uint32_t r) { return AccessItem{Part::kRow, 0, r}; }
inline AccessItem CellItem(uint32_t c, uint32_t r) { return AccessItem{Part::kCell, c, r}; }

// Whether the row or cell still exists (counts may have dropped since).
bool Exists(const GridState& s, const AccessItem& item);

// The grid's child ids (above). 0 for the grid; -1 for what does not exist.
int32_t ChildIdOf(const GridState& s, const AccessItem& item);
AccessItem ItemOfChildId(const GridState& s, int32_t id);

// Children by their parent's own numbering: 0 is the parent itself; the
// grid numbers as above, a row its cells 1 .. colCount (column + 1), a cell
// has no children. kNoItem for an id that names nothing.
AccessItem ChildOf(const GridState& s, const AccessItem& parent, int32_t id);
uint32_t ChildCount(const GridState& s, const AccessItem& item);
AccessItem ParentOf(const AccessItem& item);  // kNoItem for the grid

// Roles and states, with the numbers that screen readers know them by.
enum AccessRole : uint32_t {
  kRoleTable = 24,
  kRoleColumnHeader = 25,
  kRoleRowHeader = 26,
  kRoleRow = 28,
  kRoleCell = 29,
};
enum AccessState : uint32_t {
  kStateSelected = 0x2,
  kStateFocused = 0x4,
  kStateOffscreen = 0x10000,
  kStateFocusable = 0x100000,
  kStateSelectable = 0x200000,
  kStateMultiSelectable = 0x1000000,
  kStateExtSelectable = 0x2000000,
};
// Row 0's cells (the corner too) are column titles, column 0's row titles.
AccessRole RoleOf(const AccessItem& item);
inline bool IsDataCell(const AccessItem& item) { return item.part == Part::kCell && item.col > 0 && item.row > 0; }
uint32_t AccessStates(const GridState& s, const AccessItem& item, bool gridFocused);

// Where a row or cell lies, in client pixels as the last paint laid the
// grid out: a cell's inside with its right and bottom grid lines; titles
// where they are drawn, whatever the scroll position. The grid: the client.
Rect LocationOf(const GridState& s, const AccessItem& item);
// Not in view: outside the pane it is drawn in (the data cells, the
// titles, the corner).
bool IsOffscreen(const GridState& s, const AccessItem& item);

// The cell or title cell at a client point, as a press would find it; the
// grid itself elsewhere in the client area; kNoItem outside.
AccessItem ItemAt(const GridState& s, int32_t x, int32_t y);

enum class Direction { kUp, kDown, kLeft, kRight, kNext, kPrevious, kFirstChild, kLastChild };
// The neighbour in a direction: among rows, among the cells of the table
// (across rows too, up and down), or a first or last child.
AccessItem Navigate(const GridState& s, const AccessItem& from, Direction d);

// A name is made of up to two pieces, each a cell's text or, when that is
// empty, a number: a data cell "<column title> <row title>", a row
// "Row <row title>", a title cell its own text (the corner has no number).
struct NamePiece {
  const char* text;
  const void* font;  // the title cell's own font, which says how to read its bytes
  uint32_t number;
  bool numbered;
};
struct AccessName {
  bool rowWord;  // the name begins with "Row "
  uint32_t count;
  NamePiece pieces[2];
};
AccessName NameOf(const GridState& s, const AccessItem& item);  // not for the grid

// The selected cells in the order they are listed, row by row and left to
// right; none while selecting is switched off. Listing is arithmetic: a
// selection of the whole grid costs no more than one of a cell.
struct SelectionList {
  Block block;
  uint32_t count;
};
SelectionList ListSelection(const GridState& s);
AccessItem ListedCell(const SelectionList& list, uint32_t index);
bool IsSelected(const GridState& s, const AccessItem& item);

// What a message changed, for the events it owes: the shape (every id
// after it may name another object), the current cell, or the selection
// otherwise (grown, shrunk, or more than the current cell).
struct AccessSnapshot {
  uint32_t curCol, curRow, selEndCol, selEndRow, colCount, rowCount, selectEnabled;
};
AccessSnapshot SnapshotOf(const GridState& s);
struct AccessChanges {
  bool reorder;
  bool currentMoved;
  bool selectionWithin;
};
AccessChanges ChangesBetween(const AccessSnapshot& before, const AccessSnapshot& after);

// Scrolling as a percentage: the origin within its range (-1 when the grid
// cannot scroll that way), the share of the columns (rows) in view, the
// origin for a percentage, and the origin that brings a column (row) into
// view (0 when it is in view already).
double ScrollPercent(const GridState& s, const Axis& a);
double ViewPercent(const GridState& s, const Axis& a);
uint32_t OriginForPercent(const GridState& s, const Axis& a, double percent);
uint32_t OriginToShow(const GridState& s, const Axis& a, uint32_t index);

}  // namespace latticor
