// The decisions behind the mouse, the keys and scrolling.
#include <gtest/gtest.h>

#include "core/dimensions.h"
#include "core/edit.h"
#include "core/hit_test.h"
#include "core/keys.h"
#include "core/layout.h"
#include "core/resize.h"
#include "core/scroll.h"
#include "core/selection.h"
#include "grid_fixture.h"

namespace latticor {
namespace {

// A grid laid out in a client area of 400 x 300.
struct Laid : testing::GridFixture {
  void Lay(uint32_t cols = 5, uint32_t rows = 4, Rect client = {0, 0, 400, 300}) {
    ASSERT_EQ(SetColCount(*s, cols), Reshape::kDone);
    ASSERT_EQ(SetRowCount(*s, rows), Reshape::kDone);
    Relay(client);
  }
  void Relay(Rect client = {0, 0, 400, 300}) {
    LayOut(*s, client);
    NoteLastShown(*s);
  }
};

TEST_F(Laid, PointsFallInTheAreasInTheirOrder) {
  EXPECT_EQ(HitArea(*s, 10, 10), Area::kCorner) << "before any paint only the corner can be hit";
  EXPECT_EQ(HitArea(*s, 60, 30), Area::kNone);
  Lay();
  EXPECT_EQ(HitArea(*s, 60, 30), Area::kCells);
  EXPECT_EQ(HitArea(*s, 60, 10), Area::kColHeader);
  EXPECT_EQ(HitArea(*s, 10, 30), Area::kRowHeader);
  EXPECT_EQ(HitArea(*s, 49, 19), Area::kCorner);
  EXPECT_EQ(HitArea(*s, 250, 30), Area::kNone) << "right of the last column";
  EXPECT_EQ(HitArea(*s, 60, 80), Area::kNone) << "below the last row";
}

TEST_F(Laid, TheBoundaryPixelPicksTheLeftColumnAndTheUpperRow) {
  Lay();
  EXPECT_EQ(IndexAt(*s, kCols, 99), 1u);
  EXPECT_EQ(IndexAt(*s, kCols, 100), 1u) << "x = colPos[2] is column 1's";
  EXPECT_EQ(IndexAt(*s, kCols, 101), 2u);
  EXPECT_EQ(IndexAt(*s, kRows, 40), 1u);
  EXPECT_EQ(IndexAt(*s, kRows, 41), 2u);
  EXPECT_EQ(IndexAt(*s, kCols, 5000), 4u) << "never beyond the last column";
  s->firstCol = 3;
  Relay();
  EXPECT_EQ(IndexAt(*s, kCols, 60), 3u) << "counted from the scroll origin";
}

TEST_F(Laid, APressSelectsByWhereItLandsAndWhatSelectingAllows) {
  // Columns are 50 wide and rows 20 high; the whole grid is columns 1..4,
  // rows 1..3. The selection starts as the whole grid, made in the corner.
  struct Case {
    const char* what;
    uint32_t selectEnabled;
    int32_t x, y;
    bool selects;
    uint32_t curCol, curRow, endCol, endRow;
    bool all, cols, rows;  // the marks afterwards
  } cases[] = {
      {"corner", 1, 10, 10, true, 1, 1, 4, 3, true, false, false},
      {"column title", 1, 160, 10, true, 3, 1, 3, 3, false, true, false},
      {"row title", 1, 10, 50, true, 1, 2, 4, 2, false, false, true},
      {"cell", 1, 120, 70, true, 2, 3, 2, 3, false, false, false},
      {"corner, 2", 2, 10, 10, true, 1, 1, 4, 3, true, false, false},
      {"column title, 2", 2, 160, 10, false, 0, 0, 0, 0, true, false, false},
      {"row title, 2", 2, 10, 50, false, 0, 0, 0, 0, true, false, false},
      {"cell, 2", 2, 120, 70, true, 2, 3, 2, 3, false, false, false},
      {"corner, off", 0, 10, 10, false, 0, 0, 0, 0, true, false, false},
      {"cell, off", 0, 120, 70, false, 0, 0, 0, 0, true, false, false},
      {"background", 1, 300, 200, false, 0, 0, 0, 0, true, false, false},
  };
  Lay();
  for (const Case& c : cases) {
    s->selectEnabled = c.selectEnabled;
    s->allSelected = 1, s->colsSelected = s->rowsSelected = 0;
    const Area area = HitArea(*s, c.x, c.y);
    const PressTarget target = BeginPress(*s, area, c.x, c.y);
    ASSERT_EQ(target.selects, c.selects) << c.what;
    if (area == Area::kCells && c.selects) {
      EXPECT_FALSE(s->allSelected) << c.what << ": forgotten before the current cell leaves";
    }
    if (target.selects) {
      EXPECT_EQ(target.col, c.curCol) << c.what;
      EXPECT_EQ(target.row, c.curRow) << c.what;
      s->curCol = target.col, s->curRow = target.row;
      SelectByPress(*s, area);
      EXPECT_EQ(s->selEndCol, c.endCol) << c.what;
      EXPECT_EQ(s->selEndRow, c.endRow) << c.what;
    }
    EXPECT_EQ(bool(s->allSelected), c.all) << c.what;
    EXPECT_EQ(bool(s->colsSelected), c.cols) << c.what;
    EXPECT_EQ(bool(s->rowsSelected), c.rows) << c.what;
  }
}

TEST_F(Laid, ADragStepsTowardsThePointerInTheDirectionsAllowed) {
  Lay();
  const DragSteps both = DragStepsTowards(*s, 390, 70, true, true);
  EXPECT_EQ(both.cols, +1);
  EXPECT_EQ(both.rows, +1);
  EXPECT_EQ(DragStepsTowards(*s, 390, 70, false, true).cols, 0) << "a row-title drag keeps its columns";
  ApplyDragSteps(*s, both);
  EXPECT_EQ(s->selEndCol, 2u);
  EXPECT_EQ(s->selEndRow, 2u);
  s->selEndCol = 4;
  MoveEnd(*s, kCols, +1);
  EXPECT_EQ(s->selEndCol, 4u) << "an end step never leaves the data cells";
}

TEST_F(Laid, DragStepsMoveOneColumnAtMostAndStopAtTheEdges) {
  Lay();
  // End at column 1 (50..100): at or right of 100 steps right.
  EXPECT_EQ(DragStep(*s, kCols, 99), 0);
  EXPECT_EQ(DragStep(*s, kCols, 100), +1);
  EXPECT_EQ(DragStep(*s, kCols, 390), +1) << "one column per move, however far";
  s->selEndCol = 4;  // lastCol
  EXPECT_EQ(DragStep(*s, kCols, 390), 0) << "not past the last visible column";
  s->selEndCol = 3;  // 150..200
  EXPECT_EQ(DragStep(*s, kCols, 151), 0);
  EXPECT_EQ(DragStep(*s, kCols, 150), -1);
  EXPECT_EQ(DragStep(*s, kCols, -1), 0) << "not once the pointer left the client area";
  s->selEndCol = 1;
  EXPECT_EQ(DragStep(*s, kCols, 0), 0) << "never below column 1";
  s->selEndRow = 2;  // rows 40..60
  EXPECT_EQ(DragStep(*s, kRows, 60), +1);
  EXPECT_EQ(DragStep(*s, kRows, 40), -1);
}

TEST_F(Laid, ADragNeverStepsPastACountLoweredSinceThePaint) {
  Lay(20, 4);
  s->selEndCol = 4;
  s->colCount = 5;  // as if lowered without the selection rules, paint pending
  EXPECT_EQ(DragStep(*s, kCols, 390), 0);
  s->colCount = 20;
  ASSERT_EQ(SetColCount(*s, 5), Reshape::kDone);
  EXPECT_LE(s->lastCol, 4u) << "the count change brings the last visible column back";
}

TEST_F(Laid, DragRequestsComeFromThePointerBeyondTheEdges) {
  Lay();
  SetColumnRequests(*s, 49);
  EXPECT_TRUE(s->scrollLeft) << "left of the row titles' right edge";
  EXPECT_FALSE(s->scrollRight);
  SetColumnRequests(*s, 401);
  EXPECT_TRUE(s->scrollRight);
  EXPECT_FALSE(s->scrollLeft);
  SetRowRequests(*s, 19);
  EXPECT_TRUE(s->scrollUp);
  SetRowRequests(*s, 300);
  EXPECT_FALSE(s->scrollDown) << "the client's bottom itself is not beyond";
  SetRowRequests(*s, 301);
  EXPECT_TRUE(s->scrollDown);
}

TEST_F(Laid, AutoScrollTicksFollowTheRequestsButNotTheDiagonals) {
  Lay(5, 100);
  s->selEndRow = 10;
  s->scrollDown = 1;
  EXPECT_EQ(AutoScrollTick(*s).rows, +1);
  s->scrollRight = 1;
  EXPECT_EQ(AutoScrollTick(*s).rows, 0) << "below and right: nothing";
  EXPECT_EQ(AutoScrollTick(*s).cols, 0);
  s->scrollRight = 0;
  s->scrollLeft = 1;
  s->selEndCol = 3;
  EXPECT_EQ(AutoScrollTick(*s).rows, +1) << "below and left: both";
  EXPECT_EQ(AutoScrollTick(*s).cols, -1);
  s->scrollDown = 0;
  s->scrollUp = 1;
  EXPECT_EQ(AutoScrollTick(*s).rows, 0) << "above and left: nothing";
  s->scrollLeft = 0;
  EXPECT_EQ(AutoScrollTick(*s).rows, -1);
  s->selEndRow = 1;
  EXPECT_EQ(AutoScrollTick(*s).rows, 0) << "never up to the title row";
  s->selEndRow = 99;
  EXPECT_EQ(AutoScrollTick(*s).rows, 0) << "from the last row, ticks do not move the end up";
  s->scrollUp = 0;
  s->scrollDown = 1;
  EXPECT_EQ(AutoScrollTick(*s).rows, 0) << "nor further down";
}

TEST_F(Laid, APageBackGoesBackByWhatFits) {
  // Rows 20 high and 200 pixels below the titles.
  EXPECT_EQ(PageBackTarget(s->rowHeight, 20, 200), 11u);
  EXPECT_EQ(PageBackTarget(s->rowHeight, 5, 200), 1u);
  EXPECT_EQ(PageBackTarget(s->rowHeight, 2, 200), 1u);
  EXPECT_EQ(PageBackTarget(s->rowHeight, 1, 200), 1u);
  EXPECT_EQ(PageBackTarget(s->rowHeight, 20, 10), 19u) << "at least one row";
}

TEST_F(Laid, ScrollCodesTakeTheOriginWhereTheySay) {
  Lay(5, 100, Rect{0, 0, 400, 220});
  s->firstRow = 20;
  Relay(Rect{0, 0, 400, 220});
  EXPECT_EQ(ScrollTarget(*s, kRows, kScrollLineForward, 0, 99, 200), 21u);
  EXPECT_EQ(ScrollTarget(*s, kRows, kScrollLineBack, 0, 99, 200), 19u);
  EXPECT_EQ(ScrollTarget(*s, kRows, kScrollPageBack, 0, 99, 200), 11u);
  EXPECT_EQ(ScrollTarget(*s, kRows, kScrollPageForward, 0, 99, 200), s->lastRow);
  EXPECT_EQ(ScrollTarget(*s, kRows, kScrollThumbPosition, 42, 99, 200), 42u);
  EXPECT_EQ(ScrollTarget(*s, kRows, kScrollThumbTrack, 43, 99, 200), 43u);
  EXPECT_EQ(ScrollTarget(*s, kRows, 6, 43, 99, 200), 20u) << "other codes keep the origin";
  EXPECT_EQ(ScrollTarget(*s, kRows, kScrollThumbPosition, 60000, 99, 200), 99u) << "kept inside";
  s->firstRow = 99;
  EXPECT_EQ(ScrollTarget(*s, kRows, kScrollLineForward, 0, 99, 200), 99u);
  s->firstRow = 1;
  EXPECT_EQ(ScrollTarget(*s, kRows, kScrollLineBack, 0, 99, 200), 1u);
  s->lastRow = 0;  // before any paint
  EXPECT_EQ(ScrollTarget(*s, kRows, kScrollPageForward, 0, 99, 200), 1u);
}

TEST(Wheel, ThreeRowsANotchNeverPastTheEnds) {
  EXPECT_EQ(WheelTarget(1, 100, -120), 4u);
  EXPECT_EQ(WheelTarget(5, 100, 240), 1u);
  EXPECT_EQ(WheelTarget(97, 100, -360), 99u);
  EXPECT_EQ(WheelTarget(50, 100, 60), 50u);
  EXPECT_EQ(WheelTarget(50, 100, -60), 50u);
  EXPECT_EQ(WheelTarget(50, 100, -32768), 99u);
  EXPECT_EQ(WheelTarget(50, 100, 32767), 1u);
}

TEST_F(Laid, ALineStepDuringADragRepaintsThePartOfTheHighlightThatMoves) {
  Lay(5, 100);
  s->curRow = 3;
  s->selEndRow = 6;
  s->selRect = SelectionRect(*s);
  EXPECT_FALSE(LineStepRepaint(*s, kRows, true).needed) << "no drag request";
  s->scrollDown = 1;
  DragRepaint r = LineStepRepaint(*s, kRows, true);
  EXPECT_TRUE(r.needed);
  EXPECT_FALSE(r.erase);
  EXPECT_EQ(r.area, (Rect{s->selRect.left, s->selRect.bottom, s->selRect.right, 300}));
  s->curRow = 8;
  r = LineStepRepaint(*s, kRows, true);
  EXPECT_TRUE(r.erase);
  EXPECT_EQ(r.area, s->selRect);
  s->scrollUp = 1;
  EXPECT_FALSE(LineStepRepaint(*s, kRows, false).needed) << "the end is above the anchor";
  s->curRow = 5;
  EXPECT_TRUE(LineStepRepaint(*s, kRows, false).needed);
  s->scrollRight = 1;
  s->curCol = 1;
  s->selEndCol = 3;
  r = LineStepRepaint(*s, kCols, true);
  EXPECT_EQ(r.area, (Rect{s->selRect.right, s->selRect.top, 400, s->selRect.bottom}));
}

TEST_F(Laid, ArrowsMoveTheAnchorWithinTheDataCells) {
  Lay();
  EXPECT_FALSE(CanMoveAnchor(*s, kCols, -1));
  EXPECT_FALSE(CanMoveAnchor(*s, kRows, -1));
  EXPECT_TRUE(CanMoveAnchor(*s, kRows, +1));
  s->selEndCol = 4;  // a wider selection keeps its columns
  MoveAnchor(*s, kRows, +1);
  EXPECT_EQ(s->curRow, 2u);
  EXPECT_EQ(s->selEndRow, 2u);
  EXPECT_EQ(s->selEndCol, 4u);
  s->curRow = 3;
  EXPECT_FALSE(CanMoveAnchor(*s, kRows, +1));
  s->curCol = 4;
  EXPECT_FALSE(CanMoveAnchor(*s, kCols, +1));
  s->lastRow = 2;
  EXPECT_TRUE(ScrollAfterAnchorMove(*s, kRows, +1)) << "the anchor went below the last visible row";
  s->firstCol = 4;
  s->curCol = 3;
  EXPECT_TRUE(ScrollAfterAnchorMove(*s, kCols, -1));
}

TEST_F(Laid, ShiftArrowsMoveTheEndUnlessTheMarksForbidIt) {
  Lay();
  s->allSelected = 1;
  EXPECT_TRUE(EndMoveForbidden(*s, kRows, +1));
  EXPECT_TRUE(EndMoveForbidden(*s, kCols, +1));
  EXPECT_FALSE(EndMoveForbidden(*s, kRows, -1));
  s->allSelected = 0;
  s->colsSelected = 1;
  EXPECT_TRUE(EndMoveForbidden(*s, kRows, +1)) << "whole columns do not grow downwards";
  EXPECT_FALSE(EndMoveForbidden(*s, kCols, +1));
  s->colsSelected = 0;
  s->rowsSelected = 1;
  EXPECT_TRUE(EndMoveForbidden(*s, kCols, +1));
  EXPECT_FALSE(EndMoveForbidden(*s, kRows, +1));

  s->selEndRow = 3;  // the last row, visible
  EXPECT_TRUE(ScrollBeforeEndMove(*s, kRows, +1));
  EXPECT_FALSE(CanMoveEnd(*s, kRows, +1));
  s->selEndRow = 1;
  EXPECT_TRUE(ScrollBeforeEndMove(*s, kRows, -1)) << "at the first visible row";
  EXPECT_FALSE(CanMoveEnd(*s, kRows, -1));
  s->selEndRow = 2;
  EXPECT_TRUE(CanMoveEnd(*s, kRows, -1));
  s->lastRow = 0;  // before any paint: no scroll first
  EXPECT_FALSE(ScrollBeforeEndMove(*s, kRows, +1));
}

TEST_F(Laid, PageKeysOnlyWhenTheyCanMove) {
  Lay(5, 100);
  EXPECT_FALSE(CanPageRows(*s, -1));
  EXPECT_TRUE(CanPageRows(*s, +1));
  s->firstRow = 99;
  EXPECT_FALSE(CanPageRows(*s, +1));
  EXPECT_TRUE(CanPageRows(*s, -1));
}

TEST_F(Laid, EdgesArmInASevenPixelZone) {
  Lay();
  // colPos[2] = 100: the line at 99; the zone runs from 96 to 102.
  for (int32_t x : {96, 99, 102}) {
    s->resizing = 0;
    HoverEdge(*s, kCols, x);
    EXPECT_EQ(s->resizing, 1u) << x;
    EXPECT_EQ(s->resizeCol, 1u) << x;
    EXPECT_EQ(s->cursorKind, 1u) << x;
  }
  for (int32_t x : {95, 103}) {
    HoverEdge(*s, kCols, x);
    EXPECT_EQ(s->resizing, 0u) << x;
    EXPECT_EQ(s->cursorKind, 0u) << x;
  }
  HoverEdge(*s, kCols, 50);
  EXPECT_EQ(s->resizing, 0u) << "the title column's own edge never arms";
  HoverEdge(*s, kRows, 41);
  EXPECT_EQ(s->resizeRow, 1u);
  EXPECT_EQ(s->cursorKind, 2u);
  s->resizeEnabled = 0;
  HoverEdge(*s, kRows, 200);
  EXPECT_EQ(s->resizing, 1u) << "disabled: nothing changes";
}

TEST_F(Laid, TheClientsLastPixelNeverArms) {
  Lay(5, 4, Rect{0, 0, 250, 300});  // the last column's edge is at 250
  HoverEdge(*s, kCols, 248);
  EXPECT_EQ(s->resizing, 1u);
  EXPECT_EQ(s->resizeCol, 4u);
  HoverEdge(*s, kCols, 249);
  EXPECT_EQ(s->resizing, 0u);
}

TEST_F(Laid, ADragResizesFromTheLastAcceptedPosition) {
  Lay();
  HoverEdge(*s, kCols, 100);
  EXPECT_EQ(StartResize(*s, kCols, 100), 99);
  ResizeMove m = DragResize(*s, kCols, 120, 400);
  EXPECT_TRUE(m.accepted);
  EXPECT_EQ(s->colWidth[1], 70);
  EXPECT_EQ(m.oldLine, 99);
  EXPECT_EQ(m.newLine, 119);
  // Down to 1 but not to 0: the move is ignored and the next measures from
  // the last accepted x.
  m = DragResize(*s, kCols, 51, 400);
  EXPECT_EQ(s->colWidth[1], 1);
  EXPECT_FALSE(DragResize(*s, kCols, 40, 400).accepted);
  EXPECT_EQ(s->colWidth[1], 1);
  EXPECT_TRUE(DragResize(*s, kCols, 61, 400).accepted);
  EXPECT_EQ(s->colWidth[1], 11);
  // Beyond the client less 10: ignored; the line stays.
  EXPECT_FALSE(DragResize(*s, kCols, 391, 400).accepted);
  EXPECT_EQ(s->resizeLineX, 60);
  EXPECT_TRUE(DragResize(*s, kCols, 390, 400).accepted);
  EXPECT_EQ(s->colWidth[1], 340);
}

TEST_F(Laid, TheOriginThatShowsACellMovesAsLittleAsItCan) {
  Lay(20, 4);  // columns 50 wide, 350 pixels right of the titles: 7 whole
  struct Case {
    uint32_t first, index;
    int32_t avail;
    uint32_t origin;
  } cases[] = {
      {1, 7, 350, 1},    // in view already
      {1, 8, 350, 2},    // just beyond: one step
      {1, 19, 350, 13},  // far beyond: it becomes the last whole column
      {10, 4, 350, 4},   // before the origin: it becomes the first
      {10, 10, 350, 10},
      {1, 9, 40, 9},     // wider than the view: it becomes the first
      {3, 0, 350, 3},    // the titles are always in view
  };
  for (const Case& c : cases) {
    s->firstCol = c.first;
    EXPECT_EQ(OriginShowing(*s, kCols, c.index, c.avail), c.origin) << c.first << " " << c.index;
  }
}

TEST(EditorKeys, EnterAndTabCommitAndMoveEscapeCancelsArrowsDependOnHowTheEditBegan) {
  struct Case {
    EditorKey key;
    bool shift;
    EditStart start;
    EditorAction::Kind kind;
    const Axis* axis;
    int step;
    bool extend;
  } cases[] = {
      {EditorKey::kEnter, false, EditStart::kF2, EditorAction::kCommit, &kRows, +1, false},
      {EditorKey::kEnter, true, EditStart::kTyping, EditorAction::kCommit, &kRows, -1, false},
      {EditorKey::kTab, false, EditStart::kProgram, EditorAction::kCommit, &kCols, +1, false},
      {EditorKey::kTab, true, EditStart::kDoubleClick, EditorAction::kCommit, &kCols, -1, false},
      {EditorKey::kEscape, false, EditStart::kTyping, EditorAction::kCancel, nullptr, 0, false},
      {EditorKey::kLeft, false, EditStart::kTyping, EditorAction::kCommit, &kCols, -1, false},
      {EditorKey::kDown, true, EditStart::kBackspace, EditorAction::kCommit, &kRows, +1, true},
      {EditorKey::kRight, false, EditStart::kF2, EditorAction::kKeep, nullptr, 0, false},
      {EditorKey::kUp, false, EditStart::kDoubleClick, EditorAction::kKeep, nullptr, 0, false},
      {EditorKey::kOther, false, EditStart::kTyping, EditorAction::kKeep, nullptr, 0, false},
  };
  for (const Case& c : cases) {
    const EditorAction a = EditorKeyAction(c.key, c.shift, c.start);
    const int i = static_cast<int>(&c - cases);
    EXPECT_EQ(a.kind, c.kind) << i;
    EXPECT_EQ(a.axis, c.axis) << i;
    EXPECT_EQ(a.step, c.step) << i;
    EXPECT_EQ(a.extend, c.extend) << i;
  }
}

// A row of texts for the Ctrl arrows: "x" holds text, "." is empty.
TEST_F(Laid, CtrlArrowsRunToTheEndOfTextElseToTheNextTextElseToTheEdge) {
  Lay(13, 4);
  const char row[] = ".xx..x...xxx";  // columns 1 .. 12
  for (uint32_t c = 1; c <= 12; ++c) {
    if (row[c - 1] == 'x') Put(c, 1, "x");
  }
  struct Case {
    uint32_t from;
    int step;
    uint32_t to;
  } cases[] = {
      {1, +1, 2},    // empty here: the next text
      {2, +1, 3},    // text and text: the end of the run
      {3, +1, 6},    // the run's end: the next text
      {6, +1, 10},
      {10, +1, 12},  // to the run's end, the grid's edge
      {12, +1, 12},  // at the edge
      {12, -1, 10},
      {10, -1, 6},
      {5, -1, 3},
      {2, -1, 1},    // no text before: the edge
      {8, -1, 6},
  };
  for (const Case& c : cases) EXPECT_EQ(JumpTarget(*s, kCols, c.from, 1, c.step), c.to) << c.from << " " << c.step;
  EXPECT_EQ(JumpTarget(*s, kRows, 6, 1, +1), 3u) << "down a column with no text below";
}

TEST_F(Laid, SheetKeysNameTheirTargetsAndCommands) {
  Lay(10, 20);
  Put(4, 7, "used");
  Put(8, 2, "used");
  s->curCol = 3, s->curRow = 5;
  s->selEndCol = 6, s->selEndRow = 9;
  using C = SheetCommand;
  struct Case {
    Key key;
    bool shift, ctrl;
    C command;
    uint32_t col, row;
    bool extend;
  } cases[] = {
      {Key::kHome, false, false, C::kMove, 1, 5, false},
      {Key::kHome, true, false, C::kMove, 1, 9, true},  // the other corner's row
      {Key::kEnd, false, false, C::kMove, 9, 5, false},
      {Key::kHome, false, true, C::kMove, 1, 1, false},
      {Key::kEnd, false, true, C::kMove, 8, 7, false},  // the used cells' corner
      {Key::kEnd, true, true, C::kMove, 8, 7, true},
      {Key::kTab, false, false, C::kMove, 4, 5, false},
      {Key::kTab, true, false, C::kMove, 2, 5, false},
      {Key::kEnter, false, false, C::kMove, 3, 6, false},
      {Key::kEnter, true, false, C::kMove, 3, 4, false},
      {Key::kRight, false, false, C::kArrow, 0, 0, false},
      {Key::kDown, false, true, C::kMove, 3, 19, false},  // no text below: the edge
      {Key::kA, false, true, C::kSelectAll, 0, 0, false},
      {Key::kA, false, false, C::kNone, 0, 0, false},
      {Key::kC, false, true, C::kCopy, 0, 0, false},
      {Key::kInsert, false, true, C::kCopy, 0, 0, false},
      {Key::kX, false, true, C::kCut, 0, 0, false},
      {Key::kDelete, true, false, C::kCut, 0, 0, false},
      {Key::kV, false, true, C::kPaste, 0, 0, false},
      {Key::kInsert, true, false, C::kPaste, 0, 0, false},
      {Key::kDelete, false, false, C::kClear, 0, 0, false},
      {Key::kZ, false, true, C::kUndo, 0, 0, false},
      {Key::kY, false, true, C::kRedo, 0, 0, false},
      {Key::kZ, true, true, C::kRedo, 0, 0, false},
      {Key::kOther, false, true, C::kNone, 0, 0, false},
  };
  for (const Case& c : cases) {
    const SheetAction a = SheetKeyAction(*s, Chord{c.key, c.shift, c.ctrl});
    const int i = static_cast<int>(&c - cases);
    EXPECT_EQ(a.command, c.command) << i;
    if (c.command != C::kMove) continue;
    EXPECT_EQ(a.col, c.col) << i;
    EXPECT_EQ(a.row, c.row) << i;
    EXPECT_EQ(a.extend, c.extend) << i;
  }
  s->curCol = 9;
  EXPECT_EQ(SheetKeyAction(*s, Chord{Key::kTab, false, false}).col, 9u) << "Tab does not wrap";
  ASSERT_EQ(SetText(*s, 4, 7, ""), true);
  ASSERT_EQ(SetText(*s, 8, 2, ""), true);
  EXPECT_EQ(UsedCorner(*s).col, 1u) << "nothing used: (1, 1)";
  EXPECT_EQ(UsedCorner(*s).row, 1u);
}

TEST_F(Laid, APageMovesTheCellAndTheViewByTheRowsShown) {
  Lay(5, 100);  // rows 20 high below a 20-pixel title row in 300: 14 whole
  EXPECT_EQ(RowsShown(*s), 14u);
  const PageMove down = PageTarget(*s, 3, +1, 14);
  EXPECT_EQ(down.row, 17u);
  EXPECT_EQ(down.first, 15u);
  s->firstRow = 90;
  const PageMove end = PageTarget(*s, 95, +1, 14);
  EXPECT_EQ(end.row, 99u) << "both kept inside the grid";
  EXPECT_EQ(end.first, 99u);
  EXPECT_EQ(PageTarget(*s, 2, -1, 14).row, 1u);
}

}  // namespace
}  // namespace latticor
