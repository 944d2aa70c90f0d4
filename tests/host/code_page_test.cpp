// Where the host cuts what the editor holds: never inside a character, in
// UTF-8 (Celdra's own code page) and in a double-byte code page whose lead
// bytes Windows knows.
#include <gtest/gtest.h>

#include <string>

#include "code_page.h"

namespace {

struct Cut {
  UINT codePage;
  const char* text;
  size_t limit;
  size_t expected;
};

constexpr UINT kShiftJis = 932;

TEST(CharacterCut, EndsBetweenCharacters) {
  ASSERT_TRUE(IsDBCSLeadByteEx(kShiftJis, 0x88)) << "Windows knows this code page's lead bytes";
  const Cut cuts[] = {
      // UTF-8: a, e acute (2 bytes), the euro sign (3), an emoji (4).
      {CP_UTF8, "ab", 5, 2},
      {CP_UTF8, "ab", 2, 2},
      {CP_UTF8, "a\xC3\xA9", 2, 1},
      {CP_UTF8, "a\xC3\xA9z", 3, 3},
      {CP_UTF8, "\xE2\x82\xAC\xE2\x82\xAC", 5, 3},
      {CP_UTF8, "\xE2\x82\xAC\xE2\x82\xAC", 4, 3},
      {CP_UTF8, "\xF0\x9F\x98\x80", 3, 0},
      {CP_UTF8, "\xF0\x9F\x98\x80", 1, 0},
      {CP_UTF8, "a\xF0\x9F\x98\x80", 4, 1},
      // Shift-JIS: an ideograph whose second byte (0x9F) is also a lead
      // byte, and one whose second byte is a backslash.
      {kShiftJis, "\x88\x9F\x88\x9F", 3, 2},
      {kShiftJis, "a\x88\x9F\x88\x9F", 4, 3},
      {kShiftJis, "\x88\x9F" "a", 2, 2},
      {kShiftJis, "\x95\x5C\x95\x5C", 3, 2},
      {kShiftJis, "\x95\x5C", 1, 0},
      // A single-byte code page cuts anywhere.
      {1252, "caf\xE9s", 4, 4},
  };
  for (const Cut& c : cuts) {
    EXPECT_EQ(celdra::CharacterCut(c.text, c.limit, c.codePage), c.expected)
        << "code page " << c.codePage << ", " << testing::PrintToString(std::string(c.text)) << " cut to "
        << c.limit;
  }
}

}  // namespace
