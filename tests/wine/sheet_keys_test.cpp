// The keys of a spreadsheet, pressed as a person presses them, and the
// user's changes they make and take back.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "grid_fixture.h"

namespace {

using harness::Ask;
using harness::CellText;
using harness::Note;
namespace input = harness::input;

using input::Chord;

// 10 columns and 40 rows in 400 x 300 (14 data rows whole), with the keys
// of a sheet. Row 2 holds texts in columns 4, 5, 6 and 8; (4, 7) too.
struct SheetKeys : harness::GridFixture {
  void SetUp() override {
    MakeGrid(harness::GridSetup().ExactClient().Cells(10, 40).Focused());
    Ask(grid, GM_SETEXSTYLE, 0, GS_EX_SHEETKEYS);
    for (UINT c : {4u, 5u, 6u, 8u}) harness::SetCellText(grid, c, 2, "x");
    harness::SetCellText(grid, 4, 7, "y");
    UpdateWindow(grid);
    parent.Clear();
  }
  void Start(UINT col, UINT row, UINT endCol, UINT endRow) {
    Ask(grid, GM_SETFIRSTROW, 1);
    Ask(grid, GM_SETCURCOL, col);
    Ask(grid, GM_SETCURROW, row);
    Ask(grid, GM_SETSELENDCOL, endCol);
    Ask(grid, GM_SETSELENDROW, endRow);
    UpdateWindow(grid);
    parent.Clear();
  }
  std::string Moves() const {
    std::string moves;
    for (const Note& n : parent.notes) {
      if (n.msg == GN_CELLLEAVING) moves += "leave ";
      if (n.msg == GN_CELLENTERED) moves += "enter ";
    }
    return moves;
  }
};

TEST_F(SheetKeys, EachKeyTakesTheCurrentCellOrTheOtherCornerWhereItSays) {
  struct Case {
    const char* what;
    UINT col, row, endCol, endRow;
    std::function<void()> keys;
    const char* selection;
    const char* moves;
    UINT firstRow;
  } cases[] = {
      {"Home", 5, 3, 5, 3, [] { input::Tap(VK_HOME); }, "1,3-1,3", "leave enter ", 1},
      {"End", 5, 3, 5, 3, [] { input::Tap(VK_END); }, "9,3-9,3", "leave enter ", 1},
      {"Ctrl+Home", 5, 3, 6, 4, [] { Chord({VK_CONTROL}, VK_HOME); }, "1,1-1,1", "leave enter ", 1},
      {"Ctrl+End", 1, 1, 1, 1, [] { Chord({VK_CONTROL}, VK_END); }, "8,7-8,7", "leave enter ", 1},
      {"Shift+End", 5, 3, 5, 3, [] { Chord({VK_SHIFT}, VK_END); }, "5,3-9,3", "", 1},
      {"Ctrl+Right onto text", 1, 2, 1, 2, [] { Chord({VK_CONTROL}, VK_RIGHT); }, "4,2-4,2", "leave enter ", 1},
      {"Ctrl+Right to the run's end", 4, 2, 4, 2, [] { Chord({VK_CONTROL}, VK_RIGHT); }, "6,2-6,2",
       "leave enter ", 1},
      {"Ctrl+Right to the edge", 8, 2, 8, 2, [] { Chord({VK_CONTROL}, VK_RIGHT); }, "9,2-9,2",
       "leave enter ", 1},
      {"Ctrl+Shift+Down", 4, 2, 4, 2, [] { Chord({VK_CONTROL, VK_SHIFT}, VK_DOWN); }, "4,2-4,7", "", 1},
      {"Tab at the last column", 9, 3, 9, 3, [] { input::Tap(VK_TAB); }, "9,3-9,3", "", 1},
      {"Enter", 5, 3, 5, 3, [] { input::Tap(VK_RETURN); }, "5,4-5,4", "leave enter ", 1},
      {"Shift+Tab", 5, 3, 5, 3, [] { Chord({VK_SHIFT}, VK_TAB); }, "4,3-4,3", "leave enter ", 1},
      {"Ctrl+A", 5, 3, 5, 3, [] { Chord({VK_CONTROL}, 'A'); }, "1,1-9,39", "leave enter ", 1},
      {"an arrow collapses", 5, 3, 6, 5, [] { input::Tap(VK_DOWN); }, "5,4-5,4", "leave enter ", 1},
      {"Shift and an arrow extends", 5, 3, 5, 3, [] { Chord({VK_SHIFT}, VK_RIGHT); }, "5,3-6,3", "", 1},
      {"Page Down keeps the cell's place", 2, 3, 2, 3, [] { input::Tap(VK_NEXT); }, "2,17-2,17", "leave enter ",
       15},
      {"Shift+Page Down", 2, 3, 2, 3, [] { Chord({VK_SHIFT}, VK_NEXT); }, "2,3-2,17", "", 15},
  };
  for (const Case& c : cases) {
    Start(c.col, c.row, c.endCol, c.endRow);
    c.keys();
    input::Settle(30);
    EXPECT_EQ(harness::SelectionOf(grid), c.selection) << c.what;
    EXPECT_EQ(Moves(), c.moves) << c.what;
    EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), LRESULT(c.firstRow)) << c.what;
  }
}

// Delete, cut and paste by keys are the user's changes: told, undone and
// redone with their blocks selected; a change by message forgets them all.
TEST_F(SheetKeys, DeleteCutAndPasteAreUndoneAndRedoneAndAMessageForgetsThem) {
  Start(4, 2, 6, 2);
  input::Tap(VK_DELETE);
  EXPECT_EQ(CellText(grid, 5, 2), "");
  Start(4, 7, 4, 7);
  Chord({VK_CONTROL}, 'X');
  EXPECT_EQ(CellText(grid, 4, 7), "");
  Start(1, 1, 1, 1);
  Chord({VK_CONTROL}, 'V');
  EXPECT_EQ(CellText(grid, 1, 1), "y") << "the cut text pasted back";
  EXPECT_EQ(Ask(grid, GM_CANUNDO), 1);
  std::vector<std::string> told;
  for (const Note& n : parent.Only(GN_CELLSCHANGED)) told.push_back(n.what);
  EXPECT_EQ(told, (std::vector<std::string>{"1-1,1-1"}));

  Chord({VK_CONTROL}, 'Z');
  Chord({VK_CONTROL}, 'Z');
  EXPECT_EQ(CellText(grid, 1, 1), "");
  EXPECT_EQ(CellText(grid, 4, 7), "y");
  Chord({VK_CONTROL}, 'Z');
  EXPECT_EQ(CellText(grid, 5, 2), "x");
  EXPECT_EQ(harness::SelectionOf(grid), "4,2-6,2") << "the block it restored";
  EXPECT_EQ(Ask(grid, GM_UNDO), 0) << "nothing more to undo";
  Chord({VK_CONTROL}, 'Y');
  EXPECT_EQ(CellText(grid, 5, 2), "");
  Chord({VK_CONTROL, VK_SHIFT}, 'Z');
  EXPECT_EQ(CellText(grid, 4, 7), "");
  EXPECT_EQ(Ask(grid, GM_CANUNDO), 3);

  for (const auto& message : std::vector<std::function<void()>>{
           [&] { harness::SetCellText(grid, 9, 9, "program"); },
           [&] { Ask(grid, GM_PASTE, reinterpret_cast<WPARAM>("p")); }, [&] { Ask(grid, GM_SETROWCOUNT, 30); },
           [&] { Ask(grid, GM_INSERTROW, 3); }, [&] { Ask(grid, GM_DELETEROW, 3); }}) {
    Start(9, 3, 9, 3);
    harness::SetCellText(grid, 9, 3, "z");
    input::Tap(VK_DELETE);  // a change to forget
    ASSERT_NE(Ask(grid, GM_CANUNDO), 0);
    message();
    EXPECT_EQ(Ask(grid, GM_CANUNDO), 0);
  }
}

}  // namespace
