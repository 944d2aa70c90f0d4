// The message protocol of one grid: answers, refusals, notifications.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "grid_fixture.h"

namespace {

using harness::Ask;
using harness::CellText;
using harness::Describe;
using harness::MessageBoxCapture;
using harness::Note;
using harness::Posted;
using harness::Sent;

// A grid that has not been shown, so nothing has painted it yet.
struct GridTest : harness::GridFixture {
  void SetUp() override { MakeGrid(harness::GridSetup().Hidden()); }
};

TEST_F(GridTest, AFreshGridAnswersWithItsDefaults) {
  EXPECT_EQ(Ask(grid, GM_GETCOLCOUNT), 5);
  EXPECT_EQ(Ask(grid, GM_GETROWCOUNT), 4);
  for (UINT msg : {GM_GETCURCOL, GM_GETCURROW, GM_GETSELENDCOL, GM_GETSELENDROW, GM_GETFIRSTCOL,
                   GM_GETFIRSTROW}) {
    EXPECT_EQ(Ask(grid, msg), 1) << msg;
  }
  EXPECT_EQ(Ask(grid, GM_GETLASTCOL), 0);  // no paint yet
  EXPECT_EQ(Ask(grid, GM_GETLASTROW), 0);
  for (UINT c = 0; c < 256; ++c) ASSERT_EQ(Ask(grid, GM_GETCOLWIDTH, c), 50) << c;
  for (UINT r = 0; r < 16384; ++r) ASSERT_EQ(Ask(grid, GM_GETROWHEIGHT, r), 20) << r;
  for (UINT r = 0; r < 4; ++r) {
    for (UINT c = 0; c < 5; ++c) {
      EXPECT_EQ(Ask(grid, GM_GETCELLFORMAT, GRID_CELL(c, r)), 8208);
      EXPECT_EQ(Ask(grid, GM_GETCELLFONT, GRID_CELL(c, r)), 0);
      EXPECT_EQ(Ask(grid, GM_GETCELLCOLOR, GRID_CELL(c, r)), 0);
      EXPECT_EQ(CellText(grid, c, r), "");
    }
  }
  EXPECT_EQ(static_cast<COLORREF>(Ask(grid, GM_GETGRIDCOLOR)), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(static_cast<COLORREF>(Ask(grid, GM_GETBKCOLOR)), GetSysColor(COLOR_BTNFACE));
  EXPECT_TRUE(parent.notes.empty()) << Describe(parent.notes);
}

TEST_F(GridTest, CreationShowsBothScrollBarsWithTheirRanges) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(grid, SB_VERT, &si));
  EXPECT_EQ(si.nMin, 1);
  EXPECT_EQ(si.nMax, 3);
  EXPECT_EQ(si.nPage, 1u);
  EXPECT_EQ(si.nPos, 1);
  ASSERT_TRUE(GetScrollInfo(grid, SB_HORZ, &si));
  EXPECT_EQ(si.nMax, 4);
  EXPECT_EQ(si.nPos, 1);
  const LONG style = GetWindowLongA(grid, GWL_STYLE);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_TRUE(style & WS_HSCROLL);
}

TEST_F(GridTest, ColoursAreStoredAndAnswered) {
  EXPECT_EQ(Ask(grid, GM_SETGRIDCOLOR, RGB(1, 2, 3)), TRUE);
  EXPECT_EQ(Ask(grid, GM_GETGRIDCOLOR), RGB(1, 2, 3));
  EXPECT_EQ(Ask(grid, GM_SETBKCOLOR, RGB(4, 5, 6)), TRUE);
  EXPECT_EQ(Ask(grid, GM_GETBKCOLOR), RGB(4, 5, 6));
}

struct Refusal {
  UINT msg;
  WPARAM value;
  const char* text;
};

TEST_F(GridTest, OutOfRangeCellMovesAreRefusedWithTheirBoxes) {
  const Refusal refusals[] = {
      {GM_SETCURCOL, 0, "Invalid number of column."},    {GM_SETCURCOL, 5, "Invalid number of column."},
      {GM_SETCURCOL, 0xFFFFFFFF, "Invalid number of column."},
      {GM_SETCURROW, 0, "Invalid number of row."},       {GM_SETCURROW, 4, "Invalid number of row."},
      {GM_SETSELENDCOL, 0, "Invalid number of column."}, {GM_SETSELENDCOL, 5, "Invalid number of column."},
      {GM_SETSELENDROW, 0, "Invalid number of row."},    {GM_SETSELENDROW, 4, "Invalid number of row."},
  };
  for (const Refusal& r : refusals) harness::ExpectRefusal(grid, r.msg, r.value, r.text, MB_OK);  // no icon
  for (UINT msg : {GM_GETCURCOL, GM_GETCURROW, GM_GETSELENDCOL, GM_GETSELENDROW}) {
    EXPECT_EQ(Ask(grid, msg), 1) << "changed by a refused message: " << msg;
  }
  harness::Pump();
  EXPECT_TRUE(parent.notes.empty()) << Describe(parent.notes);
}

TEST_F(GridTest, TheLastDataColumnAndRowAreAccepted) {
  MessageBoxCapture boxes;
  EXPECT_EQ(Ask(grid, GM_SETCURCOL, 4), TRUE);
  EXPECT_EQ(Ask(grid, GM_SETCURROW, 3), TRUE);
  EXPECT_EQ(Ask(grid, GM_SETSELENDCOL, 4), TRUE);
  EXPECT_EQ(Ask(grid, GM_SETSELENDROW, 3), TRUE);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(Ask(grid, GM_GETCURCOL), 4);
  EXPECT_EQ(Ask(grid, GM_GETCURROW), 3);
}

TEST_F(GridTest, MovingTheCurrentCellSendsCellLeavingWhileTheOldCellIsCurrent) {
  Ask(grid, GM_SETSELENDROW, 3);
  LRESULT colSeen = -1, selEndColSeen = -1;
  parent.onNote = [&](const Note& n) -> LRESULT {
    if (n.msg == GN_CELLLEAVING) {
      colSeen = Ask(grid, GM_GETCURCOL);
      selEndColSeen = Ask(grid, GM_GETSELENDCOL);
    }
    return 0;
  };
  EXPECT_EQ(Ask(grid, GM_SETCURCOL, 3), TRUE);
  EXPECT_EQ(colSeen, 1) << "the parent must still see the old cell";
  EXPECT_EQ(selEndColSeen, 1);
  EXPECT_EQ(Ask(grid, GM_GETCURCOL), 3);
  EXPECT_EQ(Ask(grid, GM_GETSELENDCOL), 3);
  EXPECT_EQ(Ask(grid, GM_GETSELENDROW), 3) << "the other direction keeps its extent";
  harness::Pump();
  // GN_CELLENTERED is owed to the next paint, which has not happened.
  EXPECT_EQ(parent.notes, std::vector<Note>{Sent(GN_CELLLEAVING, 7, 0)}) << Describe(parent.notes);
}

TEST_F(GridTest, MovingToTheCurrentCellChangesNothingAndSendsNothing) {
  EXPECT_EQ(Ask(grid, GM_SETCURCOL, 1), 0);
  EXPECT_EQ(Ask(grid, GM_SETCURROW, 1), 0);
  parent.Clear();
  EXPECT_TRUE(parent.notes.empty()) << Describe(parent.notes);
  RECT update;
  EXPECT_FALSE(GetUpdateRect(grid, &update, FALSE)) << "nothing to repaint";
}

TEST_F(GridTest, AParentThatReshapesTheGridInCellLeavingCannotPushItOutOfRange) {
  // The parent destroys the grid while it is asked to let the cell go.
  parent.onNote = [&](const Note& n) -> LRESULT {
    if (n.msg == GN_CELLLEAVING) DestroyWindow(grid);
    return 0;
  };
  EXPECT_EQ(Ask(grid, GM_SETCURCOL, 2), 0);
  EXPECT_FALSE(IsWindow(grid));
  grid = parent.CreateGrid(7, 0, 0, 400, 300, false);  // for TearDown
}

TEST_F(GridTest, SizesAreCutToTheClientAreaAndNegativeOnesIgnored) {
  harness::SizeClient(grid, 400, 300);
  ASSERT_EQ(harness::ClientRect(grid).right, 400);
  EXPECT_EQ(Ask(grid, GM_SETCOLWIDTH, 2, -1), 0);
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 2), 50);
  // Before the first paint the title rectangles are empty: 400 - 0 - 5.
  EXPECT_EQ(Ask(grid, GM_SETCOLWIDTH, 2, 10000), TRUE);
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 2), 395);
  EXPECT_EQ(Ask(grid, GM_SETROWHEIGHT, 0, 10000), TRUE);
  EXPECT_EQ(Ask(grid, GM_GETROWHEIGHT, 0), 295);
  EXPECT_EQ(Ask(grid, GM_SETROWHEIGHT, 3, 0), TRUE);
  EXPECT_EQ(Ask(grid, GM_GETROWHEIGHT, 3), 0);
  // Columns beyond the count but inside the table keep their width for later.
  EXPECT_EQ(Ask(grid, GM_SETCOLWIDTH, 200, 70), TRUE);
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 200), 70);
}

TEST_F(GridTest, SumsIncludeBothEnds) {
  EXPECT_EQ(Ask(grid, GM_SUMCOLWIDTHS, 1, 3), 150);
  EXPECT_EQ(Ask(grid, GM_SUMCOLWIDTHS, 3, 1), 50);
  Ask(grid, GM_SETROWHEIGHT, 2, 33);
  EXPECT_EQ(Ask(grid, GM_SUMROWHEIGHTS, 1, 3), 73);
  EXPECT_EQ(Ask(grid, GM_SUMROWHEIGHTS, 0, 0), 20);
}

TEST_F(GridTest, CellAttributesAndTextsRoundTrip) {
  HFONT font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
  EXPECT_EQ(Ask(grid, GM_SETCELLFONT, GRID_CELL(2, 3), reinterpret_cast<LPARAM>(font)), TRUE);
  EXPECT_EQ(Ask(grid, GM_SETCELLCOLOR, GRID_CELL(2, 3), RGB(200, 0, 0)), TRUE);
  EXPECT_EQ(Ask(grid, GM_SETCELLFORMAT, GRID_CELL(2, 3), DT_RIGHT), TRUE);
  EXPECT_EQ(Ask(grid, GM_SETCELLTEXT, GRID_CELL(2, 3), reinterpret_cast<LPARAM>("twenty three")), TRUE);
  EXPECT_EQ(Ask(grid, GM_GETCELLFONT, GRID_CELL(2, 3)), reinterpret_cast<LRESULT>(font));
  EXPECT_EQ(Ask(grid, GM_GETCELLCOLOR, GRID_CELL(2, 3)), RGB(200, 0, 0));
  EXPECT_EQ(Ask(grid, GM_GETCELLFORMAT, GRID_CELL(2, 3)), DT_RIGHT);
  EXPECT_EQ(CellText(grid, 2, 3), "twenty three");
  // Its neighbours in the table are untouched: (3, 2) and (2, 2).
  EXPECT_EQ(CellText(grid, 3, 2), "");
  EXPECT_EQ(CellText(grid, 2, 2), "");
  // Title cells are cells like any other.
  harness::SetCellText(grid, 0, 0, "corner");
  harness::SetCellText(grid, 4, 0, "D");
  EXPECT_EQ(CellText(grid, 0, 0), "corner");
  EXPECT_EQ(CellText(grid, 4, 0), "D");
  char buffer[16] = "xxxxxxxxxxxxxxx";
  EXPECT_EQ(Ask(grid, GM_GETCELLTEXT, GRID_CELL(4, 0), reinterpret_cast<LPARAM>(buffer)), 1);
  EXPECT_EQ(std::string(buffer, 3), std::string("D\0x", 3)) << "copies the terminator, nothing more";
}

TEST_F(GridTest, TheFontGoesToTheGridAloneNotToItsCells) {
  HFONT font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(Ask(grid, WM_GETFONT), 0) << "no font before WM_SETFONT";
  EXPECT_EQ(Ask(grid, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0), TRUE);
  EXPECT_EQ(Ask(grid, GM_GETCELLFONT, GRID_CELL(1, 1)), 0);
  EXPECT_EQ(Ask(grid, WM_GETFONT), reinterpret_cast<LRESULT>(font)) << "the font last set";
}

TEST_F(GridTest, ATextIsReadByItsLengthOrBoundedByTheBuffer) {
  harness::SetCellText(grid, 2, 1, "hello");
  EXPECT_EQ(Ask(grid, GM_GETCELLTEXTLENGTH, GRID_CELL(2, 1)), 5);
  EXPECT_EQ(Ask(grid, GM_GETCELLTEXTLENGTH, GRID_CELL(1, 1)), 0);
  struct Case {
    UINT size;
    LRESULT copied;
    const char* text;
  };
  const Case cases[] = {{1, 0, ""}, {2, 1, "h"}, {5, 4, "hell"}, {6, 5, "hello"}, {40, 5, "hello"}};
  for (const Case& k : cases) {
    char buffer[48];
    std::memset(buffer, '#', sizeof buffer);
    GridTextBuffer request{buffer, k.size};
    EXPECT_EQ(Ask(grid, GM_GETCELLTEXTN, GRID_CELL(2, 1), reinterpret_cast<LPARAM>(&request)), k.copied) << k.size;
    EXPECT_STREQ(buffer, k.text) << k.size;
    EXPECT_EQ(std::string(buffer + k.copied + 1, sizeof buffer - k.copied - 1),
              std::string(sizeof buffer - k.copied - 1, '#'))
        << "written past the terminator with size " << k.size;
  }
  char untouched[4] = "abc";
  GridTextBuffer sizeZero{untouched, 0}, noBuffer{nullptr, 10};
  EXPECT_EQ(Ask(grid, GM_GETCELLTEXTN, GRID_CELL(2, 1), reinterpret_cast<LPARAM>(&sizeZero)), 0);
  EXPECT_STREQ(untouched, "abc") << "size 0 writes nothing";
  EXPECT_EQ(Ask(grid, GM_GETCELLTEXTN, GRID_CELL(2, 1), reinterpret_cast<LPARAM>(&noBuffer)), 0);
  EXPECT_EQ(Ask(grid, GM_GETCELLTEXTN, GRID_CELL(2, 1), 0), 0);
  for (WPARAM address : {GRID_CELL(5, 0), GRID_CELL(0, 4), GRID_CELL(300, 20000), WPARAM{0xFFFFFFFF}}) {
    EXPECT_EQ(Ask(grid, GM_GETCELLTEXTLENGTH, address), 0);
    char buffer[4] = "abc";
    GridTextBuffer request{buffer, sizeof buffer};
    EXPECT_EQ(Ask(grid, GM_GETCELLTEXTN, address, reinterpret_cast<LPARAM>(&request)), 0);
    EXPECT_STREQ(buffer, "") << "outside the grid the buffer holds the empty string";
  }
}

TEST_F(GridTest, CurrentCellCopyIsTheStoredRecordAndItsText) {
  GridCell cell;
  RECT rect{9, 9, 9, 9};
  EXPECT_EQ(Ask(grid, GM_GETCURCELL, reinterpret_cast<WPARAM>(&cell), reinterpret_cast<LPARAM>(&rect)),
            MAKELONG(1, 1));
  EXPECT_EQ(cell.cellFont, nullptr);
  EXPECT_EQ(cell.textColor, 0u);
  EXPECT_EQ(cell.format, 8208u);
  ASSERT_NE(cell.text, nullptr);
  EXPECT_STREQ(cell.text, "");
  EXPECT_EQ(rect.left, 0);  // positions come from painting, which has not run
  EXPECT_EQ(rect.right, 0);

  harness::SetCellText(grid, 2, 3, "there");
  Ask(grid, GM_SETCURCOL, 2);
  Ask(grid, GM_SETCURROW, 3);
  EXPECT_EQ(Ask(grid, GM_GETCURCELL, reinterpret_cast<WPARAM>(&cell), reinterpret_cast<LPARAM>(&rect)),
            MAKELONG(2, 3));
  EXPECT_STREQ(cell.text, "there");
  const char* address = cell.text;
  Ask(grid, GM_SETCELLTEXT, GRID_CELL(1, 1), reinterpret_cast<LPARAM>("elsewhere"));
  EXPECT_EQ(address, cell.text);
  EXPECT_STREQ(address, "there") << "valid until that cell's own text is set again";
}

TEST_F(GridTest, MissingBuffersAndOutOfRangeAddressesAreIgnored) {
  GridCell cell;
  RECT rect;
  EXPECT_EQ(Ask(grid, GM_GETCURCELL, 0, reinterpret_cast<LPARAM>(&rect)), 0);
  EXPECT_EQ(Ask(grid, GM_GETCURCELL, reinterpret_cast<WPARAM>(&cell), 0), 0);
  EXPECT_EQ(Ask(grid, GM_GETCELLTEXT, GRID_CELL(1, 1), 0), 0);
  EXPECT_EQ(Ask(grid, GM_SETCELLTEXT, GRID_CELL(1, 1), 0), 0);
  EXPECT_EQ(CellText(grid, 1, 1), "");

  const WPARAM outside[] = {GRID_CELL(5, 0), GRID_CELL(0, 4), GRID_CELL(300, 20000), 0xFFFFFFFF};
  for (WPARAM address : outside) {
    EXPECT_EQ(Ask(grid, GM_SETCELLTEXT, address, reinterpret_cast<LPARAM>("x")), 0);
    EXPECT_EQ(Ask(grid, GM_SETCELLFONT, address, 1), 0);
    EXPECT_EQ(Ask(grid, GM_SETCELLCOLOR, address, 1), 0);
    EXPECT_EQ(Ask(grid, GM_SETCELLFORMAT, address, 1), 0);
    EXPECT_EQ(Ask(grid, GM_GETCELLFORMAT, address), 0);
    char buffer[4] = "abc";
    EXPECT_EQ(Ask(grid, GM_GETCELLTEXT, address, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_STREQ(buffer, "abc");
  }
  EXPECT_EQ(Ask(grid, GM_SETCOLWIDTH, 256, 10), 0);
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 256), 0);
  EXPECT_EQ(Ask(grid, GM_SETROWHEIGHT, 16384, 10), 0);
  EXPECT_EQ(Ask(grid, GM_GETROWHEIGHT, 0xFFFFFFFF), 0);
  EXPECT_EQ(Ask(grid, GM_SUMCOLWIDTHS, 0, 0xFFFFFFFF), 256 * 50);
  EXPECT_EQ(Ask(grid, GM_SUMROWHEIGHTS, 20000, 30000), 0);
  EXPECT_EQ(Ask(grid, GM_SETFIRSTCOL, 0), 0);
  EXPECT_EQ(Ask(grid, GM_SETFIRSTCOL, 5), 0);
  EXPECT_EQ(Ask(grid, GM_SETFIRSTROW, 0xFFFF), 0);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTCOL), 1);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 1);
  // The grid is still whole.
  for (UINT c = 0; c < 5; ++c) EXPECT_EQ(CellText(grid, c, 3), "");
  EXPECT_EQ(Ask(grid, GM_GETCOLCOUNT), 5);
}

// On 64-bit Windows wParam has an upper half. A value with anything there
// is out of range for every index, count and cell address, whatever its
// low half says: each message answers it exactly as it answers 0xFFFFFFFF,
// and nothing changes.
TEST_F(GridTest, WideValuesAreOutOfRangeNotCutTo32Bits) {
  if (sizeof(WPARAM) == 4) GTEST_SKIP() << "32-bit Windows: wParam has no upper half";
  const auto wide = [](WPARAM low) { return static_cast<WPARAM>((1ull << 32) | low); };
  const auto text = reinterpret_cast<LPARAM>("x");
  struct Case {
    UINT msg;
    WPARAM inRange;  // what the low half alone would name
    LPARAM lParam;
  };
  const Case cases[] = {
      {GM_SETCURCOL, 2, 0},          {GM_SETCURROW, 2, 0},        {GM_SETSELENDCOL, 2, 0},
      {GM_SETSELENDROW, 2, 0},       {GM_SETCOLCOUNT, 3, 0},      {GM_SETROWCOUNT, 3, 0},
      {GM_INSERTROW, 1, 0},          {GM_DELETEROW, 2, 0},        {GM_SETFIRSTCOL, 2, 0},
      {GM_SETFIRSTROW, 2, 0},        {GM_SETCOLWIDTH, 1, 10},     {GM_GETCOLWIDTH, 1, 0},
      {GM_SETROWHEIGHT, 1, 10},      {GM_GETROWHEIGHT, 1, 0},     {GM_SUMCOLWIDTHS, 1, 1},
      {GM_SUMROWHEIGHTS, 1, 1},      {GM_SETCELLTEXT, GRID_CELL(1, 1), text},
      {GM_SETCELLFONT, GRID_CELL(1, 1), 1},   {GM_GETCELLFONT, GRID_CELL(1, 1), 0},
      {GM_SETCELLCOLOR, GRID_CELL(1, 1), 1},  {GM_GETCELLCOLOR, GRID_CELL(1, 1), 0},
      {GM_SETCELLFORMAT, GRID_CELL(1, 1), 1}, {GM_GETCELLFORMAT, GRID_CELL(1, 1), 0},
  };
  Ask(grid, GM_SETROWCOUNT, 6);
  Ask(grid, GM_SETCOLCOUNT, 6);
  const auto state = [&] {
    return harness::SelectionOf(grid) + " " + std::to_string(Ask(grid, GM_GETCOLCOUNT)) + "x" +
           std::to_string(Ask(grid, GM_GETROWCOUNT)) + " first " + std::to_string(Ask(grid, GM_GETFIRSTCOL)) +
           "," + std::to_string(Ask(grid, GM_GETFIRSTROW)) + " sizes " +
           std::to_string(Ask(grid, GM_GETCOLWIDTH, 1)) + "," + std::to_string(Ask(grid, GM_GETROWHEIGHT, 1)) +
           " cell '" + CellText(grid, 1, 1) + "' " + std::to_string(Ask(grid, GM_GETCELLFORMAT, GRID_CELL(1, 1))) +
           " " + std::to_string(Ask(grid, GM_GETCELLCOLOR, GRID_CELL(1, 1))) + " " +
           std::to_string(Ask(grid, GM_GETCELLFONT, GRID_CELL(1, 1)));
  };
  const std::string before = state();
  // The texts of the boxes a message shows, and its answer.
  const auto answer = [&](UINT msg, WPARAM w, LPARAM l) {
    MessageBoxCapture boxes;
    std::string seen = std::to_string(Ask(grid, msg, w, l));
    for (const auto& b : boxes.boxes) seen += " | " + b.text;
    return seen;
  };
  for (const Case& c : cases) {
    EXPECT_EQ(answer(c.msg, wide(c.inRange), c.lParam), answer(c.msg, 0xFFFFFFFF, c.lParam)) << c.msg;
    EXPECT_EQ(state(), before) << "changed by message " << c.msg;
  }
  harness::Pump();
  for (const Note& n : parent.notes) EXPECT_NE(n.msg, GN_CELLLEAVING) << Describe(n);
}

TEST_F(GridTest, NotificationNumbersSentToTheGridGoToDefaultProcessing) {
  for (UINT msg = 1071; msg <= 1080; ++msg) EXPECT_EQ(Ask(grid, msg, 7, 0), 0) << msg;
  for (UINT msg : {1049u, 1050u, 1053u, 1054u, 1083u, 1084u, 1085u, 1091u}) {
    EXPECT_EQ(Ask(grid, msg, 7, 0), 0) << msg;
  }
  harness::Pump();
  EXPECT_TRUE(parent.notes.empty()) << Describe(parent.notes);
}

TEST_F(GridTest, EnableSwitchesAnswerAsListed) {
  EXPECT_EQ(Ask(grid, GM_ENABLESELECT, 0), TRUE);
  EXPECT_EQ(Ask(grid, GM_ENABLESELECT, 1), TRUE);
  EXPECT_EQ(Ask(grid, GM_ENABLERESIZE, 0), 0);
  EXPECT_EQ(Ask(grid, GM_SIZING, 0, 0), 0);
}

// What latticor.h documents as each message's result: its number and the
// clauses of its "Result:" sentence (separated by "; "), where "as GM_X"
// stands for GM_X's clauses.
struct Documented {
  UINT number = 0;
  std::vector<std::string> clauses;
};

std::map<std::string, Documented> DocumentedResults() {
  std::ifstream header(LATTICOR_HEADER_PATH);
  EXPECT_TRUE(header.is_open()) << LATTICOR_HEADER_PATH;
  std::map<std::string, Documented> results;
  std::string line, comment;  // the comment just above the current line
  bool inComment = false;
  while (std::getline(header, line)) {
    const bool opens = line.rfind("/*", 0) == 0;
    if (opens || inComment) {
      if (opens) comment.clear();
      std::string text = line;
      const size_t close = text.find("*/");
      inComment = close == std::string::npos;
      if (!inComment) text.erase(close);
      text.erase(0, opens ? 2 : text.find_first_not_of(" *"));
      comment += ' ' + text;
      continue;
    }
    char name[64];
    unsigned number;
    const size_t result = comment.find("Result: ");
    if (std::sscanf(line.c_str(), "#define %63s %u", name, &number) == 2 && std::strncmp(name, "GM_", 3) == 0 &&
        result != std::string::npos) {
      std::string text = comment.substr(result + 8);
      while (text.find("  ") != std::string::npos) text.erase(text.find("  "), 1);  // lines joined
      text.erase(text.find_last_not_of(" .") + 1);
      Documented& d = results[name];
      d.number = number;
      for (size_t at = 0, end; at <= text.size(); at = end + 2) {
        end = std::min(text.find("; ", at), text.size());
        d.clauses.push_back(text.substr(at, end - at));
      }
      const auto same = d.clauses.size() == 1 && d.clauses[0].rfind("as GM_", 0) == 0
                            ? results.find(d.clauses[0].substr(3))
                            : results.end();
      if (same != results.end()) d.clauses = same->second.clauses;  // else the clause stays unchecked
    }
    comment.clear();
  }
  return results;
}

// Every clause of every documented result, checked against the DLL where a
// test can observe it, in an order that builds the state each needs.
TEST_F(GridTest, EveryMessageAnswersWhatTheHeaderDocuments) {
  const std::map<std::string, Documented> documented = DocumentedResults();
  ASSERT_EQ(documented.count("GM_GETCELLTEXTN"), 1u) << "the header was not read";
  HWND quiet = parent.CreateGrid(8, 0, 0, 400, 300, false, 0, GS_NOREFUSALBOX);
  ShowWindow(grid, SW_SHOWNA);
  harness::SizeClient(grid, 400, 300);
  MessageBoxCapture boxes;
  parent.onNote = [](const Note& n) -> LRESULT { return n.msg == GN_SCROLLED ? 0x55 : 0; };
  HFONT font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
  char buffer[512] = {};
  GridCell cell;
  RECT rect;
  GridPrintRange outside{100, 100, 1, 1, 100};
  HDC paper = CreateCompatibleDC(nullptr);
  GridTextBuffer three{buffer, 3}, none{buffer, 0};
  auto to = [](HWND g, WPARAM w = 0, LPARAM l = 0) {
    return std::function<LRESULT(UINT)>([=](UINT msg) { return Ask(g, msg, w, l); });
  };
  auto painted = [&](UINT msg) {
    UpdateWindow(grid);
    return Ask(grid, msg);
  };
  auto text = [](const char* t) { return reinterpret_cast<LPARAM>(t); };
  auto address = [](const void* p) { return reinterpret_cast<LPARAM>(p); };
  const std::function<LRESULT(UINT)> unobservable;
  // A change of the user's (a committed edit) before the message.
  auto userChange = [&](std::function<LRESULT(UINT)> send) {
    return std::function<LRESULT(UINT)>([=](UINT msg) {
      Ask(grid, GM_EDITCELL, GRID_CELL(1, 2), text("typed"));
      Ask(grid, GM_ENDEDIT, TRUE);
      return send(msg);
    });
  };
  auto isWindow = [](std::function<LRESULT(UINT)> send) {
    return std::function<LRESULT(UINT)>([=](UINT msg) { return LRESULT{IsWindow(reinterpret_cast<HWND>(send(msg)))}; });
  };
  const char* refused = "IDOK after a refusal box";
  const char* quietly = "0 after a refusal with GS_NOREFUSALBOX";
  struct Check {
    const char* name;
    const char* clause;
    std::function<LRESULT(UINT)> send;
    LRESULT expected;
  };
  const Check checks[] = {
      {"GM_SETGRIDCOLOR", "TRUE", to(grid, RGB(1, 2, 3)), TRUE},
      {"GM_GETGRIDCOLOR", "the grid-line colour", to(grid), RGB(1, 2, 3)},
      {"GM_SETBKCOLOR", "TRUE", to(grid, RGB(4, 5, 6)), TRUE},
      {"GM_GETBKCOLOR", "the background colour", to(grid), RGB(4, 5, 6)},
      {"GM_SETCURCOL", "TRUE", to(grid, 2), TRUE},
      {"GM_SETCURCOL", "0 when the column is already current", to(grid, 2), 0},
      {"GM_SETCURCOL", refused, to(grid, 0), IDOK},
      {"GM_SETCURCOL", quietly, to(quiet, 0), 0},
      {"GM_GETCURCOL", "the current cell's column", to(grid), 2},
      {"GM_SETCURROW", "TRUE", to(grid, 2), TRUE},
      {"GM_SETCURROW", "0 when the row is already current", to(grid, 2), 0},
      {"GM_SETCURROW", refused, to(grid, 4), IDOK},
      {"GM_SETCURROW", quietly, to(quiet, 4), 0},
      {"GM_GETCURROW", "the current cell's row", to(grid), 2},
      {"GM_SETCOLCOUNT", "TRUE", to(grid, 6), TRUE},
      {"GM_SETCOLCOUNT", "0 when memory runs out, nothing changed", unobservable, 0},
      {"GM_SETCOLCOUNT", refused, to(grid, 255), IDOK},
      {"GM_SETCOLCOUNT", quietly, to(quiet, 1), 0},
      {"GM_GETCOLCOUNT", "the number of columns, title column included", to(grid), 6},
      {"GM_SETROWCOUNT", "TRUE", to(grid, 30), TRUE},
      {"GM_SETROWCOUNT", "0 when memory runs out, nothing changed", unobservable, 0},
      {"GM_SETROWCOUNT", refused, to(grid, 16383), IDOK},
      {"GM_SETROWCOUNT", quietly, to(quiet, 0), 0},
      {"GM_GETROWCOUNT", "the number of rows, title row included", to(grid), 30},
      {"GM_SETCOLWIDTH", "TRUE", to(grid, 2, 60), TRUE},
      {"GM_SETCOLWIDTH", "0 for a negative width or a column beyond 255, which change nothing", to(grid, 2, -1), 0},
      {"GM_SETCOLWIDTH", "0 for a negative width or a column beyond 255, which change nothing", to(grid, 256, 9), 0},
      {"GM_GETCOLWIDTH", "its width", to(grid, 2), 60},
      {"GM_GETCOLWIDTH", "0 for a column beyond 255", to(grid, 256), 0},
      {"GM_SETROWHEIGHT", "TRUE", to(grid, 29, 30), TRUE},
      {"GM_SETROWHEIGHT", "0 for a negative height or a row beyond 16383, which change nothing", to(grid, 29, -1), 0},
      {"GM_SETROWHEIGHT", "0 for a negative height or a row beyond 16383, which change nothing", to(grid, 16384, 9), 0},
      {"GM_GETROWHEIGHT", "its height", to(grid, 29), 30},
      {"GM_GETROWHEIGHT", "0 for a row beyond 16383", to(grid, 16384), 0},
      {"GM_SETSELENDCOL", "TRUE", to(grid, 3), TRUE},
      {"GM_SETSELENDCOL", refused, to(grid, 6), IDOK},
      {"GM_SETSELENDCOL", quietly, to(quiet, 0), 0},
      {"GM_GETSELENDCOL", "the selection's end column", to(grid), 3},
      {"GM_SETSELENDROW", "TRUE", to(grid, 3), TRUE},
      {"GM_SETSELENDROW", refused, to(grid, 30), IDOK},
      {"GM_SETSELENDROW", quietly, to(quiet, 0), 0},
      {"GM_GETSELENDROW", "the selection's end row", to(grid), 3},
      {"GM_SETFIRSTCOL", "the parent's answer to GN_SCROLLED", to(grid, 1), 0x55},
      {"GM_SETFIRSTCOL", "0 for a column outside", to(grid, 6), 0},
      {"GM_GETFIRSTCOL", "the first data column shown", to(grid), 1},
      {"GM_SETFIRSTROW", "the parent's answer to GN_SCROLLED", to(grid, 1), 0x55},
      {"GM_SETFIRSTROW", "0 for a row outside", to(grid, 0), 0},
      {"GM_GETFIRSTROW", "the first data row shown", to(grid), 1},
      {"GM_SETCELLFONT", "TRUE", to(grid, GRID_CELL(1, 1), address(font)), TRUE},
      {"GM_SETCELLFONT", "0 for a cell outside the grid", to(grid, GRID_CELL(6, 1), address(font)), 0},
      {"GM_GETCELLFONT", "the cell's font", to(grid, GRID_CELL(1, 1)), address(font)},
      {"GM_GETCELLFONT", "0 for a cell outside the grid", to(grid, GRID_CELL(1, 30)), 0},
      {"GM_SETCELLCOLOR", "TRUE", to(grid, GRID_CELL(1, 1), RGB(7, 8, 9)), TRUE},
      {"GM_SETCELLCOLOR", "0 for a cell outside the grid", to(grid, GRID_CELL(6, 1), 1), 0},
      {"GM_GETCELLCOLOR", "the cell's text colour", to(grid, GRID_CELL(1, 1)), RGB(7, 8, 9)},
      {"GM_GETCELLCOLOR", "0 for a cell outside the grid", to(grid, GRID_CELL(6, 1)), 0},
      {"GM_SETCELLFORMAT", "TRUE", to(grid, GRID_CELL(1, 1), DT_RIGHT), TRUE},
      {"GM_SETCELLFORMAT", "0 for a cell outside the grid", to(grid, GRID_CELL(6, 1), 1), 0},
      {"GM_GETCELLFORMAT", "the cell's DrawTextA flags", to(grid, GRID_CELL(1, 1)), DT_RIGHT},
      {"GM_GETCELLFORMAT", "0 for a cell outside the grid", to(grid, GRID_CELL(6, 1)), 0},
      {"GM_SETCELLTEXT", "TRUE", to(grid, GRID_CELL(1, 1), text("abc")), TRUE},
      {"GM_SETCELLTEXT", "0 for a cell outside the grid or no text", to(grid, GRID_CELL(6, 1), text("x")), 0},
      {"GM_SETCELLTEXT", "0 for a cell outside the grid or no text", to(grid, GRID_CELL(1, 1)), 0},
      {"GM_SETCELLTEXT", "0 when memory runs out, the old text staying", unobservable, 0},
      {"GM_GETCELLTEXT", "the text's length, without its zero", to(grid, GRID_CELL(1, 1), address(buffer)), 3},
      {"GM_GETCELLTEXT", "0 for a cell outside the grid or no buffer, the buffer left as it was",
       to(grid, GRID_CELL(6, 1), address(buffer)), 0},
      {"GM_GETCELLTEXT", "0 for a cell outside the grid or no buffer, the buffer left as it was",
       to(grid, GRID_CELL(1, 1)), 0},
      {"GM_ENABLERESIZE", "0", to(grid, 1), 0},
      {"GM_ENABLESELECT", "TRUE", to(grid, 1), TRUE},
      {"GM_COPYSEL", "TRUE", to(grid, address(buffer)), TRUE},
      {"GM_COPYSEL", "0 for no buffer", to(grid), 0},
      {"GM_PASTE", "TRUE", to(grid, text("p\tq\r\nr\ts\r\n")), TRUE},
      {"GM_PASTE", "0 for no text", to(grid), 0},
      {"GM_PASTE", "0 when memory runs out, a field that could not be stored leaving its cell as it was", unobservable,
       0},
      {"GM_PASTE", refused, to(grid, text("x")), IDOK},
      {"GM_PASTE", quietly, to(quiet, text("1\t2\t3\t4\t5")), 0},
      {"GM_GETCOPYSIZE", "the bytes GM_COPYSEL writes for the selection, the zero included", to(grid), 11},
      {"GM_INSERTROW", "TRUE", to(grid, 1), TRUE},
      {"GM_INSERTROW", "0 when memory runs out, nothing changed", unobservable, 0},
      {"GM_INSERTROW", refused, to(grid, 31), IDOK},
      {"GM_INSERTROW", quietly, to(quiet, 4), 0},
      {"GM_DELETEROW", "the parent's answer to the last GN_SCROLLED", to(grid, 1), 0x55},
      {"GM_DELETEROW", refused, to(grid, 100), IDOK},
      {"GM_DELETEROW", quietly, to(quiet, 4), 0},
      {"GM_PRINT", "EndDoc's result", unobservable, 0},  // PrintTest prints on a real printer
      {"GM_PRINT", "0 for no range or a range wholly outside the grid, which prints nothing",
       to(grid, reinterpret_cast<WPARAM>(paper)), 0},
      {"GM_PRINT", "0 for no range or a range wholly outside the grid, which prints nothing",
       to(grid, reinterpret_cast<WPARAM>(paper), address(&outside)), 0},
      {"GM_SUMCOLWIDTHS", "the sum of their widths, the first column's alone when lParam < wParam", to(grid, 1, 3), 160},
      {"GM_SUMCOLWIDTHS", "the sum of their widths, the first column's alone when lParam < wParam", to(grid, 2, 1), 60},
      {"GM_SUMROWHEIGHTS", "the sum of their heights, the first row's alone when lParam < wParam", to(grid, 28, 29), 50},
      {"GM_SUMROWHEIGHTS", "the sum of their heights, the first row's alone when lParam < wParam", to(grid, 29, 1), 30},
      {"GM_SIZING", "0", to(grid, WMSZ_RIGHT), 0},
      {"GM_GETCURCELL", "GRID_CELL(curCol, curRow)", to(grid, address(&cell), address(&rect)), MAKELONG(2, 2)},
      {"GM_GETCURCELL", "0 for a null pointer", to(grid, 0, address(&rect)), 0},
      {"GM_GETLASTCOL", "the last column whose left edge was at or left of the client area's right edge at the last paint",
       painted, 5},
      // Rows 20 pixels high in 300: row 15's top edge is the bottom edge.
      {"GM_GETLASTROW", "the last row whose top edge was at or above the client area's bottom edge at the last paint",
       painted, 15},
      {"GM_GETCELLTEXTLENGTH", "the length of the cell's text, without its zero", to(grid, GRID_CELL(1, 1)), 3},
      {"GM_GETCELLTEXTLENGTH", "0 for a cell outside the grid", to(grid, GRID_CELL(6, 1)), 0},
      {"GM_GETCELLTEXTN", "the bytes copied, without the zero", to(grid, GRID_CELL(1, 1), address(&three)), 2},
      {"GM_GETCELLTEXTN", "0 for size 0 or no record or buffer, which writes nothing",
       to(grid, GRID_CELL(1, 1), address(&none)), 0},
      {"GM_GETCELLTEXTN", "0 for size 0 or no record or buffer, which writes nothing", to(grid, GRID_CELL(1, 1)), 0},
      {"GM_GETEXSTYLE", "0 for a new grid", to(grid), 0},
      {"GM_SETEXSTYLE", "the extended style before the change", to(grid, 0, 0xFFFF), 0},
      {"GM_GETEXSTYLE", "the extended style", to(grid), GS_EX_EDIT | GS_EX_SHEETKEYS | GS_EX_SELCHANGE},
      {"GM_EDITCELL", "NULL for a cell that is not a data cell, or when GN_BEGINEDIT refused the edit",
       to(grid, GRID_CELL(0, 1)), 0},
      {"GM_GETEDITWINDOW", "NULL when no edit is open", to(grid), 0},
      {"GM_EDITCELL", "the editor's window", isWindow(to(grid, GRID_CELL(2, 3))), TRUE},
      {"GM_GETEDITWINDOW", "the open editor's window", isWindow(to(grid)), TRUE},
      {"GM_ENDEDIT", "TRUE when an edit was open", to(grid, TRUE), TRUE},
      {"GM_ENDEDIT", "0 when none was", to(grid, FALSE), 0},
      {"GM_UNDO", "0 when there was none, or memory ran out and nothing changed", to(grid), 0},
      {"GM_UNDO", "TRUE when a step was undone", userChange(to(grid)), TRUE},
      {"GM_CANUNDO", "bit 0 set when a step can be undone, bit 1 when one can be redone", to(grid), 2},
      {"GM_REDO", "TRUE when a step was redone", to(grid), TRUE},
      {"GM_EMPTYUNDO", "0", to(grid), 0},
      {"GM_REDO", "0 when there was none, or memory ran out and nothing changed", to(grid), 0},
  };
  std::set<std::string> checked;
  for (const Check& c : checks) {
    const auto it = documented.find(c.name);
    ASSERT_NE(it, documented.end()) << c.name << " is not in the header";
    const std::vector<std::string>& clauses = it->second.clauses;
    EXPECT_NE(std::find(clauses.begin(), clauses.end(), c.clause), clauses.end())
        << c.name << ": the header does not say \"" << c.clause << "\"";
    checked.insert(std::string(c.name) + ": " + c.clause);
    if (c.send) {
      EXPECT_EQ(c.send(it->second.number), c.expected) << c.name << ": " << c.clause;
    }
  }
  for (const auto& [name, d] : documented) {
    EXPECT_FALSE(d.clauses.empty()) << name << " has no documented result";
    for (const std::string& clause : d.clauses) {
      EXPECT_EQ(checked.count(name + ": " + clause), 1u) << name << ": \"" << clause << "\" is not checked";
    }
  }
  EXPECT_EQ(boxes.boxes.size(), 9u) << "one box for each refusal without GS_NOREFUSALBOX";
  DeleteDC(paper);
  DestroyWindow(quiet);
}

// Grids that are shown and take the focus.
struct ShownGridTest : harness::GridFixture {
  void SetUp() override { MakeGrid(harness::GridSetup().Id(0x12345).Unpainted()); }
};

TEST_F(ShownGridTest, FocusRunsTheTimerAndIsReported) {
  SetFocus(grid);
  ASSERT_EQ(GetFocus(), grid);
  MSG m;
  Sleep(100);
  EXPECT_TRUE(PeekMessageA(&m, grid, WM_TIMER, WM_TIMER, PM_NOREMOVE)) << "timer 1 runs with the focus";
  EXPECT_EQ(m.wParam, 1u);
  parent.Clear();
  SetFocus(parent.hwnd());
  EXPECT_EQ(parent.WithoutMoves(), std::vector<Note>{Sent(GN_KILLFOCUS, 0x12345, 0)})
      << Describe(parent.notes);
  while (PeekMessageA(&m, grid, WM_TIMER, WM_TIMER, PM_REMOVE)) {
  }
  Sleep(150);
  EXPECT_FALSE(PeekMessageA(&m, grid, WM_TIMER, WM_TIMER, PM_NOREMOVE)) << "no timer without the focus";
}

TEST_F(ShownGridTest, InputNotificationsCarryTheirPackedWords) {
  Ask(grid, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELONG(300, 250));
  Ask(grid, WM_LBUTTONUP, MK_SHIFT, MAKELONG(301, 251));
  Ask(grid, WM_KEYUP, 'A', 0);
  Ask(grid, WM_KEYDOWN, VK_F5, 0);
  Ask(grid, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(grid), MAKELONG(10, 20));
  harness::Pump();  // delivers the posted ones
  // The identifier keeps only its low word in the mouse notifications and
  // travels whole in the others.
  const std::vector<Note> expected = {
      Sent(GN_SETFOCUS, 0x12345, 0),
      Posted(GN_LBUTTONDOWN, MAKELONG(MK_LBUTTON | MK_SHIFT, 0x2345), MAKELONG(300, 250)),
      Posted(GN_LBUTTONUP, MAKELONG(MK_SHIFT, 0x2345), MAKELONG(301, 251)),
      Posted(GN_KEYUP, 'A', 0x12345),
      Posted(GN_KEYDOWN, VK_F5, 0x12345),
      Posted(GN_CONTEXTMENU, 0x12345, MAKELONG(10, 20)),
  };
  EXPECT_EQ(parent.WithoutMoves(), expected) << Describe(parent.notes);
}

// MAKELONG would make a negative LONG of these words and spread its sign
// into a 64-bit wParam.
TEST_F(ShownGridTest, TheMouseWordOfAnIdentifierWithItsHighBitSetHasNoUpperHalf) {
  HWND other = parent.CreateGrid(0x8001, 0, 0, 100, 100);
  parent.Clear();
  Ask(other, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(90, 90));
  Ask(other, WM_LBUTTONUP, 0, MAKELPARAM(90, 90));
  harness::Pump();
  const std::vector<Note> presses = parent.Only(GN_LBUTTONDOWN);
  ASSERT_EQ(presses.size(), 1u) << Describe(parent.notes);
  EXPECT_EQ(presses[0].wParam, WPARAM{0x80010001});
  DestroyWindow(other);
}

TEST_F(ShownGridTest, APressTakesTheFocusBeforeItIsReported) {
  SetFocus(parent.hwnd());
  parent.Clear();
  Ask(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELONG(390, 290));
  EXPECT_EQ(GetFocus(), grid);
  EXPECT_EQ(GetCapture(), grid);
  Ask(grid, WM_LBUTTONUP, 0, MAKELONG(390, 290));
  EXPECT_EQ(GetCapture(), nullptr);
  harness::Pump();
  const std::vector<Note> expected = {
      Sent(GN_SETFOCUS, 0x12345, 0),
      Posted(GN_LBUTTONDOWN, MAKELONG(MK_LBUTTON, 0x2345), MAKELONG(390, 290)),
      Posted(GN_LBUTTONUP, MAKELONG(0, 0x2345), MAKELONG(390, 290)),
  };
  EXPECT_EQ(parent.WithoutMoves(), expected) << Describe(parent.notes);
}

TEST_F(ShownGridTest, TheClassCursorShowsWhileNoSizingIsArmed) {
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  Ask(grid, WM_SETCURSOR, reinterpret_cast<WPARAM>(grid), MAKELONG(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorA(GetModuleHandleA("Latticor.dll"), MAKEINTRESOURCEA(101)));
}

}  // namespace
