// An allocator for the core's tests: plain heap memory, with every live
// block counted so that a test can tell that all of them came back.
#pragma once

#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "core/grid_state.h"

namespace latticor::testing {

class CountingAllocator final : public BlockAllocator {
 public:
  ~CountingAllocator() {
    for (auto& [block, size] : live_) std::free(block);
  }

  void* Allocate(size_t bytes) override {
    if (failAfter_ == 0) return nullptr;
    if (failAfter_ > 0) --failAfter_;
    void* block = std::calloc(1, bytes ? bytes : 1);
    live_[block] = bytes;
    ++allocations_;
    return block;
  }

  void* Resize(void* block, size_t bytes) override {
    if (failAfter_ == 0) return nullptr;
    if (failAfter_ > 0) --failAfter_;
    auto it = live_.find(block);
    if (it == live_.end()) {
      ++foreign_;
      return nullptr;
    }
    // Always move, so that a caller that keeps the old address is caught.
    void* moved = std::calloc(1, bytes ? bytes : 1);
    std::memcpy(moved, block, it->second < bytes ? it->second : bytes);
    std::free(block);
    live_.erase(it);
    live_[moved] = bytes;
    return moved;
  }

  void Release(void* block) override {
    auto it = live_.find(block);
    if (it == live_.end()) {
      ++foreign_;
      return;
    }
    std::free(block);
    live_.erase(it);
  }

  size_t live() const { return live_.size(); }
  size_t allocations() const { return allocations_; }
  // Blocks released or resized that this allocator never handed out.
  size_t foreign() const { return foreign_; }
  size_t sizeOf(const void* block) const {
    auto it = live_.find(const_cast<void*>(block));
    return it == live_.end() ? 0 : it->second;
  }
  bool owns(const void* block) const { return live_.count(const_cast<void*>(block)) != 0; }
  // The next `n` requests succeed, every later one fails; -1 never fails.
  void failAfter(long n) { failAfter_ = n; }

 private:
  std::unordered_map<void*, size_t> live_;
  size_t allocations_ = 0;
  size_t foreign_ = 0;
  long failAfter_ = -1;
};

// The blocks a grid's undo history holds: its steps' table and their texts.
inline size_t HistoryBlocks(const UndoHistory& h) {
  size_t blocks = h.steps ? 1 : 0;
  for (uint32_t i = 0; i < h.count; ++i) blocks += (h.steps[i].before != nullptr) + (h.steps[i].after != nullptr);
  return blocks;
}

}  // namespace latticor::testing
