// Latticor's benchmarks: every figure is the median of several runs, and
// every comparison is a ratio of two figures measured side by side in this
// one process, so that the machine's noise cancels. Timings never fail
// anything; each aim is printed beside what was measured.
//   latticor_bench RESULTS.txt
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "latticor.h"

namespace {

double Now() {
  static const LARGE_INTEGER frequency = [] {
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

FILE* results = nullptr;

// One comparison: ours against a baseline, with the aim for their ratio.
void Report(const char* what, double ours, const char* baseline, double against, const char* aim) {
  std::printf("%-46s %10.3f ms  vs %-44s %10.3f ms  ratio %6.2f  (aim %s)\n", what, ours, baseline, against,
              ours / against, aim);
  std::fflush(stdout);
  if (results) std::fprintf(results, "ratio|%s|%.6f|%s|%.6f|%s\n", what, ours, baseline, against, aim);
}

// A point of a curve for the plot: cost against grid size.
void Point(const char* series, double cells, double ms) {
  if (results) std::fprintf(results, "point|%s|%.0f|%.5f\n", series, cells, ms);
}

void Note(const char* text) {
  std::printf("%s\n", text);
  if (results) std::fprintf(results, "note|%s\n", text);
}

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }
LRESULT CALLBACK TrivialProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

LRESULT Ask(HWND grid, UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendMessageA(grid, msg, w, l); }

SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

struct Bench {
  HWND top = nullptr;
  int width = 0, height = 0;
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

  Bench() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LatticorBench";
    RegisterClassA(&wc);
    wc.lpfnWndProc = TrivialProc;
    wc.lpszClassName = "LatticorTrivial";
    RegisterClassA(&wc);
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
    top = CreateWindowExA(0, "LatticorBench", "bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height,
                          nullptr, nullptr, nullptr, nullptr);
    Pump();
  }
  ~Bench() { DestroyWindow(top); }

  // A grid filling the screen (or the size given), `cols` x `rows` with
  // short texts in the cells that show.
  HWND Grid(UINT cols, UINT rows, int w = 0, int h = 0, bool textsEverywhere = false) {
    HWND grid = CreateWindowExA(0, LATTICOR_CLASS_NAME, "", WS_CHILD | WS_VISIBLE, 0, 0, w ? w : width,
                                h ? h : height, top, reinterpret_cast<HMENU>(1), nullptr, nullptr);
    Ask(grid, WM_SETFONT, reinterpret_cast<WPARAM>(font));
    Ask(grid, GM_SETCOLCOUNT, cols);
    Ask(grid, GM_SETROWCOUNT, rows);
    const UINT lastRow = textsEverywhere ? rows : std::min<UINT>(rows, 60);
    const UINT lastCol = textsEverywhere ? cols : std::min<UINT>(cols, 60);
    char text[16];
    for (UINT r = 0; r < lastRow; ++r) {
      for (UINT c = 0; c < lastCol; ++c) {
        std::snprintf(text, sizeof text, "%u,%u", c, r);
        Ask(grid, GM_SETCELLTEXT, GRID_CELL(c, r), reinterpret_cast<LPARAM>(text));
      }
    }
    UpdateWindow(grid);
    Pump();
    return grid;
  }

  // A ListView in report view over the same area, with `columns` columns of
  // 50 pixels, numbered.
  HWND ListView(int columns, bool visible) {
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT | (visible ? WS_VISIBLE : 0), 0, 0, width,
                                height, top, reinterpret_cast<HMENU>(2), nullptr, nullptr);
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    char text[16];
    for (int c = 0; c < columns; ++c) {
      LVCOLUMNA column{};
      column.mask = LVCF_WIDTH | LVCF_TEXT;
      column.cx = 50;
      std::snprintf(text, sizeof text, "%d", c);
      column.pszText = text;
      SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
    return list;
  }

  static double FullPaint(HWND hwnd, int runs = 15) {
    return Median(runs, [&] {
      InvalidateRect(hwnd, nullptr, FALSE);
      UpdateWindow(hwnd);
    });
  }
};

// The floor: the same Rectangle and DrawTextA calls a paint makes for the
// cells and titles that show, in a plain loop.
void DrawCells(HDC dc, int cols, int rows, HFONT font) {
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  char text[16];
  for (int r = 0; r <= rows; ++r) {
    for (int c = 0; c <= cols; ++c) {
      const int x = 50 * c, y = 20 * r;
      Rectangle(dc, x - 1, y - 1, x + 50, y + 20);
      std::snprintf(text, sizeof text, "%d,%d", c, r);
      RECT t{x, y, x + 49, y + 19};
      DrawTextA(dc, text, -1, &t, DT_EDITCONTROL | DT_WORDBREAK);
    }
  }
  SelectObject(dc, oldFont);
}

void FullPaintFigures(Bench& b) {
  HWND grid = b.Grid(51, 21);
  const int cols = static_cast<int>(Ask(grid, GM_GETLASTCOL));
  const int rows = static_cast<int>(Ask(grid, GM_GETLASTROW));
  char note[160];
  std::snprintf(note, sizeof note, "Full paint: a %dx%d screen, %d x %d data cells of 50 x 20 pixels showing.", b.width,
                b.height, cols, rows);
  Note(note);
  const double paint = Bench::FullPaint(grid);
  HDC dc = GetDC(grid);
  const double floor = Median(15, [&] { DrawCells(dc, cols, rows, b.font); });
  ReleaseDC(grid, dc);
  Report("Full paint of a maximised grid", paint, "the same Rectangle + DrawTextA calls", floor, "<= 1.3");

  // The same drawing into a DIB section: what Wine's window drawing adds.
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = b.width;
  bi.bmiHeader.biHeight = -b.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(memory, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  const double dibFloor = Median(15, [&] { DrawCells(memory, cols, rows, b.font); });
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  Report("  the same calls on the window", floor, "the same calls into a DIB section", dibFloor, "report");

  // A ListView in report view showing the same number of cells.
  HWND list = b.ListView(cols + 1, true);
  char text[16];
  for (int r = 0; r < rows; ++r) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = r;
    std::snprintf(text, sizeof text, "0,%d", r);
    item.pszText = text;
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (int c = 1; c <= cols; ++c) {
      std::snprintf(text, sizeof text, "%d,%d", c, r);
      item.iSubItem = c;
      SendMessageA(list, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
    }
  }
  ShowWindow(grid, SW_HIDE);
  UpdateWindow(list);
  const double listPaint = Bench::FullPaint(list);
  ShowWindow(grid, SW_SHOW);
  DestroyWindow(list);
  const double paintAgain = Bench::FullPaint(grid);
  Report("Full paint of a maximised grid", paintAgain, "a ListView in report view, same cells", listPaint, "< 1");

  // The selection moved by a cell with Shift+Right: inverted in place.
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  Ask(grid, GM_SETCURCOL, 3);
  Ask(grid, GM_SETCURROW, 3);
  UpdateWindow(grid);
  int turn = 0;
  const double step = Median(41, [&] { Ask(grid, WM_KEYDOWN, (turn++ % 2) ? VK_LEFT : VK_RIGHT, 0); });
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  Pump();
  Report("Selection step (inverting one cell's change)", step, "a full paint", paintAgain, "report");
  DestroyWindow(grid);
}

void PaintAgainstSize(Bench& b) {
  // The same 4 x 3 data cells showing, in grids of 20 and of 4 million cells.
  HWND small = b.Grid(5, 4, 260, 90);
  const double smallPaint = Bench::FullPaint(small, 31);
  DestroyWindow(small);
  HWND large = b.Grid(254, 16382, 260, 90);
  const double largePaint = Bench::FullPaint(large, 31);
  DestroyWindow(large);
  Report("Paint, 254 x 16382 grid, 4 x 3 cells showing", largePaint, "the same for a 5 x 4 grid", smallPaint, "<= 1.1");
  // The curve: a maximised grid's full paint against its number of cells.
  for (UINT rows : {4u, 40u, 400u, 4000u, 16382u}) {
    HWND grid = b.Grid(254, rows);
    Point("full paint (ms)", 254.0 * rows, Bench::FullPaint(grid, 9));
    DestroyWindow(grid);
  }
}

void SetTextFigures(Bench& b) {
  HWND grid = b.Grid(254, 16382);
  const char* text = "abcdef";
  // Cells out of view: no repaint is due for them.
  int i = 0;
  const int n = 100000;
  const double set = Median(5, [&] {
    for (int k = 0; k < n; ++k, ++i) {
      Ask(grid, GM_SETCELLTEXT, GRID_CELL(100 + i % 150, 200 + (i / 150) % 16000), reinterpret_cast<LPARAM>(text));
    }
  }) / n;
  HWND trivial = CreateWindowExA(0, "LatticorTrivial", "", WS_CHILD, 0, 0, 1, 1, b.top, nullptr, nullptr, nullptr);
  const double floor = Median(5, [&] {
    for (int k = 0; k < n; ++k) {
      SendMessageA(trivial, GM_SETCELLTEXT, k, reinterpret_cast<LPARAM>(text));
      HGLOBAL block = GlobalAlloc(GMEM_FIXED, 7);
      std::memcpy(block, text, 7);
      GlobalFree(block);
    }
  }) / n;
  DestroyWindow(trivial);
  DestroyWindow(grid);
  Report("GM_SETCELLTEXT, per message (us)", set * 1000, "SendMessageA + GlobalAlloc/copy/GlobalFree", floor * 1000,
         "<= 2");

  // Filling 16,381 rows x 10 columns, against a ListView given the same;
  // both hidden while they fill (Wine redraws a visible ListView's scroll
  // bar at every insertion), then shown and painted.
  const UINT rows = 16381, cols = 10;
  SIZE_T before = PrivateBytes();
  double start = Now();
  HWND filled = CreateWindowExA(0, LATTICOR_CLASS_NAME, "", WS_CHILD, 0, 0, b.width, b.height, b.top,
                                reinterpret_cast<HMENU>(1), nullptr, nullptr);
  Ask(filled, GM_SETCOLCOUNT, cols + 1);
  Ask(filled, GM_SETROWCOUNT, rows + 1);
  UpdateWindow(filled);
  char cell[16];
  for (UINT r = 1; r <= rows; ++r) {
    for (UINT c = 1; c <= cols; ++c) {
      std::snprintf(cell, sizeof cell, "%u,%u", c, r);
      Ask(filled, GM_SETCELLTEXT, GRID_CELL(c, r), reinterpret_cast<LPARAM>(cell));
    }
  }
  ShowWindow(filled, SW_SHOW);
  UpdateWindow(filled);
  const double gridFill = Now() - start;
  const double gridBytes = double(PrivateBytes() - before) / (double(rows) * cols);
  DestroyWindow(filled);
  Pump();

  before = PrivateBytes();
  start = Now();
  HWND list = b.ListView(cols, false);
  for (UINT r = 1; r <= rows; ++r) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(r - 1);
    std::snprintf(cell, sizeof cell, "1,%u", r);
    item.pszText = cell;
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (UINT c = 2; c <= cols; ++c) {
      std::snprintf(cell, sizeof cell, "%u,%u", c, r);
      item.iSubItem = static_cast<int>(c - 1);
      SendMessageA(list, LVM_SETITEMTEXTA, r - 1, reinterpret_cast<LPARAM>(&item));
    }
  }
  ShowWindow(list, SW_SHOW);
  UpdateWindow(list);
  const double listFill = Now() - start;
  const double listBytes = double(PrivateBytes() - before) / (double(rows) * cols);
  DestroyWindow(list);
  Pump();
  Report("Filling 16,381 x 10 cells", gridFill, "ListView LVM_INSERTITEM + LVM_SETITEMTEXT", listFill, "< 1");
  Report("Memory per cell (bytes, not ms)", gridBytes, "ListView's, same texts", listBytes, "< 1");
}

void ScrollFigures(Bench& b) {
  HWND grid = b.Grid(51, 16382);
  int i = 0;
  const double scroll = Median(31, [&] {
    PostMessageA(grid, WM_NULL, 0, 0);  // ends the scroll step's wait at once
    Ask(grid, WM_VSCROLL, (i++ % 2) ? SB_LINEUP : SB_LINEDOWN, 0);
  });
  ShowWindow(grid, SW_HIDE);
  HWND list = b.ListView(37, true);
  char text[16];
  for (int r = 0; r < 2000; ++r) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = r;
    std::snprintf(text, sizeof text, "%d", r);
    item.pszText = text;
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  UpdateWindow(list);
  RECT itemRect{};
  itemRect.left = LVIR_BOUNDS;
  SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&itemRect));
  const int line = itemRect.bottom - itemRect.top;
  const double listScroll = Median(31, [&] {
    SendMessageA(list, LVM_SCROLL, 0, (i++ % 2) ? -line : line);
    UpdateWindow(list);
  });
  DestroyWindow(list);
  DestroyWindow(grid);
  Report("Scroll one line (WM_VSCROLL, repaint)", scroll, "ListView LVM_SCROLL + UpdateWindow", listScroll, "< 1");
}

void ClipboardAndRows(Bench& b) {
  // Copy and paste time per byte, from a thousand cells to four million.
  double minPerByte = 1e9, maxPerByte = 0;
  for (UINT rows : {5u, 40u, 400u, 4000u, 16382u}) {
    HWND grid = b.Grid(254, rows, 0, 0, true);
    Ask(grid, GM_SETSELENDCOL, 253);
    Ask(grid, GM_SETSELENDROW, rows - 1);
    const size_t size = static_cast<size_t>(Ask(grid, GM_GETCOPYSIZE));
    std::vector<char> buffer(size);
    const double copy = Median(5, [&] {
      buffer[0] = '\0';
      Ask(grid, GM_COPYSEL, reinterpret_cast<WPARAM>(buffer.data()));
    });
    const double paste = Median(3, [&] { Ask(grid, GM_PASTE, reinterpret_cast<WPARAM>(buffer.data())); });
    const double cells = 253.0 * (rows - 1);
    char line[120];
    std::snprintf(line, sizeof line, "copy of %.0f cells: %.3f ms, %.2f ns a byte", cells, copy, copy * 1e6 / double(size));
    Note(line);
    Point("copy (ms)", cells, copy);
    Point("paste (ms)", cells, paste);
    const double perByte = copy / double(size);
    minPerByte = std::min(minPerByte, perByte);
    maxPerByte = std::max(maxPerByte, perByte);
    if (rows == 16382) {
      // Against plain floors for the same texts.
      std::vector<std::string> texts;
      char text[16];
      for (UINT r = 1; r < rows; ++r) {
        for (UINT c = 1; c < 254; ++c) {
          std::snprintf(text, sizeof text, "%u,%u", c, r);
          texts.emplace_back(text);
        }
      }
      std::vector<char> plain(size);
      const double copyFloor = Median(5, [&] {
        char* end = plain.data();
        size_t i = 0;
        for (UINT r = 1; r < rows; ++r) {
          for (UINT c = 1; c < 254; ++c, ++i) {
            std::memcpy(end, texts[i].data(), texts[i].size());
            end += texts[i].size();
            if (c < 253) {
              *end++ = '\t';
            } else {
              *end++ = '\r';
              *end++ = '\n';
            }
          }
        }
        *end = '\0';
      });
      if (std::memcmp(plain.data(), buffer.data(), size) != 0) Note("!! the copy differs from the plain loop");
      Report("GM_COPYSEL, whole largest grid", copy, "appending with a moving pointer", copyFloor, "<= 2");
      const double pasteFloor = Median(3, [&] {
        size_t i = 0;
        for (UINT r = 1; r < rows; ++r) {
          for (UINT c = 1; c < 254; ++c, ++i) {
            Ask(grid, GM_SETCELLTEXT, GRID_CELL(c, r), reinterpret_cast<LPARAM>(texts[i].c_str()));
          }
        }
      });
      Report("GM_PASTE of that text", paste, "the same GM_SETCELLTEXT one by one", pasteFloor, "<= 1.5");

      const size_t tableBytes = size_t(254) * rows * sizeof(GridCell);
      std::vector<char> table(tableBytes + 254 * sizeof(GridCell));
      const double moveFloor = Median(5, [&] { std::memmove(table.data() + 254 * sizeof(GridCell), table.data(), tableBytes); });
      Ask(grid, GM_DELETEROW, 0);
      const double insert = Median(5, [&] { Ask(grid, GM_INSERTROW, 1); }, [&] { Ask(grid, GM_DELETEROW, 0); });
      Report("GM_INSERTROW 1 (with its repaint)", insert, "memmove of the cell table", moveFloor, "<= 2");
      const double remove = Median(5, [&] {
        PostMessageA(grid, WM_NULL, 0, 0);
        Ask(grid, GM_DELETEROW, 1);
      }, [&] { Ask(grid, GM_INSERTROW, 0); });
      Report("GM_DELETEROW 1 (with its scroll and repaint)", remove, "memmove of the cell table", moveFloor, "<= 2");
      ShowWindow(grid, SW_HIDE);
      const double insertHidden =
          Median(5, [&] { Ask(grid, GM_INSERTROW, 1); }, [&] { Ask(grid, GM_DELETEROW, 0); });
      Report("GM_INSERTROW 1, hidden grid (no repaint)", insertHidden, "memmove of the cell table", moveFloor, "<= 2");
    }
    DestroyWindow(grid);
    Pump();
  }
  Report("Copy time per byte (ns), largest of 5 sizes", maxPerByte * 1e6, "smallest (1,012 to 4 million cells)",
         minPerByte * 1e6, "<= 1.5");
}

}  // namespace

int main(int argc, char** argv) {
  if (!LoadLibraryA(LATTICOR_LIBRARY_NAME)) {
    std::printf("Latticor.dll not found\n");
    return 1;
  }
  InitCommonControls();
  if (argc > 1) results = std::fopen(argv[1], "w");
  Bench bench;
  FullPaintFigures(bench);
  PaintAgainstSize(bench);
  SetTextFigures(bench);
  ScrollFigures(bench);
  ClipboardAndRows(bench);
  if (results) std::fclose(results);
  return 0;
}
