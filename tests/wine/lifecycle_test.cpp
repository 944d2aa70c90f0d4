// Creation and teardown: every block, device context and window comes back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "harness.h"
#include "high_addresses.h"

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

// The high-address mode (LATTICOR_HIGH_ADDRESSES=1, 64-bit) is only worth
// running if it moves what the grid allocates: its state, cell table and
// texts lie above 4 GiB, where cutting their addresses to 32 bits leaves
// an address that cannot be read.
TEST(Lifecycle, InTheHighAddressModeTheGridsBlocksLieWhereACutPointerFaults) {
  if (!high_addresses::Requested()) GTEST_SKIP() << "not in the high-address mode";
  harness::TestParent parent;
  HWND grid = parent.CreateGrid();
  harness::SetCellText(grid, 1, 1, "far away");
  GridCell cell;
  RECT rect;
  ASSERT_NE(harness::Ask(grid, GM_GETCURCELL, reinterpret_cast<WPARAM>(&cell), reinterpret_cast<LPARAM>(&rect)), 0);
  const ULONG_PTR blocks[] = {static_cast<ULONG_PTR>(GetWindowLongPtrA(grid, 0)),
                              reinterpret_cast<ULONG_PTR>(cell.text)};
  for (ULONG_PTR block : blocks) {
    EXPECT_GE(block, high_addresses::kFourGiB);
    const auto* cut = reinterpret_cast<const void*>(block & 0xFFFFFFFF);
    MEMORY_BASIC_INFORMATION region{};
    VirtualQuery(cut, &region, sizeof region);
    EXPECT_NE(region.State, static_cast<DWORD>(MEM_COMMIT)) << std::hex << block;
    EXPECT_TRUE(IsBadReadPtr(cut, 1)) << std::hex << block;
  }
  EXPECT_STREQ(cell.text, "far away");
  DestroyWindow(grid);
}
