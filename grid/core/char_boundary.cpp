#include "core/char_boundary.h"

namespace latticor {

namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The bytes a UTF-8 character takes, judged by its first byte; 1 for a byte
// that starts no longer sequence.
size_t Utf8Length(unsigned char b) {
  if ((b & 0xE0) == 0xC0) return 2;
  if ((b & 0xF0) == 0xE0) return 3;
  if ((b & 0xF8) == 0xF0) return 4;
  return 1;
}

// `limit` lies inside the text: the byte there starts the part cut off.
size_t Utf8Cut(const char* text, size_t limit) {
  if (!IsContinuation(static_cast<unsigned char>(text[limit]))) return limit;
  // The character the byte at the cut continues starts at most three back.
  for (size_t back = 1; back <= 3 && back <= limit; ++back) {
    const auto b = static_cast<unsigned char>(text[limit - back]);
    if (!IsContinuation(b)) return Utf8Length(b) > back ? limit - back : limit;
  }
  return limit;  // continuation bytes that belong to no character
}

// Lead bytes can also be second bytes, so characters are counted from the
// start. The text goes on past `limit`: no zero comes before it.
size_t DoubleByteCut(const char* text, size_t limit, bool (*isLeadByte)(unsigned char)) {
  size_t i = 0;
  while (i < limit) {
    const size_t step = isLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + step > limit) break;
    i += step;
  }
  return i;
}

}  // namespace

Encoding EncodingOf(uint32_t codePage, bool (*isLeadByte)(unsigned char)) {
  Encoding e;
  if (codePage == kUtf8CodePage) {
    e.utf8 = true;
  } else {
    e.isLeadByte = isLeadByte;
  }
  return e;
}

size_t CharLength(unsigned char lead, const Encoding& encoding) {
  if (encoding.utf8) return Utf8Length(lead);
  return encoding.isLeadByte && encoding.isLeadByte(lead) ? 2 : 1;
}

size_t CharBoundaryAtOrBefore(const char* text, size_t limit, const Encoding& encoding) {
  size_t length = 0;
  while (length < limit && text[length] != '\0') ++length;
  if (length < limit || text[limit] == '\0') return length;  // it all fits
  if (encoding.utf8) return Utf8Cut(text, limit);
  if (encoding.isLeadByte) return DoubleByteCut(text, limit, encoding.isLeadByte);
  return limit;
}

}  // namespace latticor
