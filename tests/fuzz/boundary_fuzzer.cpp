// Fuzzes the cuts of texts at character boundaries: for any bytes, any
// limit and each kind of code page (UTF-8, a double-byte one, a single-byte
// one), a cut is a prefix within the limit, ends where a decoder reading
// from the start would be between two characters, gives up no more than
// the last character that crosses the limit, and reads nothing past the
// text (the text lies in a block of exactly its size).
#include <cstdint>
#include <cstring>
#include <vector>

#include "check.h"
#include "core/char_boundary.h"

using namespace latticor;

namespace {

// Shift-JIS's lead bytes, as the platform would tell them.
bool IsShiftJisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Where characters begin, read from the start as a decoder reads them: a
// UTF-8 lead byte and as many continuation bytes as it announces make one
// character, any other byte is one alone; a double-byte lead and the byte
// after it make one.
std::vector<bool> Boundaries(const std::vector<char>& text, size_t length, int kind) {
  std::vector<bool> at(length + 1, false);
  for (size_t i = 0; i < length;) {
    at[i] = true;
    const auto b = static_cast<unsigned char>(text[i]);
    size_t n = 1;
    if (kind == 0) {
      const size_t want = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 1;
      size_t k = 1;
      while (k < want && i + k < length && IsContinuation(static_cast<unsigned char>(text[i + k]))) ++k;
      n = k == want ? want : 1;
    } else if (kind == 1 && IsShiftJisLead(b) && i + 1 < length) {
      n = 2;
    }
    i += n;
  }
  at[length] = true;
  return at;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int kind = data[0] % 3;  // UTF-8, double-byte, single-byte
  const size_t limit = data[1];
  std::vector<char> text(data + 2, data + size);
  text.push_back('\0');  // the block is the text and its zero, nothing more
  const size_t length = std::strlen(text.data());
  const Encoding encoding = EncodingOf(kind == 0 ? kUtf8CodePage : 932, kind == 1 ? IsShiftJisLead : nullptr);
  // A limit beyond the text's zero must not be read past: the block ends there.
  const size_t cut = CharBoundaryAtOrBefore(text.data(), limit < text.size() ? limit : text.size() - 1, encoding);
  CHECK(cut <= limit && cut <= length);
  if (length <= limit) {
    CHECK(cut == length);  // it all fits
    return 0;
  }
  const std::vector<bool> boundaries = Boundaries(text, length, kind);
  CHECK(boundaries[cut]);
  size_t best = limit;
  while (!boundaries[best]) --best;
  // UTF-8 cuts look back over at most three bytes: a run of continuation
  // bytes without a lead may keep up to three more than a decoder would.
  CHECK(cut <= best && best - cut <= (kind == 0 ? 3u : 1u));
  if (kind == 1) CHECK(cut == best);  // counted from the start, exactly
  return 0;
}
