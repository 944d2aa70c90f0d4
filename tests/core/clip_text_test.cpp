#include "core/clip_text.h"

#include <random>
#include <string>
#include <vector>

#include "core/dimensions.h"
#include "grid_fixture.h"

namespace latticor {
namespace {

struct ClipText : testing::GridFixture {
  void Select(uint32_t c, uint32_t r, uint32_t endC, uint32_t endR) {
    s->curCol = c;
    s->curRow = r;
    s->selEndCol = endC;
    s->selEndRow = endR;
  }
  std::string Copy() {
    std::string buffer(CopySize(*s), '\x7f');
    buffer[0] = '\0';
    char* end = CopySelection(*s, buffer.data());
    EXPECT_EQ(static_cast<size_t>(end - buffer.data()) + 1, buffer.size()) << "size and text disagree";
    return std::string(buffer.data());
  }
  // The storing pass into the grid, as GM_PASTE runs it after acceptance.
  bool Paste(const char* text) {
    const Block b = SelectedBlock(*s);
    const PasteShape shape = MeasurePaste(text, b.c0, b.r0);
    if (!AcceptsPaste(*s, shape)) return false;
    return ForEachField(heap, text, shape, b.c0, b.r0, s->colCount, s->rowCount,
                        [&](uint32_t c, uint32_t r, const char* field) { Put(c, r, field); });
  }
};

TEST_F(ClipText, OneCellCopiesAsItsTextAndALineEnd) {
  Put(1, 1, "x");
  EXPECT_EQ(CopySize(*s), 4u);
  EXPECT_EQ(Copy(), "x\r\n");
  Select(2, 2, 2, 2);
  EXPECT_EQ(CopySize(*s), 3u);
  EXPECT_EQ(Copy(), "\r\n");
}

TEST_F(ClipText, ABlockCopiesRowByRowWithTabsBetweenCells) {
  Put(1, 1, "a");
  Put(2, 1, "bc");
  Put(2, 2, "d");
  Select(2, 2, 1, 1);  // the anchor need not be the top-left corner
  EXPECT_EQ(CopySize(*s), 11u);
  EXPECT_EQ(Copy(), "a\tbc\r\n\td\r\n");
}

TEST_F(ClipText, CopyAppendsToWhatTheBufferHolds) {
  Put(1, 1, "x");
  char buffer[16] = "ab";
  EXPECT_EQ(CopySelection(*s, buffer), buffer + 5);
  EXPECT_STREQ(buffer, "abx\r\n");
}

TEST_F(ClipText, ASingleCellTakesAnyBlockThatFits) {
  const char* text = "1\t2\r\n3\t4\r\n";
  Select(2, 2, 2, 2);
  const PasteShape shape = MeasurePaste(text, 2, 2);
  EXPECT_EQ(shape.colEnd, 3u);
  EXPECT_EQ(shape.rowEnd, 3);
  ASSERT_TRUE(Paste(text));
  EXPECT_EQ(Text(2, 2), "1");
  EXPECT_EQ(Text(3, 2), "2");
  EXPECT_EQ(Text(2, 3), "3");
  EXPECT_EQ(Text(3, 3), "4");
  Select(4, 2, 4, 2);
  EXPECT_FALSE(Paste("a\tb\r\nc\td\r\n")) << "colEnd 5 is beyond column 4";
  Select(2, 3, 2, 3);
  EXPECT_FALSE(Paste("a\tb\r\nc\td\r\n")) << "rowEnd 4 is beyond row 3";
  EXPECT_EQ(Text(2, 3), "3");
}

TEST_F(ClipText, ARangeTakesOnlyABlockOfItsOwnShape) {
  const char* text = "1\t2\r\n3\t4\r\n";
  const uint32_t corners[4][4] = {{1, 1, 2, 2}, {2, 2, 1, 1}, {2, 1, 1, 2}, {1, 2, 2, 1}};
  for (const auto& k : corners) {
    Select(k[0], k[1], k[2], k[3]);
    ASSERT_TRUE(Paste(text)) << "anchor at " << k[0] << "," << k[1];
    EXPECT_EQ(Text(1, 1), "1");
    EXPECT_EQ(Text(2, 1), "2");
    EXPECT_EQ(Text(1, 2), "3");
    EXPECT_EQ(Text(2, 2), "4");
    Put(1, 1, "");
  }
  Select(1, 1, 3, 2);
  EXPECT_FALSE(Paste(text));
  // A range one column wide is a range, not a cell.
  Select(1, 1, 1, 3);
  EXPECT_FALSE(Paste("x\r\n"));
  EXPECT_TRUE(Paste("x\r\ny\r\nz"));
  EXPECT_EQ(Text(1, 3), "z");
}

TEST_F(ClipText, LinesWithoutAnEndAndTrailingTabs) {
  Select(1, 1, 1, 1);
  Put(2, 1, "old");
  ASSERT_TRUE(Paste("a\tb"));
  EXPECT_EQ(Text(1, 1), "a");
  EXPECT_EQ(Text(2, 1), "b");
  ASSERT_TRUE(Paste("c\t"));
  EXPECT_EQ(Text(1, 1), "c");
  EXPECT_EQ(Text(2, 1), "") << "the empty last field empties the cell";
  ASSERT_TRUE(Paste(""));
  EXPECT_EQ(Text(1, 1), "");
  Select(1, 1, 2, 2);
  EXPECT_FALSE(Paste("")) << "one empty field is a 1 x 1 block";
}

TEST_F(ClipText, OnlyTheFirstLineSetsTheWidth) {
  Select(1, 1, 1, 1);
  Put(2, 2, "left alone");
  ASSERT_TRUE(Paste("a\tb\r\nc\r\n"));
  EXPECT_EQ(Text(1, 2), "c");
  EXPECT_EQ(Text(2, 2), "left alone");
  // Extra fields of a later line go right as far as the grid reaches and no
  // further: never into the next row.
  Put(1, 3, "row three");
  ASSERT_TRUE(Paste("a\r\n1\t2\t3\t4\t5\t6\r\n"));
  EXPECT_EQ(Text(4, 2), "4");
  EXPECT_EQ(Text(0, 3), "");
  EXPECT_EQ(Text(1, 3), "row three");
}

TEST_F(ClipText, TextsHoldingSeparatorsSplitWhenPastedBack) {
  Put(1, 1, "a\tb");
  Select(1, 1, 1, 1);
  const std::string copied = Copy();
  EXPECT_EQ(copied, "a\tb\r\n");
  Select(3, 1, 3, 1);
  ASSERT_TRUE(Paste(copied.c_str()));
  EXPECT_EQ(Text(3, 1), "a");
  EXPECT_EQ(Text(4, 1), "b");
  Put(1, 1, "x\r\ny");
  Select(1, 1, 1, 1);
  EXPECT_EQ(MeasurePaste(Copy().c_str(), 1, 1).rowEnd, 2) << "the CR LF inside counts as a line";
}

TEST_F(ClipText, LongFieldsAreStoredWholeAndNothingIsReadPastTheEnd) {
  Select(1, 1, 1, 1);
  const std::string longField(100000, 'q'), other(256, 'w');
  const std::string pasted = "a\t" + longField + "\r\n" + other + "\t\r\n";
  EXPECT_EQ(MeasurePaste(pasted.c_str(), 1, 1).longestField, longField.size());
  ASSERT_TRUE(Paste(pasted.c_str()));
  EXPECT_EQ(Text(1, 1), "a");
  EXPECT_TRUE(Text(2, 1) == longField) << "stored whole";
  EXPECT_EQ(Text(1, 2), other);
  EXPECT_EQ(Text(2, 2), "");
  // The one scratch block for the fields: without it nothing is stored.
  Put(1, 1, "kept");
  heap.failAfter(0);
  EXPECT_FALSE(Paste(pasted.c_str()));
  heap.failAfter(-1);
  EXPECT_EQ(Text(1, 1), "kept");
  Put(2, 1, "");
  // A CR right before the zero: the pass must stop at the zero.
  std::vector<char> text = {'z', '\r', '\0', 'X', '\t', 'Y', '\0'};
  ASSERT_TRUE(Paste(text.data()));
  EXPECT_EQ(Text(1, 1), "z");
  EXPECT_EQ(Text(2, 1), "") << "nothing after the zero was taken";
  const PasteShape shape = MeasurePaste(text.data(), 1, 1);
  EXPECT_EQ(shape.rowEnd, 1);
  EXPECT_EQ(shape.colEnd, 1u);
}

// Lines end with CR LF or with a CR alone; after a CR only an LF is passed
// over. (The text from a user: x CR é y CR LF, in UTF-8.)
TEST_F(ClipText, ALineEndsAtCrLfOrAtALoneCrAndNoByteAfterItIsLost) {
  struct Case {
    const char* text;
    std::vector<std::string> column1;  // rows 1 .. 3
  } cases[] = {
      {"a\r\nb\r\nc\r\n", {"a", "b", "c"}},
      {"x\r\xC3\xA9y\r\n", {"x", "\xC3\xA9y", "-"}},
      {"a\rb\rc", {"a", "b", "c"}},            // CR alone
      {"a\r\r\nb", {"a", "", "b"}},           // a CR alone, then a CR LF
      {"a\rb\r", {"a", "b", "-"}},             // a final CR
      {"a\n\rb", {"a\n", "b", "-"}},          // an LF alone is text
  };
  for (const Case& c : cases) {
    for (uint32_t r = 1; r <= 3; ++r) Put(1, r, "-");
    Select(1, 1, 1, 1);
    const PasteShape shape = MeasurePaste(c.text, 1, 1);
    EXPECT_EQ(shape.rowEnd, int64_t(c.column1[2] == "-" ? 2 : 3)) << c.text;
    ASSERT_TRUE(Paste(c.text)) << c.text;
    for (uint32_t r = 1; r <= 3; ++r) EXPECT_EQ(Text(1, r), c.column1[r - 1]) << c.text << " row " << r;
  }
}

TEST_F(ClipText, CopyThenPasteGivesBackTheTexts) {
  std::mt19937 random(20261207);
  ASSERT_EQ(SetColCount(*s, 12), Reshape::kDone);
  ASSERT_EQ(SetRowCount(*s, 30), Reshape::kDone);
  auto randomText = [&] {
    std::string t(random() % 12, ' ');
    for (char& ch : t) ch = static_cast<char>('!' + random() % 90);
    return t;
  };
  for (int round = 0; round < 200; ++round) {
    const uint32_t c0 = 1 + random() % 11, c1 = 1 + random() % 11;
    const uint32_t r0 = 1 + random() % 29, r1 = 1 + random() % 29;
    const Block b{std::min(c0, c1), std::max(c0, c1), std::min(r0, r1), std::max(r0, r1)};
    std::vector<std::string> texts;
    for (uint32_t r = b.r0; r <= b.r1; ++r) {
      for (uint32_t c = b.c0; c <= b.c1; ++c) {
        texts.push_back(randomText());
        Put(c, r, texts.back().c_str());
      }
    }
    Select(c0, r0, c1, r1);
    const std::string copied = Copy();
    for (uint32_t r = b.r0; r <= b.r1; ++r) {
      for (uint32_t c = b.c0; c <= b.c1; ++c) Put(c, r, "");
    }
    // Back into the same range, or at a single cell placed where it fits.
    if (round % 2) Select(b.c0, b.r0, b.c0, b.r0);
    ASSERT_TRUE(Paste(copied.c_str())) << round;
    size_t i = 0;
    for (uint32_t r = b.r0; r <= b.r1; ++r) {
      for (uint32_t c = b.c0; c <= b.c1; ++c) ASSERT_EQ(Text(c, r), texts[i++]) << round;
    }
  }
  ExpectBlocksOwned();
}

}  // namespace
}  // namespace latticor
