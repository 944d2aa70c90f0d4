// The grid's own sizes at other DPIs, and a move between monitors.
#include "core/dpi.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/layout.h"
#include "core/resize.h"
#include "grid_fixture.h"

namespace latticor {
namespace {

TEST(Dpi, MetricsScaleAsMulDivRoundsAndStayAtLeastOne) {
  struct Case {
    uint32_t dpi;
    PixelMetrics expected;
  };
  const Case cases[] = {
      {96, {96, 50, 20, 3, 10, 5}},   {0, {96, 50, 20, 3, 10, 5}},     {120, {120, 63, 25, 4, 13, 6}},
      {144, {144, 75, 30, 5, 15, 8}}, {192, {192, 100, 40, 6, 20, 10}}, {10, {10, 5, 2, 1, 1, 1}},
  };
  auto fields = [](const PixelMetrics& m) {
    return std::vector<int64_t>{m.dpi, m.colWidth, m.rowHeight, m.edgeZone, m.dragStop, m.sizeMargin};
  };
  for (const Case& c : cases) EXPECT_EQ(fields(MetricsAt(c.dpi)), fields(c.expected)) << c.dpi;
  EXPECT_EQ(ScaleSize(-3, 144, 96), -5) << "half away from zero, as MulDiv";
  EXPECT_EQ(ScaleSize(INT32_MAX, 192, 96), INT32_MAX) << "kept within range";
  EXPECT_EQ(ScaleSize(0, 192, 96), 0) << "a hidden column stays hidden";
}

struct DpiGrid : testing::GridFixture {};

TEST_F(DpiGrid, AMoveToAnotherDpiScalesEverySizeAndTheZones) {
  s->colWidth[1] = 33;
  s->rowHeight[2] = 0;
  EXPECT_FALSE(ChangeDpi(*s, 96)) << "no change, nothing to do";
  ASSERT_TRUE(ChangeDpi(*s, 192));
  EXPECT_EQ(s->colWidth[1], 66);
  EXPECT_EQ(s->colWidth[2], 100);
  EXPECT_EQ(s->rowHeight[2], 0);
  EXPECT_EQ(s->rowHeight[3], 40);
  EXPECT_EQ(s->metrics.edgeZone, 6);
  ASSERT_TRUE(ChangeDpi(*s, 144));
  EXPECT_EQ(s->colWidth[1], 50) << "scaled by new / old";

  // At 144 DPI the zone is the grid line and 5 pixels each side.
  LayOut(*s, Rect{0, 0, 600, 400});
  NoteLastShown(*s);
  const int32_t line = s->colPos[2] - 1;
  for (int32_t x : {line - 5, line + 5, line - 6, line + 6}) {
    s->resizing = 0;
    HoverEdge(*s, kCols, x);
    EXPECT_EQ(s->resizing, x - line >= -5 && x - line <= 5 ? 1u : 0u) << x - line;
  }
  HoverEdge(*s, kCols, line);
  StartResize(*s, kCols, line);
  EXPECT_FALSE(DragResize(*s, kCols, 600 - 14, 600).accepted) << "the stop is 15 pixels at 144 DPI";
  EXPECT_TRUE(DragResize(*s, kCols, 600 - 15, 600).accepted);
}

}  // namespace
}  // namespace latticor
