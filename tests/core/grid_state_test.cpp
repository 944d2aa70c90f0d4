#include "core/grid_state.h"

#include <gtest/gtest.h>

#include <string>

#include "counting_allocator.h"

namespace latticor {
namespace {

using testing::CountingAllocator;

struct GridFixture : ::testing::Test {
  CountingAllocator heap;
  GridState* s = nullptr;
  void SetUp() override { s = CreateGridState(heap, 0x404040, 0xC0C0C0); }
  void TearDown() override {
    DestroyGridState(s);
    EXPECT_EQ(heap.live(), 0u) << "blocks not given back";
    EXPECT_EQ(heap.foreign(), 0u);
  }
};

TEST_F(GridFixture, NewGridHasTheDefaultShapeAndCells) {
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->colCount, 5u);
  EXPECT_EQ(s->rowCount, 4u);
  EXPECT_EQ(s->curCol, 1u);
  EXPECT_EQ(s->curRow, 1u);
  EXPECT_EQ(s->selEndCol, 1u);
  EXPECT_EQ(s->selEndRow, 1u);
  EXPECT_EQ(s->firstCol, 1u);
  EXPECT_EQ(s->firstRow, 1u);
  EXPECT_EQ(s->lastCol, 0u);
  EXPECT_EQ(s->lastRow, 0u);
  EXPECT_EQ(s->selectEnabled, 1u);
  EXPECT_EQ(s->resizeEnabled, 1u);
  EXPECT_EQ(s->gridColor, 0x404040u);
  EXPECT_EQ(s->bkColor, 0xC0C0C0u);
  EXPECT_EQ(s->font, nullptr);
  for (uint32_t c = 0; c < kColTableSize; ++c) {
    ASSERT_EQ(s->colWidth[c], 50) << c;
    ASSERT_EQ(s->colPos[c], 0) << c;
  }
  for (uint32_t r = 0; r < kRowTableSize; ++r) {
    ASSERT_EQ(s->rowHeight[r], 20) << r;
    ASSERT_EQ(s->rowPos[r], 0) << r;
  }
  for (uint32_t r = 0; r < 4; ++r) {
    for (uint32_t c = 0; c < 5; ++c) {
      const GridCell* cell = CellAt(*s, c, r);
      ASSERT_NE(cell, nullptr);
      EXPECT_EQ(cell->cellFont, nullptr);
      EXPECT_EQ(cell->textColor, 0u);
      EXPECT_EQ(cell->format, 8208u);
      ASSERT_NE(cell->text, nullptr);
      EXPECT_STREQ(cell->text, "");
      EXPECT_EQ(heap.sizeOf(cell->text), 1u);
    }
  }
  EXPECT_TRUE(StateIsConsistent(*s));
  // The record, four tables, the cell table and 20 texts.
  EXPECT_EQ(heap.live(), 1u + 5u + 1u + 20u);  // the record, 4 size tables and the used counts, cells, texts
}

TEST_F(GridFixture, CellsAreStoredRowByRow) {
  EXPECT_EQ(CellAt(*s, 3, 2), &s->cells[13]);
  EXPECT_EQ(CellAt(*s, 0, 0), &s->cells[0]);
  EXPECT_EQ(CellAt(*s, 4, 3), &s->cells[19]);
  EXPECT_EQ(CellAt(*s, 5, 0), nullptr);
  EXPECT_EQ(CellAt(*s, 0, 4), nullptr);
  EXPECT_EQ(CellAt(*s, 0xFFFF, 0xFFFF), nullptr);
  EXPECT_EQ(CellAt(*s, 0xFFFFFFFFu, 1), nullptr);
}

TEST_F(GridFixture, SettingATextResizesItsBlockAndCopiesIt) {
  GridCell& cell = *CellAt(*s, 2, 1);
  std::string text = "hello";
  ASSERT_TRUE(SetCellText(heap, cell, text.c_str()));
  text[0] = 'J';  // the cell holds a copy
  EXPECT_STREQ(cell.text, "hello");
  EXPECT_EQ(heap.sizeOf(cell.text), 6u);
  ASSERT_TRUE(SetCellText(heap, cell, ""));
  EXPECT_STREQ(cell.text, "");
  EXPECT_EQ(heap.sizeOf(cell.text), 1u);
  const std::string longText(100000, 'x');
  ASSERT_TRUE(SetCellText(heap, cell, longText.c_str()));
  EXPECT_EQ(std::string(cell.text), longText);
}

TEST_F(GridFixture, ATextOfTheSameLengthReusesItsBlock) {
  GridCell& cell = *CellAt(*s, 2, 2);
  ASSERT_TRUE(SetCellText(heap, cell, "abc"));
  const char* block = cell.text;
  heap.failAfter(0);  // no allocation may be needed
  ASSERT_TRUE(SetCellText(heap, cell, "xyz"));
  heap.failAfter(-1);
  EXPECT_EQ(cell.text, block);
  EXPECT_STREQ(cell.text, "xyz");
  EXPECT_EQ(heap.sizeOf(cell.text), 4u);
}

TEST_F(GridFixture, AFailedTextResizeKeepsTheOldText) {
  GridCell& cell = *CellAt(*s, 1, 1);
  ASSERT_TRUE(SetCellText(heap, cell, "kept"));
  heap.failAfter(0);
  EXPECT_FALSE(SetCellText(heap, cell, "lost again"));
  heap.failAfter(-1);
  EXPECT_STREQ(cell.text, "kept");
  EXPECT_TRUE(heap.owns(cell.text));
}

TEST(GridCreation, RunningOutOfMemoryAtAnyStepGivesEverythingBack) {
  for (long n = 0; n < 27; ++n) {  // the record, 5 tables, the cells, 20 texts
    CountingAllocator heap;
    heap.failAfter(n);
    GridState* s = CreateGridState(heap, 0, 0);
    EXPECT_EQ(s, nullptr) << "allocation " << n << " failed unnoticed";
    EXPECT_EQ(heap.live(), 0u) << "after failing allocation " << n;
    EXPECT_EQ(heap.foreign(), 0u);
  }
  CountingAllocator heap;
  heap.failAfter(27);
  GridState* s = CreateGridState(heap, 0, 0);
  ASSERT_NE(s, nullptr);
  DestroyGridState(s);
  EXPECT_EQ(heap.live(), 0u);
}

TEST_F(GridFixture, SumsRunOverBothEndsOrTakeTheFirstAlone) {
  EXPECT_EQ(SumSizes(s->colWidth, kColTableSize, 1, 3), 150);
  EXPECT_EQ(SumSizes(s->colWidth, kColTableSize, 3, 1), 50);
  EXPECT_EQ(SumSizes(s->colWidth, kColTableSize, 0, 0), 50);
  s->rowHeight[2] = 7;
  EXPECT_EQ(SumSizes(s->rowHeight, kRowTableSize, 1, 3), 47);
  // Ends past the table are not read.
  EXPECT_EQ(SumSizes(s->colWidth, kColTableSize, 250, 0xFFFFFFFFu), 6 * 50);
  EXPECT_EQ(SumSizes(s->colWidth, kColTableSize, 256, 300), 0);
  EXPECT_EQ(SumSizes(s->rowHeight, kRowTableSize, 0, 0xFFFFFFFFu), 16383 * 20 + 7);
}

TEST(SizeClamp, CutsToTheLimitUnlessTheLimitIsNegative) {
  // A client 400 wide with a 50-pixel title column: limit 345.
  EXPECT_EQ(ClampSize(10000, 400 - 50 - 5), 345);
  EXPECT_EQ(ClampSize(345, 345), 345);
  EXPECT_EQ(ClampSize(100, 345), 100);
  EXPECT_EQ(ClampSize(0, 345), 0);
  EXPECT_EQ(ClampSize(500, 0), 0);
  EXPECT_EQ(ClampSize(500, -1), 500);
}

TEST_F(GridFixture, ConsistencyCheckSeesBrokenInvariants) {
  s->curCol = 5;
  EXPECT_FALSE(StateIsConsistent(*s));
  s->curCol = 4;
  EXPECT_TRUE(StateIsConsistent(*s));
  s->firstRow = 0;
  EXPECT_FALSE(StateIsConsistent(*s));
  s->firstRow = 1;
  s->rowPos[0] = 3;
  EXPECT_FALSE(StateIsConsistent(*s));
  s->rowPos[0] = 0;
}

TEST_F(GridFixture, ExtendedStylesChangeByMaskAndKeepOnlyTheBitsThatExist) {
  EXPECT_EQ(ChangeExStyle(*s, 0, 0xFFFFFFFF), 0u) << "a new grid has none";
  EXPECT_EQ(s->exStyle, uint32_t{kExDefined}) << "mask 0 changes all, undefined bits dropped";
  EXPECT_EQ(ChangeExStyle(*s, kExSheetKeys, 0), uint32_t{kExDefined});
  EXPECT_EQ(s->exStyle, uint32_t{kExEdit | kExSelChange});
  EXPECT_EQ(ChangeExStyle(*s, 0x100 | kExEdit, 0x100), uint32_t{kExEdit | kExSelChange});
  EXPECT_EQ(s->exStyle, uint32_t{kExSelChange});
}

}  // namespace
}  // namespace latticor
