#include "clipboard.h"

#include <string>

#include "code_page.h"
#include "latticor.h"

namespace celdra {

namespace {

// `text` (in the process's code page) as UTF-16 in movable global memory,
// or null. Put on the clipboard beside CF_TEXT: the system would make it
// from CF_TEXT with the locale's code page, whatever the process's is.
HGLOBAL UnicodeCopy(const char* text) {
  const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  HGLOBAL memory = units > 0 ? GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(units) * sizeof(wchar_t)) : nullptr;
  auto* chars = memory ? static_cast<wchar_t*>(GlobalLock(memory)) : nullptr;
  if (!chars) {
    if (memory) GlobalFree(memory);
    return nullptr;
  }
  MultiByteToWideChar(CP_ACP, 0, text, -1, chars, units);
  GlobalUnlock(memory);
  return memory;
}

}  // namespace

bool CopyGridSelection(HWND owner, HWND grid) {
  const SIZE_T size = static_cast<SIZE_T>(SendMessageA(grid, GM_GETCOPYSIZE, 0, 0));
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  // Zero-filled: GM_COPYSEL appends to the empty string it finds there.
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* text = memory ? static_cast<char*>(GlobalLock(memory)) : nullptr;
  if (text) {
    SendMessageA(grid, GM_COPYSEL, reinterpret_cast<WPARAM>(text), 0);
    if (HGLOBAL unicode = UnicodeCopy(text)) SetClipboardData(CF_UNICODETEXT, unicode);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);  // the clipboard owns both from here
  } else if (memory) {
    GlobalFree(memory);
  }
  CloseClipboard();
  return text != nullptr;
}

bool PasteIntoGrid(HWND owner, HWND grid) {
  if (!OpenClipboard(owner)) return false;
  bool pasted = false;
  // The characters themselves first, in the process's code page; CF_TEXT
  // holds them in the locale's when a Unicode program put them there.
  if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(memory))) {
      const std::string text = FromWide(chars, GlobalSize(memory) / sizeof(wchar_t));
      GlobalUnlock(memory);
      SendMessageA(grid, GM_PASTE, reinterpret_cast<WPARAM>(text.c_str()), 0);
      pasted = true;
    }
  } else if (HANDLE bytes = GetClipboardData(CF_TEXT)) {
    if (const void* text = GlobalLock(bytes)) {
      SendMessageA(grid, GM_PASTE, reinterpret_cast<WPARAM>(text), 0);
      GlobalUnlock(bytes);
      pasted = true;
    }
  }
  CloseClipboard();
  return pasted;
}

}  // namespace celdra
