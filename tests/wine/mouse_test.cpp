// Presses, releases and double clicks, sent to the grid as messages.
#include <gtest/gtest.h>
#include <windows.h>

#include "harness.h"

namespace {

using harness::Ask;
using harness::Describe;
using harness::Note;
using harness::Posted;
using harness::Sent;

struct MouseTest : ::testing::Test {
  harness::TestParent parent;
  HWND grid = nullptr;
  void SetUp() override {
    grid = parent.CreateGrid(7, 0, 0, 400, 300);
    harness::SizeClient(grid, 400, 300);
    UpdateWindow(grid);
    SetFocus(grid);
    parent.Clear();
  }
  void TearDown() override { DestroyWindow(grid); }
  void Press(int x, int y) {
    Ask(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELONG(x, y));
    Ask(grid, WM_LBUTTONUP, 0, MAKELONG(x, y));
    harness::Pump();
  }
  // The anchor and the end the grid reports, as "col,row-col,row".
  std::string Selection() { return harness::SelectionOf(grid); }
  std::vector<Note> Cells() {
    std::vector<Note> some;
    for (const Note& n : parent.notes) {
      if (n.msg == GN_CELLLEAVING || n.msg == GN_CELLENTERED) some.push_back(n);
    }
    return some;
  }
};

TEST_F(MouseTest, ACellPressAnnouncesTheMoveBeforeThePostedPress) {
  std::string during;
  parent.onNote = [&](const Note& n) -> LRESULT {
    if (n.msg == GN_CELLLEAVING || n.msg == GN_CELLENTERED) during += Selection() + ";";
    return 0;
  };
  Press(125, 50);  // cell (2, 2)
  EXPECT_EQ(during, "1,1-1,1;2,2-2,2;") << "old cell while leaving, new one when entered";
  const std::vector<Note> expected = {
      Sent(GN_CELLLEAVING, 7, 0),
      Sent(GN_CELLENTERED, 7, 0),
      Posted(GN_LBUTTONDOWN, MAKELONG(MK_LBUTTON, 7), MAKELONG(125, 50)),
      Posted(GN_LBUTTONUP, MAKELONG(0, 7), MAKELONG(125, 50)),
  };
  EXPECT_EQ(parent.WithoutMoves(), expected) << Describe(parent.notes);
  EXPECT_EQ(Selection(), "2,2-2,2");
}

TEST_F(MouseTest, TheBoundaryPixelBelongsToTheLeftColumnAndTheUpperRow) {
  Press(100, 40);
  EXPECT_EQ(Selection(), "1,1-1,1");
  EXPECT_TRUE(Cells().empty());
  Press(101, 41);
  EXPECT_EQ(Selection(), "2,2-2,2");
}

TEST_F(MouseTest, PressingTheAnchorAgainCollapsesTheBlockSilently) {
  Ask(grid, GM_SETSELENDCOL, 3);
  Ask(grid, GM_SETSELENDROW, 3);
  parent.Clear();
  Press(75, 30);
  EXPECT_EQ(Selection(), "1,1-1,1");
  EXPECT_TRUE(Cells().empty()) << Describe(parent.notes);
}

TEST_F(MouseTest, AColumnTitlePressSelectsTheWholeColumn) {
  Press(125, 50);
  parent.Clear();
  Press(175, 10);  // the title of column 3
  EXPECT_EQ(Selection(), "3,1-3,3");
  EXPECT_EQ(Cells(), (std::vector<Note>{Sent(GN_CELLLEAVING, 7, 0), Sent(GN_CELLENTERED, 7, 0)}));
  parent.Clear();
  Press(175, 10);
  EXPECT_TRUE(Cells().empty()) << "a second press on the same title moves nothing";
  Press(25, 50);  // the title of row 2
  EXPECT_EQ(Selection(), "1,2-4,2");
}

TEST_F(MouseTest, TheCornerSelectsEverything) {
  Press(25, 10);
  EXPECT_EQ(Selection(), "1,1-4,3");
  EXPECT_TRUE(Cells().empty()) << "the anchor was already at (1, 1)";
  Press(125, 50);
  parent.Clear();
  Press(25, 10);
  EXPECT_EQ(Cells().size(), 2u);
}

TEST_F(MouseTest, APressOnTheBackgroundSelectsNothingButIsReported) {
  Press(300, 200);
  EXPECT_EQ(Selection(), "1,1-1,1");
  const std::vector<Note> expected = {
      Posted(GN_LBUTTONDOWN, MAKELONG(MK_LBUTTON, 7), MAKELONG(300, 200)),
      Posted(GN_LBUTTONUP, MAKELONG(0, 7), MAKELONG(300, 200)),
  };
  EXPECT_EQ(parent.WithoutMoves(), expected) << Describe(parent.notes);
}

TEST_F(MouseTest, SelectionOffStillTakesFocusAndReportsButSelectsNothing) {
  Ask(grid, GM_ENABLESELECT, 0);
  SetFocus(parent.hwnd());
  parent.Clear();
  Press(125, 50);
  EXPECT_EQ(GetFocus(), grid);
  EXPECT_EQ(Selection(), "1,1-1,1");
  EXPECT_TRUE(Cells().empty());
  EXPECT_EQ(parent.Only(GN_LBUTTONDOWN).size(), 1u);
}

TEST_F(MouseTest, SelectEnabledTwoLetsCellsAndTheCornerSelectButNotTheTitles) {
  Ask(grid, GM_ENABLESELECT, 2);
  Press(125, 50);
  EXPECT_EQ(Selection(), "2,2-2,2");
  Press(175, 10);
  EXPECT_EQ(Selection(), "2,2-2,2");
  Press(25, 30);
  EXPECT_EQ(Selection(), "2,2-2,2");
  Press(25, 10);
  EXPECT_EQ(Selection(), "1,1-4,3");
}

TEST_F(MouseTest, DoubleClicksCountOnlyOnTheCells) {
  EXPECT_EQ(Ask(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELONG(125, 50)), TRUE);
  EXPECT_EQ(Ask(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELONG(125, 10)), 0);
  EXPECT_EQ(Ask(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELONG(10, 10)), 0);
  EXPECT_EQ(Ask(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELONG(10, 50)), 0);
  harness::Pump();
  EXPECT_EQ(parent.Only(GN_DBLCLK), (std::vector<Note>{Posted(GN_DBLCLK, MAKELONG(MK_LBUTTON, 7), MAKELONG(125, 50))}));
  EXPECT_EQ(Selection(), "1,1-1,1") << "a double click changes nothing";
}

TEST_F(MouseTest, TheHighlightFollowsThePress) {
  Press(175, 70);  // cell (3, 3): selRect (148, 58, 201, 81) clipped to (148, 58, 201, 80)
  harness::Capture shot(grid);
  const COLORREF line = GetSysColor(COLOR_3DDKSHADOW);
  EXPECT_EQ(shot.At(148, 65), harness::Inverted(RGB(255, 255, 255)));
  EXPECT_EQ(shot.At(149, 65), harness::Inverted(line));
  EXPECT_EQ(shot.At(170, 70), RGB(255, 255, 255));
  EXPECT_EQ(shot.At(75, 30), RGB(255, 255, 255)) << "the old anchor's frame is gone";
  EXPECT_EQ(shot.At(50, 30), RGB(255, 255, 255));
}

TEST_F(MouseTest, ADragCannotOutliveTheGridItsParentDestroys) {
  parent.onNote = [&](const Note& n) -> LRESULT {
    if (n.msg == GN_CELLLEAVING) DestroyWindow(grid);
    return 0;
  };
  Ask(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELONG(125, 50));
  EXPECT_FALSE(IsWindow(grid));
  grid = parent.CreateGrid();
}

}  // namespace
