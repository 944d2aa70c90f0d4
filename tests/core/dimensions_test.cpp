#include "core/dimensions.h"

#include "grid_fixture.h"

namespace latticor {
namespace {

using Dimensions = testing::GridFixture;

TEST_F(Dimensions, ColumnCountsOutsideTwoTo254AreRefusedAndChangeNothing) {
  Put(2, 2, "kept");
  for (uint32_t n : {0u, 1u, 255u, 0xFFFFFFFFu}) {
    EXPECT_EQ(SetColCount(*s, n), Reshape::kBadCount) << n;
  }
  EXPECT_EQ(s->colCount, 5u);
  EXPECT_EQ(Text(2, 2), "kept");
  EXPECT_EQ(SetColCount(*s, 254), Reshape::kDone);
  EXPECT_EQ(s->colCount, 254u);
  EXPECT_EQ(SetColCount(*s, 2), Reshape::kDone);
  ExpectBlocksOwned();
}

TEST_F(Dimensions, ANewColumnCountEmptiesEveryCellWithTheGridsFont) {
  int fontObject;
  s->font = &fontObject;
  Put(0, 0, "corner");
  Put(3, 1, "gone");
  CellAt(*s, 3, 1)->format = 37;
  CellAt(*s, 3, 1)->textColor = 0xFF;
  ASSERT_EQ(SetColCount(*s, 5), Reshape::kDone);  // the same count clears too
  for (uint32_t r = 0; r < 4; ++r) {
    for (uint32_t c = 0; c < 5; ++c) {
      const GridCell& cell = *CellAt(*s, c, r);
      EXPECT_STREQ(cell.text, "");
      EXPECT_EQ(cell.format, 8208u);
      EXPECT_EQ(cell.cellFont, &fontObject);
      EXPECT_EQ(cell.textColor, 0u);
    }
  }
  // Entry 13 was (3, 2) in 5 columns; in 7 it is (6, 1).
  ASSERT_EQ(SetColCount(*s, 7), Reshape::kDone);
  EXPECT_EQ(CellAt(*s, 6, 1), &s->cells[13]);
  ExpectBlocksOwned();
}

TEST_F(Dimensions, RowCountsKeepTheRowsThatStay) {
  Put(2, 3, "stays");
  for (uint32_t n : {0u, 1u, 16383u}) EXPECT_EQ(SetRowCount(*s, n), Reshape::kBadCount) << n;
  ASSERT_EQ(SetRowCount(*s, 6), Reshape::kDone);
  EXPECT_EQ(Text(2, 3), "stays");
  for (uint32_t c = 0; c < 5; ++c) {
    EXPECT_EQ(Text(c, 4), "");
    EXPECT_EQ(CellAt(*s, c, 5)->format, 8208u);
  }
  ExpectBlocksOwned();
  ASSERT_EQ(SetRowCount(*s, 3), Reshape::kDone);
  EXPECT_EQ(Text(2, 3), "(outside)");
  ExpectBlocksOwned();
  ASSERT_EQ(SetRowCount(*s, 4), Reshape::kDone);
  EXPECT_EQ(Text(2, 3), "") << "a row that comes back is new";
  EXPECT_EQ(SetRowCount(*s, 16382), Reshape::kDone);
  ExpectBlocksOwned();
}

TEST_F(Dimensions, SizesOutliveTheCount) {
  s->colWidth[4] = 77;
  s->rowHeight[3] = 33;
  ASSERT_EQ(SetColCount(*s, 3), Reshape::kDone);
  ASSERT_EQ(SetRowCount(*s, 2), Reshape::kDone);
  ASSERT_EQ(SetColCount(*s, 5), Reshape::kDone);
  ASSERT_EQ(SetRowCount(*s, 4), Reshape::kDone);
  EXPECT_EQ(s->colWidth[4], 77);
  EXPECT_EQ(s->rowHeight[3], 33);
}

struct RowMoves : testing::GridFixture {
  // Rows 1..3 (or 1..4) hold one, two, three (four) with heights 21, 22, ...
  void Fill(uint32_t rows) {
    ASSERT_EQ(SetRowCount(*s, rows), Reshape::kDone);
    const char* names[] = {"", "one", "two", "three", "four"};
    for (uint32_t r = 1; r < rows; ++r) {
      Put(1, r, names[r]);
      Put(0, r, names[r]);
      s->rowHeight[r] = 20 + static_cast<int32_t>(r);
    }
  }
  std::string Rows() const {
    std::string all;
    for (uint32_t r = 1; r < s->rowCount; ++r) all += (r > 1 ? "," : "") + Text(1, r);
    return all;
  }
  std::string Heights(uint32_t upTo) const {
    std::string all;
    for (uint32_t r = 1; r <= upTo; ++r) all += (r > 1 ? "," : "") + std::to_string(s->rowHeight[r]);
    return all;
  }
};

TEST_F(RowMoves, InsertingMovesRowsAndHeightsDown) {
  Fill(4);
  ASSERT_EQ(InsertRow(*s, 2), Reshape::kDone);
  EXPECT_EQ(s->rowCount, 5u);
  EXPECT_EQ(Rows(), "one,,two,three");
  EXPECT_EQ(Heights(4), "21,20,22,23");
  for (uint32_t c = 0; c < 5; ++c) EXPECT_EQ(CellAt(*s, c, 2)->format, 37u) << "title cell included";
  EXPECT_EQ(Text(0, 3), "two") << "titles travel with their rows";
  ExpectBlocksOwned();
}

TEST_F(RowMoves, InsertingAtZeroAppends) {
  Fill(4);
  s->rowHeight[4] = 44;
  ASSERT_EQ(InsertRow(*s, 0), Reshape::kDone);
  EXPECT_EQ(Rows(), "one,two,three,");
  EXPECT_EQ(Heights(4), "21,22,23,44") << "the new row takes the height entry 4 held";
  EXPECT_EQ(CellAt(*s, 3, 4)->format, 37u);
  ExpectBlocksOwned();
}

TEST_F(RowMoves, InsertionIsRefusedBeyondTheLastRowAndAtTheLimit) {
  Fill(4);
  EXPECT_EQ(InsertRow(*s, 4), Reshape::kBadRow);
  EXPECT_EQ(InsertRow(*s, 0xFFFFFFFFu), Reshape::kBadRow);
  EXPECT_EQ(s->rowCount, 4u);
  ASSERT_EQ(SetRowCount(*s, 16382), Reshape::kDone);
  EXPECT_EQ(InsertRow(*s, 1), Reshape::kBadCount);
  EXPECT_EQ(InsertRow(*s, 0), Reshape::kBadCount);
  EXPECT_EQ(s->rowCount, 16382u);
  ExpectBlocksOwned();
}

TEST_F(RowMoves, DeletingMovesRowsAndHeightsUpAndTheLastHeightStandsTwice) {
  Fill(5);
  ASSERT_EQ(DeleteRow(*s, 2), Reshape::kDone);
  EXPECT_EQ(s->rowCount, 4u);
  EXPECT_EQ(Rows(), "one,three,four");
  EXPECT_EQ(Heights(4), "21,23,24,24");
  ExpectBlocksOwned();
}

TEST_F(RowMoves, DeletingZeroOrTheLastRowRemovesItAndLeavesTheHeights) {
  for (uint32_t r : {0u, 4u}) {
    Fill(5);
    ASSERT_EQ(DeleteRow(*s, r), Reshape::kDone);
    EXPECT_EQ(Rows(), "one,two,three") << r;
    EXPECT_EQ(Heights(4), "21,22,23,24") << r;
    ExpectBlocksOwned();
  }
}

TEST_F(RowMoves, DeletionIsRefusedBelowTwoRowsAndBeyondTheLast) {
  Fill(5);
  EXPECT_EQ(DeleteRow(*s, 5), Reshape::kBadRow);
  EXPECT_EQ(s->rowCount, 5u);
  ASSERT_EQ(SetRowCount(*s, 2), Reshape::kDone);
  EXPECT_EQ(DeleteRow(*s, 1), Reshape::kBadCount);
  EXPECT_EQ(s->rowCount, 2u);
  ExpectBlocksOwned();
}

TEST_F(Dimensions, CountsThatDropBelowTheSelectionBringItBack) {
  ASSERT_EQ(SetRowCount(*s, 20), Reshape::kDone);
  ASSERT_EQ(SetColCount(*s, 9), Reshape::kDone);
  s->curCol = 8;
  s->selEndCol = 6;
  s->firstCol = 7;
  s->curRow = 5;
  s->selEndRow = 19;
  s->firstRow = 12;
  ASSERT_EQ(SetColCount(*s, 4), Reshape::kDone);
  EXPECT_EQ(s->curCol, 3u);
  EXPECT_EQ(s->selEndCol, 3u);
  EXPECT_EQ(s->firstCol, 3u);
  ASSERT_EQ(SetRowCount(*s, 10), Reshape::kDone);
  EXPECT_EQ(s->curRow, 5u);
  EXPECT_EQ(s->selEndRow, 9u);
  EXPECT_EQ(s->firstRow, 9u);
  ASSERT_EQ(DeleteRow(*s, 3), Reshape::kDone);
  EXPECT_EQ(s->selEndRow, 8u);
  EXPECT_EQ(s->firstRow, 8u);
  EXPECT_TRUE(StateIsConsistent(*s));
}

TEST_F(Dimensions, RunningOutOfMemoryChangesNothing) {
  Put(1, 1, "safe");
  // A new column count takes a table and 24 texts; insertion a resize and
  // 5 texts; growing the rows a resize and 10 texts. Fail each of them.
  for (long n = 0; n < 25; ++n) {
    heap.failAfter(n);
    EXPECT_EQ(SetColCount(*s, 6), Reshape::kNoMemory) << n;
  }
  for (long n = 0; n < 6; ++n) {
    heap.failAfter(n);
    EXPECT_EQ(InsertRow(*s, 1), Reshape::kNoMemory) << n;
  }
  for (long n = 0; n < 11; ++n) {
    heap.failAfter(n);
    EXPECT_EQ(SetRowCount(*s, 6), Reshape::kNoMemory) << n;
  }
  heap.failAfter(-1);
  EXPECT_EQ(s->colCount, 5u);
  EXPECT_EQ(s->rowCount, 4u);
  EXPECT_EQ(Text(1, 1), "safe");
  ExpectBlocksOwned();
}

}  // namespace
}  // namespace latticor
