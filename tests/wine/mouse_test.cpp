// Presses, releases and double clicks, sent to the grid as messages.
#include <gtest/gtest.h>
#include <windows.h>

#include "grid_fixture.h"

namespace {

using harness::Ask;
using harness::Describe;
using harness::Note;
using harness::Posted;
using harness::Sent;

struct MouseTest : harness::GridFixture {
  void SetUp() override { MakeGrid(harness::GridSetup().ExactClient().Focused()); }
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

// A press whose release never reaches the grid ends as its release would
// have ended it — auto-scrolling stopped, a resize ended with its repaint,
// GN_LBUTTONUP posted, the capture let go — as soon as the grid learns that
// the button is up or that the capture has gone elsewhere.
TEST_F(MouseTest, APressWhoseReleaseIsLostEndsAsTheReleaseWould) {
  struct Loss {
    const char* name;
    void (*lose)(HWND grid, HWND parent);
  };
  const Loss losses[] = {
      {"a move with the button up", [](HWND g, HWND) { Ask(g, WM_MOUSEMOVE, 0, MAKELPARAM(380, 20)); }},
      {"a timer tick with the button up", [](HWND g, HWND) { Ask(g, WM_TIMER, 1, 0); }},
      {"another window takes the capture", [](HWND, HWND p) { SetCapture(p); }},
      {"WM_CANCELMODE", [](HWND g, HWND) { Ask(g, WM_CANCELMODE); }},
  };
  // The grid reads the pointer itself: it is put where each move says.
  const auto move = [this](UINT keys, int x, int y) {
    POINT p{x, y};
    ClientToScreen(grid, &p);
    SetCursorPos(p.x, p.y);
    Ask(grid, WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
  };
  for (const bool resize : {false, true}) {
    for (const Loss& loss : losses) {
      const std::string what = std::string(resize ? "a column resize" : "a drag below the cells") + ", " + loss.name;
      DestroyWindow(grid);
      grid = parent.CreateGrid(7, 0, 0, 400, 300);
      harness::SizeClient(grid, 400, 300);
      Ask(grid, GM_SETROWCOUNT, 30);
      UpdateWindow(grid);
      SetFocus(grid);
      if (resize) {
        move(0, 99, 10);
        move(0, 100, 10);  // arms the edge right of column 1
        Ask(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 10));
        move(MK_LBUTTON, 140, 10);
        ASSERT_EQ(Ask(grid, GM_GETCOLWIDTH, 1), 90) << what;
      } else {
        Ask(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(75, 30));
        move(MK_LBUTTON, 75, 340);  // below the grid: auto-scrolling is asked for
      }
      ASSERT_EQ(GetCapture(), grid) << what;
      // Nothing queued is delivered before the loss: the pointer moves the
      // system queued, with the real button up, would end the press first.
      UpdateWindow(grid);
      parent.notes.clear();
      loss.lose(grid, parent.hwnd());
      harness::Pump();
      const std::vector<Note> ups = parent.Only(GN_LBUTTONUP);
      ASSERT_EQ(ups.size(), 1u) << what << "\n" << Describe(parent.notes);
      EXPECT_EQ(ups[0].wParam, MAKEWPARAM(0, 7)) << what;
      if (loss.lose == losses[0].lose) {
        EXPECT_EQ(ups[0].lParam, MAKELPARAM(380, 20)) << what;
      }
      EXPECT_EQ(GetCapture(), loss.lose == losses[2].lose ? parent.hwnd() : nullptr) << what;
      EXPECT_EQ(parent.Only(GN_PAINT).size(), resize ? 1u : 0u) << what << ": the resize's repaint";
      // Nothing of the press goes on: no scrolling, no dragging.
      const std::string selection = Selection();
      const LRESULT first = Ask(grid, GM_GETFIRSTROW);
      harness::PumpFor(250);
      move(MK_LBUTTON, 200, 120);
      EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), first) << what;
      EXPECT_EQ(Selection(), selection) << what;
      EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 1), resize ? 90 : 50) << what;
      ReleaseCapture();
      harness::Pump();
    }
  }
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
