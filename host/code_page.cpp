#include "code_page.h"

#include <algorithm>
#include <climits>

namespace celdra {

std::string FromWide(const wchar_t* chars, size_t length) {
  size_t units = 0;
  while (units < length && chars[units] != L'\0') ++units;
  const int n = static_cast<int>(std::min<size_t>(units, INT_MAX));
  if (n == 0) return {};
  std::string text(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, chars, n, nullptr, 0, nullptr, nullptr)), '\0');
  WideCharToMultiByte(CP_ACP, 0, chars, n, text.data(), static_cast<int>(text.size()), nullptr, nullptr);
  return text;
}

size_t CharacterCut(const std::string& text, size_t limit, UINT codePage) {
  if (text.size() <= limit) return text.size();
  if (codePage == CP_UTF8) {
    // The byte at the cut starts what is cut off: step back over the
    // continuation bytes (10xxxxxx) of the character it would split, at
    // most three, as a character has four bytes at most.
    size_t cut = limit;
    for (int back = 0; back < 3 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++back) --cut;
    return cut;
  }
  // A second byte can look like a lead byte: characters are counted from
  // the start. Windows knows no lead bytes in a single-byte code page.
  size_t i = 0;
  while (i < limit) {
    const size_t step = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[i])) ? 2 : 1;
    if (i + step > limit) break;
    i += step;
  }
  return i;
}

}  // namespace celdra
