// Creation and teardown: every block, device context and window comes back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "harness.h"

namespace {

void MakeAndDestroyGrids(harness::TestParent& parent, int count) {
  for (int i = 0; i < count; ++i) {
    // Showing a grid costs Wine some 9 ms of scroll-bar drawing: one in ten
    // is shown and painted.
    const bool shown = i % 10 == 0;
    HWND grid = parent.CreateGrid(100 + i, 0, 0, 300, 200, shown);
    ASSERT_NE(grid, nullptr);
    const std::string text = "text " + std::to_string(i);
    for (UINT r = 0; r < 4; ++r) {
      for (UINT c = 0; c < 5; ++c) harness::SetCellText(grid, c, r, text.c_str());
    }
    if (shown) UpdateWindow(grid);
    DestroyWindow(grid);
    ASSERT_FALSE(IsWindow(grid));
  }
  harness::Pump();
}

TEST(Lifecycle, AThousandGridsGiveBackTheirMemoryAndGdiObjects) {
  harness::TestParent parent;
  MakeAndDestroyGrids(parent, 20);  // let the system settle its own caches
  const int gdiBefore = harness::FreeGdiSlots();
  const harness::HeapUse heapBefore = harness::ProcessHeapUse();
  MakeAndDestroyGrids(parent, 1000);
  const harness::HeapUse heapAfter = harness::ProcessHeapUse();
  const int gdiAfter = harness::FreeGdiSlots();
  EXPECT_EQ(gdiAfter, gdiBefore) << "GDI objects leaked";
  // A grid takes 26 blocks and about 135 kB; allow the system a little slack.
  EXPECT_LE(heapAfter.blocks, heapBefore.blocks + 10);
  EXPECT_LE(heapAfter.bytes, heapBefore.bytes + 4096);
}

}  // namespace
