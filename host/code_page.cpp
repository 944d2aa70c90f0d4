#include "code_page.h"

#include <algorithm>
#include <climits>

namespace celdra {

namespace {

bool IsLeadByte(unsigned char b) { return IsDBCSLeadByte(b) != FALSE; }

}  // namespace

std::string FromWide(const wchar_t* chars, size_t length) {
  size_t units = 0;
  while (units < length && chars[units] != L'\0') ++units;
  const int n = static_cast<int>(std::min<size_t>(units, INT_MAX));
  if (n == 0) return {};
  std::string text(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, chars, n, nullptr, 0, nullptr, nullptr)), '\0');
  WideCharToMultiByte(CP_ACP, 0, chars, n, text.data(), static_cast<int>(text.size()), nullptr, nullptr);
  return text;
}

latticor::Encoding ProcessEncoding() { return latticor::EncodingOf(GetACP(), IsLeadByte); }

}  // namespace celdra
