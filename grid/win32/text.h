// A cell's text as characters. Cells hold bytes in the process's ANSI code
// page, which is UTF-8 in a program whose manifest asks for it. Everything
// that turns those bytes into characters — painting, printing, and any
// later reader such as an accessibility name — goes through this one
// conversion:
//
//   WithTextChars(TextCodePage(dc), cell.text, [&](const wchar_t* chars, int length) {
//     DrawTextW(dc, chars, length, &r, format);                     // drawing
//   });
//   WithTextChars(TextCodePage(s, static_cast<HFONT>(cell.cellFont)), cell.text,
//                 [&](const wchar_t* chars, int length) { ... });  // no DC
#pragma once

#include <windows.h>

#include <cstring>

#include "core/char_boundary.h"
#include "core/grid_state.h"

namespace latticor::win32 {

// The code page in which text bytes stand for characters when drawn with
// the font selected into `dc`: the one DrawTextA reads them in (that of the
// font's character set; a symbol font keeps its byte-to-glyph mapping),
// except that a process whose code page is UTF-8 gets UTF-8 for every font
// but a symbol font.
UINT TextCodePage(HDC dc);
// The same without a device context, for `font`; 0 stands for the grid's
// font (and, when the grid has none either, the system font painting falls
// back to).
UINT TextCodePage(const GridState& s, HFONT font);

// Texts of up to this many bytes are converted on the stack.
constexpr size_t kLocalTextChars = 256;

// Converts `bytes` bytes of `text` from `codePage` into `chars`, which has
// room for as many UTF-16 units; the number of units written.
int ConvertText(UINT codePage, const char* text, size_t bytes, wchar_t* chars);

// Calls use(chars, length) with the zero-terminated `text`, in `codePage`,
// as UTF-16 characters (not zero-terminated). Short texts are converted on
// the stack, longer ones into a block of the process heap that is given
// back afterwards; a block that cannot be had gives an empty text.
template <typename Use>
void WithTextChars(UINT codePage, const char* text, Use use) {
  wchar_t local[kLocalTextChars];
  // No character takes more UTF-16 units than it has bytes.
  const size_t bytes = std::strlen(text);
  wchar_t* heap =
      bytes > kLocalTextChars ? static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, bytes * sizeof(wchar_t))) : nullptr;
  if (bytes > kLocalTextChars && !heap) {
    use(static_cast<const wchar_t*>(local), 0);
    return;
  }
  wchar_t* chars = heap ? heap : local;
  use(static_cast<const wchar_t*>(chars), ConvertText(codePage, text, bytes, chars));
  if (heap) HeapFree(GetProcessHeap(), 0, heap);
}

// How the process's code page makes characters of bytes, for cutting texts
// to a byte limit (CharBoundaryAtOrBefore).
Encoding ProcessEncoding();

}  // namespace latticor::win32
