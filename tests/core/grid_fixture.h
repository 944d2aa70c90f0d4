// A grid in a counting heap, for the core's tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "counting_allocator.h"
#include "core/grid_state.h"

namespace latticor::testing {

struct GridFixture : ::testing::Test {
  CountingAllocator heap;
  GridState* s = CreateGridState(heap, 0, 0);

  ~GridFixture() override {
    DestroyGridState(s);
    EXPECT_EQ(heap.live(), 0u) << "blocks not given back";
    EXPECT_EQ(heap.foreign(), 0u) << "blocks given back twice or never handed out";
  }
  void Put(uint32_t c, uint32_t r, const char* text) { ASSERT_TRUE(SetText(*s, c, r, text)); }
  std::string Text(uint32_t c, uint32_t r) const {
    const GridCell* cell = CellAt(*s, c, r);
    return cell ? cell->text : "(outside)";
  }
  // Every cell owns exactly one live block of its text's size.
  void ExpectBlocksOwned() const {
    const size_t cells = size_t{s->colCount} * s->rowCount;
    for (size_t i = 0; i < cells; ++i) {
      ASSERT_TRUE(heap.owns(s->cells[i].text)) << "cell " << i;
    }
    // The record, its tables, the cells, their texts, the undo history.
    EXPECT_EQ(heap.live(), 1u + 5u + 1u + cells + HistoryBlocks(s->history));
    EXPECT_TRUE(UseCountsAgree(*s));
  }
};

}  // namespace latticor::testing
