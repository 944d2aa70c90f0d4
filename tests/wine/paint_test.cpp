// Painting, checked on the pixels and on the notifications it sends.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "grid_fixture.h"
#include "text.h"

namespace {

using harness::Ask;
using harness::Capture;
using harness::Describe;
using harness::Inverted;
using harness::Note;
using harness::Sent;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

COLORREF Sys(int index) { return GetSysColor(index); }

// Covers the whole client area with a colour, behind the grid's back.
void PaintOver(HWND grid, COLORREF color) {
  HDC dc = GetDC(grid);
  HBRUSH brush = CreateSolidBrush(color);
  RECT all = harness::ClientRect(grid);
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  ReleaseDC(grid, dc);
}

// A default grid (5 x 4 cells of 50 x 20) in a client area of 400 x 300,
// its grid lines red so that they stand out.
struct PaintTest : harness::GridFixture {
  void SetUp() override { MakeGrid(harness::GridSetup().At(10, 10).ExactClient().GridColor(kRed)); }
  RECT CurCellRect() {
    GridCell cell;
    RECT r{};
    Ask(grid, GM_GETCURCELL, reinterpret_cast<WPARAM>(&cell), reinterpret_cast<LPARAM>(&r));
    return r;
  }
};

TEST_F(PaintTest, CellsAreWhiteFramedInTheGridColour) {
  Capture shot(grid);
  // Cell (3, 2): interior x 150..198, y 40..58; its lines at 149, 199, 39, 59.
  EXPECT_EQ(shot.At(170, 50), Sys(COLOR_WINDOW));
  EXPECT_EQ(shot.At(150, 40), Sys(COLOR_WINDOW));
  EXPECT_EQ(shot.At(198, 58), Sys(COLOR_WINDOW));
  EXPECT_EQ(shot.At(149, 50), kRed);
  EXPECT_EQ(shot.At(199, 50), kRed);
  EXPECT_EQ(shot.At(170, 39), kRed);
  EXPECT_EQ(shot.At(170, 59), kRed);
  // The last column's right line and the last row's bottom line.
  EXPECT_EQ(shot.At(249, 50), kRed);
  EXPECT_EQ(shot.At(170, 79), kRed);
}

TEST_F(PaintTest, TitlesAreRaisedButtons) {
  Capture shot(grid);
  // Column title 3: (150, 0, 200, 20).
  EXPECT_EQ(shot.At(170, 0), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(shot.At(150, 10), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(shot.At(170, 10), Sys(COLOR_BTNFACE));
  EXPECT_EQ(shot.At(199, 10), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(shot.At(170, 19), Sys(COLOR_3DDKSHADOW));
  // Row title 2: (0, 40, 50, 60); it covers the line left of column 1.
  EXPECT_EQ(shot.At(0, 50), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(shot.At(25, 40), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(shot.At(49, 50), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(shot.At(25, 59), Sys(COLOR_3DDKSHADOW));
  // The corner.
  EXPECT_EQ(shot.At(49, 10), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(shot.At(25, 19), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(shot.At(25, 10), Sys(COLOR_BTNFACE));
}

TEST_F(PaintTest, TheAnchorAloneShowsAsAFrameWhoseTitleSideIsOnePixel) {
  Capture shot(grid);
  // selRect (48, 18, 101, 41) clipped to (50, 20, 101, 41); focus (51, 21, 98, 38).
  EXPECT_EQ(shot.At(50, 30), Inverted(kWhite)) << "the one pixel on the title side";
  EXPECT_EQ(shot.At(49, 30), Sys(COLOR_3DDKSHADOW)) << "titles are never inverted";
  EXPECT_EQ(shot.At(51, 30), kWhite) << "the interior stays";
  EXPECT_EQ(shot.At(97, 30), kWhite);
  EXPECT_EQ(shot.At(98, 30), Inverted(kWhite)) << "the pixel inside the line";
  EXPECT_EQ(shot.At(99, 30), Inverted(kRed)) << "the grid line";
  EXPECT_EQ(shot.At(100, 30), Inverted(kWhite)) << "the pixel beyond the line";
  EXPECT_EQ(shot.At(101, 30), kWhite);
  EXPECT_EQ(shot.At(75, 37), kWhite);
  EXPECT_EQ(shot.At(75, 38), Inverted(kWhite));
  EXPECT_EQ(shot.At(75, 39), Inverted(kRed));
  EXPECT_EQ(shot.At(75, 40), Inverted(kWhite));
  EXPECT_EQ(shot.At(75, 41), kWhite);
  EXPECT_EQ(shot.At(75, 20), Inverted(kWhite));
  EXPECT_EQ(shot.At(75, 19), Sys(COLOR_3DDKSHADOW));
}

TEST_F(PaintTest, ABlockSelectionIsInvertedButForTheAnchorsInterior) {
  Ask(grid, GM_SETCURCOL, 2);
  Ask(grid, GM_SETCURROW, 2);
  Ask(grid, GM_SETSELENDCOL, 3);
  Ask(grid, GM_SETSELENDROW, 3);
  Capture shot(grid);
  // selRect (98, 38, 201, 81) clipped to (98, 38, 201, 80); focus (101, 41, 148, 58).
  EXPECT_EQ(shot.At(120, 50), kWhite);
  EXPECT_EQ(shot.At(100, 50), Inverted(kWhite));
  EXPECT_EQ(shot.At(170, 70), Inverted(kWhite));
  EXPECT_EQ(shot.At(149, 50), Inverted(kRed));
  EXPECT_EQ(shot.At(200, 70), Inverted(kWhite));
  EXPECT_EQ(shot.At(201, 70), kWhite);
  EXPECT_EQ(shot.At(97, 50), kWhite);
  EXPECT_EQ(shot.At(120, 37), kWhite);
  EXPECT_EQ(shot.At(75, 30), kWhite) << "the old anchor is no longer highlighted";
}

TEST_F(PaintTest, NothingIsInvertedWhileSelectionIsOff) {
  EXPECT_EQ(Ask(grid, GM_ENABLESELECT, 0), TRUE);
  Capture shot(grid);
  EXPECT_EQ(shot.At(50, 30), kWhite);
  EXPECT_EQ(shot.At(99, 30), kRed);
  EXPECT_EQ(shot.At(100, 30), kWhite);
}

TEST_F(PaintTest, AnErasingPaintFillsTheBandsOutsideTheCells) {
  constexpr COLORREF kGreen = RGB(0, 128, 0);
  Ask(grid, GM_SETBKCOLOR, kGreen);  // invalidates with erasing
  Capture shot(grid);
  EXPECT_EQ(shot.At(300, 100), kGreen);
  EXPECT_EQ(shot.At(100, 200), kGreen);
  EXPECT_EQ(shot.At(0, 80), kGreen);
  EXPECT_EQ(shot.At(250, 0), kGreen) << "the band right of the cells starts at the top";
  EXPECT_EQ(shot.At(399, 299), kGreen);
  EXPECT_EQ(shot.At(249, 50), kRed);
}

TEST_F(PaintTest, APaintWithoutErasingLeavesTheBandsAlone) {
  constexpr COLORREF kMagenta = RGB(255, 0, 255);
  PaintOver(grid, kMagenta);
  InvalidateRect(grid, nullptr, FALSE);
  Capture shot(grid);
  EXPECT_EQ(shot.At(300, 100), kMagenta);
  EXPECT_EQ(shot.At(170, 50), kWhite);
}

bool IsBlueInk(COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 100 && GetGValue(c) < 100; }
bool IsRedInk(COLORREF c) { return GetRValue(c) > 150 && GetBValue(c) < 100 && GetGValue(c) < 100; }

TEST_F(PaintTest, CellTextsAreDrawnInTheirColours) {
  HFONT font = CreateFontA(16, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  Ask(grid, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  harness::SetCellText(grid, 3, 1, "WWWW");
  Ask(grid, GM_SETCELLCOLOR, GRID_CELL(3, 1), RGB(0, 0, 255));
  harness::SetCellText(grid, 0, 2, "MM");
  Ask(grid, GM_SETCELLCOLOR, GRID_CELL(0, 2), RGB(255, 0, 0));
  Capture shot(grid);
  EXPECT_GT(shot.Count(RECT{150, 20, 199, 39}, IsBlueInk), 10);
  EXPECT_EQ(shot.Count(RECT{200, 20, 249, 39}, IsBlueInk), 0);
  EXPECT_GT(shot.Count(RECT{1, 41, 48, 58}, IsRedInk), 5) << "row titles draw their texts too";
  DestroyWindow(grid);
  grid = nullptr;
  DeleteObject(font);  // the grid never owned it
}

// In a process whose code page is not UTF-8 the grid draws every byte as
// DrawTextA does, in the code page of the font's character set.
TEST_F(PaintTest, EveryByteIsDrawnAsDrawTextADrawsIt) {
  ASSERT_EQ(GetACP(), 1252u) << "a process in the Western code page";
  Ask(grid, GM_ENABLESELECT, 0);
  harness::SizeClient(grid, 780, 300);
  Ask(grid, GM_SETROWCOUNT, 8);
  // Bytes 0x20 .. 0xFF, eight to a cell, in 4 columns and 7 rows.
  std::vector<POINT> cells;
  std::string texts[28];
  for (int i = 0; i < 28; ++i) {
    const UINT c = 1 + i % 4, r = 1 + i / 4;
    for (int b = 0; b < 8; ++b) texts[i] += static_cast<char>(0x20 + 8 * i + b);
    Ask(grid, GM_SETCOLWIDTH, c, 180);
    harness::SetCellText(grid, c, r, texts[i].c_str());
    Ask(grid, GM_SETCELLFORMAT, GRID_CELL(c, r), DT_SINGLELINE | DT_NOPREFIX);
    cells.push_back(POINT{static_cast<LONG>(c), static_cast<LONG>(r)});
  }
  for (const BYTE charset : {ANSI_CHARSET, GREEK_CHARSET}) {
    HFONT font = CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, charset, 0, 0, 0, 0, "Arial");
    Ask(grid, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    const harness::Comparison seen =
        harness::CompareWithRedrawn(grid, font, cells, [&](HDC dc, UINT c, UINT r, RECT* rect, UINT format) {
          DrawTextA(dc, texts[(r - 1) * 4 + c - 1].c_str(), -1, rect, format);
        });
    EXPECT_EQ(seen.differing, 0) << "charset " << int{charset};
    EXPECT_GT(seen.inked, 28 * 50) << "every cell holds text";
    // The code page without a device context, as a reader of the cells'
    // characters would ask for it: for a cell's font, or 0 for the grid's.
    latticor::GridState s{};
    s.font = font;
    const UINT expected = charset == GREEK_CHARSET ? 1253 : 1252;
    EXPECT_EQ(latticor::win32::TextCodePage(s, nullptr), expected);
    EXPECT_EQ(latticor::win32::TextCodePage(s, font), expected);
    Ask(grid, WM_SETFONT, 0, 0);
    DeleteObject(font);
  }
}

// Cells are drawn in batches — their frames filled at once, each grid line
// drawn once, each font and colour set once for the cells that share them —
// with the pixels of a rectangle and a text per cell, which is how a grid
// draws when a text may reach beyond its cell (DT_NOCLIP, here on a cell
// without a text). Fonts, colours, layouts, sizes down to one pixel, the
// titles and the highlight.
TEST_F(PaintTest, CellsDrawnInBatchesShowWhatCellByCellDrawingShows) {
  HFONT font = CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HFONT bold = CreateFontA(17, 0, 0, 0, FW_BOLD, 1, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  Ask(grid, WM_SETFONT, reinterpret_cast<WPARAM>(font));
  Ask(grid, GM_SETCOLCOUNT, 9);
  Ask(grid, GM_SETROWCOUNT, 16);
  const int widths[] = {60, 45, 1, 70, 2, 50, 38, 80, 50};
  for (UINT c = 0; c < 9; ++c) Ask(grid, GM_SETCOLWIDTH, c, widths[c]);
  for (UINT r : {3u, 7u}) Ask(grid, GM_SETROWHEIGHT, r, r == 3 ? 1 : 33);
  const UINT formats[] = {DT_SINGLELINE | DT_CENTER | DT_VCENTER, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE,
                          DT_WORDBREAK | DT_EDITCONTROL, DT_SINGLELINE | DT_END_ELLIPSIS};
  for (UINT r = 0; r < 16; ++r) {
    for (UINT c = 0; c < 9; ++c) {
      if ((c + r) % 7 == 3) continue;  // no text
      const std::string text = (r % 4 ? "" : "wide text ") + std::to_string(c) + "-" + std::to_string(r);
      harness::SetCellText(grid, c, r, text.c_str());
      Ask(grid, GM_SETCELLFORMAT, GRID_CELL(c, r), formats[(c * 3 + r) % 4]);
      if (c % 3 == 1) Ask(grid, GM_SETCELLCOLOR, GRID_CELL(c, r), RGB(0, 0, 200));
      if ((c + 2 * r) % 5 == 0) Ask(grid, GM_SETCELLFONT, GRID_CELL(c, r), reinterpret_cast<LPARAM>(bold));
    }
  }
  Ask(grid, GM_SETCURCOL, 3);
  Ask(grid, GM_SETCURROW, 2);
  Ask(grid, GM_SETSELENDCOL, 5);
  Ask(grid, GM_SETSELENDROW, 9);
  InvalidateRect(grid, nullptr, TRUE);
  const Capture batched(grid);
  Ask(grid, GM_SETCELLFORMAT, GRID_CELL(8, 2), DT_NOCLIP);
  ASSERT_EQ(harness::CellText(grid, 8, 2), "");
  InvalidateRect(grid, nullptr, TRUE);
  EXPECT_EQ(batched.Differences(Capture(grid)), 0);
  DestroyWindow(grid);
  grid = nullptr;
  DeleteObject(font);
  DeleteObject(bold);
}

TEST_F(PaintTest, DrawingLeavesTheCellsTextAsItIs) {
  // With DT_MODIFYSTRING, DrawText writes the shortened text back.
  const std::string text = "A text far too long for its cell";
  harness::SetCellText(grid, 2, 2, text.c_str());
  Ask(grid, GM_SETCELLFORMAT, GRID_CELL(2, 2), DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  InvalidateRect(grid, nullptr, FALSE);
  UpdateWindow(grid);
  EXPECT_EQ(harness::CellText(grid, 2, 2), text);
}

TEST_F(PaintTest, EnteringIsReportedByTheNextPaintOnceBeforeGnPaint) {
  RECT seen{};
  parent.onNote = [&](const Note& n) -> LRESULT {
    if (n.msg == GN_CELLENTERED) seen = CurCellRect();
    return 0;
  };
  Ask(grid, GM_SETCURCOL, 2);
  UpdateWindow(grid);
  harness::Pump();
  ASSERT_EQ(parent.WithoutMoves().size(), 3u) << Describe(parent.notes);
  EXPECT_EQ(parent.notes[0], Sent(GN_CELLLEAVING, 7, 0));
  EXPECT_EQ(parent.notes[1], Sent(GN_CELLENTERED, 7, 0));
  EXPECT_EQ(parent.notes[2].msg, static_cast<UINT>(GN_PAINT));
  EXPECT_NE(parent.notes[2].lParam, 0) << "GN_PAINT carries the device context";
  EXPECT_EQ(seen.left, 100) << "the parent sees the new cell's rectangle";
  EXPECT_EQ(seen.right, 150);

  parent.Clear();
  InvalidateRect(grid, nullptr, FALSE);
  UpdateWindow(grid);
  ASSERT_EQ(parent.WithoutMoves().size(), 1u) << Describe(parent.notes);
  EXPECT_EQ(parent.notes[0].msg, static_cast<UINT>(GN_PAINT));
}

TEST_F(PaintTest, WhatTheParentDrawsIsUnderTheSelectionAndItsSelectionsAreUndone) {
  parent.onNote = [&](const Note& n) -> LRESULT {
    if (n.msg == GN_PAINT) {
      HDC dc = reinterpret_cast<HDC>(n.lParam);
      SelectObject(dc, GetStockObject(BLACK_BRUSH));
      SelectObject(dc, GetStockObject(NULL_PEN));
      SetROP2(dc, R2_BLACK);
      RECT r{60, 25, 90, 35};
      FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    }
    return 0;
  };
  InvalidateRect(grid, nullptr, FALSE);
  Capture shot(grid);
  EXPECT_EQ(shot.At(70, 30), RGB(128, 128, 128)) << "drawn by the parent, inside the anchor";
  EXPECT_EQ(shot.At(50, 30), Inverted(kWhite)) << "the frame is inverted over it";
  EXPECT_EQ(shot.At(170, 50), kWhite) << "the parent's mix mode did not last";
}

TEST_F(PaintTest, CurrentCellRectangleComesFromThePaint) {
  EXPECT_EQ(CurCellRect().left, 50);
  EXPECT_EQ(CurCellRect().top, 20);
  EXPECT_EQ(CurCellRect().right, 100);
  EXPECT_EQ(CurCellRect().bottom, 40);
}

TEST_F(PaintTest, TheVisibleRangeFollowsTheClientSize) {
  EXPECT_EQ(Ask(grid, GM_GETLASTCOL), 4);
  EXPECT_EQ(Ask(grid, GM_GETLASTROW), 3);
  harness::SizeClient(grid, 120, 50);
  UpdateWindow(grid);
  EXPECT_EQ(Ask(grid, GM_GETLASTCOL), 2);  // column 3 starts at 150
  EXPECT_EQ(Ask(grid, GM_GETLASTROW), 2);  // row 3 starts at 60
  harness::SizeClient(grid, 40, 15);
  UpdateWindow(grid);
  EXPECT_EQ(Ask(grid, GM_GETLASTCOL), 0);
  EXPECT_EQ(Ask(grid, GM_GETLASTROW), 0);
}

TEST_F(PaintTest, SizesAreCutToTheClientLessTheTitles) {
  EXPECT_EQ(Ask(grid, GM_SETCOLWIDTH, 2, 10000), TRUE);
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 2), 345);
  EXPECT_EQ(Ask(grid, GM_SETROWHEIGHT, 1, 10000), TRUE);
  EXPECT_EQ(Ask(grid, GM_GETROWHEIGHT, 1), 275);
}

TEST_F(PaintTest, WhileTheHolderIsResizedTheDataCellsAreNotRepainted) {
  constexpr COLORREF kMagenta = RGB(255, 0, 255);
  PaintOver(grid, kMagenta);
  Ask(grid, GM_SIZING, WMSZ_RIGHT, 0);
  harness::SizeClient(grid, 390, 300);  // CS_HREDRAW invalidates everything
  Capture shot(grid);
  EXPECT_EQ(shot.At(170, 50), kMagenta) << "data cells left alone";
  EXPECT_EQ(shot.At(170, 10), Sys(COLOR_BTNFACE)) << "titles repainted";
}

TEST_F(PaintTest, SavesAPictureOfAPaintedGrid) {
  HFONT font = CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  Ask(grid, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  Ask(grid, GM_SETGRIDCOLOR, Sys(COLOR_3DDKSHADOW));
  const char* titles[] = {"", "A", "B", "C", "D"};
  for (UINT c = 1; c < 5; ++c) {
    harness::SetCellText(grid, c, 0, titles[c]);
    Ask(grid, GM_SETCELLFORMAT, GRID_CELL(c, 0), GRID_FORMAT_TITLE);
  }
  const char* rows[] = {"", "1", "2", "3"};
  for (UINT r = 1; r < 4; ++r) {
    harness::SetCellText(grid, 0, r, rows[r]);
    Ask(grid, GM_SETCELLFORMAT, GRID_CELL(0, r), GRID_FORMAT_TITLE);
  }
  harness::SetCellText(grid, 1, 1, "Plain");
  harness::SetCellText(grid, 2, 1, "Blue");
  Ask(grid, GM_SETCELLCOLOR, GRID_CELL(2, 1), RGB(0, 0, 200));
  harness::SetCellText(grid, 3, 2, "Right");
  Ask(grid, GM_SETCELLFORMAT, GRID_CELL(3, 2), DT_RIGHT | DT_SINGLELINE);
  Ask(grid, GM_SETCURCOL, 2);
  Ask(grid, GM_SETCURROW, 2);
  Ask(grid, GM_SETSELENDCOL, 4);
  Ask(grid, GM_SETSELENDROW, 3);
  Ask(grid, GM_SETBKCOLOR, RGB(0, 128, 128));
  Capture shot(grid);
  EXPECT_TRUE(shot.SaveBmp(harness::ShotPath("painted-grid.bmp")));
  DestroyWindow(grid);
  grid = nullptr;
  DeleteObject(font);
}

}  // namespace
