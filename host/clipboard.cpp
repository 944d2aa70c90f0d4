#include "clipboard.h"

#include "latticor.h"

namespace celdra {

bool CopyGridSelection(HWND owner, HWND grid) {
  const SIZE_T size = static_cast<SIZE_T>(SendMessageA(grid, GM_GETCOPYSIZE, 0, 0));
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  // Zero-filled: GM_COPYSEL appends to the empty string it finds there.
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  void* text = memory ? GlobalLock(memory) : nullptr;
  if (text) {
    SendMessageA(grid, GM_COPYSEL, reinterpret_cast<WPARAM>(text), 0);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);  // the clipboard owns it from here
  } else if (memory) {
    GlobalFree(memory);
  }
  CloseClipboard();
  return text != nullptr;
}

bool PasteIntoGrid(HWND owner, HWND grid) {
  if (!OpenClipboard(owner)) return false;
  HANDLE memory = GetClipboardData(CF_TEXT);
  const void* text = memory ? GlobalLock(memory) : nullptr;
  if (text) {
    SendMessageA(grid, GM_PASTE, reinterpret_cast<WPARAM>(text), 0);
    GlobalUnlock(memory);
  }
  CloseClipboard();
  return text != nullptr;
}

}  // namespace celdra
