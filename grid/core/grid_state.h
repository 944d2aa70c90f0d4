// The grid's per-window record, its cell table and the text blocks.
// Platform-free: handles are opaque, memory comes from a BlockAllocator.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/char_boundary.h"
#include "core/dpi.h"

namespace latticor {

// Left, top, right, bottom; right and bottom exclusive.
struct Rect {
  int32_t left, top, right, bottom;
};

// Columns c0 .. c1 and rows r0 .. r1 of the cell table, ends included.
struct Block {
  uint32_t c0, c1, r0, r1;
};

// One step of the user's changes (core/undo.h): a block with its texts
// before and after, each the block's texts one after another, each with its
// zero, or null for all of them empty.
struct UndoStep {
  Block block;
  char* before;
  size_t beforeBytes;
  char* after;
  size_t afterBytes;
};
// steps[0 .. done) can be undone, the last first; steps[done .. count) redone.
struct UndoHistory {
  UndoStep* steps;
  uint32_t capacity;
  uint32_t count;
  uint32_t done;
  size_t bytes;  // of the steps' texts, their zeros not counted
};

// One cell as the table stores it. On the 32-bit target it is the 16-byte
// record that GM_GETCURCELL copies out, so the field order is fixed.
struct GridCell {
  void* cellFont;      // font handle; null = whatever font is selected
  uint32_t textColor;  // COLORREF
  uint32_t format;     // DrawTextA flags
  char* text;          // zero-terminated, in a block the cell owns
};

// Where every block of a grid comes from and goes back to. Allocate and
// Resize hand out zero-filled memory (Resize zero-fills what it adds and
// may move the block); both return null on failure, Resize keeping the
// old block.
class BlockAllocator {
 public:
  virtual void* Allocate(size_t bytes) = 0;
  virtual void* Resize(void* block, size_t bytes) = 0;
  virtual void Release(void* block) = 0;

 protected:
  ~BlockAllocator() = default;
};

constexpr uint32_t kColTableSize = 256;
constexpr uint32_t kRowTableSize = 16384;
constexpr uint32_t kMinCount = 2;
constexpr uint32_t kMaxColCount = 254;
constexpr uint32_t kMaxRowCount = 16382;
constexpr uint32_t kInitialColCount = 5;
constexpr uint32_t kInitialRowCount = 4;
constexpr int32_t kInitialColWidth = 50;
constexpr int32_t kInitialRowHeight = 20;
constexpr uint32_t kFormatDefault = 8208;  // DT_EDITCONTROL | DT_WORDBREAK
constexpr uint32_t kFormatInserted = 37;   // DT_CENTER | DT_VCENTER | DT_SINGLELINE
constexpr uint32_t kFormatNoClip = 0x100;  // DT_NOCLIP: the text may reach beyond its cell

enum CursorKind : uint32_t { kCursorClass = 0, kCursorColResize = 1, kCursorRowResize = 2 };

// Extended styles (GM_SETEXSTYLE): what a program switches on beyond the
// grid every program gets.
enum ExStyle : uint32_t {
  kExEdit = 0x1,        // the user edits cells in place
  kExSheetKeys = 0x2,   // the keys of a spreadsheet, and undo
  kExSelChange = 0x4,   // GN_SELCHANGED after every change of the selection
  kExDefined = 0x7,
};

// The left button's press, from WM_LBUTTONDOWN to the end of the press,
// during which the grid holds the mouse capture. A press can end while its
// own handling still runs (a parent takes the capture inside a
// notification): it then ends once that handling is done.
enum PressPhase : uint32_t { kNoPress = 0, kPressStarting, kPressHeld, kPressEndedStarting };

// The grid's whole state, one per window. Counts and indices unsigned,
// pixels signed, flags 0 or 1.
struct GridState {
  uint32_t curCol;     // the current cell (anchor of the selection)
  uint32_t curRow;
  uint32_t colCount;   // columns including the title column, 2 .. 254
  uint32_t rowCount;   // rows including the title row, 2 .. 16382
  uint32_t selEndCol;  // the selection's other corner
  uint32_t selEndRow;
  int32_t* colPos;     // kColTableSize left edges, from the last paint
  int32_t* rowPos;     // kRowTableSize top edges, from the last paint
  int32_t* colWidth;   // kColTableSize widths; entry 0 the title column
  int32_t* rowHeight;  // kRowTableSize heights; entry 0 the title row
  uint32_t firstCol;   // scroll origin: first data column shown
  uint32_t firstRow;
  uint32_t lastCol;    // last column whose left edge lay inside the client
  uint32_t lastRow;
  uint32_t resizeCol;  // column whose right edge is armed or dragged
  uint32_t resizeRow;
  int32_t resizeLastX;
  int32_t resizeLastY;
  int32_t resizeLineX;
  int32_t resizeLineY;
  CursorKind cursorKind;  // what WM_SETCURSOR shows
  GridCell* cells;      // colCount x rowCount, row by row
  Rect clientRect;
  Rect viewRect;        // visible data-cell area
  Rect selRect;         // the selection in pixels
  Rect prevSelRect;     // what is shown inverted on screen
  Rect focusRect;       // the anchor's interior that inversion leaves out
  Rect rowHeaderRect;
  Rect colHeaderRect;
  uint32_t gridColor;
  uint32_t bkColor;
  uint32_t resizing;
  // Where the held press began: the row titles, the column titles or the
  // cells (a press on the corner sets none of them).
  uint32_t dragRowHeader;
  uint32_t dragColHeader;
  uint32_t dragCells;
  PressPhase press;
  uint32_t allSelected;
  uint32_t colsSelected;
  uint32_t rowsSelected;
  uint32_t scrollDown;
  uint32_t scrollUp;
  uint32_t scrollLeft;
  uint32_t scrollRight;
  uint32_t fillBackground;
  uint32_t selectEnabled;
  uint32_t resizeEnabled;
  void* font;
  uint32_t notifyEnterPending;
  uint32_t sizing;
  uint32_t exStyle;           // ExStyle bits
  // How many data cells hold text, in each row (kRowTableSize) and in each
  // column (kColTableSize), in one block: where the used cells end, known
  // without looking at every cell.
  uint8_t* usedInRow;
  uint16_t* usedInCol;
  UndoHistory history;
  PixelMetrics metrics;       // the grid's own sizes at its window's DPI
  BlockAllocator* allocator;  // every block of this grid
};

// GM_SETEXSTYLE: the bits of `mask` (0: all) take their values from
// `bits`; bits this version does not define are dropped. The style before.
uint32_t ChangeExStyle(GridState& s, uint32_t mask, uint32_t bits);

// Makes `s` (zero-filled) a grid of 5 x 4 default cells; false, having
// given back whatever it took, when memory runs out.
bool InitGridState(GridState& s, BlockAllocator& allocator, uint32_t gridColor, uint32_t bkColor);
// Gives back the tables, each cell's text and the cell table.
void ReleaseGridState(GridState& s);
// The same with the record itself in a block of `allocator`: null when
// memory runs out.
GridState* CreateGridState(BlockAllocator& allocator, uint32_t gridColor, uint32_t bkColor);
void DestroyGridState(GridState* s);

// The cell (c, r), or null when it lies outside the grid.
GridCell* CellAt(GridState& s, uint32_t c, uint32_t r);
inline const GridCell* CellAt(const GridState& s, uint32_t c, uint32_t r) {
  return CellAt(const_cast<GridState&>(s), c, r);
}

// Makes `cell` a new empty cell; false when no text block could be had.
bool InitCell(BlockAllocator& allocator, GridCell& cell, void* font, uint32_t format);
// Replaces the cell's text by a copy of `text`; on failure keeps the old
// text and returns false.
bool SetCellText(BlockAllocator& allocator, GridCell& cell, const char* text);
// SetCellText for cell (c, r) of the grid, which exists, keeping the counts
// of the cells that hold text. Every text the grid stores goes through here
// or through WriteBlockTexts.
bool SetText(GridState& s, uint32_t c, uint32_t r, const char* text);
// The counts follow cell (c, r) from holding text (`was`) to holding text
// (`is`); titles are not counted.
void NoteTextUse(GridState& s, uint32_t c, uint32_t r, bool was, bool is);
// The counts made again from the cells, after a change of the table's shape.
void RecountUse(GridState& s);

// Gives back the text blocks of `count` cells from `first` on.
void ReleaseTexts(BlockAllocator& allocator, GridCell* first, size_t count);

// How many bytes of `text` a bounded copy into a buffer of `size` bytes
// (at least 1) takes: the whole text, or as much as leaves room for the
// terminator without splitting a character of `encoding`. Every bounded
// copy of a cell's text is cut here.
size_t BoundedCopyLength(const char* text, size_t size, const Encoding& encoding);

// GM_SUMCOLWIDTHS / GM_SUMROWHEIGHTS: table[from] + ... + table[to], or
// table[from] alone when to < from. Indices beyond the table are not read.
int32_t SumSizes(const int32_t* table, uint32_t capacity, uint32_t from, uint32_t to);

// GM_SETCOLWIDTH / GM_SETROWHEIGHT: the size stored for a request, given
// limit = client extent - title extent - 5. A negative limit cuts nothing.
int32_t ClampSize(int32_t requested, int32_t limit);

// Checks the invariants every message keeps; for tests and fuzzing. The
// counts of the cells holding text are checked apart: every cell is read.
bool StateIsConsistent(const GridState& s);
bool UseCountsAgree(const GridState& s);

}  // namespace latticor
