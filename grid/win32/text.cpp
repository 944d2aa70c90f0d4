#include "text.h"

#include <algorithm>
#include <climits>

namespace latticor::win32 {

namespace {

// The code page of a character set, as GDI's A calls take it.
UINT CharsetCodePage(UINT charset) {
  CHARSETINFO info;
  if (TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(charset)), &info, TCI_SRCCHARSET)) {
    return info.ciACP;
  }
  return charset == OEM_CHARSET ? GetOEMCP() : CP_ACP;
}

bool IsLeadByte(unsigned char b) { return IsDBCSLeadByte(b) != FALSE; }

}  // namespace

UINT TextCodePage(HDC dc) {
  const auto charset = static_cast<UINT>(GetTextCharsetInfo(dc, nullptr, 0));
  if (charset != SYMBOL_CHARSET && GetACP() == CP_UTF8) return CP_UTF8;
  return CharsetCodePage(charset);
}

UINT TextCodePage(const GridState& s, HFONT font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font ? font : static_cast<HFONT>(s.font));
  const UINT codePage = TextCodePage(dc);
  SelectObject(dc, old);
  DeleteDC(dc);
  return codePage;
}

int ConvertText(UINT codePage, const char* text, size_t bytes, wchar_t* chars) {
  if (bytes == 0) return 0;
  const int size = static_cast<int>(std::min<size_t>(bytes, INT_MAX));
  return MultiByteToWideChar(codePage, 0, text, size, chars, size);
}

Encoding ProcessEncoding() { return EncodingOf(GetACP(), IsLeadByte); }

}  // namespace latticor::win32
