#include "core/layout.h"

#include <gtest/gtest.h>

#include "core/selection.h"
#include "counting_allocator.h"

namespace latticor {

void PrintTo(const Rect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

struct LayoutTest : ::testing::Test {
  testing::CountingAllocator heap;
  GridState* s = CreateGridState(heap, 0, 0);
  const Rect wide{0, 0, 400, 300};
  ~LayoutTest() override { DestroyGridState(s); }
};

TEST_F(LayoutTest, DefaultGridInAWideClient) {
  LayOut(*s, wide);
  const int32_t cols[] = {0, 50, 100, 150, 200, 250};
  for (int c = 0; c <= 5; ++c) EXPECT_EQ(s->colPos[c], cols[c]) << c;
  const int32_t rows[] = {0, 20, 40, 60, 80};
  for (int r = 0; r <= 4; ++r) EXPECT_EQ(s->rowPos[r], rows[r]) << r;
  EXPECT_EQ(s->viewRect, (Rect{50, 20, 250, 80}));
  EXPECT_EQ(s->colHeaderRect, (Rect{50, 0, 250, 20}));
  EXPECT_EQ(s->rowHeaderRect, (Rect{0, 20, 50, 80}));
  EXPECT_EQ(s->clientRect, wide);
  EXPECT_EQ(CellFrameRect(*s, 1, 1), (Rect{49, 19, 100, 40}));
  EXPECT_EQ(Inflate(CellFrameRect(*s, 1, 1), -1), (Rect{50, 20, 99, 39}));
  EXPECT_EQ(LastVisible(s->colPos, 1, 5, 400), 4u);
  EXPECT_EQ(LastVisible(s->rowPos, 1, 4, 300), 3u);
}

TEST_F(LayoutTest, ANarrowClientEndsAtTheFirstColumnBeyondIt) {
  LayOut(*s, Rect{0, 0, 120, 300});
  EXPECT_EQ(LastVisible(s->colPos, 1, 5, 120), 2u);  // column 3 starts at 150
  EXPECT_EQ(s->viewRect, (Rect{50, 20, 120, 80}));
  EXPECT_EQ(s->colHeaderRect, (Rect{50, 0, 120, 20}));
  // Narrower than the title column: no title drawn, lastCol = firstCol - 1.
  LayOut(*s, Rect{0, 0, 40, 300});
  EXPECT_EQ(LastVisible(s->colPos, 1, 5, 40), 0u);
  EXPECT_EQ(s->viewRect, (Rect{0, 0, 0, 0}));
  EXPECT_EQ(s->colHeaderRect, (Rect{0, 0, 0, 0}));
}

TEST_F(LayoutTest, ColumnsScrolledOutLieLeftOfTheTitles) {
  s->colCount = 5;
  s->firstCol = 3;
  LayOut(*s, wide);
  EXPECT_EQ(s->colPos[3], 50);
  EXPECT_EQ(s->colPos[2], 0);
  EXPECT_EQ(s->colPos[1], -50);
  EXPECT_EQ(s->colPos[0], 0) << "entry 0 is never recomputed";
  EXPECT_EQ(s->colPos[5], 150);
  s->rowHeight[1] = 7;
  s->firstRow = 2;
  LayOut(*s, wide);
  EXPECT_EQ(s->rowPos[2], 20);
  EXPECT_EQ(s->rowPos[1], 13);
  EXPECT_EQ(s->rowPos[0], 0);
}

TEST_F(LayoutTest, SelectionAndFocusRectangles) {
  LayOut(*s, wide);
  s->curCol = s->selEndCol = 2;
  s->curRow = s->selEndRow = 2;
  EXPECT_EQ(SelectionRect(*s), (Rect{98, 38, 151, 61}));
  EXPECT_EQ(FocusRect(*s), (Rect{101, 41, 148, 58}));
  s->curCol = s->selEndCol = s->curRow = s->selEndRow = 1;
  EXPECT_EQ(SelectionRect(*s), (Rect{48, 18, 101, 41}));
  EXPECT_EQ(Intersect(SelectionRect(*s), s->viewRect), (Rect{50, 20, 101, 41}));
  // The end before the anchor: from the end's left edge to past the anchor.
  s->curCol = 3;
  s->selEndCol = 1;
  EXPECT_EQ(SelectionRect(*s), (Rect{48, 18, 201, 41}));
  EXPECT_EQ(SelectionRect(*s), BlockRect(*s, 1, 3, 1, 1));
}

TEST_F(LayoutTest, BrokenInvariantsNeverReachBeyondTheTables) {
  // As after lowering the count below the origin and the selection.
  s->firstCol = 200;
  s->firstRow = 60000;
  s->curCol = s->selEndCol = 250;
  s->curRow = s->selEndRow = 0xFFFFFFFFu;
  LayOut(*s, wide);  // ASan watches every access
  EXPECT_EQ(s->colPos[4], 50) << "laid out from the last data column";
  EXPECT_EQ(s->rowPos[3], 20);
  const Rect sel = SelectionRect(*s);
  EXPECT_EQ(sel, (Rect{48, 18, 101, 41}));
  EXPECT_EQ(CellRect(*s, 5, 0), (Rect{0, 0, 0, 0}));
  EXPECT_EQ(CellFrameRect(*s, 0, 4), (Rect{0, 0, 0, 0}));
}

TEST_F(LayoutTest, HugeSizesWrapInsteadOfOverflowing) {
  s->colWidth[1] = 0x7FFFFFF0;
  s->colWidth[2] = 0x7FFFFFF0;
  LayOut(*s, wide);  // UBSan would stop on a signed overflow
  EXPECT_LT(s->colPos[2], 0);
  EXPECT_EQ(s->colPos[3], 18);  // 50 + 2 * 0x7FFFFFF0, modulo 2^32
}

TEST(Inversion, InvertsOnlyWhatDiffers) {
  const Rect clip{50, 20, 250, 80};
  const Inversion plan = PlanInversion(Rect{48, 18, 101, 41}, Rect{48, 18, 151, 61}, clip);
  EXPECT_EQ(plan.shown, (Rect{50, 20, 101, 41}));
  EXPECT_EQ(plan.next, (Rect{50, 20, 151, 61}));
  EXPECT_EQ(plan.overlap, (Rect{50, 20, 101, 41}));
  const Inversion apart = PlanInversion(Rect{0, 0, 10, 10}, Rect{60, 30, 70, 40}, clip);
  EXPECT_EQ(apart.shown, (Rect{0, 0, 0, 0}));
  EXPECT_EQ(apart.overlap, (Rect{0, 0, 0, 0}));
}

}  // namespace
}  // namespace latticor
