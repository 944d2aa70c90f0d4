// What the user changed through the grid, a step at a time, so that it can
// be undone and redone: each step is a block of cells with its texts before
// and after the change, byte for byte. And the one way a block's texts are
// read and written, all or nothing.
#pragma once

#include "core/selection.h"

namespace latticor {

// The texts of a block, row by row and left to right, one after another,
// each with its zero; `texts` null stands for every text empty.
struct BlockTexts {
  Block block;
  char* texts;
  size_t bytes;  // of `texts`, the zeros included
};

// The block's texts as the cells hold them now; false when memory runs out.
bool ReadBlockTexts(BlockAllocator& a, const GridState& s, const Block& b, BlockTexts& out);
void ReleaseBlockTexts(BlockAllocator& a, BlockTexts& t);
// Whether the cells of the block hold these texts already.
bool HoldsTexts(const GridState& s, const BlockTexts& t);
// Gives the block's cells these texts, all or nothing: false, with every
// cell as it was, when memory runs out.
bool WriteBlockTexts(GridState& s, const BlockTexts& t);

// The history's bounds: at most this many bytes of texts (their zeros not
// counted) and this many steps; the oldest steps go first.
constexpr size_t kHistoryBytes = size_t{32} << 20;
constexpr uint32_t kHistorySteps = 1000;

// UndoStep and UndoHistory are the state's (core/grid_state.h).

// Makes room for one more step, so that recording it cannot fail; false
// when memory runs out.
bool ReserveStep(BlockAllocator& a, UndoHistory& h);
// Records a step (after ReserveStep), whose texts the history then owns: the
// steps that could be redone go, then the oldest while the bounds are
// passed. A step that alone passes the bytes' bound is not recorded and
// empties the history.
void RecordStep(BlockAllocator& a, UndoHistory& h, const UndoStep& step);
// The step an undo (redo) takes back (does again), or null; `Undone` and
// `Redone` move past it once its texts are written.
const UndoStep* StepToUndo(const UndoHistory& h);
const UndoStep* StepToRedo(const UndoHistory& h);
inline void Undone(UndoHistory& h) { --h.done; }
inline void Redone(UndoHistory& h) { ++h.done; }
// Forgets every step and gives back their texts and the steps' table.
void EmptyHistory(BlockAllocator& a, UndoHistory& h);

// A change the user makes through the grid: the block's texts replaced by
// `after`, whose texts it takes over (given back whatever happens), recorded
// for undo and written, all or nothing.
enum class Change { kChanged, kUnchanged, kNoMemory };
Change ChangeByUser(GridState& s, BlockTexts& after);
// GM_UNDO (back) and GM_REDO: the next step's texts written back or again,
// all or nothing; false when there is no step or memory runs out. The
// block it wrote is in `restored`.
bool StepThroughHistory(GridState& s, bool back, Block& restored);

}  // namespace latticor
