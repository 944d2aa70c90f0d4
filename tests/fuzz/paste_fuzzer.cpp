// Fuzzes the paste text: its measure, the acceptance rule and the storing
// pass, against a grid of random shape and selection. Every decision is
// checked against an independent count, and no field may land outside the
// grid.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "check.h"
#include "core/clip_text.h"
#include "counting_allocator.h"
#include "core/dimensions.h"

using namespace latticor;

namespace {

// Lines, tabs of the first line, fields, their bytes and the longest one,
// counted another way: a CR, with the LF after it if there is one, ends a line.
struct Count {
  uint64_t lines, tabs, fields;
  size_t content, longest;
};
Count CountText(const std::string& t) {
  uint64_t crs = 0, tabs = 0, allTabs = 0;
  size_t content = 0, longest = 0, field = 0;
  bool firstLine = true, endsAfterLineEnd = false;
  size_t i = 0;
  while (i < t.size()) {
    if (t[i] == '\r' || t[i] == '\t') {
      longest = std::max(longest, field);
      field = 0;
    }
    if (t[i] == '\r') {
      ++crs;
      firstLine = false;
      i += i + 1 < t.size() && t[i + 1] == '\n' ? 2 : 1;
      endsAfterLineEnd = i >= t.size();
      continue;
    }
    if (t[i] == '\t') {
      ++allTabs;
      if (firstLine) ++tabs;
    } else {
      ++field;
      ++content;
    }
    ++i;
    endsAfterLineEnd = false;
  }
  const uint64_t lines = crs + (endsAfterLineEnd ? 0 : 1);
  return Count{lines, tabs, allTabs + lines, content, std::max(longest, field)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  testing::CountingAllocator heap;
  GridState* s = CreateGridState(heap, 0, 0);
  const uint32_t cols = 2 + data[0] % 12, rows = 2 + data[1] % 20;
  CHECK(SetColCount(*s, cols) == Reshape::kDone);
  CHECK(SetRowCount(*s, rows) == Reshape::kDone);
  s->curCol = 1 + data[2] % (cols - 1);
  s->selEndCol = 1 + data[3] % (cols - 1);
  s->curRow = 1 + data[4] % (rows - 1);
  s->selEndRow = 1 + data[5] % (rows - 1);
  // The text ends at its first zero, as a C string does.
  const std::string text(reinterpret_cast<const char*>(data + 6), strnlen(reinterpret_cast<const char*>(data + 6), size - 6));

  const Block b = SelectedBlock(*s);
  const PasteShape shape = MeasurePaste(text.c_str(), b.c0, b.r0);
  const Count count = CountText(text);
  CHECK(shape.colEnd == b.c0 + count.tabs);
  CHECK(shape.rowEnd == int64_t{b.r0} - 1 + static_cast<int64_t>(count.lines));
  CHECK(shape.longestField == count.longest);
  const bool single = b.c0 == b.c1 && b.r0 == b.r1;
  const bool fits = shape.colEnd <= cols - 1 && shape.rowEnd <= int64_t{rows} - 1;
  const bool sameShape = shape.colEnd == b.c1 && shape.rowEnd == int64_t{b.r1};
  CHECK(AcceptsPaste(*s, shape) == (single ? fits : sameShape));

  if (AcceptsPaste(*s, shape)) {
    // Every field arrives whole: when none lies outside the grid, the
    // fields hold every byte of the text but the separators.
    uint64_t fields = 0;
    size_t stored = 0;
    const bool done = ForEachField(heap, text.c_str(), shape, b.c0, b.r0, cols, rows,
                                   [&](uint32_t c, uint32_t r, const char* field) {
                                     CHECK(c >= b.c0 && c < cols && r >= b.r0 && r < rows);
                                     ++fields;
                                     stored += std::strlen(field);
                                     CHECK(SetText(*s, c, r, field));
                                   });
    CHECK(done);
    CHECK(fields <= count.fields);
    CHECK(fields < count.fields || stored == count.content);
  }
  DestroyGridState(s);
  CHECK(heap.live() == 0 && heap.foreign() == 0);
  return 0;
}
