// The other side of the clipboard tests: a Unicode program, in the Western
// code page as programs without a manifest are. TEXT is UTF-16, four hex
// digits a unit.
//   clipboard_peer put TEXT     puts TEXT on the clipboard as CF_UNICODETEXT alone
//   clipboard_peer expect TEXT  exits 0 when the clipboard's CF_UNICODETEXT is
//                               TEXT; 1, printing what it holds, when not
//   clipboard_peer block FORMAT SIZE BYTES
//                               puts a block of SIZE bytes as FORMAT alone,
//                               BYTES (two hex digits each) over and over,
//                               with no terminator unless BYTES hold one
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::wstring FromHex(const char* hex) {
  std::wstring text;
  for (size_t i = 0; i + 4 <= std::strlen(hex); i += 4) {
    text += static_cast<wchar_t>(std::strtoul(std::string(hex + i, 4).c_str(), nullptr, 16));
  }
  return text;
}

int Put(const std::wstring& text) {
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  return SetClipboardData(CF_UNICODETEXT, memory) ? 0 : 2;
}

int PutBlock(UINT format, SIZE_T size, const char* hex) {
  std::string pattern;
  for (size_t i = 0; i + 2 <= std::strlen(hex); i += 2) {
    pattern += static_cast<char>(std::strtoul(std::string(hex + i, 2).c_str(), nullptr, 16));
  }
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return 2;
  if (size && !pattern.empty()) {
    auto* bytes = static_cast<char*>(GlobalLock(memory));
    for (SIZE_T i = 0; i < size; ++i) bytes[i] = pattern[i % pattern.size()];
    GlobalUnlock(memory);
  }
  return SetClipboardData(format, memory) ? 0 : 2;
}

int Expect(const std::wstring& text) {
  HANDLE memory = GetClipboardData(CF_UNICODETEXT);
  const auto* found = memory ? static_cast<const wchar_t*>(GlobalLock(memory)) : nullptr;
  if (!found) {
    std::printf("clipboard_peer: no CF_UNICODETEXT\n");
    return 2;
  }
  const bool same = text == found;
  if (!same) {
    std::printf("clipboard_peer: found");
    for (const wchar_t* p = found; *p; ++p) std::printf(" %04X", static_cast<unsigned>(*p));
    std::printf("\n");
  }
  GlobalUnlock(memory);
  return same ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const bool block = argc == 5 && std::strcmp(argv[1], "block") == 0;
  if ((argc != 3 && !block) || !OpenClipboard(nullptr)) return 3;
  const int result = block                           ? PutBlock(std::atoi(argv[2]), std::strtoul(argv[3], nullptr, 10), argv[4])
                     : std::strcmp(argv[1], "put") == 0 ? Put(FromHex(argv[2]))
                                                        : Expect(FromHex(argv[2]));
  CloseClipboard();
  return result;
}
