// Latticor's benchmarks: every figure is the median of several runs, and
// every comparison is a ratio of two figures measured side by side in this
// one process, so that the machine's noise cancels. Timings never fail
// anything; the aims are printed beside what was measured.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "latticor.h"

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// Median milliseconds of `runs` calls of `body`, each after `setup`.
double Median(int runs, const std::function<void()>& body, const std::function<void()>& setup = {}) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    if (setup) setup();
    const double start = Now();
    body();
    times.push_back(Now() - start);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

struct Row {
  std::string what;
  double ours, against;
  std::string baseline;
  double aim;
};
std::vector<Row> rows;

void Report(const std::string& what, double ours, const std::string& baseline, double against, double aim) {
  rows.push_back(Row{what, ours, against, baseline, aim});
  std::printf("%-44s %10.2f ms  vs %-40s %10.2f ms  ratio %5.2f (aim <= %.1f)\n", what.c_str(), ours,
              baseline.c_str(), against, ours / against, aim);
  std::fflush(stdout);
}

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

HWND MakeTopWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "LatticorBench";
  RegisterClassA(&wc);
  return CreateWindowExA(0, "LatticorBench", "bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1000, 800,
                         nullptr, nullptr, nullptr, nullptr);
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

// The largest grid, every cell holding a six-character text.
void LargestGridClipboardAndRows(HWND top) {
  HWND grid = CreateWindowExA(0, LATTICOR_CLASS_NAME, "", WS_CHILD | WS_VISIBLE, 0, 0, 800, 600, top,
                              reinterpret_cast<HMENU>(1), nullptr, nullptr);
  SendMessageA(grid, GM_SETCOLCOUNT, GRID_MAX_COLS, 0);
  SendMessageA(grid, GM_SETROWCOUNT, GRID_MAX_ROWS, 0);
  UpdateWindow(grid);
  const UINT cols = GRID_MAX_COLS, rowsCount = GRID_MAX_ROWS;
  std::vector<std::string> texts;
  texts.reserve(size_t(cols) * rowsCount);
  for (UINT r = 0; r < rowsCount; ++r) {
    for (UINT c = 0; c < cols; ++c) {
      char t[8];
      std::snprintf(t, sizeof t, "%06u", (r * 7 + c * 13) % 1000000);
      texts.emplace_back(t);
    }
  }
  const double fill = Median(1, [&] {
    size_t i = 0;
    for (UINT r = 0; r < rowsCount; ++r) {
      for (UINT c = 0; c < cols; ++c) {
        SendMessageA(grid, GM_SETCELLTEXT, GRID_CELL(c, r), reinterpret_cast<LPARAM>(texts[i++].c_str()));
      }
    }
  });
  std::printf("filled %zu cells in %.0f ms\n", texts.size(), fill);

  // Copy the whole grid.
  SendMessageA(grid, GM_SETCURCOL, 1, 0);
  SendMessageA(grid, GM_SETCURROW, 1, 0);
  SendMessageA(grid, GM_SETSELENDCOL, cols - 1, 0);
  SendMessageA(grid, GM_SETSELENDROW, rowsCount - 1, 0);
  UpdateWindow(grid);
  const size_t size = static_cast<size_t>(SendMessageA(grid, GM_GETCOPYSIZE, 0, 0));
  std::vector<char> buffer(size);
  const double copy = Median(5, [&] {
    buffer[0] = '\0';
    SendMessageA(grid, GM_COPYSEL, reinterpret_cast<WPARAM>(buffer.data()), 0);
  });
  std::vector<char> plain(size);
  const double copyFloor = Median(5, [&] {
    char* end = plain.data();
    for (UINT r = 1; r < rowsCount; ++r) {
      const std::string* row = &texts[size_t(r) * cols];
      for (UINT c = 1; c < cols; ++c) {
        std::memcpy(end, row[c].data(), row[c].size());
        end += row[c].size();
        if (c + 1 < cols) {
          *end++ = '\t';
        } else {
          *end++ = '\r';
          *end++ = '\n';
        }
      }
    }
    *end = '\0';
  });
  if (std::memcmp(buffer.data(), plain.data(), size) != 0) std::printf("!! copy differs from the plain loop\n");
  Report("GM_COPYSEL, whole largest grid", copy, "appending with a moving pointer", copyFloor, 2.0);

  // Paste it back.
  const double paste = Median(3, [&] { SendMessageA(grid, GM_PASTE, reinterpret_cast<WPARAM>(buffer.data()), 0); });
  const double pasteFloor = Median(3, [&] {
    size_t i = 0;
    for (UINT r = 1; r < rowsCount; ++r) {
      for (UINT c = 1; c < cols; ++c) {
        i = size_t(r) * cols + c;
        SendMessageA(grid, GM_SETCELLTEXT, GRID_CELL(c, r), reinterpret_cast<LPARAM>(texts[i].c_str()));
      }
    }
  });
  Report("GM_PASTE of that text", paste, "the same GM_SETCELLTEXT one by one", pasteFloor, 1.5);

  // A row in at the top and out again.
  const size_t tableBytes = size_t(cols) * rowsCount * sizeof(GridCell);
  std::vector<char> table(tableBytes + size_t(cols) * sizeof(GridCell));
  const double memmoveFloor = Median(5, [&] {
    std::memmove(table.data() + cols * sizeof(GridCell), table.data(), tableBytes);
  });
  SendMessageA(grid, GM_DELETEROW, 0, 0);  // room for the insertions
  const double insert = Median(5, [&] { SendMessageA(grid, GM_INSERTROW, 1, 0); },
                               [&] { SendMessageA(grid, GM_DELETEROW, 0, 0); });
  Report("GM_INSERTROW 1 (with its repaint)", insert, "memmove of the cell table", memmoveFloor, 2.0);
  const double remove = Median(5, [&] { SendMessageA(grid, GM_DELETEROW, 1, 0); },
                               [&] { SendMessageA(grid, GM_INSERTROW, 0, 0); });
  Report("GM_DELETEROW 1 (with its scroll and repaint)", remove, "memmove of the cell table", memmoveFloor, 2.0);
  // The same on a hidden grid: the table's own work, without the repaint.
  ShowWindow(grid, SW_HIDE);
  const double insertHidden = Median(5, [&] { SendMessageA(grid, GM_INSERTROW, 1, 0); },
                                     [&] { SendMessageA(grid, GM_DELETEROW, 0, 0); });
  Report("GM_INSERTROW 1, hidden grid", insertHidden, "memmove of the cell table", memmoveFloor, 2.0);
  const double removeHidden = Median(5, [&] { SendMessageA(grid, GM_DELETEROW, 1, 0); },
                                     [&] { SendMessageA(grid, GM_INSERTROW, 0, 0); });
  Report("GM_DELETEROW 1, hidden grid", removeHidden, "memmove of the cell table", memmoveFloor, 2.0);
  DestroyWindow(grid);
}

}  // namespace

int main() {
  if (!LoadLibraryA(LATTICOR_LIBRARY_NAME)) {
    std::printf("Latticor.dll not found\n");
    return 1;
  }
  HWND top = MakeTopWindow();
  Pump();
  LargestGridClipboardAndRows(top);
  DestroyWindow(top);
  return 0;
}
