#include "core/access.h"

#include <gtest/gtest.h>

#include <string>

#include "core/dimensions.h"
#include "grid_fixture.h"
#include "core/layout.h"

namespace latticor {

void PrintTo(const AccessItem& i, std::ostream* os) {
  const char* parts[] = {"none", "grid", "row", "cell"};
  *os << parts[static_cast<int>(i.part)] << "(" << i.col << ", " << i.row << ")";
}

namespace {

// A default 5 x 4 grid laid out in a 400 x 300 client: cells 50 x 20, cell
// (c, r) at (50c, 20r).
struct AccessModel : testing::GridFixture {
  AccessModel() { LayOut(*s, Rect{0, 0, 400, 300}); }
  // The name as a screen reader would hear it.
  std::string Name(const AccessItem& item) const {
    const AccessName n = NameOf(*s, item);
    std::string out = n.rowWord ? "Row " : "";
    for (uint32_t i = 0; i < n.count; ++i) {
      const NamePiece& p = n.pieces[i];
      if (i) out += ' ';
      out += p.text[0] || !p.numbered ? std::string(p.text) : std::to_string(p.number);
    }
    return out;
  }
};

TEST_F(AccessModel, ChildIdsNameRowsThenCellsAndComeBack) {
  EXPECT_EQ(ChildIdOf(*s, kGridItem), 0);
  EXPECT_EQ(ChildIdOf(*s, RowItem(0)), 1);
  EXPECT_EQ(ChildIdOf(*s, RowItem(3)), 4);
  EXPECT_EQ(ChildIdOf(*s, CellItem(0, 0)), 5);
  EXPECT_EQ(ChildIdOf(*s, CellItem(2, 1)), 5 + 5 + 2);
  EXPECT_EQ(ChildIdOf(*s, CellItem(5, 1)), -1) << "no such column";
  for (int32_t id = 0; id <= 24; ++id) EXPECT_EQ(ChildIdOf(*s, ItemOfChildId(*s, id)), id) << id;
  EXPECT_EQ(ItemOfChildId(*s, 25), kNoItem);
  EXPECT_EQ(ItemOfChildId(*s, -1), kNoItem);

  // A row numbers its cells by column + 1.
  EXPECT_EQ(ChildOf(*s, RowItem(2), 0), RowItem(2));
  EXPECT_EQ(ChildOf(*s, RowItem(2), 3), CellItem(2, 2));
  EXPECT_EQ(ChildOf(*s, RowItem(2), 6), kNoItem);
  EXPECT_EQ(ChildOf(*s, CellItem(1, 1), 1), kNoItem);
  EXPECT_EQ(ParentOf(CellItem(3, 2)), RowItem(2));
  EXPECT_EQ(ParentOf(RowItem(2)), kGridItem);
  EXPECT_EQ(ChildCount(*s, kGridItem), 4u);
  EXPECT_EQ(ChildCount(*s, RowItem(0)), 5u);

  // The largest grid (ids are arithmetic on the counts alone): the far
  // corner's id still fits, and comes back.
  GridState big{};
  big.colCount = kMaxColCount;
  big.rowCount = kMaxRowCount;
  const AccessItem far = CellItem(kMaxColCount - 1, kMaxRowCount - 1);
  EXPECT_EQ(ChildIdOf(big, far), int32_t{kMaxRowCount} * (kMaxColCount + 1));
  EXPECT_EQ(ItemOfChildId(big, ChildIdOf(big, far)), far);
  EXPECT_EQ(ItemOfChildId(big, ChildIdOf(big, far) + 1), kNoItem);
}

TEST_F(AccessModel, RolesNamesAndFallbacks) {
  Put(2, 0, "B");
  Put(0, 3, "7");
  Put(2, 3, "42");
  EXPECT_EQ(RoleOf(kGridItem), kRoleTable);
  EXPECT_EQ(RoleOf(RowItem(0)), kRoleRow);
  EXPECT_EQ(RoleOf(CellItem(0, 0)), kRoleColumnHeader);
  EXPECT_EQ(RoleOf(CellItem(2, 0)), kRoleColumnHeader);
  EXPECT_EQ(RoleOf(CellItem(0, 2)), kRoleRowHeader);
  EXPECT_EQ(RoleOf(CellItem(2, 2)), kRoleCell);

  EXPECT_EQ(Name(CellItem(2, 3)), "B 7");
  EXPECT_EQ(Name(CellItem(1, 3)), "1 7") << "an empty column title stands as its number";
  EXPECT_EQ(Name(CellItem(2, 1)), "B 1");
  EXPECT_EQ(Name(RowItem(3)), "Row 7");
  EXPECT_EQ(Name(RowItem(2)), "Row 2");
  EXPECT_EQ(Name(RowItem(0)), "Row 0");
  EXPECT_EQ(Name(CellItem(2, 0)), "B");
  EXPECT_EQ(Name(CellItem(4, 0)), "4");
  EXPECT_EQ(Name(CellItem(0, 0)), "") << "the corner has no number";
}

TEST_F(AccessModel, LocationsStatesAndHitsFollowTheLastLayout) {
  EXPECT_EQ(LocationOf(*s, CellItem(2, 3)), (Rect{100, 60, 150, 80}));
  EXPECT_EQ(LocationOf(*s, CellItem(2, 0)), (Rect{100, 0, 150, 20}));
  EXPECT_EQ(LocationOf(*s, RowItem(1)), (Rect{0, 20, 250, 40}));
  EXPECT_EQ(LocationOf(*s, kGridItem), (Rect{0, 0, 400, 300}));

  struct Hit {
    int32_t x, y;
    AccessItem item;
  } hits[] = {
      {125, 65, CellItem(2, 3)}, {150, 65, CellItem(2, 3)} /* the boundary picks the left one */,
      {125, 5, CellItem(2, 0)},  {5, 65, CellItem(0, 3)},  {5, 5, CellItem(0, 0)},
      {300, 65, kGridItem},      {500, 65, kNoItem},
  };
  for (const Hit& h : hits) EXPECT_EQ(ItemAt(*s, h.x, h.y), h.item) << h.x << "," << h.y;

  // Scrolled by two columns and a row: column 1 and row 1 lie under the
  // titles and are out of view; the titles stay where they are drawn.
  s->firstCol = 3;
  s->firstRow = 2;
  LayOut(*s, Rect{0, 0, 400, 300});
  EXPECT_EQ(ItemAt(*s, 75, 25), CellItem(3, 2));
  EXPECT_EQ(ItemAt(*s, 75, 5), CellItem(3, 0));
  EXPECT_TRUE(IsOffscreen(*s, CellItem(1, 2)));
  EXPECT_TRUE(IsOffscreen(*s, CellItem(3, 1)));
  EXPECT_TRUE(IsOffscreen(*s, CellItem(1, 0))) << "its title scrolled away with it";
  EXPECT_TRUE(IsOffscreen(*s, RowItem(1)));
  EXPECT_FALSE(IsOffscreen(*s, RowItem(2)));
  EXPECT_FALSE(IsOffscreen(*s, CellItem(0, 2)));
  EXPECT_FALSE(IsOffscreen(*s, CellItem(0, 0)));
  EXPECT_EQ(LocationOf(*s, CellItem(1, 2)), (Rect{-50, 20, 0, 40}));

  // Selection and focus: the block (3, 2)-(4, 3), current (3, 2).
  s->curCol = 3, s->curRow = 2, s->selEndCol = 4, s->selEndRow = 3;
  const uint32_t cell = kStateSelectable | kStateFocusable;
  EXPECT_EQ(AccessStates(*s, CellItem(3, 2), true), cell | kStateSelected | kStateFocused);
  EXPECT_EQ(AccessStates(*s, CellItem(3, 2), false), cell | kStateSelected);
  EXPECT_EQ(AccessStates(*s, CellItem(4, 3), true), cell | kStateSelected);
  EXPECT_EQ(AccessStates(*s, CellItem(2, 3), true), cell | kStateOffscreen);
  EXPECT_EQ(AccessStates(*s, CellItem(3, 0), true), 0u) << "titles are neither selectable nor focusable";
  EXPECT_EQ(AccessStates(*s, kGridItem, true),
            kStateFocusable | kStateFocused | kStateMultiSelectable | kStateExtSelectable);
  s->selectEnabled = 0;
  EXPECT_EQ(AccessStates(*s, CellItem(4, 3), true), cell);
  EXPECT_EQ(AccessStates(*s, kGridItem, false), kStateFocusable);
}

TEST_F(AccessModel, NavigationStopsAtTheEdges) {
  struct Step {
    AccessItem from;
    Direction d;
    AccessItem to;
  } steps[] = {
      {kGridItem, Direction::kFirstChild, RowItem(0)},     {kGridItem, Direction::kLastChild, RowItem(3)},
      {kGridItem, Direction::kDown, kNoItem},              {RowItem(1), Direction::kNext, RowItem(2)},
      {RowItem(0), Direction::kUp, kNoItem},               {RowItem(3), Direction::kDown, kNoItem},
      {RowItem(1), Direction::kFirstChild, CellItem(0, 1)}, {RowItem(1), Direction::kLastChild, CellItem(4, 1)},
      {CellItem(2, 2), Direction::kRight, CellItem(3, 2)}, {CellItem(2, 2), Direction::kPrevious, CellItem(1, 2)},
      {CellItem(2, 2), Direction::kUp, CellItem(2, 1)},    {CellItem(2, 2), Direction::kDown, CellItem(2, 3)},
      {CellItem(4, 2), Direction::kRight, kNoItem},        {CellItem(0, 0), Direction::kLeft, kNoItem},
      {CellItem(2, 3), Direction::kDown, kNoItem},         {CellItem(2, 2), Direction::kFirstChild, kNoItem},
      {CellItem(9, 2), Direction::kLeft, kNoItem},
  };
  for (const Step& st : steps) EXPECT_EQ(Navigate(*s, st.from, st.d), st.to) << ::testing::PrintToString(st.from);
}

TEST_F(AccessModel, TheSelectionIsListedRowByRow) {
  s->curCol = 3, s->curRow = 2, s->selEndCol = 1, s->selEndRow = 3;
  const SelectionList list = ListSelection(*s);
  ASSERT_EQ(list.count, 6u);
  const AccessItem order[] = {CellItem(1, 2), CellItem(2, 2), CellItem(3, 2),
                              CellItem(1, 3), CellItem(2, 3), CellItem(3, 3)};
  for (uint32_t i = 0; i < 6; ++i) EXPECT_EQ(ListedCell(list, i), order[i]) << i;
  EXPECT_EQ(ListedCell(list, 6), kNoItem);
  s->selectEnabled = 0;
  EXPECT_EQ(ListSelection(*s).count, 0u);

  // The whole largest grid: four million cells, listed by arithmetic.
  GridState big{};
  big.colCount = kMaxColCount, big.rowCount = kMaxRowCount, big.selectEnabled = 1;
  big.curCol = big.curRow = 1, big.selEndCol = kMaxColCount - 1, big.selEndRow = kMaxRowCount - 1;
  const SelectionList all = ListSelection(big);
  EXPECT_EQ(all.count, (kMaxColCount - 1) * (kMaxRowCount - 1));
  EXPECT_EQ(ListedCell(all, 254), CellItem(2, 2));  // 253 to a row
  EXPECT_EQ(ListedCell(all, all.count - 1), CellItem(kMaxColCount - 1, kMaxRowCount - 1));
}

TEST(AccessChangesTest, EachChangeOwesItsEvents) {
  const AccessSnapshot at22{2, 2, 2, 2, 5, 4, 1};
  struct Case {
    const char* what;
    AccessSnapshot after;
    bool reorder, moved, within;
  } cases[] = {
      {"nothing", at22, false, false, false},
      {"arrow key", {3, 2, 3, 2, 5, 4, 1}, false, true, false},
      {"shift+arrow", {2, 2, 3, 2, 5, 4, 1}, false, false, true},
      {"column title press", {3, 1, 3, 3, 5, 4, 1}, false, true, true},
      {"a row more", {2, 2, 2, 2, 5, 5, 1}, true, false, false},
      {"count cut below the anchor", {2, 1, 2, 1, 5, 2, 1}, true, true, false},
      {"extension while selecting is off", {2, 2, 3, 3, 5, 4, 0}, false, false, false},
  };
  for (const Case& c : cases) {
    const AccessChanges ch = ChangesBetween(at22, c.after);
    EXPECT_EQ(ch.reorder, c.reorder) << c.what;
    EXPECT_EQ(ch.currentMoved, c.moved) << c.what;
    EXPECT_EQ(ch.selectionWithin, c.within) << c.what;
  }
  // A press on the anchor collapses a block to it.
  EXPECT_TRUE(ChangesBetween(AccessSnapshot{2, 2, 4, 3, 5, 4, 1}, at22).selectionWithin);
}

TEST_F(AccessModel, ScrollingAsPercentages) {
  ASSERT_EQ(SetColCount(*s, 12), Reshape::kDone);  // data columns 1 .. 11
  s->firstCol = 6;
  s->lastCol = 8;
  EXPECT_DOUBLE_EQ(ScrollPercent(*s, kCols), 50.0);
  EXPECT_NEAR(ViewPercent(*s, kCols), 100.0 * 3 / 11, 1e-9);
  EXPECT_EQ(OriginForPercent(*s, kCols, 0), 1u);
  EXPECT_EQ(OriginForPercent(*s, kCols, 100), 11u);
  EXPECT_EQ(OriginForPercent(*s, kCols, 250), 11u);
  EXPECT_EQ(OriginForPercent(*s, kCols, -1), 6u) << "no change asked";
  EXPECT_EQ(OriginToShow(*s, kCols, 7), 0u);
  EXPECT_EQ(OriginToShow(*s, kCols, 2), 2u);
  EXPECT_EQ(OriginToShow(*s, kCols, 10), 10u);
  EXPECT_EQ(OriginToShow(*s, kCols, 0), 0u);
  ASSERT_EQ(SetRowCount(*s, 2), Reshape::kDone);
  EXPECT_EQ(ScrollPercent(*s, kRows), -1) << "one data row cannot scroll";
}

}  // namespace
}  // namespace latticor
