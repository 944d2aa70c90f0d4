// The grid most Windows tests start from: a child of a recording parent,
// given its counts, painted once, perhaps focused, with nothing recorded.
#pragma once

#include <gtest/gtest.h>

#include "harness.h"

namespace harness {

// How a fixture's grid starts. By default: identifier 7, a 400 x 300
// window at (0, 0) of the parent, shown, the grid's own counts and
// colours, painted once, then the parent cleared (Clear).
struct GridSetup {
  UINT id = 7;
  int x = 0, y = 0, width = 400, height = 300;
  bool exactClient = false;  // the client area, not the window, is width x height
  bool shown = true;
  UINT columns = 0, rows = 0;        // 0 keeps the grid's count
  COLORREF gridColor = CLR_INVALID;  // CLR_INVALID keeps the grid's
  bool paint = true;                 // UpdateWindow once set up
  bool focus = false;
  bool clear = true;

  GridSetup& Id(UINT v) { id = v; return *this; }
  GridSetup& At(int left, int top) { x = left, y = top; return *this; }
  GridSetup& Size(int w, int h) { width = w, height = h; return *this; }
  GridSetup& ExactClient() { exactClient = true; return *this; }
  // Never shown, so nothing paints it.
  GridSetup& Hidden() { shown = false, paint = false; return *this; }
  GridSetup& Cells(UINT cols, UINT rowCount) { columns = cols, rows = rowCount; return *this; }
  GridSetup& GridColor(COLORREF c) { gridColor = c; return *this; }
  GridSetup& Unpainted() { paint = false; return *this; }
  GridSetup& Focused() { focus = true; return *this; }
  // The fixture delivers and forgets what was recorded itself, if at all.
  GridSetup& KeepNotes() { clear = false; return *this; }
};

// `parent` and its `grid`, made by MakeGrid in the fixture's SetUp and
// destroyed after each test. `Base` is the gtest fixture to derive from
// (TestWithParam for parameterised tests).
template <typename Base = ::testing::Test>
struct GridFixtureOf : Base {
  TestParent parent;
  HWND grid = nullptr;

  // In this order: creates the grid, sizes its client area, sets the
  // columns, the rows and the grid colour, paints it, gives it the focus
  // and clears the parent; each step as `setup` asks.
  void MakeGrid(const GridSetup& setup) {
    grid = parent.CreateGrid(setup.id, setup.x, setup.y, setup.width, setup.height, setup.shown);
    ASSERT_NE(grid, nullptr);
    if (setup.exactClient) SizeClient(grid, setup.width, setup.height);
    if (setup.columns) Ask(grid, GM_SETCOLCOUNT, setup.columns);
    if (setup.rows) Ask(grid, GM_SETROWCOUNT, setup.rows);
    if (setup.gridColor != CLR_INVALID) Ask(grid, GM_SETGRIDCOLOR, setup.gridColor);
    if (setup.paint) UpdateWindow(grid);
    if (setup.focus) SetFocus(grid);
    if (setup.clear) parent.Clear();
  }
  void TearDown() override {
    if (IsWindow(grid)) DestroyWindow(grid);
  }
};
using GridFixture = GridFixtureOf<>;

}  // namespace harness
