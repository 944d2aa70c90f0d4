// Counts, row insertion and deletion, and the clipboard text messages, as a
// program drives them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "grid_fixture.h"

namespace {

using harness::Ask;
using harness::CellText;
using harness::Describe;
using harness::ExpectRefusal;
using harness::MessageBoxCapture;
using harness::Note;
using harness::Sent;

const char kColCountText[] = "The maximum number of cols is 254\r\nand the minimum is 2.";
const char kRowCountText[] = "The maximum number of rows is 16382\r\nand the minimum is 2.";
const char kBadRowText[] = "Invalid number of row.";

struct DimensionsTest : harness::GridFixture {
  void SetUp() override { MakeGrid(harness::GridSetup().Id(9)); }

  void ExpectBar(int bar, int max) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(grid, bar, &si));
    EXPECT_EQ(si.nMin, 1);
    EXPECT_EQ(si.nMax, max);
    EXPECT_EQ(si.nPage, 1u);
  }
};

TEST_F(DimensionsTest, CountsOutOfRangeAreRefusedWithTheirBoxes) {
  for (WPARAM n : {WPARAM{0}, WPARAM{1}, WPARAM{255}}) ExpectRefusal(grid, GM_SETCOLCOUNT, n, kColCountText, MB_OK);
  for (WPARAM n : {WPARAM{0}, WPARAM{1}, WPARAM{16383}}) ExpectRefusal(grid, GM_SETROWCOUNT, n, kRowCountText, MB_OK);
  EXPECT_EQ(Ask(grid, GM_GETCOLCOUNT), 5);
  EXPECT_EQ(Ask(grid, GM_GETROWCOUNT), 4);
  MessageBoxCapture none;
  EXPECT_EQ(Ask(grid, GM_SETCOLCOUNT, 254), TRUE);
  EXPECT_EQ(Ask(grid, GM_SETROWCOUNT, 16382), TRUE);
  EXPECT_TRUE(none.boxes.empty());
  EXPECT_EQ(Ask(grid, GM_GETCOLCOUNT), 254);
  EXPECT_EQ(Ask(grid, GM_GETROWCOUNT), 16382);
  ExpectBar(SB_HORZ, 253);
  ExpectBar(SB_VERT, 16381);
}

TEST_F(DimensionsTest, InsertionAndDeletionRefuseBadRowsWithTheExclamationIcon) {
  ExpectRefusal(grid, GM_INSERTROW, 4, kBadRowText, MB_OK | MB_ICONEXCLAMATION);
  ExpectRefusal(grid, GM_DELETEROW, 4, kBadRowText, MB_OK | MB_ICONEXCLAMATION);
  EXPECT_EQ(Ask(grid, GM_GETROWCOUNT), 4);
  Ask(grid, GM_SETROWCOUNT, 2);
  ExpectRefusal(grid, GM_DELETEROW, 1, kRowCountText, MB_OK);
  Ask(grid, GM_SETROWCOUNT, 16382);
  ExpectRefusal(grid, GM_INSERTROW, 1, kRowCountText, MB_OK);
  EXPECT_EQ(Ask(grid, GM_GETROWCOUNT), 16382);
}

// Each refusal path, on a grid with and one without GS_NOREFUSALBOX: a box
// and IDOK, or no box, 0 and GN_REFUSED; either way nothing changes.
TEST_F(DimensionsTest, WithTheQuietBitEveryRefusalIsANotificationInsteadOfABox) {
  struct Case {
    UINT msg;
    WPARAM value;
    WPARAM rows;  // the row count the refusal needs
  };
  const Case cases[] = {
      {GM_SETCURCOL, 0, 4},     {GM_SETCURROW, 4, 4},      {GM_SETSELENDCOL, 5, 4}, {GM_SETSELENDROW, 0, 4},
      {GM_SETCOLCOUNT, 255, 4}, {GM_SETROWCOUNT, 1, 4},    {GM_INSERTROW, 4, 4},    {GM_INSERTROW, 1, 16382},
      {GM_DELETEROW, 4, 4},     {GM_DELETEROW, 1, 2},
      {GM_PASTE, reinterpret_cast<WPARAM>("1\t2\t3\t4\t5"), 4},
  };
  HWND quiet = parent.CreateGrid(0x10010, 0, 0, 400, 300, true, 0, GS_NOREFUSALBOX);
  for (const Case& k : cases) {
    for (HWND g : {grid, quiet}) {
      Ask(g, GM_SETROWCOUNT, k.rows);
      harness::SetCellText(g, 1, 1, "kept");
      parent.Clear();
      MessageBoxCapture boxes;
      const LRESULT result = Ask(g, k.msg, k.value);
      harness::Pump();
      const bool isQuiet = g == quiet;
      EXPECT_EQ(result, isQuiet ? 0 : IDOK) << k.msg << (isQuiet ? " quiet" : "");
      EXPECT_EQ(boxes.boxes.size(), isQuiet ? 0u : 1u) << k.msg;
      const std::vector<Note> refusal = {Sent(GN_REFUSED, 0x10010, k.msg)};
      EXPECT_EQ(parent.Only(GN_REFUSED), isQuiet ? refusal : std::vector<Note>{}) << Describe(parent.notes);
      EXPECT_EQ(Ask(g, GM_GETROWCOUNT), static_cast<LRESULT>(k.rows)) << k.msg;
      EXPECT_EQ(Ask(g, GM_GETCOLCOUNT), 5) << k.msg;
      EXPECT_EQ(harness::SelectionOf(g), "1,1-1,1") << k.msg;
      EXPECT_EQ(CellText(g, 1, 1), "kept") << k.msg;
    }
  }
  DestroyWindow(quiet);
}

TEST_F(DimensionsTest, ScrollRangesFollowEveryChange) {
  Ask(grid, GM_SETCOLCOUNT, 30);
  ExpectBar(SB_HORZ, 29);
  Ask(grid, GM_SETROWCOUNT, 100);
  ExpectBar(SB_VERT, 99);
  Ask(grid, GM_INSERTROW, 5);
  ExpectBar(SB_VERT, 100);
  Ask(grid, GM_INSERTROW, 0);
  ExpectBar(SB_VERT, 101);
  Ask(grid, GM_DELETEROW, 3);
  ExpectBar(SB_VERT, 100);
  EXPECT_EQ(Ask(grid, GM_GETROWCOUNT), 101);
}

TEST_F(DimensionsTest, InsertedRowsAreCentredAndMoveTheRowsBelow) {
  harness::SetCellText(grid, 1, 1, "one");
  harness::SetCellText(grid, 1, 2, "two");
  Ask(grid, GM_SETROWHEIGHT, 2, 22);
  EXPECT_EQ(Ask(grid, GM_INSERTROW, 2), TRUE);
  EXPECT_EQ(CellText(grid, 1, 2), "");
  EXPECT_EQ(CellText(grid, 1, 3), "two");
  EXPECT_EQ(Ask(grid, GM_GETROWHEIGHT, 2), 20);
  EXPECT_EQ(Ask(grid, GM_GETROWHEIGHT, 3), 22);
  EXPECT_EQ(Ask(grid, GM_GETCELLFORMAT, GRID_CELL(0, 2)), GRID_FORMAT_TITLE);
  RECT update;
  EXPECT_FALSE(GetUpdateRect(grid, &update, FALSE)) << "repainted at once";
}

// On a grid that is shown, the rows below an inserted or deleted row move
// on screen and only what is new is painted. Beside it a grid with a child
// window, which keeps repainting whole: both show the same pixels, the same
// as a whole repaint, and send the same notifications.
TEST_F(DimensionsTest, MovedRowsShowWhatAWholeRepaintShows) {
  constexpr COLORREF kMagenta = RGB(255, 0, 255);
  HWND whole = parent.CreateGrid(10, 400, 0, 400, 300);
  CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, whole, nullptr, nullptr, nullptr);
  HFONT font = CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  for (HWND g : {grid, whole}) {
    Ask(g, WM_SETFONT, reinterpret_cast<WPARAM>(font));
    Ask(g, GM_SETCOLCOUNT, 7);  // the cells end left of the client's right edge
    Ask(g, GM_SETROWCOUNT, 40);
    Ask(g, GM_SETBKCOLOR, RGB(0, 128, 0));
    for (UINT r = 0; r < 40; ++r) {
      if (r % 3 == 1) Ask(g, GM_SETROWHEIGHT, r, 14 + r);
      for (UINT c = 0; c < 7; ++c) {
        const std::string text = std::to_string(c) + "," + std::to_string(r);
        harness::SetCellText(g, c, r, text.c_str());
        Ask(g, GM_SETCELLCOLOR, GRID_CELL(c, r), RGB(0, 20 * c, 6 * r));
      }
    }
    Ask(g, GM_SETCURCOL, 2);
    Ask(g, GM_SETCURROW, 5);
    Ask(g, GM_SETSELENDCOL, 3);
    Ask(g, GM_SETSELENDROW, 8);
  }
  // Rows and first rows below 0 count from the end.
  struct Case {
    const char* what;
    UINT msg;
    int row;
    int firstRow;
    bool currentMovedFirst = false;
  };
  const Case cases[] = {
      {"insert in view", GM_INSERTROW, 6, 1},
      {"insert at the first row shown", GM_INSERTROW, 4, 4},
      {"insert above the rows shown", GM_INSERTROW, 2, 6},
      {"insert below the rows shown, the highlight out of view", GM_INSERTROW, 30, 10},
      {"append out of view", GM_INSERTROW, 0, 1},
      {"append in view", GM_INSERTROW, 0, -5},
      {"delete in view", GM_DELETEROW, 6, 1},
      {"delete the first row shown", GM_DELETEROW, 5, 5},
      {"delete above the rows shown", GM_DELETEROW, 2, 9},
      {"delete below the rows shown", GM_DELETEROW, 35, 1},
      {"delete the last row in view", GM_DELETEROW, 0, -5},
      {"delete in view near the end", GM_DELETEROW, -3, -5},
      {"after a move of the current cell", GM_INSERTROW, 3, 2, true},
  };
  for (const Case& k : cases) {
    std::vector<Note> notes[2];
    for (int i = 0; i < 2; ++i) {
      const HWND g = i ? whole : grid;
      const int rows = static_cast<int>(Ask(g, GM_GETROWCOUNT));
      const int first = k.firstRow > 0 ? k.firstRow : rows - 1 + k.firstRow;
      Ask(g, GM_SETFIRSTROW, first);
      UpdateWindow(g);
      // The background right of the cells and below them, in a colour
      // nothing else would paint: only an erasing repaint fills it again.
      const LONG end = static_cast<LONG>(Ask(g, GM_SUMROWHEIGHTS, 0, 0) + Ask(g, GM_SUMROWHEIGHTS, first, rows - 1));
      HDC dc = GetDC(g);
      HBRUSH magenta = CreateSolidBrush(kMagenta);
      const RECT right{350, 0, 400, 300}, below{0, end, 400, 300};
      FillRect(dc, &right, magenta);
      FillRect(dc, &below, magenta);
      DeleteObject(magenta);
      ReleaseDC(g, dc);
      if (k.currentMovedFirst) Ask(g, GM_SETCURROW, 4);
      parent.Clear();
      Ask(g, k.msg, static_cast<WPARAM>(k.row >= 0 ? k.row : rows + k.row));
      harness::Pump();
      for (Note n : parent.WithoutMoves()) {
        n.wParam = 0;
        if (n.msg == GN_PAINT) n.lParam = 0;
        notes[i].push_back(n);
      }
    }
    EXPECT_EQ(notes[0], notes[1]) << k.what << "\n" << Describe(notes[0]) << "whole:\n" << Describe(notes[1]);
    const harness::Capture moved(grid);
    EXPECT_EQ(moved.Differences(harness::Capture(whole)), 0) << k.what;
    InvalidateRect(grid, nullptr, k.msg == GM_DELETEROW);
    EXPECT_EQ(moved.Differences(harness::Capture(grid)), 0) << k.what;
  }
  DestroyWindow(whole);
  DestroyWindow(grid);
  grid = nullptr;
  DeleteObject(font);
}

TEST_F(DimensionsTest, DeletionScrollsUpARowAndAnswersWithTheParentsAnswer) {
  Ask(grid, GM_SETROWCOUNT, 20);
  Ask(grid, GM_SETFIRSTROW, 5);
  ASSERT_EQ(Ask(grid, GM_GETFIRSTROW), 5);
  parent.Clear();
  parent.onNote = [](const Note& n) -> LRESULT { return n.msg == GN_SCROLLED ? 0x55 : 0; };
  EXPECT_EQ(Ask(grid, GM_DELETEROW, 10), 0x55);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 4);
  EXPECT_EQ(Ask(grid, GM_GETROWCOUNT), 19);
  EXPECT_EQ(parent.Only(GN_SCROLLED), std::vector<Note>{Sent(GN_SCROLLED, 9, 1)}) << Describe(parent.notes);

  Ask(grid, GM_SETFIRSTROW, 1);
  parent.Clear();
  Ask(grid, GM_DELETEROW, 1);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 1);
  EXPECT_EQ(parent.Only(GN_SCROLLED).size(), 1u) << "sent even when nothing moves";
}

TEST_F(DimensionsTest, DeletingWhileTheLastRowIsFirstScrollsTwice) {
  Ask(grid, GM_SETROWCOUNT, 10);
  Ask(grid, GM_SETFIRSTROW, 9);
  parent.Clear();
  Ask(grid, GM_DELETEROW, 2);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 7);
  EXPECT_EQ(parent.Only(GN_SCROLLED).size(), 2u);
}

TEST_F(DimensionsTest, ACountBelowTheSelectionBringsItBackAndPaintsSafely) {
  Ask(grid, GM_SETCOLCOUNT, 20);
  Ask(grid, GM_SETROWCOUNT, 30);
  Ask(grid, GM_SETCURCOL, 19);
  Ask(grid, GM_SETCURROW, 29);
  Ask(grid, GM_SETFIRSTCOL, 15);
  Ask(grid, GM_SETFIRSTROW, 25);
  UpdateWindow(grid);
  Ask(grid, GM_SETCOLCOUNT, 5);
  Ask(grid, GM_SETROWCOUNT, 4);
  UpdateWindow(grid);
  EXPECT_EQ(Ask(grid, GM_GETCURCOL), 4);
  EXPECT_EQ(Ask(grid, GM_GETCURROW), 3);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTCOL), 4);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 3);
  EXPECT_EQ(Ask(grid, GM_GETSELENDCOL), 4);
  GridCell cell;
  RECT r;
  EXPECT_EQ(Ask(grid, GM_GETCURCELL, reinterpret_cast<WPARAM>(&cell), reinterpret_cast<LPARAM>(&r)),
            MAKELONG(4, 3));
  EXPECT_EQ(r.left, 50);  // laid out from the new origin
}

TEST_F(DimensionsTest, CopyAndSizeAgreeByteForByte) {
  harness::SetCellText(grid, 1, 1, "a");
  harness::SetCellText(grid, 2, 1, "bc");
  harness::SetCellText(grid, 2, 2, "d");
  Ask(grid, GM_SETSELENDCOL, 2);
  Ask(grid, GM_SETSELENDROW, 2);
  EXPECT_EQ(Ask(grid, GM_GETCOPYSIZE), 11);
  char buffer[32];
  std::memset(buffer, 'z', sizeof buffer);
  buffer[0] = '\0';
  Ask(grid, GM_COPYSEL, reinterpret_cast<WPARAM>(buffer));
  EXPECT_EQ(std::string(buffer, 12), std::string("a\tbc\r\n\td\r\n\0z", 12));
  EXPECT_EQ(Ask(grid, GM_COPYSEL, 0), 0) << "no buffer, no copy";
}

TEST_F(DimensionsTest, APasteOfTheWrongShapeIsRefusedWithTheWarning) {
  Ask(grid, GM_SETCURCOL, 4);
  Ask(grid, GM_SETCURROW, 2);
  MessageBoxCapture boxes;
  EXPECT_EQ(Ask(grid, GM_PASTE, reinterpret_cast<WPARAM>("1\t2\r\n3\t4\r\n")), IDOK);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text,
            "The selected range is not the same as the copied is.\r\n"
            "You can do two thinks:\r\n"
            "\r\n"
            "1. Select a range with the same dimensions as the copied range.\r\n"
            "2. Select one cell only and paste.In this case,take care to make\r\n"
            "    sufficient room right and down of selected cell.");
  EXPECT_EQ(boxes.boxes[0].caption, "Latticor");
  EXPECT_EQ(boxes.boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  EXPECT_EQ(CellText(grid, 4, 2), "");
  EXPECT_EQ(Ask(grid, GM_PASTE, 0), 0) << "no text, no paste";
  EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST_F(DimensionsTest, APasteStoresEveryFieldThroughTheGridsOwnMessage) {
  Ask(grid, GM_SETCURCOL, 2);
  Ask(grid, GM_SETCURROW, 2);
  parent.Clear();
  EXPECT_EQ(Ask(grid, GM_PASTE, reinterpret_cast<WPARAM>("1\t2\r\n3\t4\r\n")), TRUE);
  EXPECT_EQ(CellText(grid, 2, 2), "1");
  EXPECT_EQ(CellText(grid, 3, 3), "4");
  EXPECT_EQ(Ask(grid, GM_GETCURCOL), 2) << "the selection stays";
  harness::Pump();
  for (UINT msg : {GN_CELLLEAVING, GN_CELLENTERED, GN_SCROLLED}) {
    EXPECT_TRUE(parent.Only(msg).empty()) << Describe(parent.notes);
  }
}

// Texts of any length, without TAB or CR, copied and pasted back come back
// byte for byte: into the range they came from and at a single cell.
TEST_F(DimensionsTest, CopyThenPasteGivesBackEveryTextWhole) {
  auto textOf = [this](UINT c, UINT r) {
    std::string text(size_t(Ask(grid, GM_GETCELLTEXTLENGTH, GRID_CELL(c, r))), '\0');
    GridTextBuffer buffer{text.data(), UINT(text.size() + 1)};
    EXPECT_EQ(Ask(grid, GM_GETCELLTEXTN, GRID_CELL(c, r), reinterpret_cast<LPARAM>(&buffer)),
              static_cast<LRESULT>(text.size()));
    return text;
  };
  std::vector<std::string> texts;
  for (size_t length : {0, 1, 255, 256, 1215, 100000}) {
    std::string t(length, ' ');
    for (size_t i = 0; i < length; ++i) t[i] = static_cast<char>('!' + (i * 7 + length) % 94);
    texts.push_back(t);
  }
  Ask(grid, GM_SETROWCOUNT, 6);
  for (UINT i = 0; i < 6; ++i) harness::SetCellText(grid, 1 + i % 3, 1 + i / 3, texts[i].c_str());
  Ask(grid, GM_SETSELENDCOL, 3);
  Ask(grid, GM_SETSELENDROW, 2);
  std::string copied(size_t(Ask(grid, GM_GETCOPYSIZE)), '\0');
  Ask(grid, GM_COPYSEL, reinterpret_cast<WPARAM>(copied.data()));
  for (UINT at : {1u, 3u}) {  // the copied range, then the single cell (1, 3)
    Ask(grid, GM_SETCURROW, at);
    Ask(grid, GM_SETSELENDROW, at == 1 ? 2 : 3);
    Ask(grid, GM_SETSELENDCOL, at == 1 ? 3 : 1);
    for (UINT i = 0; i < 6; ++i) harness::SetCellText(grid, 1 + i % 3, at + i / 3, "");
    ASSERT_EQ(Ask(grid, GM_PASTE, reinterpret_cast<WPARAM>(copied.c_str())), TRUE) << at;
    for (UINT i = 0; i < 6; ++i) {
      EXPECT_TRUE(textOf(1 + i % 3, at + i / 3) == texts[i]) << "length " << texts[i].size() << " at row " << at;
    }
  }
}

}  // namespace
