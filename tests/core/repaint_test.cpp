#include "core/repaint.h"

#include "core/dimensions.h"
#include "grid_fixture.h"
#include "core/layout.h"

namespace latticor {
namespace {

using Repaint = testing::GridFixture;

// 20 rows of 20 pixels, row 3 of 30, in a client area of 300 x 200: the
// rows from 1 show down to y 200; the cells end at x 250.
struct RowShifts : Repaint {
  void Reset() {
    ASSERT_EQ(SetRowCount(*s, 20), Reshape::kDone);
    for (uint32_t r = 1; r <= 20; ++r) s->rowHeight[r] = r == 3 ? 30 : 20;
  }
  void LayOutFrom(uint32_t firstRow) {
    s->firstRow = firstRow;
    LayOut(*s, Rect{0, 0, 300, 200});
  }
};

TEST_F(RowShifts, MoveTheRowsBelowTheChangeByTheHeightThatComesOrGoes) {
  struct Case {
    bool insert;
    uint32_t row, firstRow;
    Rect area;
    int32_t distance;
    Rect fresh;
    int32_t end;
  };
  // From row 1: rows 1, 2 at 20, 40; row 3 at 60 (30 high); row 4 at 90;
  // the grid ends at 20 + 18 * 20 + 30 = 410.
  const Case cases[] = {
      {true, 2, 1, {0, 40, 250, 200}, 20, {0, 40, 250, 60}, 430},    // a new row 2 of 20
      {true, 5, 3, {0, 70, 250, 200}, 20, {0, 70, 250, 90}, 390},    // row 5 shows third
      {true, 2, 4, {0, 20, 250, 200}, 30, {0, 20, 250, 50}, 370},    // above: row 3 comes down into view
      {true, 0, 12, {}, 0, {0, 180, 250, 200}, 200},                 // appended, the last row shown
      {true, 15, 1, {}, 0, {}, 430},                                 // below the rows shown
      {false, 3, 1, {0, 60, 250, 200}, -30, {}, 380},                // row 3 goes
      {false, 2, 5, {0, 20, 250, 200}, -20, {}, 300},                // above: row 5 leaves the top
      {false, 0, 12, {}, 0, {}, 160},                                // the last row goes
  };
  for (const Case& k : cases) {
    Reset();
    LayOutFrom(k.firstRow);
    ASSERT_EQ(k.insert ? InsertRow(*s, k.row) : DeleteRow(*s, k.row), Reshape::kDone);
    const RowShift shift = k.insert ? InsertionShift(*s, k.row) : DeletionShift(*s, k.row);
    const auto where = ::testing::Message() << (k.insert ? "insert " : "delete ") << k.row << " from " << k.firstRow;
    EXPECT_EQ(shift.area, k.area) << where;
    EXPECT_EQ(shift.distance, k.distance) << where;
    EXPECT_EQ(shift.fresh, k.fresh) << where;
    EXPECT_EQ(shift.end, k.end) << where;
    // The end is where the next layout puts it.
    LayOut(*s, s->clientRect);
    EXPECT_EQ(s->rowPos[s->rowCount], k.end) << where;
  }
}

TEST_F(Repaint, CellsDrawAloneUnlessATextSpillsOrAFontCarriesOver) {
  int grid, other;
  s->font = &grid;
  const Span cols{1, 5}, rows{1, 4};
  EXPECT_TRUE(CellsDrawAlone(*s, cols, rows)) << "no cell names a font";
  CellAt(*s, 2, 2)->cellFont = &grid;
  EXPECT_TRUE(CellsDrawAlone(*s, cols, rows)) << "the grid's own font changes nothing";
  CellAt(*s, 3, 0)->cellFont = &other;
  EXPECT_FALSE(CellsDrawAlone(*s, cols, rows)) << "a title's font carries over to the cells without one";
  EXPECT_TRUE(CellsDrawAlone(*s, Span{1, 3}, rows)) << "that title is not shown";
  CellAt(*s, 3, 0)->cellFont = nullptr;
  CellAt(*s, 0, 3)->format |= kFormatNoClip;
  EXPECT_FALSE(CellsDrawAlone(*s, cols, rows));
  EXPECT_TRUE(CellsDrawAlone(*s, cols, Span{1, 3}));
}

TEST_F(Repaint, FramesWithinAPartOfTheWindow) {
  LayOut(*s, Rect{0, 0, 400, 300});  // column edges 50, 100, 150, 200, 250
  const Span all{1, 5};
  EXPECT_TRUE(EdgesRise(s->colPos, all));
  // A frame reaches one pixel left of its column, over the shared line.
  EXPECT_EQ(FramesWithin(s->colPos, all, 99, 100).first, 1u);
  EXPECT_EQ(FramesWithin(s->colPos, all, 99, 100).end, 3u);
  EXPECT_EQ(FramesWithin(s->colPos, all, 100, 150).first, 2u);
  EXPECT_EQ(FramesWithin(s->colPos, all, 100, 150).end, 4u) << "column 3 reaches back to x 149";
  EXPECT_TRUE(FramesWithin(s->colPos, all, 250, 400).empty());
  s->colWidth[2] = 0;
  LayOut(*s, Rect{0, 0, 400, 300});
  EXPECT_FALSE(EdgesRise(s->colPos, all)) << "a column of no width";
  s->colWidth[2] = 1 << 25;
  LayOut(*s, Rect{0, 0, 400, 300});
  EXPECT_FALSE(EdgesRise(s->colPos, all)) << "edges too far out";
}

}  // namespace
}  // namespace latticor
