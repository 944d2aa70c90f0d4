// The grid at the screen's DPI. The test command runs these in prefixes of
// 96, 144 and 192 DPI (LATTICOR_DPI), where every process is aware of it;
// each expectation is the 96-DPI size scaled as the grid scales it.
#include <gtest/gtest.h>
#include <windows.h>

#include "grid_fixture.h"

namespace {

using harness::Ask;

constexpr COLORREF kRed = RGB(255, 0, 0);

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

struct DpiTest : harness::GridFixture {
  const int dpi = ScreenDpi();
  int Scaled(int v) const { return MulDiv(v, dpi, 96); }
  void SetUp() override { MakeGrid(harness::GridSetup().Size(600, 400).ExactClient().GridColor(kRed)); }
  // Whether the pointer at x over the column titles shows the sizing
  // cursor: the shape follows the move after the one that arms an edge.
  bool SizingCursorAt(int x) {
    for (int y : {Scaled(10), Scaled(10) + 1}) {
      POINT p{x, y};
      ClientToScreen(grid, &p);
      SetCursorPos(p.x, p.y);
      harness::PumpFor(60);
    }
    return GetCursor() == LoadCursorA(nullptr, IDC_SIZEWE);
  }
};

TEST_F(DpiTest, NewAndAddedColumnsAndRowsTakeScaledSizesAndTheMarginScales) {
  std::printf("at %d DPI\n", dpi);
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 0), Scaled(50));
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 1), Scaled(50));
  EXPECT_EQ(Ask(grid, GM_GETROWHEIGHT, 3), Scaled(20));
  Ask(grid, GM_SETCOLCOUNT, 9);
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 8), Scaled(50));
  Ask(grid, GM_SETROWHEIGHT, 2, 7);
  Ask(grid, GM_INSERTROW, 2);
  EXPECT_EQ(Ask(grid, GM_GETROWHEIGHT, 2), Scaled(20)) << "the inserted row";
  EXPECT_EQ(Ask(grid, GM_GETROWHEIGHT, 3), 7) << "a program's size stays pixels";
  Ask(grid, GM_SETCOLWIDTH, 1, 100000);
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 1), 600 - Scaled(50) - Scaled(5));
}

TEST_F(DpiTest, TheResizeZoneScalesUnderTheRealPointer) {
  const int line = Scaled(100) - 1;  // right of column 1
  const int zone = Scaled(3);
  for (int x : {line - zone, line, line + zone}) EXPECT_TRUE(SizingCursorAt(x)) << x - line;
  for (int x : {line - zone - 1, line + zone + 1}) EXPECT_FALSE(SizingCursorAt(x)) << x - line;
}

// Lines stay one pixel wide; the cells are as large on the screen, and at
// percent 100 on a page of the same DPI, as their scaled sizes.
TEST_F(DpiTest, CellsPaintAndPrintAtTheirScaledSizes) {
  const screen::Capture shown(grid);
  harness::Page page;
  GridPrintRange range{1, 2, 1, 2, 100};
  Ask(grid, GM_PRINT, reinterpret_cast<WPARAM>(page.dc()), reinterpret_cast<LPARAM>(&range));
  // Away from the selection, which shows inverted.
  for (int x : {Scaled(150) - 1, Scaled(200) - 1}) {
    EXPECT_EQ(shown.At(x, Scaled(70)), kRed) << x;
    EXPECT_NE(shown.At(x - 1, Scaled(70)), kRed) << x;
  }
  EXPECT_EQ(shown.At(Scaled(125), Scaled(60) - 1), kRed);
  EXPECT_NE(shown.At(Scaled(125), Scaled(60) - 2), kRed);
  const int middle = Scaled(30);
  for (int x : {Scaled(50), Scaled(100) - 1, Scaled(100), Scaled(150) - 1}) EXPECT_EQ(page.At(x, middle), kRed) << x;
  EXPECT_EQ(page.Marked(Scaled(150), 0, harness::Page::kWidth, harness::Page::kHeight), 0);
}

// A grid made by a thread that is not aware of the DPI is the grid of
// 96 DPI, whatever the screen's.
using SetContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
const auto setThreadAwareness = reinterpret_cast<SetContext>(
    reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));

// On a thread of its own: a grid's column width and row height.
DWORD WINAPI UnawareGridSizes(void* out) {
  setThreadAwareness(DPI_AWARENESS_CONTEXT_UNAWARE);
  HWND grid =
      CreateWindowExA(0, LATTICOR_CLASS_NAME, "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  static_cast<LRESULT*>(out)[0] = SendMessageA(grid, GM_GETCOLWIDTH, 1, 0);
  static_cast<LRESULT*>(out)[1] = SendMessageA(grid, GM_GETROWHEIGHT, 1, 0);
  DestroyWindow(grid);
  return 0;
}

TEST(DpiUnaware, AGridOfAnUnawareThreadKeeps96DpiSizes) {
  if (!setThreadAwareness) GTEST_SKIP() << "the system has no per-thread awareness";
  LRESULT sizes[2] = {};
  HANDLE thread = CreateThread(nullptr, 0, UnawareGridSizes, sizes, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
  CloseHandle(thread);
  EXPECT_EQ(sizes[0], 50);
  EXPECT_EQ(sizes[1], 20);
}

}  // namespace
