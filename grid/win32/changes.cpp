#include "changes.h"

#include <cstring>

#include "access/access.h"
#include "clipboard.h"
#include "core/clip_text.h"
#include "core/layout.h"
#include "latticor.h"
#include "notify.h"
#include "paint.h"
#include "window.h"

namespace latticor::win32 {

bool StoreCellText(HWND grid, GridState& s, uint32_t col, uint32_t row, const char* text) {
  const bool changes = ValueChangesHeard() && std::strcmp(CellAt(s, col, row)->text, text) != 0;
  if (!SetText(s, col, row, text)) return false;
  InvalidateCells(grid, s, CellRect(s, col, row), FALSE);
  if (changes) AnnounceValue(grid, col, row);
  return true;
}

bool ChangeTexts(HWND grid, GridState& s, BlockTexts& after) {
  const Block b = after.block;
  switch (ChangeByUser(s, after)) {
    case Change::kUnchanged:
      return true;
    case Change::kNoMemory:
      return false;
    case Change::kChanged:
      break;
  }
  ShowChangedTexts(grid, s, b);
  return true;
}

bool StoreUserText(HWND grid, uint32_t col, uint32_t row, const char* text) {
  GridState* s = StateOf(grid);
  if (!s || !CellAt(*s, col, row)) return false;
  const size_t bytes = std::strlen(text) + 1;
  BlockTexts after{Block{col, col, row, row}, static_cast<char*>(s->allocator->Allocate(bytes)), bytes};
  if (!after.texts) return false;
  std::memcpy(after.texts, text, bytes);
  return ChangeTexts(grid, *s, after);
}

bool ClearSelection(HWND grid, GridState& s) {
  BlockTexts empty{SelectedBlock(s), nullptr, 0};
  return ChangeTexts(grid, s, empty);
}

bool CutSelection(HWND grid, GridState& s) { return CopyToClipboard(grid, s) && ClearSelection(grid, s); }

void PasteClipboard(HWND grid, GridState& s) {
  char* text = nullptr;
  switch (ReadClipboard(grid, text)) {
    case ClipboardRead::kNoText:
    case ClipboardRead::kNoMemory:  // nothing pasted, as with any change without memory
      return;
    case ClipboardRead::kUnreadable:
      Refuse(grid, GM_PASTE, kUnreadableClipboardText, MB_ICONWARNING);
      return;
    case ClipboardRead::kText:
      break;
  }
  const Block selected = SelectedBlock(s);
  const PasteShape shape = MeasurePaste(text, selected.c0, selected.r0);
  BlockTexts after{};
  if (!AcceptsPaste(s, shape)) {
    Refuse(grid, GM_PASTE, kPasteRefusal, MB_ICONWARNING);
  } else if (PasteTexts(*s.allocator, s, text, shape, selected.c0, selected.r0, after)) {
    ChangeTexts(grid, s, after);
  }
  GlobalHeap().Release(text);
}

void ShowChangedTexts(HWND grid, GridState& s, const Block& b) {
  const Rect first = CellRect(s, b.c0, b.r0), last = CellRect(s, b.c1, b.r1);
  InvalidateCells(grid, s, Rect{first.left, first.top, last.right, last.bottom}, FALSE);
  if (b.c0 == b.c1 && b.r0 == b.r1) {
    if (ValueChangesHeard()) AnnounceValue(grid, b.c0, b.r0);
  } else if (ValueChangesHeard()) {
    const ValueBatch many(grid);  // a block is announced once, on the grid
    AnnounceValue(grid, b.c0, b.r0);
  }
  const GridRange range{b.c0, b.c1, b.r0, b.r1};
  SendNotification(grid, GN_CELLSCHANGED, reinterpret_cast<LPARAM>(&range));
}

}  // namespace latticor::win32
