// Bad input, parents that act from inside notifications, and the largest
// grids: the grid must survive all of it and stay consistent.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "grid_fixture.h"

namespace {

using harness::Ask;
using harness::MessageBoxCapture;
using harness::Note;

// Whatever happened, the grid still answers sensibly.
void ExpectConsistent(HWND grid, const std::string& after) {
  ASSERT_TRUE(IsWindow(grid)) << after;
  const LRESULT cols = Ask(grid, GM_GETCOLCOUNT), rows = Ask(grid, GM_GETROWCOUNT);
  ASSERT_GE(cols, 2) << after;
  ASSERT_LE(cols, 254) << after;
  ASSERT_GE(rows, 2) << after;
  ASSERT_LE(rows, 16382) << after;
  for (UINT msg : {GM_GETCURCOL, GM_GETSELENDCOL, GM_GETFIRSTCOL}) {
    const LRESULT v = Ask(grid, msg);
    ASSERT_TRUE(v >= 1 && v < cols) << after << ": message " << msg << " answers " << v;
  }
  for (UINT msg : {GM_GETCURROW, GM_GETSELENDROW, GM_GETFIRSTROW}) {
    const LRESULT v = Ask(grid, msg);
    ASSERT_TRUE(v >= 1 && v < rows) << after << ": message " << msg << " answers " << v;
  }
}

TEST(BadInput, EveryPrivateNumberAndHandledMessageWithEdgeValues) {
  harness::TestParent parent;
  HWND grid = parent.CreateGrid(7, 0, 0, 300, 200);
  UpdateWindow(grid);
  MessageBoxCapture boxes;
  HDC paper = CreateCompatibleDC(nullptr);
  std::vector<UINT> messages = {WM_SIZE,      WM_SETFOCUS,   WM_KILLFOCUS,   WM_PAINT,       WM_ERASEBKGND,
                                WM_SETCURSOR, WM_SETFONT,    WM_CONTEXTMENU, WM_KEYDOWN,     WM_KEYUP,
                                WM_TIMER,     WM_HSCROLL,    WM_VSCROLL,     WM_MOUSEMOVE,   WM_LBUTTONDOWN,
                                WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEWHEEL};
  for (UINT msg = 1024; msg <= 1100; ++msg) messages.push_back(msg);
  int sent = 0;
  for (UINT msg : messages) {
    const LRESULT cols = Ask(grid, GM_GETCOLCOUNT), rows = Ask(grid, GM_GETROWCOUNT);
    const WPARAM values[] = {0, 1, WPARAM(cols - 1), WPARAM(cols), WPARAM(rows - 1), WPARAM(rows), 0xFFFF,
                             0xFFFFFFFF, MAKELONG(300, 20000), WPARAM(-5)};
    for (WPARAM w : values) {
      for (LPARAM l : {LPARAM{0}, LPARAM{1}, LPARAM{-5}, LPARAM{0x7FFFFFFF}, LPARAM(MAKELONG(300, 20000))}) {
        if (msg == GM_SIZING && w == 0 && l == 0) continue;
        std::vector<char> buffer(size_t(Ask(grid, GM_GETCOPYSIZE)) + 70000, '\0');
        GridCell cell;
        RECT rect;
        GridPrintRange range{UINT(w), UINT(l), UINT(w), UINT(l), 100};
        GridTextBuffer request{buffer.data(), UINT(std::min<size_t>(size_t(l) & 0xFFFF, buffer.size()))};
        WPARAM wp = w;
        LPARAM lp = l;
        switch (msg) {
          case GM_GETCELLTEXT: lp = reinterpret_cast<LPARAM>(buffer.data()); break;
          case GM_SETCELLTEXT: lp = reinterpret_cast<LPARAM>("x\ty"); break;
          case GM_GETCURCELL: wp = reinterpret_cast<WPARAM>(&cell), lp = reinterpret_cast<LPARAM>(&rect); break;
          case GM_COPYSEL: wp = reinterpret_cast<WPARAM>(buffer.data()); break;
          case GM_PASTE: wp = reinterpret_cast<WPARAM>("p\tq\r\nr\ts\r\n"); break;
          case GM_PRINT: wp = reinterpret_cast<WPARAM>(paper), lp = reinterpret_cast<LPARAM>(&range); break;
          case GM_GETCELLTEXTN: lp = reinterpret_cast<LPARAM>(&request); break;
          default: break;
        }
        PostMessageA(grid, WM_NULL, 0, 0);  // ends a scroll's wait at once
        SendMessageA(grid, msg, wp, lp);
        ++sent;
        ExpectConsistent(grid, "message " + std::to_string(msg) + " (" + std::to_string(w) + ", " +
                                   std::to_string(l) + ")");
        if (::testing::Test::HasFatalFailure()) return;
      }
    }
    ReleaseCapture();
    harness::Pump();
  }
  // Every refusal was one of the grid's own boxes.
  for (const auto& box : boxes.boxes) {
    EXPECT_EQ(box.caption, "Latticor");
    EXPECT_TRUE(box.text.rfind("Invalid number of", 0) == 0 || box.text.rfind("The maximum number of", 0) == 0 ||
                box.text.rfind("The selected range", 0) == 0)
        << box.text;
  }
  EXPECT_GT(boxes.boxes.size(), 50u);
  EXPECT_GT(sent, 4000);
  UpdateWindow(grid);
  ExpectConsistent(grid, "the end");
  DeleteDC(paper);
  DestroyWindow(grid);
}

TEST(BadInput, AStrayCreationMessageLeavesTheGridAlone) {
  harness::TestParent parent;
  HWND grid = parent.CreateGrid();
  harness::SetCellText(grid, 2, 2, "kept");
  EXPECT_EQ(Ask(grid, WM_CREATE, 0, 0), 0);
  EXPECT_EQ(harness::CellText(grid, 2, 2), "kept");
  DestroyWindow(grid);
}

// ---- Parents that act from inside a notification ---------------------------

enum class Act { kFewerColumns, kDeleteRows, kMoveCurrent, kDestroy };
const char* Name(Act a) {
  switch (a) {
    case Act::kFewerColumns: return "fewer columns";
    case Act::kDeleteRows: return "delete rows";
    case Act::kMoveCurrent: return "move the current cell";
    default: return "destroy";
  }
}

struct ReentrantParent : harness::GridFixtureOf<::testing::TestWithParam<std::tuple<UINT, Act>>> {
  int acted = 0;

  void SetUp() override {
    MakeGrid(harness::GridSetup().ExactClient().Cells(30, 60).Focused().KeepNotes());
    harness::Pump();
    const UINT when = std::get<0>(GetParam());
    const Act act = std::get<1>(GetParam());
    parent.onNote = [this, when, act](const Note& n) -> LRESULT {
      if (n.msg != when || !IsWindow(grid) || acted++ > 0) return 0;  // act on the first one
      switch (act) {
        case Act::kFewerColumns: Ask(grid, GM_SETCOLCOUNT, 2); break;
        case Act::kDeleteRows:
          for (int i = 0; i < 58; ++i) Ask(grid, GM_DELETEROW, 0);
          break;
        case Act::kMoveCurrent: Ask(grid, GM_SETCURCOL, 1); Ask(grid, GM_SETCURROW, 1); break;
        case Act::kDestroy: DestroyWindow(grid); break;
      }
      return 0;
    };
  }
};

TEST_P(ReentrantParent, TheGridSurvivesWhatTheParentDoes) {
  MessageBoxCapture boxes;
  // Everything that sends notifications: a cell move by message and its
  // paint, presses, keys, scrolls, a row deletion, a resize of a column.
  const auto steps = {
      +[](HWND g) { Ask(g, GM_SETCURCOL, 5); UpdateWindow(g); },
      +[](HWND g) { Ask(g, WM_LBUTTONDOWN, MK_LBUTTON, MAKELONG(175, 70)); Ask(g, WM_LBUTTONUP, 0, MAKELONG(175, 70)); },
      +[](HWND g) { Ask(g, WM_LBUTTONDOWN, MK_LBUTTON, MAKELONG(175, 10)); Ask(g, WM_LBUTTONUP, 0, MAKELONG(175, 10)); },
      +[](HWND g) { Ask(g, WM_LBUTTONDOWN, MK_LBUTTON, MAKELONG(10, 10)); Ask(g, WM_LBUTTONUP, 0, MAKELONG(10, 10)); },
      +[](HWND g) { Ask(g, WM_KEYDOWN, VK_DOWN, 0); Ask(g, WM_KEYDOWN, VK_RIGHT, 0); },
      +[](HWND g) { Ask(g, GM_SETFIRSTROW, 20); Ask(g, WM_VSCROLL, SB_PAGEUP, 0); Ask(g, WM_HSCROLL, SB_LINERIGHT, 0); },
      +[](HWND g) { Ask(g, GM_SETCURROW, 14); UpdateWindow(g); Ask(g, WM_KEYDOWN, VK_DOWN, 0); },
      +[](HWND g) { Ask(g, GM_SETFIRSTROW, 59); Ask(g, GM_DELETEROW, 3); },
      +[](HWND g) { Ask(g, WM_MOUSEWHEEL, MAKELONG(0, WORD(-240)), 0); },
      +[](HWND g) { InvalidateRect(g, nullptr, TRUE); UpdateWindow(g); },
  };
  for (auto step : steps) {
    if (!IsWindow(grid)) break;
    PostMessageA(grid, WM_NULL, 0, 0);
    step(grid);
    harness::Pump();
    if (IsWindow(grid)) {
      UpdateWindow(grid);
      ExpectConsistent(grid, Name(std::get<1>(GetParam())));
      if (HasFatalFailure()) return;
    }
  }
  EXPECT_GE(acted, 1) << "the notification came";
  if (std::get<1>(GetParam()) == Act::kDestroy) {
    EXPECT_FALSE(IsWindow(grid));
  }
}

using ReentrantCase = ::testing::TestParamInfo<std::tuple<UINT, Act>>;
std::string CaseName(const ReentrantCase& info) {
  const char* acts[] = {"FewerColumns", "DeleteRows", "MoveCurrent", "Destroy"};
  const UINT n = std::get<0>(info.param);
  const char* when = n == GN_CELLLEAVING   ? "Leaving"
                     : n == GN_CELLENTERED ? "Entered"
                     : n == GN_SCROLLED    ? "Scrolled"
                                           : "Paint";
  return std::string(when) + acts[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(EachNotification, ReentrantParent,
                         ::testing::Combine(::testing::Values(UINT(GN_CELLLEAVING), UINT(GN_CELLENTERED),
                                                              UINT(GN_SCROLLED), UINT(GN_PAINT)),
                                            ::testing::Values(Act::kFewerColumns, Act::kDeleteRows,
                                                              Act::kMoveCurrent, Act::kDestroy)),
                         CaseName);

// ---- Leaks and scale ---------------------------------------------------------

SIZE_T PagefileUsage() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

TEST(Scale, TenThousandGridsWithTextsLeaveNothingBehind) {
  harness::TestParent parent;
  auto cycle = [&](int count) {
    for (int i = 0; i < count; ++i) {
      // Showing a grid costs Wine some 9 ms of scroll-bar drawing: one in
      // a hundred is shown and painted.
      const bool shown = i % 100 == 0;
      HWND grid = parent.CreateGrid(100 + i, 0, 0, 300, 200, shown);
      for (UINT c = 0; c < 5; ++c) harness::SetCellText(grid, c, 1, "some text in a cell");
      if (shown) UpdateWindow(grid);
      DestroyWindow(grid);
    }
    harness::Pump();
  };
  cycle(50);
  const int gdi = harness::FreeGdiSlots();
  const harness::HeapUse heap = harness::ProcessHeapUse();
  const SIZE_T memory = PagefileUsage();
  cycle(10000);
  EXPECT_EQ(harness::FreeGdiSlots(), gdi);
  const harness::HeapUse after = harness::ProcessHeapUse();
  EXPECT_LE(after.blocks, heap.blocks + 10);
  EXPECT_LE(after.bytes, heap.bytes + 4096);
  EXPECT_LE(PagefileUsage(), memory + 1024 * 1024) << "private bytes within 1 MB";
  RecordProperty("heap_blocks_before", std::to_string(heap.blocks));
  RecordProperty("heap_blocks_after", std::to_string(after.blocks));
}

// The largest grid: all 254 columns and, in the test command, 2,000 rows;
// scripts/stress runs it with all 16,382 (LATTICOR_FULL_SCALE=1).
TEST(Scale, AWideGridFilledPaintedScrolledCopiedAndDestroyedGivesItsMemoryBack) {
  char full_scale[8] = {};
  GetEnvironmentVariableA("LATTICOR_FULL_SCALE", full_scale, sizeof full_scale);
  harness::TestParent parent;
  const SIZE_T before = PagefileUsage();
  const harness::HeapUse heapBefore = harness::ProcessHeapUse();
  HWND grid = parent.CreateGrid(7, 0, 0, 780, 580);
  const UINT cols = 254, rows = full_scale[0] == '1' ? 16382 : 2000;
  Ask(grid, GM_SETCOLCOUNT, cols);
  Ask(grid, GM_SETROWCOUNT, rows);
  UpdateWindow(grid);
  for (UINT r = 0; r < rows; ++r) {
    for (UINT c = 0; c < cols; ++c) harness::SetCellText(grid, c, r, "abcdef");
  }
  UpdateWindow(grid);
  Ask(grid, GM_SETFIRSTROW, rows - 1);
  Ask(grid, GM_SETFIRSTCOL, cols - 1);
  Ask(grid, GM_SETCURCOL, 1);
  Ask(grid, GM_SETCURROW, 1);
  Ask(grid, GM_SETSELENDCOL, cols - 1);
  Ask(grid, GM_SETSELENDROW, rows - 1);
  const size_t size = size_t(Ask(grid, GM_GETCOPYSIZE));
  EXPECT_EQ(size, size_t(rows - 1) * ((cols - 1) * 7 + 1) + 1);
  std::vector<char> text(size, '\0');
  Ask(grid, GM_COPYSEL, reinterpret_cast<WPARAM>(text.data()));
  EXPECT_EQ(text[size - 1], '\0');
  EXPECT_EQ(std::string(text.data(), 7), "abcdef\t");
  const SIZE_T full = PagefileUsage();
  DestroyWindow(grid);
  harness::Pump();
  const harness::HeapUse heapAfter = harness::ProcessHeapUse();
  EXPECT_GT(full, before + 8 * 1024 * 1024) << "the grid did take its memory";
  // Every block came back; the heap keeps some of its arenas for later.
  EXPECT_LE(heapAfter.blocks, heapBefore.blocks + 10);
  EXPECT_LE(heapAfter.bytes, heapBefore.bytes + 4096);
  EXPECT_LE(PagefileUsage(), before + (full - before) / 4) << "most of the memory went back to the system";
  RecordProperty("private_bytes_before", std::to_string(before));
  RecordProperty("private_bytes_full", std::to_string(full));
  RecordProperty("private_bytes_after", std::to_string(PagefileUsage()));
  std::printf("cells %u; private bytes before %lu, filled %lu, after %lu; heap blocks before %lu, after %lu\n",
              cols * rows, static_cast<unsigned long>(before), static_cast<unsigned long>(full),
              static_cast<unsigned long>(PagefileUsage()), static_cast<unsigned long>(heapBefore.blocks),
              static_cast<unsigned long>(heapAfter.blocks));
}

}  // namespace
