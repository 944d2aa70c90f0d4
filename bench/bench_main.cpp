// Latticor's benchmarks: every figure is the median of several runs, and
// every comparison is a ratio of two figures measured side by side in this
// one process, so that the machine's noise cancels. Timings never fail
// anything; each aim is printed beside what was measured.
//   latticor_bench RESULTS.txt
//   latticor_bench --editing    the editing and sheet-key figures alone
//   latticor_bench --paint RESULTS.txt   the full paint's figures alone (run
//                               at another DPI by scripts/bench)
//   latticor_bench --trace      each operation once, between markers that
//                               Wine's debug channels show, for counting the
//                               calls and server round trips it makes
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
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
// cells and titles that show, in a plain loop, for cells of w x h pixels.
void DrawCells(HDC dc, int cols, int rows, HFONT font, int w, int h) {
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  char text[16];
  for (int r = 0; r <= rows; ++r) {
    for (int c = 0; c <= cols; ++c) {
      const int x = w * c, y = h * r;
      Rectangle(dc, x - 1, y - 1, x + w, y + h);
      std::snprintf(text, sizeof text, "%d,%d", c, r);
      RECT t{x, y, x + w - 1, y + h - 1};
      DrawTextA(dc, text, -1, &t, DT_EDITCONTROL | DT_WORDBREAK);
    }
  }
  SelectObject(dc, oldFont);
}

// A ListView in report view with `columns` columns of 50 pixels and
// `rows` items, every cell numbered, shown alone.
HWND FilledListView(Bench& b, int columns, int rows) {
  HWND list = b.ListView(columns, true);
  char text[16];
  for (int r = 0; r < rows; ++r) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = r;
    std::snprintf(text, sizeof text, "0,%d", r);
    item.pszText = text;
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (int c = 1; c < columns; ++c) {
      std::snprintf(text, sizeof text, "%d,%d", c, r);
      item.iSubItem = c;
      SendMessageA(list, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
    }
  }
  UpdateWindow(list);
  return list;
}

void FullPaintFigures(Bench& b) {
  HWND grid = b.Grid(51, 21);
  const int cols = static_cast<int>(Ask(grid, GM_GETLASTCOL));
  const int rows = static_cast<int>(Ask(grid, GM_GETLASTROW));
  // The grid's own sizes: 50 x 20 at 96 DPI, scaled at another.
  const int w = static_cast<int>(Ask(grid, GM_GETCOLWIDTH, 1)), h = static_cast<int>(Ask(grid, GM_GETROWHEIGHT, 1));
  char note[200];
  std::snprintf(note, sizeof note, "Full paint: a %dx%d screen, %d x %d data cells of %d x %d pixels showing.", b.width,
                b.height, cols, rows, w, h);
  Note(note);
  const double paint = Bench::FullPaint(grid);
  HDC dc = GetDC(grid);
  const double floor = Median(15, [&] { DrawCells(dc, cols, rows, b.font, w, h); });
  ReleaseDC(grid, dc);
  Report("Full paint of a maximised grid", paint, "the same Rectangle + DrawTextA calls", floor, "<= 1.15");

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
  const double dibFloor = Median(15, [&] { DrawCells(memory, cols, rows, b.font, w, h); });
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  Report("  the same calls on the window", floor, "the same calls into a DIB section", dibFloor, "report");

  // A ListView in report view showing the same number of cells.
  ShowWindow(grid, SW_HIDE);
  HWND list = FilledListView(b, cols + 1, rows);
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

  // Per cell on screen, both filling the screen: a grid of 40 x 60 and a
  // ListView of 40 columns and more items than show.
  HWND full = b.Grid(40, 60);
  const double gridCells = double(Ask(full, GM_GETLASTCOL)) * double(Ask(full, GM_GETLASTROW));
  const double perGridCell = Bench::FullPaint(full) / gridCells;
  ShowWindow(full, SW_HIDE);
  list = FilledListView(b, 40, 120);
  RECT client;
  GetClientRect(list, &client);
  const double shownItems = double(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0) + 1);
  const double shownColumns = std::min(40.0, std::ceil(double(client.right) / 50.0));
  const double perListCell = Bench::FullPaint(list) / (shownItems * shownColumns);
  DestroyWindow(list);
  DestroyWindow(full);
  std::snprintf(note, sizeof note,
                "Per cell on screen: the grid shows %.0f data cells (and their titles), the ListView %.0f x %.0f.",
                gridCells, shownItems, shownColumns);
  Note(note);
  Report("Full paint per cell on screen (us)", perGridCell * 1000, "a ListView's full repaint, per cell", perListCell * 1000,
         "<= 0.45");
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
  Report("GM_SETCELLTEXT, per message (us)", set * 1000, "SendMessageA + GlobalAlloc/copy/GlobalFree", floor * 1000,
         "<= 2");

  // Cells on screen: each message asks for its cell's repaint. The floor is
  // the same message on a cell out of view plus one InvalidateRect of the
  // cell's rectangle; the window is repainted between rounds.
  const int shown = 500;
  const auto onScreen = [](int k) { return GRID_CELL(1 + k % 37, 1 + (k / 37) % 50); };
  const double setShown = Median(7, [&] {
    for (int k = 0; k < shown; ++k) {
      Ask(grid, GM_SETCELLTEXT, onScreen(k), reinterpret_cast<LPARAM>(k % 2 ? "abcdef" : "ghijkl"));
    }
  }, [&] { UpdateWindow(grid); }) / shown;
  const double setShownFloor = Median(7, [&] {
    for (int k = 0; k < shown; ++k) {
      Ask(grid, GM_SETCELLTEXT, GRID_CELL(100 + k % 150, 200), reinterpret_cast<LPARAM>(k % 2 ? "abcdef" : "ghijkl"));
      const int x = 50 * (1 + k % 37), y = 20 * (1 + (k / 37) % 50);
      const RECT cell{x, y, x + 50, y + 20};
      InvalidateRect(grid, &cell, FALSE);
    }
  }, [&] { UpdateWindow(grid); }) / shown;
  DestroyWindow(grid);
  Report("GM_SETCELLTEXT on screen, per message (us)", setShown * 1000,
         "the same out of view + InvalidateRect of the cell", setShownFloor * 1000, "<= 1.3");

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

// The floor of a one-line step on a window of the grid's size with scroll
// bars: the bar's position set once (redrawn), the pixels moved without
// invalidating, and the uncovered line of cells (with its title) drawn
// directly with the same Rectangle + DrawTextA calls a paint makes.
struct ScrollFloor {
  HWND window;
  RECT client;
  HFONT font;
  ScrollFloor(Bench& b) : font(b.font) {
    window = CreateWindowExA(0, "LatticorBench", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, b.width,
                             b.height, b.top, nullptr, nullptr, nullptr);
    for (int bar : {SB_VERT, SB_HORZ}) {
      SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 1, 1000, 1, 1, 0};
      SetScrollInfo(window, bar, &si, TRUE);
    }
    GetClientRect(window, &client);
    Pump();
  }
  ~ScrollFloor() { DestroyWindow(window); }
  // One step of `lines` rows (or columns) forwards or back.
  void Step(bool vertical, bool forward, int lines) {
    const int size = vertical ? 20 * lines : 50 * lines;
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, forward ? 2 : 1, 0};
    SetScrollInfo(window, vertical ? SB_VERT : SB_HORZ, &si, TRUE);
    const RECT area = vertical ? RECT{0, 20, client.right, client.bottom} : RECT{50, 0, client.right, client.bottom};
    const int d = forward ? -size : size;
    ScrollWindowEx(window, vertical ? 0 : d, vertical ? d : 0, &area, &area, nullptr, nullptr, 0);
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    char text[16];
    // The uncovered line: cells from the title on, across the window.
    const int across = vertical ? client.right / 50 + 1 : client.bottom / 20 + 1;
    for (int line = 0; line < lines; ++line) {
      const int at = forward ? (vertical ? client.bottom / 20 - line : client.right / 50 - line) : 1 + line;
      for (int i = 0; i < across; ++i) {
        const int x = 50 * (vertical ? i : at), y = 20 * (vertical ? at : i);
        Rectangle(dc, x - 1, y - 1, x + 50, y + 20);
        std::snprintf(text, sizeof text, "%d,%d", x / 50, y / 20);
        RECT t{x, y, x + 49, y + 19};
        DrawTextA(dc, text, -1, &t, DT_EDITCONTROL | DT_WORDBREAK);
      }
    }
    SelectObject(dc, old);
    ReleaseDC(window, dc);
  }
};

void ScrollFigures(Bench& b) {
  // The ListView: 40 columns of 50 pixels (wider than the screen), 2000
  // items; a line is an item's height.
  HWND list = FilledListView(b, 40, 2000);
  RECT itemRect{};
  itemRect.left = LVIR_BOUNDS;
  SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&itemRect));
  const int line = itemRect.bottom - itemRect.top;
  int i = 0;
  const auto listScroll = [&](int dx, int dy) {
    return Median(31, [&] {
      const int sign = (i++ % 2) ? -1 : 1;
      SendMessageA(list, LVM_SCROLL, sign * dx, sign * dy);
      UpdateWindow(list);
    });
  };
  const double listLine = listScroll(0, line), listColumn = listScroll(50, 0), listThree = listScroll(0, 3 * line);
  DestroyWindow(list);
  double floors[2];
  {
    ScrollFloor floor(b);
    for (bool vertical : {true, false}) {
      floors[vertical ? 0 : 1] = Median(31, [&] { floor.Step(vertical, i++ % 2 == 0, 1); });
    }
  }
  for (UINT rows : {60u, 16382u}) {
    const UINT cols = rows == 60 ? 40 : 254;
    HWND grid = b.Grid(cols, rows);
    // Each step is followed by its way back; a posted message ends the
    // step's wait for the next message at once.
    const auto step = [&](UINT msg, WPARAM forward, WPARAM back) {
      return Median(31, [&] {
        PostMessageA(grid, WM_NULL, 0, 0);
        Ask(grid, msg, (i++ % 2) ? back : forward, 0);
      });
    };
    const double down = step(WM_VSCROLL, SB_LINEDOWN, SB_LINEUP);
    const double right = step(WM_HSCROLL, SB_LINERIGHT, SB_LINELEFT);
    const double first = step(GM_SETFIRSTROW, 2, 1);
    const double wheel = step(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), MAKEWPARAM(0, WHEEL_DELTA));
    DestroyWindow(grid);
    char what[80];
    const auto report = [&](const char* op, double ours, const char* baseline, double against, const char* aim) {
      std::snprintf(what, sizeof what, "%s, %u x %u grid", op, cols, rows);
      Report(what, ours, baseline, against, aim);
    };
    report("Scroll a line (WM_VSCROLL)", down, "ListView LVM_SCROLL a line + UpdateWindow", listLine, "<= 0.9");
    report("  the line against its floor", down, "SetScrollInfo + ScrollWindowEx + the line's cells", floors[0],
           "report");
    report("Scroll a column (WM_HSCROLL)", right, "ListView LVM_SCROLL 50 pixels + UpdateWindow", listColumn, "<= 0.9");
    report("  the column against its floor", right, "SetScrollInfo + ScrollWindowEx + the column's cells", floors[1],
           "report");
    report("GM_SETFIRSTROW by one", first, "ListView LVM_SCROLL a line + UpdateWindow", listLine, "<= 0.9");
    report("Wheel notch (3 rows)", wheel, "ListView LVM_SCROLL 3 lines + UpdateWindow", listThree, "<= 0.9");
  }
  Report("Floor of a line scroll", floors[0], "ListView LVM_SCROLL a line + UpdateWindow", listLine, "report");
}

// Row insertion and deletion on a maximised grid of 254 x 16,382, shown and
// hidden, in one run.
void RowFigures(Bench& b) {
  HWND grid = b.Grid(254, 16382);
  Ask(grid, GM_DELETEROW, 0);  // room for one more
  UpdateWindow(grid);
  // Each deletion is followed by an insertion, each timed with its
  // repaint; a posted message ends the deletion's scroll step at once.
  std::vector<double> deletions, insertions;
  const auto rounds = [&] {
    deletions.clear();
    insertions.clear();
    for (int k = 0; k < 9; ++k) {
      PostMessageA(grid, WM_NULL, 0, 0);
      double start = Now();
      Ask(grid, GM_DELETEROW, 1);
      UpdateWindow(grid);
      deletions.push_back(Now() - start);
      start = Now();
      Ask(grid, GM_INSERTROW, 1);
      UpdateWindow(grid);
      insertions.push_back(Now() - start);
    }
    std::sort(deletions.begin(), deletions.end());
    std::sort(insertions.begin(), insertions.end());
    return std::make_pair(deletions[4], insertions[4]);
  };
  const auto shown = rounds();
  int i = 0;
  const double scroll = Median(31, [&] {
    PostMessageA(grid, WM_NULL, 0, 0);
    Ask(grid, WM_VSCROLL, (i++ % 2) ? SB_LINEUP : SB_LINEDOWN, 0);
  });
  ShowWindow(grid, SW_HIDE);
  const auto hidden = rounds();
  DestroyWindow(grid);
  Pump();
  Report("GM_DELETEROW 1, shown 254 x 16382 grid", shown.first, "the same hidden + a one-line scroll",
         hidden.first + scroll, "<= 2");
  Report("GM_INSERTROW 1, shown 254 x 16382 grid", shown.second, "the same hidden + a one-line scroll",
         hidden.second + scroll, "<= 2");

  const size_t tableBytes = size_t(254) * 16382 * sizeof(GridCell);
  std::vector<char> table(tableBytes + 254 * sizeof(GridCell));
  const double moveFloor =
      Median(5, [&] { std::memmove(table.data() + 254 * sizeof(GridCell), table.data(), tableBytes); });
  Report("GM_INSERTROW 1, hidden grid (no repaint)", hidden.second, "memmove of the cell table", moveFloor, "<= 2");
}

void ClipboardFigures(Bench& b) {
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
    }
    DestroyWindow(grid);
    Pump();
  }
  Report("Copy time per byte (ns), largest of 5 sizes", maxPerByte * 1e6, "smallest (1,012 to 4 million cells)",
         minPerByte * 1e6, "<= 1.5");
}

// Holds the modifier keys down (or lets them go) as the grid will read
// them with GetKeyState.
void Hold(BYTE vk, bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[vk] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

void Key(HWND grid, WPARAM vk) {
  Ask(grid, WM_KEYDOWN, vk, 1);
  Ask(grid, WM_KEYUP, vk, 1);
}

void EditFigures(Bench& b) {
  HWND grid = b.Grid(40, 60, 800, 600);
  Ask(grid, GM_SETEXSTYLE, 0, GS_EX_EDIT);
  SetFocus(grid);
  const auto shown = [](HWND editor) {
    UpdateWindow(editor);
    GdiFlush();
  };
  // F2 until the editor shows the cell's text, against an edit box of the
  // same size made, filled and shown.
  RECT cell{};
  GridCell record;
  Ask(grid, GM_GETCURCELL, reinterpret_cast<WPARAM>(&record), reinterpret_cast<LPARAM>(&cell));
  const double open = Median(
      15,
      [&] {
        Key(grid, VK_F2);
        shown(reinterpret_cast<HWND>(Ask(grid, GM_GETEDITWINDOW)));
      },
      [&] {
        Ask(grid, GM_ENDEDIT, FALSE);
        Pump();
      });
  HWND box = nullptr;
  const double plain = Median(
      15,
      [&] {
        box = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, cell.left, cell.top, cell.right - cell.left - 1,
                              cell.bottom - cell.top - 1, grid, nullptr, nullptr, nullptr);
        SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(b.font), FALSE);
        SetWindowTextW(box, L"1,1");
        ShowWindow(box, SW_SHOW);
        SetFocus(box);
        shown(box);
      },
      [&] {
        if (box) DestroyWindow(box);
        SetFocus(grid);
        Pump();
      });
  if (box) DestroyWindow(box);
  Report("F2 until the editor shows the text", open, "an EDIT child made, filled and shown", plain, "<= 1.2");
  // A commit of a visible cell, against storing the text and hiding a box.
  int n = 0;
  char text[16];
  const double commit = Median(
      15, [&] { Ask(grid, GM_ENDEDIT, TRUE); },
      [&] {
        std::snprintf(text, sizeof text, "typed %d", n++);
        Ask(grid, GM_EDITCELL, 0, reinterpret_cast<LPARAM>(text));
        Pump();
      });
  box = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, cell.left, cell.top, 40, 18, grid, nullptr, nullptr, nullptr);
  const double store = Median(
      15,
      [&] {
        std::snprintf(text, sizeof text, "set %d", n++);
        Ask(grid, GM_SETCELLTEXT, GRID_CELL(1, 1), reinterpret_cast<LPARAM>(text));
        ShowWindow(box, SW_HIDE);
      },
      [&] {
        ShowWindow(box, SW_SHOWNA);
        Pump();
      });
  DestroyWindow(box);
  Report("A commit of a visible cell", commit, "GM_SETCELLTEXT and hiding a window", store, "<= 1.2");
  DestroyWindow(grid);
  Pump();
}

// Delete, its undo and Ctrl+End on the whole largest grid, every cell
// holding a short text.
void SheetFigures(Bench& b) {
  HWND grid = b.Grid(254, 16382, 0, 0, true);
  Ask(grid, GM_SETEXSTYLE, 0, GS_EX_SHEETKEYS);
  SetFocus(grid);
  Ask(grid, GM_SETSELENDCOL, 253);
  Ask(grid, GM_SETSELENDROW, 16381);
  const size_t size = static_cast<size_t>(Ask(grid, GM_GETCOPYSIZE));
  std::vector<char> texts(size);
  Ask(grid, GM_COPYSEL, reinterpret_cast<WPARAM>(texts.data()));
  const auto refill = [&] { Ask(grid, GM_PASTE, reinterpret_cast<WPARAM>(texts.data())); };
  const double paste = Median(3, refill);
  SIZE_T before = 0, after = 0;
  const double clear = Median(
      3,
      [&] {
        Key(grid, VK_DELETE);
        after = PrivateBytes();
      },
      [&] {
        refill();
        before = PrivateBytes();
      });
  const double cells = 253.0 * 16381;
  const double held = double(size) - cells;  // the texts without their separators
  Report("Delete of the whole largest grid", clear, "GM_PASTE of the same texts", paste, "<= 2");
  const double undo = Median(3, [&] { Ask(grid, GM_UNDO); }, [&] {
    refill();
    Key(grid, VK_DELETE);
  });
  Report("Undo of that Delete", undo, "GM_PASTE of the same texts", paste, "<= 2");
  Report("The history's memory for that step (MB)", double(after - before) / 1e6,
         "its texts and 16 bytes a cell (MB)", (held + 16 * cells) / 1e6, "<= 1");
  Hold(VK_CONTROL, true);
  Key(grid, VK_END);  // the corner, once: from then on the key finds it where it is
  const double end = Median(15, [&] { Key(grid, VK_END); });
  Hold(VK_CONTROL, false);
  Report("Ctrl+End on that grid", end, "one millisecond", 1.0, "<= 1");
  DestroyWindow(grid);
  Pump();
}

// One operation between two markers that Wine's debug channel "debugstr"
// shows, so that a trace of the run (+relay, +server) tells the calls and
// the server round trips it makes. It runs once before, so that nothing is
// loaded or made for the first time inside; `before` runs before each.
void Traced(const char* name, const std::function<void()>& op, const std::function<void()>& before = [] {}) {
  before();
  op();
  before();
  const std::string marker = std::string("latticor-bench: ") + name + " {";
  OutputDebugStringA(marker.c_str());
  op();
  OutputDebugStringA("latticor-bench: }");
}

void Trace(Bench& b) {
  HWND grid = b.Grid(40, 60);
  int i = 0;
  const auto scroll = [&](UINT msg) {
    PostMessageA(grid, WM_NULL, 0, 0);
    Ask(grid, msg, (i++ % 2) ? SB_LINEUP : SB_LINEDOWN);
  };
  Traced("full paint", [&] { Bench::FullPaint(grid, 1); });
  Traced("scroll a line", [&] { scroll(WM_VSCROLL); });
  Traced("scroll a column", [&] { scroll(WM_HSCROLL); });
  Traced(
      "set a text on screen",
      [&] { Ask(grid, GM_SETCELLTEXT, GRID_CELL(3, 3), reinterpret_cast<LPARAM>((i++ % 2) ? "ab" : "cd")); },
      [&] { UpdateWindow(grid); });
  Ask(grid, GM_SETEXSTYLE, 0, GS_EX_EDIT);
  SetFocus(grid);
  Traced(
      "commit an edit", [&] { Ask(grid, GM_ENDEDIT, TRUE); },
      [&] {
        Ask(grid, GM_EDITCELL, 0, reinterpret_cast<LPARAM>((i++ % 2) ? "ab" : "cd"));
        Pump();
      });
  HWND box = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 50, 20, 40, 18, grid, nullptr, nullptr, nullptr);
  Traced(
      "set a text and hide a box",
      [&] {
        Ask(grid, GM_SETCELLTEXT, GRID_CELL(1, 1), reinterpret_cast<LPARAM>((i++ % 2) ? "ab" : "cd"));
        ShowWindow(box, SW_HIDE);
      },
      [&] {
        ShowWindow(box, SW_SHOWNA);
        Pump();
      });
  DestroyWindow(grid);
  HWND list = FilledListView(b, 40, 200);
  Traced("ListView: full paint", [&] { Bench::FullPaint(list, 1); });
  Traced("ListView: scroll a line", [&] {
    SendMessageA(list, LVM_SCROLL, 0, (i++ % 2) ? -10 : 10);
    UpdateWindow(list);
  });
  DestroyWindow(list);
  HWND big = b.Grid(254, 16382);
  Traced("delete a row", [&] {
    PostMessageA(big, WM_NULL, 0, 0);
    Ask(big, GM_DELETEROW, 1);
    UpdateWindow(big);
  });
  Traced("insert a row", [&] {
    Ask(big, GM_INSERTROW, 1);
    UpdateWindow(big);
  });
  DestroyWindow(big);
}

}  // namespace

int main(int argc, char** argv) {
  if (!LoadLibraryA(LATTICOR_LIBRARY_NAME)) {
    std::printf("Latticor.dll not found\n");
    return 1;
  }
  InitCommonControls();
  Bench bench;
  if (argc > 1 && std::strcmp(argv[1], "--trace") == 0) {
    Trace(bench);
    return 0;
  }
  if (argc > 2 && std::strcmp(argv[1], "--paint") == 0) {
    results = std::fopen(argv[2], "w");
    FullPaintFigures(bench);
    if (results) std::fclose(results);
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "--editing") == 0) {
    EditFigures(bench);
    SheetFigures(bench);
    return 0;
  }
  if (argc > 1) results = std::fopen(argv[1], "w");
  FullPaintFigures(bench);
  PaintAgainstSize(bench);
  SetTextFigures(bench);
  ScrollFigures(bench);
  RowFigures(bench);
  ClipboardFigures(bench);
  EditFigures(bench);
  SheetFigures(bench);
  if (results) std::fclose(results);
  return 0;
}
