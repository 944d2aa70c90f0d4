// Where a text in the process's code page may be cut to a number of bytes
// without splitting a character: UTF-8, double-byte code pages (a lead byte
// and the byte after it make one character) and single-byte ones.
#pragma once

#include <cstddef>
#include <cstdint>

namespace latticor {

constexpr uint32_t kUtf8CodePage = 65001;

// How the bytes of a code page make characters.
struct Encoding {
  bool utf8 = false;
  // For other code pages: whether a byte starts a two-byte character. Null
  // for a code page whose characters are all one byte.
  bool (*isLeadByte)(unsigned char byte) = nullptr;
};

// The encoding of code page `codePage`, whose lead bytes `isLeadByte` tells
// (the platform's knowledge; a single-byte code page has none).
Encoding EncodingOf(uint32_t codePage, bool (*isLeadByte)(unsigned char byte));

// The bytes of the character that begins with `lead`: 1 for a byte that
// begins no longer character.
size_t CharLength(unsigned char lead, const Encoding& encoding);

// The length of the longest start of the zero-terminated `text` that holds
// at most `limit` bytes and ends on a character boundary: `text` itself
// when it is no longer than `limit`. Reads text[0] .. text[limit] at most,
// so `text` may be a longer text that goes on past the cut.
size_t CharBoundaryAtOrBefore(const char* text, size_t limit, const Encoding& encoding);

}  // namespace latticor
