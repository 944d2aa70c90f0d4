#include "core/undo.h"

#include <algorithm>
#include <cstring>

namespace latticor {

namespace {

// Calls visit(c, r, cell, text, length) for each cell of the block with the
// text meant for it.
template <typename Visit>
void ForEachText(GridState& s, const BlockTexts& t, Visit visit) {
  const char* next = t.texts;
  for (uint32_t r = t.block.r0; r <= t.block.r1; ++r) {
    for (uint32_t c = t.block.c0; c <= t.block.c1; ++c) {
      const char* text = next ? next : "";
      const size_t length = std::strlen(text);
      visit(c, r, *CellAt(s, c, r), text, length);
      if (next) next += length + 1;
    }
  }
}

// What a step holds of texts, their zeros left out.
size_t TextBytes(const UndoStep& step) {
  const size_t cells = size_t{step.block.c1 - step.block.c0 + 1} * (step.block.r1 - step.block.r0 + 1);
  return (step.before ? step.beforeBytes - cells : 0) + (step.after ? step.afterBytes - cells : 0);
}

void ReleaseStep(BlockAllocator& a, UndoHistory& h, const UndoStep& step) {
  if (step.before) a.Release(step.before);
  if (step.after) a.Release(step.after);
  h.bytes -= TextBytes(step);
}

}  // namespace

bool ReadBlockTexts(BlockAllocator& a, const GridState& s, const Block& b, BlockTexts& out) {
  out = BlockTexts{b, nullptr, 0};
  size_t bytes = 0;
  bool empty = true;
  for (uint32_t r = b.r0; r <= b.r1; ++r) {
    for (uint32_t c = b.c0; c <= b.c1; ++c) {
      const char* text = CellAt(s, c, r)->text;
      empty = empty && !text[0];
      bytes += std::strlen(text) + 1;
    }
  }
  if (empty) return true;
  auto* texts = static_cast<char*>(a.Allocate(bytes));
  if (!texts) return false;
  char* end = texts;
  for (uint32_t r = b.r0; r <= b.r1; ++r) {
    for (uint32_t c = b.c0; c <= b.c1; ++c) {
      const char* text = CellAt(s, c, r)->text;
      const size_t n = std::strlen(text) + 1;
      std::memcpy(end, text, n);
      end += n;
    }
  }
  out.texts = texts;
  out.bytes = bytes;
  return true;
}

void ReleaseBlockTexts(BlockAllocator& a, BlockTexts& t) {
  if (t.texts) a.Release(t.texts);
  t.texts = nullptr;
  t.bytes = 0;
}

bool HoldsTexts(const GridState& s, const BlockTexts& t) {
  bool same = true;
  ForEachText(const_cast<GridState&>(s), t, [&](uint32_t, uint32_t, const GridCell& cell, const char* text, size_t) {
    same = same && std::strcmp(cell.text, text) == 0;
  });
  return same;
}

bool WriteBlockTexts(GridState& s, const BlockTexts& t) {
  BlockAllocator& a = *s.allocator;
  // Longer texts need larger blocks first. A block that grows keeps its
  // text, so stopping half way changes no text.
  bool grown = true;
  ForEachText(s, t, [&](uint32_t, uint32_t, GridCell& cell, const char*, size_t length) {
    if (!grown || length <= std::strlen(cell.text)) return;
    void* larger = a.Resize(cell.text, length + 1);
    if (larger) {
      cell.text = static_cast<char*>(larger);
    } else {
      grown = false;
    }
  });
  if (!grown) return false;
  // Every text fits now: each is written in place, and the block of a
  // shorter one gives back what it no longer needs (when that fails, the
  // larger block simply stays).
  ForEachText(s, t, [&](uint32_t c, uint32_t r, GridCell& cell, const char* text, size_t length) {
    const size_t old = std::strlen(cell.text);
    NoteTextUse(s, c, r, old != 0, length != 0);
    std::memcpy(cell.text, text, length + 1);
    if (length >= old) return;
    if (void* smaller = a.Resize(cell.text, length + 1)) cell.text = static_cast<char*>(smaller);
  });
  return true;
}

bool ReserveStep(BlockAllocator& a, UndoHistory& h) {
  if (h.count < h.capacity || h.capacity >= kHistorySteps) return true;  // full: the oldest makes room
  const uint32_t capacity = h.capacity ? std::min(2 * h.capacity, kHistorySteps) : 16;
  void* table = h.steps ? a.Resize(h.steps, capacity * sizeof(UndoStep)) : a.Allocate(capacity * sizeof(UndoStep));
  if (!table) return false;
  h.steps = static_cast<UndoStep*>(table);
  h.capacity = capacity;
  return true;
}

void RecordStep(BlockAllocator& a, UndoHistory& h, const UndoStep& step) {
  while (h.count > h.done) ReleaseStep(a, h, h.steps[--h.count]);
  const size_t bytes = TextBytes(step);
  if (bytes > kHistoryBytes || h.capacity == 0) {
    UndoHistory alone{};
    alone.bytes = bytes;
    ReleaseStep(a, alone, step);
    EmptyHistory(a, h);
    return;
  }
  uint32_t oldest = 0;
  while (oldest < h.count && (h.bytes + bytes > kHistoryBytes || h.count - oldest >= h.capacity)) {
    ReleaseStep(a, h, h.steps[oldest++]);
  }
  if (oldest) {
    std::memmove(h.steps, h.steps + oldest, (h.count - oldest) * sizeof(UndoStep));
    h.count -= oldest;
  }
  h.steps[h.count++] = step;
  h.done = h.count;
  h.bytes += bytes;
}

const UndoStep* StepToUndo(const UndoHistory& h) { return h.done > 0 ? &h.steps[h.done - 1] : nullptr; }
const UndoStep* StepToRedo(const UndoHistory& h) { return h.done < h.count ? &h.steps[h.done] : nullptr; }

void EmptyHistory(BlockAllocator& a, UndoHistory& h) {
  for (uint32_t i = 0; i < h.count; ++i) ReleaseStep(a, h, h.steps[i]);
  if (h.steps) a.Release(h.steps);
  h = UndoHistory{};
}

Change ChangeByUser(GridState& s, BlockTexts& after) {
  BlockAllocator& a = *s.allocator;
  if (HoldsTexts(s, after)) {
    ReleaseBlockTexts(a, after);
    return Change::kUnchanged;
  }
  BlockTexts before;
  if (!ReadBlockTexts(a, s, after.block, before) || !ReserveStep(a, s.history) || !WriteBlockTexts(s, after)) {
    ReleaseBlockTexts(a, before);
    ReleaseBlockTexts(a, after);
    return Change::kNoMemory;
  }
  RecordStep(a, s.history, UndoStep{after.block, before.texts, before.bytes, after.texts, after.bytes});
  after = BlockTexts{after.block, nullptr, 0};
  return Change::kChanged;
}

bool StepThroughHistory(GridState& s, bool back, Block& restored) {
  const UndoStep* step = back ? StepToUndo(s.history) : StepToRedo(s.history);
  if (!step) return false;
  const BlockTexts texts = back ? BlockTexts{step->block, step->before, step->beforeBytes}
                                : BlockTexts{step->block, step->after, step->afterBytes};
  if (!WriteBlockTexts(s, texts)) return false;
  restored = step->block;
  if (back) {
    Undone(s.history);
  } else {
    Redone(s.history);
  }
  return true;
}

}  // namespace latticor
