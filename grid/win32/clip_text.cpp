// The selection as tab-separated text and back: the grid hands texts to its
// host, which moves them to and from the clipboard.
#include "access/access.h"
#include "core/clip_text.h"
#include "handlers.h"
#include "latticor.h"
#include "notify.h"

namespace latticor::win32 {

LRESULT OnGetCopySize(HWND, GridState& s, WPARAM, LPARAM) {
  return static_cast<LRESULT>(CopySize(s));
}

LRESULT OnCopySel(HWND, GridState& s, WPARAM wParam, LPARAM) {
  auto* buffer = reinterpret_cast<char*>(wParam);
  if (!buffer) return 0;
  CopySelection(s, buffer);
  return TRUE;
}

LRESULT OnPaste(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  const auto* text = reinterpret_cast<const char*>(wParam);
  if (!text) return 0;
  const Block block = SelectedBlock(s);
  const PasteShape shape = MeasurePaste(text, block.c0, block.r0);
  if (!AcceptsPaste(s, shape)) return Refuse(grid, GM_PASTE, kPasteRefusal, MB_ICONWARNING);
  // Each field goes in whole, whatever its length, as GM_SETCELLTEXT to the
  // grid itself, which copies it and repaints that cell alone; a field it
  // has no memory for leaves its cell as it was, and the result says so.
  // Being messages, the fields empty the history of the user's changes.
  // Screen readers hear of the paste once.
  ValueBatch batch(grid);
  bool allStored = true;
  const bool started = ForEachField(*s.allocator, text, shape, block.c0, block.r0, s.colCount, s.rowCount,
                                    [grid, &allStored](uint32_t c, uint32_t r, const char* field) {
                                      if (!SendMessageA(grid, GM_SETCELLTEXT, GRID_CELL(c, r),
                                                        reinterpret_cast<LPARAM>(field))) {
                                        allStored = false;
                                      }
                                    });
  return started && allStored ? TRUE : 0;
}

}  // namespace latticor::win32
