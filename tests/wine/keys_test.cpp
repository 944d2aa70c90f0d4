// Keys sent to the grid as messages: navigation, its notifications and
// their order.
#include <gtest/gtest.h>
#include <windows.h>

#include "grid_fixture.h"

namespace {

using harness::Ask;
using harness::Describe;
using harness::Note;
using harness::Posted;
using harness::Sent;

void HoldShift(bool held) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = held ? 0x80 : 0;
  SetKeyboardState(keys);
}

// 10 columns and 40 rows in 400 x 300: rows 1..15 and columns 1..8 have
// their leading edges inside.
struct KeysTest : harness::GridFixture {
  void SetUp() override {
    HoldShift(false);
    MakeGrid(harness::GridSetup().Id(0x10007).ExactClient().Cells(10, 40).Focused());
  }
  void TearDown() override {
    HoldShift(false);
    harness::GridFixture::TearDown();
  }
  void Key(WPARAM vk, bool shift = false) {
    HoldShift(shift);
    Ask(grid, WM_KEYDOWN, vk, 1);
    Ask(grid, WM_KEYUP, vk, 1);
    HoldShift(false);
    harness::Pump();
  }
  std::string Selection() { return harness::SelectionOf(grid); }
  // What the keys caused, without the paints and moves around them.
  std::vector<Note> Caused() {
    std::vector<Note> some;
    for (const Note& n : parent.notes) {
      if (n.msg != GN_PAINT && n.msg != GN_MOUSEMOVE) some.push_back(n);
    }
    return some;
  }
  void Press(int x, int y) {
    Ask(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELONG(x, y));
    Ask(grid, WM_LBUTTONUP, 0, MAKELONG(x, y));
    harness::Pump();
    parent.Clear();
  }
};

TEST_F(KeysTest, AnArrowLeavesScrollsIfNeededEntersThenReports) {
  Key(VK_DOWN);
  EXPECT_EQ(Selection(), "1,2-1,2");
  std::vector<Note> expected = {
      Sent(GN_CELLLEAVING, 0x10007, 0),
      Sent(GN_CELLENTERED, 0x10007, 0),
      Posted(GN_KEYDOWN, VK_DOWN, 0x10007),
      Posted(GN_KEYUP, VK_DOWN, 0x10007),
  };
  EXPECT_EQ(Caused(), expected) << Describe(parent.notes);

  Ask(grid, GM_SETCURROW, 15);  // the last visible row
  UpdateWindow(grid);
  parent.Clear();
  Key(VK_DOWN);
  EXPECT_EQ(Selection(), "1,16-1,16");
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 2);
  expected = {
      Sent(GN_CELLLEAVING, 0x10007, 0),
      Sent(GN_SCROLLED, 0x10007, 1),
      Sent(GN_CELLENTERED, 0x10007, 0),
      Posted(GN_KEYDOWN, VK_DOWN, 0x10007),
      Posted(GN_KEYUP, VK_DOWN, 0x10007),
  };
  EXPECT_EQ(Caused(), expected) << Describe(parent.notes);
}

TEST_F(KeysTest, ArrowsAtTheEdgesOnlyReport) {
  Key(VK_UP);
  Key(VK_LEFT);
  Ask(grid, GM_SETCURCOL, 9);
  Ask(grid, GM_SETCURROW, 39);
  Ask(grid, GM_SETFIRSTROW, 30);
  UpdateWindow(grid);
  parent.Clear();
  Key(VK_DOWN);
  Key(VK_RIGHT);
  EXPECT_EQ(Selection(), "9,39-9,39");
  for (const Note& n : Caused()) {
    EXPECT_TRUE(n.msg == GN_KEYDOWN || n.msg == GN_KEYUP || n.msg == GN_SCROLLED) << Describe(n);
  }
  EXPECT_TRUE(parent.Only(GN_CELLLEAVING).empty());
}

TEST_F(KeysTest, OtherKeysAreOnlyReported) {
  for (WPARAM vk : {WPARAM{'A'}, WPARAM{'7'}, WPARAM{VK_TAB}, WPARAM{VK_RETURN}, WPARAM{VK_HOME}, WPARAM{VK_END}}) {
    parent.Clear();
    Key(vk);
    const std::vector<Note> expected = {Posted(GN_KEYDOWN, vk, 0x10007), Posted(GN_KEYUP, vk, 0x10007)};
    EXPECT_EQ(Caused(), expected) << vk << "\n" << Describe(parent.notes);
  }
  EXPECT_EQ(Selection(), "1,1-1,1");
}

TEST_F(KeysTest, PageKeysScrollOnlyWhenTheyCanMove) {
  Key(VK_PRIOR);
  EXPECT_TRUE(parent.Only(GN_SCROLLED).empty());
  Key(VK_NEXT);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 15);
  EXPECT_EQ(parent.Only(GN_SCROLLED).size(), 1u);
  EXPECT_EQ(Selection(), "1,1-1,1") << "pages move neither the anchor nor the selection";
  Ask(grid, GM_SETFIRSTROW, 39);
  parent.Clear();
  Key(VK_NEXT);
  EXPECT_TRUE(parent.Only(GN_SCROLLED).empty());
  Key(VK_PRIOR, true);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 26) << "back by 280 pixels, the old first row included";
}

TEST_F(KeysTest, ShiftArrowsMoveTheEndAndMayPassTheAnchor) {
  Ask(grid, GM_SETCURROW, 3);
  UpdateWindow(grid);
  parent.Clear();
  Key(VK_DOWN, true);
  Key(VK_RIGHT, true);
  EXPECT_EQ(Selection(), "1,3-2,4");
  Key(VK_UP, true);
  Key(VK_UP, true);
  EXPECT_EQ(Selection(), "1,3-2,2") << "above the anchor now";
  EXPECT_TRUE(parent.Only(GN_CELLLEAVING).empty());
  EXPECT_TRUE(parent.Only(GN_CELLENTERED).empty());
}

TEST_F(KeysTest, ShiftDownOnTheLastVisibleRowScrollsFirst) {
  Ask(grid, GM_SETSELENDROW, 15);
  UpdateWindow(grid);
  parent.Clear();
  Key(VK_DOWN, true);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 2);
  EXPECT_EQ(Ask(grid, GM_GETSELENDROW), 16);
  // At the last row, still visible: each Shift+Down scrolls, the end stays.
  Ask(grid, GM_SETSELENDROW, 39);
  Ask(grid, GM_SETFIRSTROW, 30);
  UpdateWindow(grid);
  for (int i = 0; i < 3; ++i) Key(VK_DOWN, true);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 33);
  EXPECT_EQ(Ask(grid, GM_GETSELENDROW), 39);
}

TEST_F(KeysTest, ShiftUpOnRowOneScrollsNothingButStillReportsTheScroll) {
  parent.Clear();
  Key(VK_UP, true);
  EXPECT_EQ(Selection(), "1,1-1,1");
  EXPECT_EQ(parent.Only(GN_SCROLLED).size(), 1u);
}

TEST_F(KeysTest, WholeGridAndWholeColumnMarksLimitTheShiftArrows) {
  Press(25, 10);  // the corner
  EXPECT_EQ(Selection(), "1,1-9,39");
  Key(VK_DOWN, true);
  Key(VK_RIGHT, true);
  EXPECT_EQ(Selection(), "1,1-9,39");
  Ask(grid, GM_SETFIRSTROW, 30);
  UpdateWindow(grid);
  Key(VK_UP, true);
  EXPECT_EQ(Selection(), "1,1-9,38") << "the bottom row leaves the selection";

  Ask(grid, GM_SETFIRSTROW, 1);
  UpdateWindow(grid);
  Press(125, 10);  // the title of column 2
  EXPECT_EQ(Selection(), "2,1-2,39");
  Key(VK_RIGHT, true);
  Key(VK_DOWN, true);
  EXPECT_EQ(Selection(), "2,1-3,39");
  Key(VK_LEFT, true);
  Key(VK_LEFT, true);
  EXPECT_EQ(Selection(), "2,1-1,39");
}

TEST_F(KeysTest, AfterARowTitlePressAnArrowShowsTheWholeNextRow) {
  Press(25, 50);  // the title of row 2
  EXPECT_EQ(Selection(), "1,2-9,2");
  Key(VK_DOWN);
  EXPECT_EQ(Selection(), "1,3-9,3");
  harness::Capture shot(grid);
  const COLORREF white = RGB(255, 255, 255), inverted = harness::Inverted(white);
  EXPECT_EQ(shot.At(175, 70), inverted) << "row 3 is highlighted across";
  EXPECT_EQ(shot.At(375, 70), inverted);
  EXPECT_EQ(shot.At(175, 50), white) << "row 2 is not";
  EXPECT_EQ(shot.At(75, 70), white) << "the anchor's interior";
}

}  // namespace
