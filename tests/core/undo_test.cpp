// The user's changes and their history: byte-for-byte undo and redo, the
// bounds, and writes that change all or nothing.
#include "core/undo.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/clip_text.h"
#include "core/dimensions.h"
#include "grid_fixture.h"

namespace latticor {
namespace {

struct History : testing::GridFixture {
  void SetUp() override {
    ASSERT_EQ(SetColCount(*s, 6), Reshape::kDone);
    ASSERT_EQ(SetRowCount(*s, 6), Reshape::kDone);
  }
  // Every data cell's text, for comparing whole grids.
  std::vector<std::string> Texts() const {
    std::vector<std::string> all;
    for (uint32_t r = 1; r < s->rowCount; ++r) {
      for (uint32_t c = 1; c < s->colCount; ++c) all.push_back(Text(c, r));
    }
    return all;
  }
  // `texts` for the block, one after another (an empty list: all empty).
  BlockTexts Of(const Block& b, const std::vector<std::string>& texts) {
    BlockTexts t{b, nullptr, 0};
    if (texts.empty()) return t;
    std::string all;
    for (const std::string& text : texts) all += text + '\0';
    t.texts = static_cast<char*>(heap.Allocate(all.size()));
    std::memcpy(t.texts, all.data(), all.size());
    t.bytes = all.size();
    return t;
  }
  Change ChangeTo(const Block& b, const std::vector<std::string>& texts) {
    BlockTexts t = Of(b, texts);
    return ChangeByUser(*s, t);
  }
  bool Step(bool back) {
    Block restored{};
    return StepThroughHistory(*s, back, restored);
  }
};

// Any bytes, every length, empty texts too; undoing everything gives back
// the texts before the first change, redoing everything those after the
// last, byte for byte.
TEST_F(History, UndoingAndRedoingEveryChangeGivesBackEveryByte) {
  std::minstd_rand random(27);
  const auto below = [&](uint32_t n) { return static_cast<uint32_t>(random() % n); };
  const auto text = [&] {
    std::string t(below(6), '\0');
    for (char& ch : t) ch = static_cast<char>(1 + below(255));
    return t;
  };
  for (uint32_t r = 1; r < 6; ++r) Put(1, r, text().c_str());
  const std::vector<std::string> first = Texts();
  for (int i = 0; i < 200; ++i) {
    const uint32_t c0 = 1 + below(5), r0 = 1 + below(5);
    const Block b{c0, c0 + below(6 - c0), r0, r0 + below(6 - r0)};
    std::vector<std::string> texts;
    if (below(3)) {
      for (uint32_t n = (b.c1 - b.c0 + 1) * (b.r1 - b.r0 + 1); n > 0; --n) texts.push_back(text());
    }
    ASSERT_NE(ChangeTo(b, texts), Change::kNoMemory);
    if (below(5) == 0) Step(true);  // an undo now and then, its redo dropped by the next change
  }
  const std::vector<std::string> last = Texts();
  ExpectBlocksOwned();
  const uint32_t done = s->history.done;
  ASSERT_GT(done, 100u);
  for (uint32_t i = 0; i < done; ++i) ASSERT_TRUE(Step(true)) << i;
  EXPECT_FALSE(Step(true));
  EXPECT_EQ(Texts(), first);
  for (uint32_t i = 0; i < done; ++i) ASSERT_TRUE(Step(false)) << i;
  EXPECT_EQ(Texts(), last);
  ExpectBlocksOwned();
}

TEST_F(History, ANewChangeAfterAnUndoDropsWhatCouldBeRedone) {
  ASSERT_EQ(ChangeTo(Block{1, 1, 1, 1}, {"a"}), Change::kChanged);
  ASSERT_EQ(ChangeTo(Block{1, 1, 1, 1}, {"b"}), Change::kChanged);
  EXPECT_EQ(ChangeTo(Block{1, 1, 1, 1}, {"b"}), Change::kUnchanged) << "no step for nothing";
  ASSERT_TRUE(Step(true));
  ASSERT_EQ(ChangeTo(Block{2, 2, 1, 1}, {"c"}), Change::kChanged);
  EXPECT_FALSE(Step(false));
  ASSERT_TRUE(Step(true));
  ASSERT_TRUE(Step(true));
  EXPECT_EQ(Text(1, 1), "");
  EXPECT_EQ(Text(2, 1), "");
}

TEST_F(History, TheBoundsDropTheOldestStepsAndAStepTooLargeEmptiesIt) {
  for (uint32_t i = 0; i < kHistorySteps + 5; ++i) {
    ASSERT_EQ(ChangeTo(Block{1, 1, 1, 1}, {std::to_string(i)}), Change::kChanged);
  }
  EXPECT_EQ(s->history.count, kHistorySteps) << "the first five went";
  // Over a third of the bytes each: the last two fit, all before them goes.
  const std::string big(kHistoryBytes / 3 + 1, 'x');
  for (uint32_t c = 1; c <= 4; ++c) ASSERT_EQ(ChangeTo(Block{c, c, 2, 2}, {big}), Change::kChanged);
  EXPECT_LE(s->history.bytes, kHistoryBytes);
  EXPECT_EQ(s->history.count, 2u);
  EXPECT_TRUE(Step(true) && Step(true));
  EXPECT_FALSE(Step(true));
  EXPECT_EQ(Text(2, 2), big);
  EXPECT_EQ(Text(3, 2), "");
  const std::string huge(kHistoryBytes + 1, 'y');
  ASSERT_EQ(ChangeTo(Block{3, 3, 1, 1}, {huge}), Change::kChanged) << "the change is made all the same";
  EXPECT_EQ(s->history.bytes, 0u);
  EXPECT_EQ(s->history.count, 0u);
  EXPECT_FALSE(Step(true));
  EXPECT_EQ(Text(3, 1), huge);
}

// Every allocation a change or an undo makes may fail: the cells are then
// exactly as they were, and nothing leaks.
TEST_F(History, AChangeOrAnUndoWithoutMemoryChangesNothing) {
  Put(1, 1, "short");
  Put(2, 1, "a much longer text");
  for (long n = 0;; ++n) {
    const std::vector<std::string> before = Texts();
    BlockTexts after = Of(Block{1, 2, 1, 1}, {"a much longer text than before", "x"});
    heap.failAfter(n);
    const Change change = ChangeByUser(*s, after);
    heap.failAfter(-1);
    if (change == Change::kChanged) break;
    ASSERT_EQ(change, Change::kNoMemory);
    EXPECT_EQ(Texts(), before) << n;
  }
  const std::vector<std::string> changed = Texts();
  for (long n = 0;; ++n) {
    heap.failAfter(n);
    const bool undone = Step(true);
    heap.failAfter(-1);
    if (undone) break;
    EXPECT_EQ(Texts(), changed) << n;
  }
  EXPECT_EQ(Text(1, 1), "short");
  ExpectBlocksOwned();
}

// A paste as texts: the block to the farthest column any line reaches,
// each cell its field or, past a shorter line's end, its own text.
TEST_F(History, APasteReachesTheCellsItsLinesReach) {
  Put(3, 2, "kept");
  const char* text = "a\tb\r\nc\r\nd\te\tf\r\n";
  const PasteShape shape = MeasurePaste(text, 1, 1);
  BlockTexts t;
  ASSERT_TRUE(PasteTexts(heap, *s, text, shape, 1, 1, t));
  EXPECT_EQ(t.block.c1, 3u);
  EXPECT_EQ(t.block.r1, 3u);
  EXPECT_EQ(std::string(t.texts, t.bytes), std::string("a\0b\0\0c\0\0kept\0d\0e\0f\0", 19));
  ASSERT_EQ(ChangeByUser(*s, t), Change::kChanged);
  EXPECT_EQ(Text(3, 2), "kept");
  EXPECT_EQ(Text(3, 3), "f");
}

}  // namespace
}  // namespace latticor
