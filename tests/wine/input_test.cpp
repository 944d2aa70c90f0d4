// The grid under real input: the pointer and the keyboard go through the X
// server and come back as the messages a person's hand would cause.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

#include "grid_fixture.h"

namespace {

using harness::Ask;
namespace input = harness::input;

struct RealInputTest : harness::GridFixture {
  void SetUp() override {
    MakeGrid(harness::GridSetup().ExactClient().Cells(10, 30).KeepNotes());
    input::MoveTo(grid, 300, 200);
    parent.Clear();
  }
  void TearDown() override {
    input::ButtonUp(10);
    harness::GridFixture::TearDown();
  }
  std::string Selection() { return harness::SelectionOf(grid); }
};

TEST_F(RealInputTest, AQuickDragAcrossThreeColumnsExtendsOneColumnPerMove) {
  input::MoveTo(grid, 75, 30);
  input::ButtonDown();
  ASSERT_EQ(GetFocus(), grid);
  ASSERT_EQ(Selection(), "1,1-1,1");
  POINT before;
  GetCursorPos(&before);
  input::MoveTo(grid, 225, 30, 400);  // column 4 in one movement
  EXPECT_EQ(Selection(), "1,1-4,1");
  POINT after;
  GetCursorPos(&after);
  // Each step nudged the pointer one mickey further right.
  EXPECT_GE(after.x - before.x, 150 + 3);
  EXPECT_GE(parent.Only(GN_MOUSEMOVE).size(), 3u) << "the selection caught up move by move";
  input::ButtonUp();
  harness::Capture shot(grid);
  const COLORREF white = RGB(255, 255, 255);
  EXPECT_EQ(shot.At(225, 30), harness::Inverted(white)) << "column 4 highlighted";
  EXPECT_EQ(shot.At(125, 30), harness::Inverted(white));
  EXPECT_EQ(shot.At(75, 30), white) << "the anchor's interior";
  EXPECT_EQ(shot.At(275, 30), white) << "column 5 not";
}

TEST_F(RealInputTest, ADragHeldBelowTheCellsScrollsARowATickUntilTheLastRow) {
  input::MoveTo(grid, 75, 30);
  input::ButtonDown();
  // At every scroll: the first row shown and the selection's end.
  std::vector<std::pair<LRESULT, LRESULT>> steps;
  parent.onNote = [&](const harness::Note& n) -> LRESULT {
    if (n.msg == GN_SCROLLED) steps.emplace_back(Ask(grid, GM_GETFIRSTROW), Ask(grid, GM_GETSELENDROW));
    return 0;
  };
  input::MoveTo(grid, 75, 340);  // below the grid window, still on screen
  const DWORD start = GetTickCount();
  while (Ask(grid, GM_GETSELENDROW) < 29 && GetTickCount() - start < 8000) harness::PumpFor(50);
  harness::PumpFor(300);
  ASSERT_GE(steps.size(), 10u);
  // The drag steps took the end to the last visible row (15); from there
  // each tick scrolled one row and took the end one row further.
  for (size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(steps[i].first, static_cast<LRESULT>(2 + i)) << i;
    EXPECT_EQ(steps[i].second, static_cast<LRESULT>(15 + i)) << i;
  }
  EXPECT_EQ(Ask(grid, GM_GETSELENDROW), 29) << "it stops at the last row";
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 15) << "which is then the last one shown";
  input::ButtonUp();
  // The release cleared the requests: with the pointer back up, nothing moves.
  const size_t scrolls = steps.size();
  input::MoveTo(grid, 75, 100, 300);
  EXPECT_EQ(steps.size(), scrolls);
  EXPECT_EQ(Ask(grid, GM_GETCURROW), 1);
}

TEST_F(RealInputTest, ADragHeldBelowAndRightOfTheCellsDoesNotAutoScroll) {
  input::MoveTo(grid, 75, 30);
  input::ButtonDown();
  input::MoveTo(grid, 450, 340, 500);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 1);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTCOL), 1);
  input::MoveTo(grid, 30, 340, 500);  // below and left: both directions
  EXPECT_GT(Ask(grid, GM_GETFIRSTROW), 1);
  input::ButtonUp();
}

// The button through the X server, released below the test's window, where
// no window of this process lies: only X's grab of the pressed button
// brings the release back. The drag steps nudge the pointer meanwhile; made
// by the grid's own thread, each nudge used to end that grab under Wine, so
// that the release went nowhere and the grid kept the capture, dragging on
// with the button up and swallowing the next click elsewhere.
TEST_F(RealInputTest, AReleaseOutsideEveryWindowOfTheProcessEndsTheDrag) {
  namespace x11 = input::x11;
  ASSERT_TRUE(x11::Available()) << "xdotool (scripts/setup installs it)";
  x11::MoveTo(grid, 75, 30);
  x11::ButtonDown();
  x11::MoveTo(grid, 75, 250, 300);  // the drag steps down to row 13, nudging
  ASSERT_EQ(Selection(), "1,1-1,13");
  ASSERT_EQ(GetCapture(), grid);
  RECT window;
  GetWindowRect(parent.hwnd(), &window);
  x11::MoveToScreen(window.left + 75, window.bottom + 60, 200);
  x11::ButtonUp(300);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_GE(GetKeyState(VK_LBUTTON), 0) << "the system saw the release";
  EXPECT_EQ(parent.Only(GN_LBUTTONUP).size(), 1u) << harness::Describe(parent.notes);
  const std::string selected = Selection();
  const LRESULT first = Ask(grid, GM_GETFIRSTROW);
  x11::MoveTo(grid, 175, 100, 300);  // back over the cells, the button up
  EXPECT_EQ(Selection(), selected) << "the selection no longer follows the pointer";
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), first) << "nor does the grid scroll";
  parent.Clear();
  x11::MoveTo(parent.hwnd(), 600, 500);
  x11::Click(200);  // beside the grid: the click is not the grid's
  EXPECT_TRUE(parent.Only(GN_LBUTTONDOWN).empty()) << harness::Describe(parent.notes);
}

TEST_F(RealInputTest, HoveringAColumnEdgeShowsTheSizingCursorAndDraggingResizes) {
  SetFocus(grid);
  // The system asks for the cursor before it reports the move that arms an
  // edge, so the shape changes with the next move over the zone.
  input::MoveTo(grid, 99, 10);  // the line right of column 1 is at x = 99
  input::MoveTo(grid, 100, 10);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZEWE));
  input::MoveTo(grid, 75, 10);
  input::MoveTo(grid, 76, 10);
  EXPECT_EQ(GetCursor(), LoadCursorA(GetModuleHandleA("Latticor.dll"), MAKEINTRESOURCEA(101)));
  input::MoveTo(grid, 25, 39);  // row 1's bottom edge, on the row titles
  input::MoveTo(grid, 25, 40);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZENS));

  input::MoveTo(grid, 100, 10);
  input::ButtonDown();
  EXPECT_EQ(Selection(), "1,1-1,1") << "an armed press selects nothing";
  parent.Clear();
  input::MoveTo(grid, 140, 10);
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 1), 90);
  EXPECT_TRUE(parent.Only(GN_PAINT).empty()) << "no repaint while dragging";
  input::MoveTo(grid, 20, 10);
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 1), 90) << "a width below 1 is ignored";
  input::MoveTo(grid, 20 + 2, 10);
  input::MoveTo(grid, 140 - 89 + 1, 10);
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 1), 2);
  input::MoveTo(grid, 160, 10);
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 1), 110);
  input::ButtonUp();
  EXPECT_EQ(parent.Only(GN_PAINT).size(), 1u) << "one repaint on release";
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 1), 110);
  harness::Capture shot(grid);
  EXPECT_EQ(shot.At(159, 50), GetSysColor(COLOR_3DDKSHADOW)) << "the column's right line moved";
  EXPECT_EQ(shot.At(99, 50), RGB(255, 255, 255));
}

TEST_F(RealInputTest, ResizingOffMakesAnEdgePressSelectItsColumnUntilFocusReturns) {
  SetFocus(grid);
  Ask(grid, GM_ENABLERESIZE, 0);
  input::MoveTo(grid, 100, 10);
  input::ButtonDown();
  input::ButtonUp();
  EXPECT_EQ(Selection(), "1,1-1,29") << "the column is selected";
  SetFocus(parent.hwnd());
  SetFocus(grid);
  input::MoveTo(grid, 99, 10);
  input::MoveTo(grid, 100, 10);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZEWE)) << "edges arm again";
}

TEST_F(RealInputTest, KeysMoveTheAnchorAndTheHighlightFollows) {
  input::MoveTo(grid, 75, 30);
  input::ButtonDown();
  input::ButtonUp();
  input::Tap(VK_DOWN);
  input::Tap(VK_RIGHT);
  EXPECT_EQ(Selection(), "2,2-2,2");
  input::Key(VK_SHIFT, true);
  input::Tap(VK_RIGHT);
  input::Tap(VK_DOWN);
  input::Key(VK_SHIFT, false);
  EXPECT_EQ(Selection(), "2,2-3,3");
  harness::Capture shot(grid);
  const COLORREF white = RGB(255, 255, 255);
  EXPECT_EQ(shot.At(175, 70), harness::Inverted(white));
  EXPECT_EQ(shot.At(125, 50), white) << "the anchor's interior";
  EXPECT_EQ(shot.At(75, 30), white);
  EXPECT_EQ(parent.Only(GN_KEYDOWN).size(), 5u);
}

// A dialog template in memory: a dialog with its own font holding a grid
// (identifier 100) and the default button OK.
std::vector<WORD> GridDialogTemplate() {
  std::vector<WORD> t;
  auto dword = [&t](DWORD v) {
    t.push_back(LOWORD(v));
    t.push_back(HIWORD(v));
  };
  auto text = [&t](const wchar_t* s) {
    do t.push_back(static_cast<WORD>(*s));
    while (*s++);
  };
  auto item = [&](DWORD style, WORD x, WORD y, WORD cx, WORD cy, WORD id) {
    if (t.size() % 2) t.push_back(0);  // items start on a DWORD
    dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | style);
    dword(0);
    for (WORD w : {x, y, cx, cy, id}) t.push_back(w);
  };
  dword(WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT);
  dword(0);
  for (WORD w : {2, 0, 0, 220, 140, 0, 0}) t.push_back(w);  // items, place, no menu, default class
  text(L"A grid in a dialog");
  t.push_back(8);
  text(L"MS Shell Dlg");
  item(0, 5, 5, 210, 100, 100);
  text(L"LATTICOR");
  text(L"");
  t.push_back(0);
  item(BS_DEFPUSHBUTTON, 85, 115, 50, 14, IDOK);
  for (WORD w : {0xFFFF, 0x0080}) t.push_back(w);  // the button class
  text(L"OK");
  t.push_back(0);
  return t;
}

INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    return TRUE;  // the focus goes to the first control
  }
  if (msg == WM_COMMAND) {
    reinterpret_cast<std::vector<WORD>*>(GetWindowLongPtrA(dialog, DWLP_USER))->push_back(LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

// Real keys in a dialog box: the arrows are the grid's, Tab and Enter the
// dialog's; the grid takes the dialog's font.
TEST(GridInADialog, ArrowsMoveTheCurrentCellWhileTabAndEnterStayWithTheDialog) {
  const std::vector<WORD> dialogTemplate = GridDialogTemplate();
  std::vector<WORD> commands;
  HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                           reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()), nullptr,
                                           RecordingDialogProc, reinterpret_cast<LPARAM>(&commands));
  ASSERT_NE(dialog, nullptr);
  HWND grid = GetDlgItem(dialog, 100), ok = GetDlgItem(dialog, IDOK);
  EXPECT_NE(Ask(grid, WM_GETFONT), 0);
  EXPECT_EQ(Ask(grid, WM_GETFONT), Ask(dialog, WM_GETFONT)) << "the font the dialog gave it";
  SetForegroundWindow(dialog);
  input::SetDialog(dialog);
  input::Settle(50);
  ASSERT_EQ(GetFocus(), grid) << "the first control has the focus";
  input::Tap(VK_RIGHT);
  input::Tap(VK_DOWN);
  EXPECT_EQ(harness::SelectionOf(grid), "2,2-2,2") << "the arrows moved the current cell";
  input::Tap(VK_TAB);
  EXPECT_EQ(GetFocus(), ok) << "Tab moved the focus on";
  input::Tap(VK_TAB);
  ASSERT_EQ(GetFocus(), grid);
  EXPECT_TRUE(commands.empty());
  input::Tap(VK_RETURN);
  EXPECT_EQ(commands, std::vector<WORD>{IDOK}) << "Enter reached the dialog";
  EXPECT_EQ(harness::SelectionOf(grid), "2,2-2,2");
  input::SetDialog(nullptr);
  DestroyWindow(dialog);
}

}  // namespace
