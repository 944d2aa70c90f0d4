// Talking to the parent and to the user, invalidating, and the heap.
#include "grid_window.h"
#include "layout.h"

namespace latticor::win32 {

const char kBadColumnText[] = "Invalid number of column.";
const char kBadRowText[] = "Invalid number of row.";
const char kBadColCountText[] = "The maximum number of cols is 254\r\nand the minimum is 2.";
const char kBadRowCountText[] = "The maximum number of rows is 16382\r\nand the minimum is 2.";

WPARAM ControlId(HWND grid) {
  return static_cast<WPARAM>(GetWindowLongPtrA(grid, GWLP_ID));
}

LRESULT SendNotification(HWND grid, UINT code, LPARAM lParam) {
  return SendMessageA(GetParent(grid), code, ControlId(grid), lParam);
}

void PostNotification(HWND grid, UINT code, WPARAM wParam, LPARAM lParam) {
  PostMessageA(GetParent(grid), code, wParam, lParam);
}

WPARAM MouseWord(HWND grid, WPARAM mouseWParam) {
  return MAKEWPARAM(LOWORD(mouseWParam), LOWORD(ControlId(grid)));
}

LRESULT Refuse(HWND grid, UINT msg, const char* text, UINT icon) {
  if (GetWindowLongPtrA(grid, GWL_STYLE) & GS_NOREFUSALBOX) {
    SendNotification(grid, GN_REFUSED, msg);
    return 0;
  }
  return MessageBoxA(nullptr, text, "Latticor", MB_OK | icon);
}

void SetScrollBar(HWND grid, int bar, uint32_t count, uint32_t position) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  si.nMin = 1;
  si.nMax = static_cast<int>(count) - 1;
  si.nPage = 1;
  si.nPos = static_cast<int>(position);
  SetScrollInfo(grid, bar, &si, TRUE);
}

void AwaitNextMessage() {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 70, QS_ALLINPUT);
}

// The client rectangle of the last paint is enough to decide: a window that
// grew since then is wholly invalid already (the class redraws on resizing).
void InvalidateCells(HWND grid, const GridState& s, const Rect& r, BOOL erase) {
  if (IsEmpty(Intersect(r, s.clientRect))) return;  // nothing on screen changes
  const RECT area = ToRECT(r);
  InvalidateRect(grid, &area, erase);
}

void InvalidateAll(HWND grid, BOOL erase) {
  InvalidateRect(grid, nullptr, erase);
}

namespace {

// Fixed blocks from the global heap, zero-filled; resizing may move them.
class GlobalHeapAllocator final : public BlockAllocator {
 public:
  void* Allocate(size_t bytes) override { return GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes); }
  void* Resize(void* block, size_t bytes) override {
    return GlobalReAlloc(block, bytes, GMEM_MOVEABLE | GMEM_ZEROINIT);
  }
  void Release(void* block) override { GlobalFree(block); }
};

}  // namespace

BlockAllocator& GlobalHeap() {
  static GlobalHeapAllocator heap;
  return heap;
}

}  // namespace latticor::win32
