// Scrolling: every scroll code, the wheel, GM_SETFIRSTCOL/ROW, children
// that move with the cells and the background below the last row.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "grid_fixture.h"

namespace {

using harness::Ask;
using harness::Describe;
using harness::Note;
using harness::Sent;

// 30 columns and 100 rows in a client area of 400 x 300: 14 rows and 7
// columns below and right of the titles.
struct ScrollTest : harness::GridFixture {
  void SetUp() override { MakeGrid(harness::GridSetup().ExactClient().Cells(30, 100)); }
  LRESULT V(WORD code, WORD position = 0) { return Ask(grid, WM_VSCROLL, MAKELONG(code, position), 0); }
  LRESULT H(WORD code, WORD position = 0) { return Ask(grid, WM_HSCROLL, MAKELONG(code, position), 0); }
  int BarPos(int bar) { return GetScrollPos(grid, bar); }
};

TEST_F(ScrollTest, EveryVerticalCodeMovesTheOriginAndTheThumb) {
  struct Step {
    WORD code, position;
    LRESULT first;
  };
  const Step steps[] = {
      {SB_LINEDOWN, 0, 2}, {SB_LINEUP, 0, 1},   {SB_LINEUP, 0, 1},       {SB_PAGEDOWN, 0, 15},
      {SB_THUMBPOSITION, 20, 20}, {SB_PAGEUP, 0, 7}, {SB_THUMBTRACK, 60, 60}, {SB_ENDSCROLL, 0, 60},
      {SB_TOP, 0, 60},     {SB_THUMBPOSITION, 99, 99}, {SB_LINEDOWN, 0, 99},
  };
  for (const Step& step : steps) {
    parent.Clear();
    V(step.code, step.position);
    EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), step.first) << "code " << step.code;
    EXPECT_EQ(BarPos(SB_VERT), step.first) << "code " << step.code;
    EXPECT_EQ(parent.Only(GN_SCROLLED), std::vector<Note>{Sent(GN_SCROLLED, 7, 1)})
        << "code " << step.code << " " << Describe(parent.notes);
  }
}

TEST_F(ScrollTest, HorizontalCodesMirrorTheVerticalOnes) {
  parent.Clear();
  H(SB_LINERIGHT);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTCOL), 2);
  EXPECT_EQ(BarPos(SB_HORZ), 2);
  EXPECT_EQ(parent.Only(GN_SCROLLED), std::vector<Note>{Sent(GN_SCROLLED, 7, 2)});
  H(SB_PAGERIGHT);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTCOL), 9);  // column 9's left edge was the client's right edge
  H(SB_PAGELEFT);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTCOL), 3);  // back by the 350 pixels right of the titles
  H(SB_THUMBTRACK, 29);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTCOL), 29);
  H(SB_LINERIGHT);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTCOL), 29);
}

TEST_F(ScrollTest, TheLayoutFollowsTheOrigin) {
  V(SB_THUMBPOSITION, 3);
  // Row 5 now stands third: y 60..79.
  EXPECT_EQ(Ask(grid, GM_GETLASTROW), 17);
  GridCell cell;
  RECT r;
  Ask(grid, GM_SETCURROW, 5);
  UpdateWindow(grid);
  Ask(grid, GM_GETCURCELL, reinterpret_cast<WPARAM>(&cell), reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.top, 60);
}

TEST_F(ScrollTest, ChildWindowsOfTheGridMoveWithTheCells) {
  HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 100, 120, 50, 20, grid, nullptr,
                               nullptr, nullptr);
  V(SB_LINEDOWN);
  V(SB_LINEDOWN);
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, grid, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.top, 80) << "two rows of 20 up";
  EXPECT_EQ(r.left, 100);
  H(SB_LINERIGHT);
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, grid, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 50) << "one column of 50 left";
}

TEST_F(ScrollTest, TheSpaceBelowTheLastRowIsBackgroundAfterAScroll) {
  constexpr COLORREF kGreen = RGB(0, 128, 0);
  Ask(grid, GM_SETBKCOLOR, kGreen);
  UpdateWindow(grid);
  V(SB_THUMBPOSITION, 95);  // rows 95..99 fill 100 pixels below the titles
  harness::Capture shot(grid);
  EXPECT_EQ(shot.At(100, 150), kGreen);
  EXPECT_EQ(shot.At(100, 299), kGreen);
  EXPECT_EQ(shot.At(75, 110), RGB(255, 255, 255)) << "row 99 is still a cell";
}

// A step moves the pixels already on screen and paints only what it
// uncovers; what shows then is what a whole repaint shows: texts in their
// colours and layouts, titles, the highlight of a block, the background
// after the last row.
TEST_F(ScrollTest, AStepShowsWhatAWholeRepaintShows) {
  HFONT font = CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  Ask(grid, WM_SETFONT, reinterpret_cast<WPARAM>(font));
  Ask(grid, GM_SETBKCOLOR, RGB(0, 128, 0));
  Ask(grid, GM_SETROWHEIGHT, 6, 31);
  Ask(grid, GM_SETCOLWIDTH, 4, 73);
  const UINT formats[] = {DT_SINGLELINE | DT_CENTER | DT_VCENTER, DT_RIGHT, DT_WORDBREAK | DT_EDITCONTROL};
  char text[32];
  for (UINT r = 0; r < 100; ++r) {
    for (UINT c = 0; c < 12; ++c) {
      std::snprintf(text, sizeof text, r % 5 ? "%u,%u" : "%u and %u wrap", c, r);
      harness::SetCellText(grid, c, r, text);
      Ask(grid, GM_SETCELLFORMAT, GRID_CELL(c, r), formats[(c + r) % 3]);
      Ask(grid, GM_SETCELLCOLOR, GRID_CELL(c, r), RGB(40 * (c % 4), 0, 30 * (r % 7)));
    }
  }
  Ask(grid, GM_SETCURCOL, 2);
  Ask(grid, GM_SETCURROW, 3);
  Ask(grid, GM_SETSELENDCOL, 4);
  Ask(grid, GM_SETSELENDROW, 6);
  UpdateWindow(grid);
  struct Step {
    const char* what;
    UINT msg;
    WPARAM wParam;
  };
  const Step steps[] = {
      {"line down", WM_VSCROLL, SB_LINEDOWN},        {"line down again", WM_VSCROLL, SB_LINEDOWN},
      {"line up", WM_VSCROLL, SB_LINEUP},            {"line right", WM_HSCROLL, SB_LINERIGHT},
      {"line left", WM_HSCROLL, SB_LINELEFT},        {"first row by one", GM_SETFIRSTROW, 3},
      {"first column", GM_SETFIRSTCOL, 2},           {"wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120))},
      {"page down", WM_VSCROLL, SB_PAGEDOWN},        {"near the end", WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 95)},
      {"line down at the end", WM_VSCROLL, SB_LINEDOWN}, {"line up at the end", WM_VSCROLL, SB_LINEUP},
  };
  for (const Step& step : steps) {
    Ask(grid, step.msg, step.wParam);
    const harness::Capture stepped(grid);
    InvalidateRect(grid, nullptr, FALSE);
    EXPECT_EQ(stepped.Differences(harness::Capture(grid)), 0) << step.what;
  }
  DestroyWindow(grid);
  grid = nullptr;
  DeleteObject(font);
}

TEST_F(ScrollTest, TheWheelScrollsThreeRowsANotch) {
  struct Turn {
    LRESULT from;
    short distance;
    LRESULT to;
  };
  const Turn turns[] = {{1, -120, 4}, {5, 240, 1}, {97, -360, 99}, {50, 60, 50}, {50, -60, 50}};
  for (const Turn& t : turns) {
    Ask(grid, GM_SETFIRSTROW, t.from);
    parent.Clear();
    Ask(grid, WM_MOUSEWHEEL, MAKELONG(0, static_cast<WORD>(t.distance)), 0);
    EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), t.to) << t.from << " " << t.distance;
    EXPECT_EQ(parent.Only(GN_SCROLLED).size(), 1u) << "sent even when nothing moves";
  }
}

TEST_F(ScrollTest, SetFirstColAndRowAnswerWithTheParentsAnswer) {
  parent.onNote = [](const Note& n) -> LRESULT { return n.msg == GN_SCROLLED ? 0x77 : 0; };
  EXPECT_EQ(Ask(grid, GM_SETFIRSTCOL, 12), 0x77);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTCOL), 12);
  EXPECT_EQ(BarPos(SB_HORZ), 12);
  EXPECT_EQ(Ask(grid, GM_SETFIRSTROW, 40), 0x77);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 40);
  EXPECT_EQ(Ask(grid, GM_SETFIRSTROW, 100), 0) << "beyond the last row: ignored";
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 40);
}

TEST_F(ScrollTest, AScrollOfAGridWithoutTheFocusReturnsSoon) {
  SetFocus(parent.hwnd());
  harness::Pump();
  const DWORD start = GetTickCount();
  for (int i = 0; i < 5; ++i) Ask(grid, GM_SETFIRSTROW, 10 + i);
  EXPECT_LT(GetTickCount() - start, 1500u) << "each wait ends after one timer period at most";
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 14);
}

}  // namespace
