#include "clipboard.h"

#include <climits>
#include <cstring>

#include "core/clip_text.h"
#include "window.h"

namespace latticor::win32 {

namespace {

// A moveable block holding `bytes` bytes for the clipboard, filled by
// fill(locked memory); null when it cannot be had.
template <typename Fill>
HGLOBAL ClipboardBlock(size_t bytes, Fill fill) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  void* memory = block ? GlobalLock(block) : nullptr;
  if (!memory) {
    if (block) GlobalFree(block);
    return nullptr;
  }
  fill(memory);
  GlobalUnlock(block);
  return block;
}

void Hand(UINT format, HGLOBAL block) {
  if (block && !SetClipboardData(format, block)) GlobalFree(block);
}

// The characters of `units` UTF-16 units as bytes of the process's code
// page, zero-terminated, in the grid's heap; null when memory runs out.
char* BytesOfChars(const wchar_t* chars, size_t units) {
  const int n = units ? static_cast<int>(units > INT_MAX ? INT_MAX : units) : 0;
  const int bytes = n ? WideCharToMultiByte(CP_ACP, 0, chars, n, nullptr, 0, nullptr, nullptr) : 0;
  auto* text = static_cast<char*>(GlobalHeap().Allocate(static_cast<size_t>(bytes) + 1));
  if (text && bytes) WideCharToMultiByte(CP_ACP, 0, chars, n, text, bytes, nullptr, nullptr);
  return text;
}

// A clipboard block, locked and read no further than its size.
ClipboardRead ReadBlock(UINT format, char*& text) {
  HANDLE block = GetClipboardData(format);
  if (!block) return ClipboardRead::kNoText;
  const SIZE_T size = GlobalSize(block);
  const void* memory = size ? GlobalLock(block) : nullptr;
  if (!memory) return ClipboardRead::kUnreadable;
  if (format == CF_UNICODETEXT) {
    const auto* chars = static_cast<const wchar_t*>(memory);
    const size_t most = size / sizeof(wchar_t);
    size_t units = 0;
    while (units < most && chars[units]) ++units;
    text = BytesOfChars(chars, units);
  } else {
    const auto* bytes = static_cast<const char*>(memory);
    size_t length = 0;
    while (length < size && bytes[length]) ++length;
    text = static_cast<char*>(GlobalHeap().Allocate(length + 1));
    if (text) std::memcpy(text, bytes, length);
  }
  GlobalUnlock(block);
  return text ? ClipboardRead::kText : ClipboardRead::kNoMemory;
}

}  // namespace

bool CopyToClipboard(HWND grid, const GridState& s) {
  // GM_COPYSEL's text, then its characters; both made before the
  // clipboard opens.
  const size_t size = CopySize(s);
  auto* text = static_cast<char*>(GlobalHeap().Allocate(size));
  if (!text) return false;
  CopySelection(s, text);
  const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  HGLOBAL chars = ClipboardBlock(static_cast<size_t>(units) * sizeof(wchar_t), [&](void* memory) {
    MultiByteToWideChar(CP_ACP, 0, text, -1, static_cast<wchar_t*>(memory), units);
  });
  HGLOBAL bytes = ClipboardBlock(size, [&](void* memory) { std::memcpy(memory, text, size); });
  GlobalHeap().Release(text);
  const bool opened = chars && bytes && OpenClipboard(grid);
  if (!opened) {
    if (chars) GlobalFree(chars);
    if (bytes) GlobalFree(bytes);
    return false;
  }
  EmptyClipboard();
  Hand(CF_UNICODETEXT, chars);
  Hand(CF_TEXT, bytes);
  CloseClipboard();
  return true;
}

ClipboardRead ReadClipboard(HWND grid, char*& text) {
  text = nullptr;
  if (!OpenClipboard(grid)) return ClipboardRead::kUnreadable;
  ClipboardRead read = ReadBlock(CF_UNICODETEXT, text);
  if (read == ClipboardRead::kNoText) read = ReadBlock(CF_TEXT, text);
  CloseClipboard();
  return read;
}

}  // namespace latticor::win32
