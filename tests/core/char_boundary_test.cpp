#include "core/char_boundary.h"

#include <gtest/gtest.h>

#include <string>

namespace latticor {
namespace {

// Lead bytes of a Shift-JIS-like code page: 0x81..0x9F and 0xE0..0xFC, whose
// second bytes run 0x40..0xFC and so can look like lead bytes themselves.
bool ShiftJisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool NoLead(unsigned char) { return false; }

TEST(CharBoundary, CutsFallBetweenCharactersOfEachKindOfCodePage) {
  const Encoding utf8 = EncodingOf(kUtf8CodePage, NoLead);
  const Encoding sjis = EncodingOf(932, ShiftJisLead);
  const Encoding latin = EncodingOf(1252, NoLead);
  struct Case {
    const Encoding* encoding;
    std::string text;
    size_t limit;
    size_t cut;
  };
  const Case cases[] = {
      // A text that fits is kept whole, whatever it ends with.
      {&utf8, "Gr\xC3\xBC", 4, 4},
      {&utf8, "Gr\xC3\xBC", 10, 4},
      {&utf8, "", 0, 0},
      {&utf8, "abc", 0, 0},
      // "G" then ü (2 bytes), 日 (3 bytes), 😀 (4 bytes): every cut inside
      // a character goes back to its start.
      {&utf8, "G\xC3\xBC", 2, 1},
      {&utf8, "Gr\xC3\xBC", 3, 2},
      {&utf8, "G\xE6\x97\xA5!", 2, 1},
      {&utf8, "G\xE6\x97\xA5!", 3, 1},
      {&utf8, "G\xE6\x97\xA5!", 4, 4},
      {&utf8, "G\xF0\x9F\x98\x80!", 4, 1},
      {&utf8, "G\xF0\x9F\x98\x80!", 5, 5},
      // Broken sequences: stray continuation bytes and a lead byte whose
      // character was already cut short are cut where asked.
      {&utf8, "\x80\x80\x80\x80\x80", 2, 2},
      {&utf8, "a\xC3" "b", 2, 2},
      {&utf8, "\xE6\x97" "ab", 2, 2},
      // Shift-JIS: 0x82 0xA0 is one character, and so is 0x81 0x81.
      {&sjis, "a\x82\xA0", 2, 1},
      {&sjis, "a\x82\xA0" "b", 3, 3},
      {&sjis, "\x81\x81\x81\x81", 3, 2},
      {&sjis, "\x81\x81\x81\x81" "a", 4, 4},
      {&sjis, "a\x81\x81\x81\x81", 4, 3},
      {&sjis, "\xB1\x81\x81", 2, 1},  // a one-byte katakana, then a pair
      // A single-byte code page cuts anywhere.
      {&latin, "Gr\xFC\xDF" "e", 3, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CharBoundaryAtOrBefore(c.text.c_str(), c.limit, *c.encoding), c.cut)
        << "limit " << c.limit << " in " << testing::PrintToString(c.text);
  }
}

}  // namespace
}  // namespace latticor
