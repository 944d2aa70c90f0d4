// soak_driver.exe: Celdra used for minutes on end as a person uses it.
// From a seed, it performs weighted random actions with real input — the
// mouse through the X server (as a hand reaches a program under Wine), the
// keyboard through SendInput — and finds its way by looking Celdra's
// windows up. Every action is numbered and logged: a seed and an action
// number reproduce what happened (each action draws from its own generator,
// seeded by both). After every action it answers Celdra's dialogs and
// boxes as a person would, and fails on a crash (the process is gone), a
// hang (the frame does not answer WM_NULL within 5 s), a box that is not
// one of Celdra's own refusals or questions, or a window that keeps the
// mouse capture with the button up. Every 30 s it samples Celdra's memory
// (PagefileUsage), windows and GDI objects; their growth between the first
// and the last sample must stay within stated bounds.
//
//   soak_driver [--seconds N] [--seed S] [--until ACTION] [--table FILE] [--editor]
//
// With --editor it drives the example editor instead (grid_example.exe,
// with GS_EX_EDIT and GS_EX_SHEETKEYS) on a file of its own, in several
// scripts: typing, the editor's keys, the sheet's keys, the clipboard keys,
// undo and redo, scrolling and resizing. Every 200 actions and at the end
// it undoes every step and compares each cell with what was there before
// the first, byte for byte, then redoes them all and compares again.
//
// Output in the tests' format: "[       OK ] Soak.<name> (N ms)".
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <psapi.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "real_input.h"
#include "remote.h"

namespace {

namespace input = real_input;
namespace x11 = real_input::x11;

struct Options {
  int seconds = 60;
  unsigned seed = 1;
  int until = 0;  // stop after this action; 0: when the time is up
  const char* table = nullptr;
  bool editor = false;  // the example editor, not Celdra
};

// Growth allowed between two samples, beyond what the open documents
// account for (the last sample is taken once every document is closed,
// unless one refuses to close). The system's caches take GDI objects that
// stay under Wine: about 60 for the first document (opened and closed
// before the first sample), about 140 more for the first dialogs, menus and
// edits, most within the first minute and the last of them by the second
// (measured over 10 minutes); after two minutes, and half the run, the
// count must hold.
constexpr double kMemoryPerCell = 48;                 // bytes of a cell and its text block
constexpr SIZE_T kMemoryGrowth = 16 * 1024 * 1024;    // bytes
constexpr int kWindowsPerDocument = 3;                // document, grid, editor
constexpr int kWindowGrowth = 2;
constexpr int kGdiPerDocument = 1;                    // its font
constexpr int kGdiCaches = 200;                       // from the first sample
constexpr int kGdiGrowth = 16;                        // from the settled sample's
constexpr DWORD kSettledMs = 120000;
constexpr int kMaxDocuments = 6;

class Rng {
 public:
  explicit Rng(uint32_t seed) : engine_(seed) {}
  int Below(int n) { return n <= 0 ? 0 : static_cast<int>(engine_() % static_cast<uint32_t>(n)); }
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
  bool Chance(int percent) { return Below(100) < percent; }

 private:
  std::mt19937 engine_;
};

struct Sample {
  DWORD ms;
  int actions;
  SIZE_T memory;  // PagefileUsage
  int windows;
  int documents;
  double cells;  // of every open grid
  int freeGdi;   // objects the process can still create
};

class Soak {
 public:
  explicit Soak(const Options& o) : options_(o) {}
  bool Run();

 private:
  using Action = void (Soak::*)(Rng&);
  struct Weighted {
    const char* name;
    Action action;
    int weight;
  };

  // ---- Looking Celdra up ----
  LRESULT Ask(HWND hwnd, UINT msg, WPARAM w = 0, LPARAM l = 0);
  HWND Toolbar() const { return FindWindowExA(celdra_.frame(), nullptr, TOOLBARCLASSNAMEA, nullptr); }
  HWND ActiveDocument();
  HWND Grid();
  std::vector<HWND> Documents() const;
  std::vector<HWND> OwnTopLevelWindows() const;
  POINT CellCentre(HWND grid, UINT col, UINT row);
  bool RandomVisibleCell(HWND grid, Rng& rng, POINT& at, UINT& col, UINT& row);

  // ---- The actions ----
  void NewDocument(Rng& rng);
  void CloseDocument(Rng& rng);
  void ClickCell(Rng& rng);
  void EditCell(Rng& rng);
  void DragInside(Rng& rng);
  void DragPastEdge(Rng& rng);
  void DragTitleEdge(Rng& rng);
  void Keys(Rng& rng);
  void Wheel(Rng& rng);
  void ScrollBar(Rng& rng);
  void MenuByMouse(Rng& rng);
  void MenuByKeyboard(Rng& rng);
  void FormatDialog(Rng& rng);
  void Colour(Rng& rng);
  void About(Rng& rng);
  void WindowState(Rng& rng);
  void CloseEveryDocument();
  // ---- The example editor's ----
  bool StartEditor();
  void TypeInCell(Rng& rng);
  void SheetKeys(Rng& rng);
  void ResizeFrame(Rng& rng);
  std::vector<std::string> Cells();
  void CheckHistory();
  // The generator of the current action, from the seed and its number.
  Rng ActionRng() const { return Rng(options_.seed * 2654435761u ^ static_cast<uint32_t>(action_) * 40503u); }

  // ---- Answering Celdra ----
  void Respond(Rng& rng);
  bool Answer(HWND window, Rng& rng);
  void ClickControl(HWND dialog, int id, DWORD settleMs = 300);
  void AnswerFormatDialog(HWND dialog, Rng& rng);
  void TypeInto(HWND field, const std::string& text);

  // ---- Watching ----
  bool Alive();
  void Fail(const std::string& what);
  void Log(const char* format, ...);
  Sample Take();
  bool StartProbe();
  int FreeGdi();
  void Report(const Sample& s);
  void CheckGrowth(const Sample& first, const Sample& last, int gdiAllowed);
  void WriteTable();

  Options options_;
  remote::Celdra celdra_;
  int action_ = 0;
  std::vector<std::string> failures_;
  std::vector<Sample> samples_;
  DWORD start_ = 0;
  LPTHREAD_START_ROUTINE probe_ = nullptr;  // FreeGdiSlots inside Celdra
  bool inMenu_ = false;  // the current action chooses from a menu: Exit is one choice
  bool exited_ = false;  // and it was chosen
  std::vector<std::string> unchanged_;  // the editor's cells before the history's first step
};

// ---- Looking Celdra up -------------------------------------------------------

LRESULT Soak::Ask(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(hwnd, msg, w, l, SMTO_ABORTIFHUNG, 5000, &result) && GetLastError() == ERROR_TIMEOUT) {
    Fail("Celdra did not answer message " + std::to_string(msg) + " within 5 s");
  }
  return static_cast<LRESULT>(result);
}

HWND Soak::ActiveDocument() { return reinterpret_cast<HWND>(Ask(celdra_.mdiClient(), WM_MDIGETACTIVE)); }

HWND Soak::Grid() {
  if (options_.editor) return FindWindowExA(celdra_.frame(), nullptr, "LATTICOR", nullptr);
  HWND doc = ActiveDocument();
  return doc ? celdra_.GridOf(doc) : nullptr;
}

std::vector<HWND> Soak::Documents() const {
  std::vector<HWND> docs;
  if (options_.editor) return docs;
  for (HWND d = FindWindowExA(celdra_.mdiClient(), nullptr, "ChildClass", nullptr); d;
       d = FindWindowExA(celdra_.mdiClient(), d, "ChildClass", nullptr)) {
    docs.push_back(d);
  }
  return docs;
}

// The visible top-level windows of a process but one.
struct TopLevelSearch {
  DWORD pid;
  HWND except;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM p) {
  auto* s = reinterpret_cast<TopLevelSearch*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == s->pid && hwnd != s->except && IsWindowVisible(hwnd)) s->found.push_back(hwnd);
  return TRUE;
}

// Every window of a process, children included.
struct WindowCount {
  DWORD pid;
  int windows;
};

BOOL CALLBACK CountChild(HWND, LPARAM p) {
  ++reinterpret_cast<WindowCount*>(p)->windows;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND top, LPARAM p) {
  auto* c = reinterpret_cast<WindowCount*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(top, &pid);
  if (pid != c->pid) return TRUE;
  ++c->windows;
  EnumChildWindows(top, CountChild, p);
  return TRUE;
}

std::vector<HWND> Soak::OwnTopLevelWindows() const {
  TopLevelSearch search{GetProcessId(celdra_.process()), celdra_.frame(), {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

POINT Soak::CellCentre(HWND grid, UINT col, UINT row) {
  auto edge = [&](UINT sum, UINT size, UINT first, UINT i) {
    const auto origin = static_cast<LONG>(Ask(grid, size, 0));
    const LONG before = i > first ? static_cast<LONG>(Ask(grid, sum, first, i - 1)) : 0;
    return origin + before + static_cast<LONG>(Ask(grid, size, i)) / 2;
  };
  return POINT{edge(GM_SUMCOLWIDTHS, GM_GETCOLWIDTH, static_cast<UINT>(Ask(grid, GM_GETFIRSTCOL)), col),
               edge(GM_SUMROWHEIGHTS, GM_GETROWHEIGHT, static_cast<UINT>(Ask(grid, GM_GETFIRSTROW)), row)};
}

bool Soak::RandomVisibleCell(HWND grid, Rng& rng, POINT& at, UINT& col, UINT& row) {
  const int pickCol = rng.Below(1000), pickRow = rng.Below(1000);
  if (!grid) return false;
  const UINT firstCol = static_cast<UINT>(Ask(grid, GM_GETFIRSTCOL));
  const UINT firstRow = static_cast<UINT>(Ask(grid, GM_GETFIRSTROW));
  const UINT lastCol = static_cast<UINT>(Ask(grid, GM_GETLASTCOL));
  const UINT lastRow = static_cast<UINT>(Ask(grid, GM_GETLASTROW));
  if (lastCol < firstCol || lastRow < firstRow) return false;
  col = firstCol + static_cast<UINT>(pickCol) % (lastCol - firstCol + 1);
  row = firstRow + static_cast<UINT>(pickRow) % (lastRow - firstRow + 1);
  at = CellCentre(grid, col, row);
  RECT client;
  GetClientRect(grid, &client);
  return at.x < client.right && at.y < client.bottom;
}

// ---- The actions -------------------------------------------------------------

void Soak::NewDocument(Rng& rng) {
  const bool byMenu = rng.Chance(40);
  if (Documents().size() >= kMaxDocuments) {
    Log("new document: %zu are open already, none more", Documents().size());
    return;
  }
  if (byMenu) {
    Log("new document: File, New by keyboard");
    input::Key(VK_MENU, true);
    input::Tap('F', 100);
    input::Key(VK_MENU, false, 150);
    input::Tap('N', 400);
  } else {
    Log("new document: the toolbar's New button");
    const RECT r = celdra_.AskRect(Toolbar(), TB_GETITEMRECT, 0);
    x11::MoveTo(Toolbar(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    x11::Click(400);
  }
}

void Soak::CloseDocument(Rng& rng) {
  const int how = rng.Below(3);
  if (!ActiveDocument()) {
    Log("close document: none open");
    return;
  }
  if (how == 0) {
    Log("close document: Ctrl+F4");
    input::Key(VK_CONTROL, true);
    input::Tap(VK_F4, 50);
    input::Key(VK_CONTROL, false, 400);
  } else {
    Log("close document: File, Close by keyboard");
    input::Key(VK_MENU, true);
    input::Tap('F', 100);
    input::Key(VK_MENU, false, 150);
    input::Tap('C', 400);
  }
}

void Soak::ClickCell(Rng& rng) {
  const bool shift = rng.Chance(15);
  POINT at;
  UINT col, row;
  HWND grid = Grid();
  if (!RandomVisibleCell(grid, rng, at, col, row)) {
    Log("click a cell: no grid");
    return;
  }
  Log("click cell %u,%u%s", col, row, shift ? " with Shift" : "");
  x11::MoveTo(grid, at.x, at.y);
  if (shift) input::Key(VK_SHIFT, true, 10);
  x11::Click(150);
  if (shift) input::Key(VK_SHIFT, false, 10);
}

std::wstring RandomText(Rng& rng) {
  static const wchar_t kChars[] =
      L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:-+*/()\t"
      L"\u00e9\u00fc\u00df\u00e6\u00f1\u00a3\u20ac\u03b1\u03b2\u0436\u0437\u65e5\u672c";
  const int length = rng.Chance(20) ? rng.Between(100, 300) : rng.Between(1, 20);
  std::wstring text;
  for (int i = 0; i < length; ++i) text += kChars[rng.Below(static_cast<int>(std::size(kChars)) - 1)];
  return text;
}

void Soak::EditCell(Rng& rng) {
  POINT at;
  UINT col, row;
  const std::wstring text = RandomText(rng);
  const int commit = rng.Below(3);
  HWND grid = Grid();
  if (!RandomVisibleCell(grid, rng, at, col, row)) {
    Log("edit a cell: no grid");
    return;
  }
  Log("edit cell %u,%u: %zu characters, then %s", col, row, text.size(),
      commit == 0 ? "a click on another cell" : commit == 1 ? "an arrow key" : "nothing");
  x11::MoveTo(grid, at.x, at.y);
  x11::DoubleClick(300);
  input::TypeUnicode(text.c_str(), 2);
  input::Settle(100);
  if (commit == 0) {
    POINT other;
    if (RandomVisibleCell(grid, rng, other, col, row)) {
      x11::MoveTo(grid, other.x, other.y);
      x11::Click(200);
    }
  } else if (commit == 1) {
    input::Tap(VK_DOWN, 100);
  }
}

void Soak::DragInside(Rng& rng) {
  POINT from, to;
  UINT c0, r0, c1, r1;
  HWND grid = Grid();
  if (!RandomVisibleCell(grid, rng, from, c0, r0) || !RandomVisibleCell(grid, rng, to, c1, r1)) {
    Log("drag: no grid");
    return;
  }
  Log("drag from cell %u,%u to cell %u,%u", c0, r0, c1, r1);
  x11::MoveTo(grid, from.x, from.y);
  x11::ButtonDown(60);
  x11::MoveTo(grid, (from.x + to.x) / 2, (from.y + to.y) / 2, 40);
  x11::MoveTo(grid, to.x, to.y, 150);
  x11::ButtonUp(150);
}

// A drag that leaves the cells and waits there while the grid scrolls on:
// below, right, above or left of the grid, or out of the frame altogether.
void Soak::DragPastEdge(Rng& rng) {
  POINT from;
  UINT col, row;
  const int where = rng.Below(5);
  const int holdMs = rng.Between(200, 1500);
  const int distance = rng.Between(10, 80);
  const bool comeBack = rng.Chance(30);
  HWND grid = Grid();
  if (!RandomVisibleCell(grid, rng, from, col, row)) {
    Log("drag past an edge: no grid");
    return;
  }
  const RECT g = remote::ClientScreenRectOf(grid);
  const RECT f = remote::ScreenRectOf(celdra_.frame());
  POINT out{(g.left + g.right) / 2, (g.top + g.bottom) / 2};
  const char* names[] = {"below the grid", "right of the grid", "above the grid", "left of the grid",
                         "below the frame"};
  switch (where) {
    case 0: out.y = g.bottom + distance; break;
    case 1: out.x = g.right + distance; break;
    case 2: out.y = g.top - distance; break;
    case 3: out.x = g.left - distance; break;
    default: out.y = f.bottom + distance; break;
  }
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  out.x = out.x < 0 ? 0 : out.x >= screenW ? screenW - 1 : out.x;
  out.y = out.y < 0 ? 0 : out.y >= screenH ? screenH - 1 : out.y;
  Log("drag from cell %u,%u to %s (%ld,%ld), held %d ms%s", col, row, names[where], out.x, out.y, holdMs,
      comeBack ? ", then back" : "");
  x11::MoveTo(grid, from.x, from.y);
  x11::ButtonDown(60);
  x11::MoveToScreen(out.x, out.y, static_cast<DWORD>(holdMs));
  if (comeBack) {
    POINT back = from;
    ClientToScreen(grid, &back);
    x11::MoveToScreen(back.x, back.y, 100);
  }
  x11::ButtonUp(200);
}

void Soak::DragTitleEdge(Rng& rng) {
  const bool columns = rng.Chance(60);
  const int pick = rng.Below(1000);
  const int delta = rng.Between(-60, 80);
  const bool focusFirst = rng.Chance(70);
  HWND grid = Grid();
  if (!grid) {
    Log("drag a title edge: no grid");
    return;
  }
  const UINT first = static_cast<UINT>(Ask(grid, columns ? GM_GETFIRSTCOL : GM_GETFIRSTROW));
  const UINT last = static_cast<UINT>(Ask(grid, columns ? GM_GETLASTCOL : GM_GETLASTROW));
  if (last < first) return;
  const UINT k = first + static_cast<UINT>(pick) % (last - first + 1);
  const UINT sum = columns ? GM_SUMCOLWIDTHS : GM_SUMROWHEIGHTS, size = columns ? GM_GETCOLWIDTH : GM_GETROWHEIGHT;
  const LONG line = static_cast<LONG>(Ask(grid, size, 0) + Ask(grid, sum, first, k)) - 1;  // the line after k
  const LONG across = static_cast<LONG>(Ask(grid, size == GM_GETCOLWIDTH ? GM_GETROWHEIGHT : GM_GETCOLWIDTH, 0)) / 2;
  Log("drag the %s edge after %s %u by %d pixels", columns ? "column" : "row", columns ? "column" : "row", k, delta);
  auto at = [&](LONG along) { return columns ? POINT{along, across} : POINT{across, along}; };
  if (focusFirst) {
    POINT cell;
    UINT c, r;
    if (RandomVisibleCell(grid, rng, cell, c, r)) {
      x11::MoveTo(grid, cell.x, cell.y);
      x11::Click(100);
    }
  }
  const POINT hover = at(line), armed = at(line + 1), to = at(line + 1 + delta);
  x11::MoveTo(grid, hover.x, hover.y);
  x11::MoveTo(grid, armed.x, armed.y);
  x11::ButtonDown(60);
  x11::MoveTo(grid, to.x, to.y, 100);
  x11::ButtonUp(200);
}

void Soak::Keys(Rng& rng) {
  static const WORD kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP,     VK_DOWN,   VK_LEFT,  VK_RIGHT, VK_UP,   VK_DOWN,
                               VK_PRIOR, VK_NEXT, VK_HOME,   VK_END,    VK_TAB,   VK_RETURN, VK_ESCAPE,
                               VK_DELETE, 'A',    VK_F2,     VK_F5,     VK_SPACE};
  const int count = rng.Between(1, 8);
  const bool shift = rng.Chance(30);
  const bool nextDocument = rng.Chance(10);
  std::string names;
  std::vector<WORD> keys;
  for (int i = 0; i < count; ++i) {
    keys.push_back(kKeys[rng.Below(static_cast<int>(std::size(kKeys)))]);
    names += std::to_string(keys.back()) + " ";
  }
  if (nextDocument) {
    Log("keys: Ctrl+F6 (next document)");
    input::Key(VK_CONTROL, true);
    input::Tap(VK_F6, 50);
    input::Key(VK_CONTROL, false, 200);
    return;
  }
  Log("keys%s: %s", shift ? " with Shift" : "", names.c_str());
  if (shift) input::Key(VK_SHIFT, true, 10);
  for (WORD k : keys) input::Tap(k, 40);
  if (shift) input::Key(VK_SHIFT, false, 50);
}

void Soak::Wheel(Rng& rng) {
  int notches = rng.Between(-4, 4);
  if (notches == 0) notches = 1;
  POINT at;
  UINT col, row;
  HWND grid = Grid();
  if (!RandomVisibleCell(grid, rng, at, col, row)) {
    Log("wheel: no grid");
    return;
  }
  Log("wheel %d notches over cell %u,%u", notches, col, row);
  x11::MoveTo(grid, at.x, at.y);
  x11::Wheel(notches, 200);
}

void Soak::ScrollBar(Rng& rng) {
  const bool vertical = rng.Chance(60);
  const int part = rng.Below(4);  // back arrow, forward arrow, track click, drag in the track
  const int along = rng.Below(1000), dragTo = rng.Below(1000);
  const int holdMs = rng.Between(30, 600);
  HWND grid = Grid();
  if (!grid) {
    Log("scroll bar: no grid");
    return;
  }
  const RECT c = remote::ClientScreenRectOf(grid);
  const int bar = GetSystemMetrics(vertical ? SM_CXVSCROLL : SM_CYHSCROLL);
  const int arrow = GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
  const LONG start = vertical ? c.top : c.left, end = vertical ? c.bottom : c.right;
  const LONG across = (vertical ? c.right : c.bottom) + bar / 2;
  const LONG track = end - start - 2 * arrow;
  if (track <= 0) return;
  auto point = [&](LONG a) { return vertical ? POINT{across, a} : POINT{a, across}; };
  const char* names[] = {"back arrow", "forward arrow", "track", "drag in the track"};
  const LONG at = part == 0 ? start + arrow / 2 : part == 1 ? end - arrow / 2 : start + arrow + along * track / 1000;
  Log("%s scroll bar: %s, held %d ms", vertical ? "vertical" : "horizontal", names[part], holdMs);
  const POINT p = point(at);
  x11::MoveToScreen(p.x, p.y);
  x11::ButtonDown(static_cast<DWORD>(holdMs));
  if (part == 3) {
    const POINT q = point(start + arrow + dragTo * track / 1000);
    x11::MoveToScreen((p.x + q.x) / 2, (p.y + q.y) / 2, 60);
    x11::MoveToScreen(q.x, q.y, 100);
  }
  x11::ButtonUp(200);
}

// A click somewhere on the menu bar, then on a random place of the menu
// that opens, or keys.
void Soak::MenuByMouse(Rng& rng) {
  const int x = rng.Between(5, 320);
  const bool clickItem = rng.Chance(60);
  const int itemAt = rng.Below(1000);
  const int downs = rng.Below(8);
  const RECT c = remote::ClientScreenRectOf(celdra_.frame());
  const int y = c.top - GetSystemMetrics(SM_CYMENU) / 2;
  Log("menu bar clicked at x %d, then %s", x, clickItem ? "a click in the menu" : "keys");
  x11::MoveToScreen(c.left + x, y);
  x11::Click(300);
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  const RECT m = remote::ScreenRectOf(menu);
  if (clickItem) {
    x11::MoveToScreen((m.left + m.right) / 2, m.top + 3 + itemAt * (m.bottom - m.top - 6) / 1000, 100);
    x11::Click(400);
  } else {
    for (int i = 0; i < downs; ++i) input::Tap(VK_DOWN, 40);
    input::Tap(rng.Chance(70) ? VK_RETURN : VK_ESCAPE, 400);
  }
}

void Soak::MenuByKeyboard(Rng& rng) {
  const int rights = rng.Below(7);
  const int downs = rng.Below(9);
  const bool choose = rng.Chance(70);
  Log("menu by keyboard: F10, %d right, %d down, %s", rights, downs, choose ? "Enter" : "Escape");
  input::Tap(VK_F10, 100);
  for (int i = 0; i < rights; ++i) input::Tap(VK_RIGHT, 40);
  input::Tap(VK_DOWN, 120);
  for (int i = 0; i < downs; ++i) input::Tap(VK_DOWN, 40);
  input::Tap(choose ? VK_RETURN : VK_ESCAPE, 400);
  if (!choose) input::Tap(VK_ESCAPE, 100);
}

// The Format menu by keyboard: past the maximised document's own menu
// when there is one. `item` counts from Cells (0).
void OpenFormatItem(bool documentMaximised, int item) {
  input::Tap(VK_F10, 100);
  for (int i = 0; i < (documentMaximised ? 4 : 3); ++i) input::Tap(VK_RIGHT, 40);
  input::Tap(VK_DOWN, 120);
  for (int i = 0; i < item; ++i) input::Tap(VK_DOWN, 40);
  input::Tap(VK_RETURN, 500);
}

void Soak::FormatDialog(Rng& rng) {
  const bool rows = rng.Chance(50);
  HWND doc = ActiveDocument();
  if (!doc) {
    Log("format dialog: no document");
    return;
  }
  Log("format dialog: %s", rows ? "Rows" : "Columns");
  OpenFormatItem(IsZoomed(doc) != FALSE, rows ? 2 : 1);
  // Respond() fills and answers it.
}

void Soak::Colour(Rng& rng) {
  const bool background = rng.Chance(50);
  HWND doc = ActiveDocument();
  if (!doc) {
    Log("colour: no document");
    return;
  }
  Log("colour chooser: %s", background ? "Control BkColor" : "Grid Color");
  OpenFormatItem(IsZoomed(doc) != FALSE, background ? 4 : 3);
}

void Soak::About(Rng& rng) {
  const bool button = rng.Chance(60);
  Log("About, by %s", button ? "the toolbar" : "the Help menu");
  if (button) {
    const RECT r = celdra_.AskRect(Toolbar(), TB_GETITEMRECT, 20);
    x11::MoveTo(Toolbar(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    x11::Click(500);
  } else {
    input::Key(VK_MENU, true);
    input::Tap('H', 100);
    input::Key(VK_MENU, false, 150);
    input::Tap(VK_UP, 60);  // About is the last item
    input::Tap(VK_RETURN, 500);
  }
}

void Soak::WindowState(Rng& rng) {
  const int what = rng.Below(7);
  HWND doc = ActiveDocument();
  auto systemMenu = [](WORD menuKey, char item) {
    input::Key(VK_MENU, true);
    input::Tap(menuKey, 100);
    input::Key(VK_MENU, false, 200);
    input::Tap(static_cast<WORD>(item), 400);
  };
  switch (what) {
    case 0: Log("frame: maximise"); systemMenu(VK_SPACE, 'X'); break;
    case 1: Log("frame: restore"); systemMenu(VK_SPACE, 'R'); break;
    case 2: Log("frame: minimise"); systemMenu(VK_SPACE, 'N'); break;
    case 3:
      if (!doc) break;
      Log("document: maximise");
      systemMenu(VK_OEM_MINUS, 'X');
      break;
    case 4:
      if (!doc) break;
      Log("document: restore");
      systemMenu(VK_OEM_MINUS, 'R');
      break;
    case 5:
      if (!doc) break;
      Log("document: minimise");
      systemMenu(VK_OEM_MINUS, 'N');
      break;
    default:
      Log("Window menu: %s", rng.Chance(50) ? "Cascade" : "Tile");
      input::Key(VK_MENU, true);
      input::Tap('W', 100);
      input::Key(VK_MENU, false, 150);
      for (int i = rng.Below(3); i > 0; --i) input::Tap(VK_DOWN, 40);
      input::Tap(VK_RETURN, 400);
      break;
  }
  if (what >= 3 && what <= 5 && !doc) Log("document state: none open");
}

// At the end, so that the last sample compares with the first: Ctrl+F4
// until no document is left, the save question answered at random.
void Soak::CloseEveryDocument() {
  for (int tries = 0; tries < 40 && !Documents().empty() && failures_.empty(); ++tries) {
    ++action_;
    Rng rng = ActionRng();
    CloseDocument(rng);
    if (!Alive()) return;
    Respond(rng);
  }
}

// ---- The example editor -----------------------------------------------------

constexpr UINT kFileCols = 8, kFileRows = 40;

std::string Utf8(const std::wstring& text) {
  std::string bytes(static_cast<size_t>(
                        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr)),
                    '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                      static_cast<int>(bytes.size()), nullptr, nullptr);
  return bytes;
}

// A file of texts in several scripts, a third of its cells empty, written
// where the system keeps temporary files; the editor is started on it and
// its cells are checked against it.
bool Soak::StartEditor() {
  char folder[MAX_PATH], file[MAX_PATH], exe[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  std::snprintf(file, sizeof file, "%ssoak-editor-%u.tsv", folder, options_.seed);
  Rng rng(options_.seed);
  std::string text;
  std::vector<std::string> fields;
  for (UINT r = 0; r < kFileRows; ++r) {
    for (UINT c = 0; c < kFileCols; ++c) {
      std::wstring field = rng.Chance(66) ? RandomText(rng) : L"";
      for (wchar_t& ch : field) ch = ch == L'\t' ? L' ' : ch;
      fields.push_back(Utf8(field));
      text += (c ? "\t" : "") + fields.back();
    }
    text += "\r\n";
  }
  FILE* f = std::fopen(file, "wb");
  if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) return false;
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::strcpy(std::strrchr(exe, '\\') + 1, "grid_example.exe");
  const std::string quoted = std::string("\"") + file + "\"";
  if (!celdra_.StartProgram(exe, quoted.c_str(), "GridExample", nullptr)) return false;
  unchanged_ = Cells();
  DeleteFileA(file);
  for (size_t i = 0; i < fields.size(); ++i) {
    if (unchanged_[i] != fields[i]) {
      Fail("the editor loaded cell " + std::to_string(i) + " as \"" + unchanged_[i] + "\"");
      return false;
    }
  }
  return true;
}

// Every cell of the file's, row by row.
std::vector<std::string> Soak::Cells() {
  std::vector<std::string> cells;
  HWND grid = Grid();
  for (UINT r = 1; r <= kFileRows; ++r) {
    for (UINT c = 1; c <= kFileCols; ++c) cells.push_back(celdra_.CellText(grid, c, r));
  }
  return cells;
}

// Undo until nothing is left: the cells as before the first step; redo
// them all: the cells as before the undos. The history then starts again,
// so that a long run stays within its bound.
void Soak::CheckHistory() {
  HWND grid = Grid();
  Ask(grid, GM_ENDEDIT, FALSE);  // an edit still open, cancelled
  const std::vector<std::string> changed = Cells();
  auto compare = [&](const std::vector<std::string>& expected, const char* when) {
    const std::vector<std::string> seen = Cells();
    for (size_t i = 0; i < seen.size(); ++i) {
      if (seen[i] == expected[i]) continue;
      Fail(std::string(when) + ": cell " + std::to_string(i % kFileCols + 1) + "," + std::to_string(i / kFileCols + 1) +
           " holds \"" + seen[i] + "\", not \"" + expected[i] + "\"");
      return;
    }
  };
  int undone = 0, redone = 0;
  while (Ask(grid, GM_UNDO) && undone < 2000) ++undone;
  compare(unchanged_, "all undone");
  while (Ask(grid, GM_REDO) && redone < 2000) ++redone;
  if (redone != undone) Fail(std::to_string(undone) + " steps undone, " + std::to_string(redone) + " redone");
  compare(changed, "all redone");
  Log("history: %d steps undone and redone, the cells as they were each time", undone);
  Ask(grid, GM_EMPTYUNDO);
  unchanged_ = changed;
}

// Characters typed into a cell, the editor opened by the first of them or
// by F2, and ended by Enter, Tab, Shift+Enter, Escape or not at all.
void Soak::TypeInCell(Rng& rng) {
  const std::wstring text = RandomText(rng);
  const bool f2 = rng.Chance(40);
  static const WORD kEnds[] = {VK_RETURN, VK_TAB, VK_RETURN, VK_ESCAPE, 0};
  const WORD end = kEnds[rng.Below(5)];
  const bool shift = rng.Chance(20);
  Log("type %zu characters%s, then %s%s", text.size(), f2 ? " after F2" : "", shift && end ? "Shift+" : "",
      end == VK_RETURN ? "Enter" : end == VK_TAB ? "Tab" : end == VK_ESCAPE ? "Escape" : "nothing");
  if (f2) input::Tap(VK_F2, 60);
  input::TypeUnicode(text.c_str(), 2);
  input::Settle(60);
  if (!end) return;
  if (shift) input::Key(VK_SHIFT, true, 10);
  input::Tap(end, 60);
  if (shift) input::Key(VK_SHIFT, false, 30);
}

// One to three of the sheet's chords: Ctrl+arrows and Ctrl+Home/End,
// select all, the clipboard keys, Delete, undo and redo.
void Soak::SheetKeys(Rng& rng) {
  struct Chord {
    const char* name;
    WORD first, second, key;
  };
  static const Chord kChords[] = {
      {"Ctrl+Right", VK_CONTROL, 0, VK_RIGHT},          {"Ctrl+Down", VK_CONTROL, 0, VK_DOWN},
      {"Ctrl+Left", VK_CONTROL, 0, VK_LEFT},            {"Ctrl+Up", VK_CONTROL, 0, VK_UP},
      {"Ctrl+Home", VK_CONTROL, 0, VK_HOME},            {"Ctrl+End", VK_CONTROL, 0, VK_END},
      {"Ctrl+Shift+End", VK_CONTROL, VK_SHIFT, VK_END}, {"Shift+Page Down", VK_SHIFT, 0, VK_NEXT},
      {"Ctrl+A", VK_CONTROL, 0, 'A'},                   {"Ctrl+C", VK_CONTROL, 0, 'C'},
      {"Ctrl+Insert", VK_CONTROL, 0, VK_INSERT},        {"Ctrl+X", VK_CONTROL, 0, 'X'},
      {"Shift+Delete", VK_SHIFT, 0, VK_DELETE},         {"Ctrl+V", VK_CONTROL, 0, 'V'},
      {"Shift+Insert", VK_SHIFT, 0, VK_INSERT},         {"Delete", 0, 0, VK_DELETE},
      {"Ctrl+Z", VK_CONTROL, 0, 'Z'},                   {"Ctrl+Z", VK_CONTROL, 0, 'Z'},
      {"Ctrl+Y", VK_CONTROL, 0, 'Y'},                   {"Ctrl+Shift+Z", VK_CONTROL, VK_SHIFT, 'Z'},
  };
  std::string names;
  std::vector<const Chord*> chords;
  for (int i = rng.Between(1, 3); i > 0; --i) {
    chords.push_back(&kChords[rng.Below(static_cast<int>(std::size(kChords)))]);
    names += std::string(chords.back()->name) + " ";
  }
  Log("sheet keys: %s", names.c_str());
  for (const Chord* c : chords) {
    if (c->first) input::Key(c->first, true, 10);
    if (c->second) input::Key(c->second, true, 10);
    input::Tap(c->key, 60);
    if (c->second) input::Key(c->second, false, 10);
    if (c->first) input::Key(c->first, false, 30);
  }
}

// The frame maximised, restored, or sized from its system menu with the
// arrow keys, as a person without a mouse sizes it.
void Soak::ResizeFrame(Rng& rng) {
  const int what = rng.Below(3);
  const WORD arrow = rng.Chance(50) ? VK_LEFT : VK_UP;
  const int steps = rng.Between(1, 12);
  const bool grow = rng.Chance(50);
  Log("frame: %s", what == 0 ? "maximise" : what == 1 ? "restore" : grow ? "size, larger" : "size, smaller");
  input::Key(VK_MENU, true);
  input::Tap(VK_SPACE, 100);
  input::Key(VK_MENU, false, 200);
  input::Tap(what == 0 ? 'X' : what == 1 ? 'R' : 'S', 300);
  if (what < 2) return;
  input::Tap(arrow == VK_LEFT ? VK_RIGHT : VK_DOWN, 40);  // takes the right or the bottom edge
  for (int i = 0; i < steps; ++i) input::Tap(grow ? (arrow == VK_LEFT ? VK_RIGHT : VK_DOWN) : arrow, 30);
  input::Tap(VK_RETURN, 300);
}

// ---- Answering Celdra --------------------------------------------------------

void Soak::ClickControl(HWND dialog, int id, DWORD settleMs) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return;
  RECT r;
  GetClientRect(control, &r);
  x11::MoveTo(control, r.right / 2, r.bottom / 2);
  x11::Click(settleMs);
}

void Soak::TypeInto(HWND field, const std::string& text) {
  RECT r;
  GetClientRect(field, &r);
  x11::MoveTo(field, r.right / 2, r.bottom / 2);
  x11::DoubleClick(60);  // selects what is there
  input::Tap(VK_END, 20);
  input::Key(VK_SHIFT, true, 5);
  input::Tap(VK_HOME, 20);
  input::Key(VK_SHIFT, false, 5);
  input::Tap(VK_DELETE, 20);
  input::Type(text.c_str(), 15);
}

// Good numbers and bad ones, answered with OK or Cancel, by mouse or keys.
void Soak::AnswerFormatDialog(HWND dialog, Rng& rng) {
  const bool rows = GetDlgItem(dialog, 1014) != nullptr;
  const int countField = rows ? 1014 : 1008, sizeField = rows ? 1015 : 1009;
  const int ok = rows ? 1016 : 1010, cancel = rows ? 1012 : 1011;
  static const char* kBadCounts[] = {"0", "1", "2", "255", "16383", "99999", ""};
  const bool goodCount = rng.Chance(70), goodSize = rng.Chance(80);
  const int bad = rng.Below(static_cast<int>(std::size(kBadCounts)));
  const int count = rows ? rng.Between(3, 300) : rng.Between(3, 40);
  const int size = rng.Between(8, 120);
  const int answer = rng.Below(4);  // OK, Cancel, Enter, Escape
  const bool changeCount = rng.Chance(60), changeSize = rng.Chance(50);
  std::string c = goodCount ? std::to_string(count) : kBadCounts[bad];
  std::string s = goodSize ? std::to_string(size) : (rng.Chance(50) ? "0" : "99999");
  if (!rows && !goodCount && c == "16383") c = "255";
  Log("  %s dialog: count %s, size %s, %s", rows ? "Rows" : "Columns", changeCount ? ("\"" + c + "\"").c_str() : "as it is",
      changeSize ? ("\"" + s + "\"").c_str() : "as it is",
      answer == 0 ? "OK" : answer == 1 ? "Cancel" : answer == 2 ? "Enter" : "Escape");
  if (changeCount) TypeInto(GetDlgItem(dialog, countField), c);
  if (changeSize) TypeInto(GetDlgItem(dialog, sizeField), s);
  switch (answer) {
    case 0: ClickControl(dialog, ok, 600); break;
    case 1: ClickControl(dialog, cancel, 400); break;
    case 2: input::Tap(VK_RETURN, 400); break;
    default: input::Tap(VK_ESCAPE, 400); break;
  }
}

// Answers one window of Celdra's; false when it is none of those Celdra
// shows of its own accord.
bool Soak::Answer(HWND window, Rng& rng) {
  char cls[64] = {}, caption[256] = {};
  GetClassNameA(window, cls, sizeof cls);
  GetWindowTextA(window, caption, sizeof caption);
  if (std::strcmp(cls, "#32768") == 0) {  // a menu left open
    input::Tap(VK_ESCAPE, 100);
    input::Tap(VK_ESCAPE, 100);
    return true;
  }
  if (std::strcmp(cls, "tooltips_class32") == 0) return true;  // the toolbar's tips, an edit's balloon
  if (std::strcmp(cls, "#32770") != 0) return false;
  const std::string texts = remote::Celdra::StaticTexts(window);
  if (options_.editor && std::strcmp(caption, "Latticor") == 0) {  // the grid refuses a paste by keys
    Log("  the grid says \"%s\": OK", texts.substr(0, 40).c_str());
    ClickControl(window, IDOK, 300);
    return true;
  }
  if (std::strcmp(caption, "Celdra") == 0) {
    if (GetDlgItem(window, 1008) || GetDlgItem(window, 1014)) {
      AnswerFormatDialog(window, rng);
      return true;
    }
    if (texts == "Do you want to save the changes ?") {
      const int answers[] = {IDYES, IDNO, IDNO, IDCANCEL};
      const int a = answers[rng.Below(4)];
      Log("  the save question: %s", a == IDYES ? "Yes" : a == IDNO ? "No" : "Cancel");
      ClickControl(window, a, 400);
      return true;
    }
    if (texts == "This does not works for now" || texts.rfind("The maximum number of", 0) == 0) {
      Log("  Celdra says \"%s\": OK", texts.substr(0, 40).c_str());
      ClickControl(window, IDOK, 400);
      return true;
    }
    return false;
  }
  if (std::strcmp(caption, "About Celdra") == 0) {
    const bool escapeFirst = rng.Chance(30);
    Log("  About: %sOK", escapeFirst ? "Escape (which does nothing), then " : "");
    if (escapeFirst) input::Tap(VK_ESCAPE, 100);
    ClickControl(window, 1017, 400);
    return true;
  }
  if (std::strncmp(caption, "About Wine", 10) == 0) {  // the system menu's own item under Wine
    Log("  Wine's About box (its system menu item): OK");
    ClickControl(window, IDOK, 400);
    return true;
  }
  if (GetDlgItem(window, IDOK) && GetDlgItem(window, IDCANCEL) && !texts.empty() &&
      std::strstr(caption, "Colo") != nullptr) {  // the colour chooser
    const bool ok = rng.Chance(60);
    Log("  colour chooser: %s", ok ? "OK" : "Cancel");
    ClickControl(window, ok ? IDOK : IDCANCEL, 400);
    return true;
  }
  return false;
}

void Soak::Respond(Rng& rng) {
  int round = 0;
  for (; round < 12; ++round) {
    const std::vector<HWND> windows = OwnTopLevelWindows();
    bool answered = false;
    for (HWND w : windows) {
      if (!IsWindow(w) || !IsWindowVisible(w)) continue;
      char cls[64] = {};
      GetClassNameA(w, cls, sizeof cls);
      if (std::strcmp(cls, "tooltips_class32") == 0) continue;
      if (!Answer(w, rng)) {
        char caption[256] = {};
        GetWindowTextA(w, caption, sizeof caption);
        Fail(std::string("an unexpected window \"") + caption + "\" (" + cls + "): " +
             remote::Celdra::StaticTexts(w));
        PostMessageA(w, WM_CLOSE, 0, 0);
        input::Settle(300);
      }
      answered = true;
      break;  // the windows change with every answer
    }
    if (!answered) break;
    if (!Alive()) return;
  }
  if (round == 12) {
    Fail("Celdra's dialogs kept coming back");
    return;
  }
  // A menu bar still in its loop (a click between its items, a popup not
  // shown yet) holds the capture as it should: leave it as a person would.
  for (int tries = 0; tries < 3 && celdra_.InMenu(); ++tries) {
    Log("  a menu is still open: Escape");
    input::Tap(VK_ESCAPE, 150);
  }
}

// ---- Watching ----------------------------------------------------------------

void Soak::Log(const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  std::printf("#%d %s\n", action_, line);
  std::fflush(stdout);
}

void Soak::Fail(const std::string& what) {
  const std::string line = "action #" + std::to_string(action_) + ": " + what;
  std::printf("FAILURE %s\n", line.c_str());
  std::fflush(stdout);
  failures_.push_back(line);
}

bool Soak::Alive() {
  if (!IsWindow(celdra_.frame())) WaitForSingleObject(celdra_.process(), 5000);  // on its way out
  if (WaitForSingleObject(celdra_.process(), 0) == WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(celdra_.process(), &code);
    if (code == 0 && inMenu_) {
      Log("Celdra ended cleanly after a menu command (File, Exit asks nothing): the session ends here");
      exited_ = true;
      return false;
    }
    char text[64];
    std::snprintf(text, sizeof text, "Celdra ended (exit code 0x%lx)", code);
    Fail(text);
    return false;
  }
  DWORD_PTR result;
  if (!SendMessageTimeoutA(celdra_.frame(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, &result)) {
    Fail("Celdra hangs: its frame did not answer WM_NULL within 5 s");
    return false;
  }
  return true;
}

// Loads soak_probe.dll into Celdra and finds its counter there.
bool Soak::StartProbe() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::strcpy(std::strrchr(path, '\\') + 1, "soak_probe.dll");
  HMODULE here = LoadLibraryA(path);
  FARPROC counter = here ? GetProcAddress(here, "FreeGdiSlots") : nullptr;
  if (!counter) return false;
  const auto offset = reinterpret_cast<ULONG_PTR>(reinterpret_cast<void*>(counter)) - reinterpret_cast<ULONG_PTR>(here);
  void* there = VirtualAllocEx(celdra_.process(), nullptr, sizeof path, MEM_COMMIT, PAGE_READWRITE);
  WriteProcessMemory(celdra_.process(), there, path, sizeof path, nullptr);
  auto* load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
  HANDLE thread = CreateRemoteThread(celdra_.process(), nullptr, 0, load, there, 0, nullptr);
  if (!thread) return false;
  WaitForSingleObject(thread, 30000);
  CloseHandle(thread);
  VirtualFreeEx(celdra_.process(), there, 0, MEM_RELEASE);
  HMODULE modules[512];
  DWORD bytes = 0;
  EnumProcessModules(celdra_.process(), modules, sizeof modules, &bytes);
  for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
    char name[MAX_PATH] = {};
    GetModuleBaseNameA(celdra_.process(), modules[i], name, MAX_PATH);
    if (lstrcmpiA(name, "soak_probe.dll") == 0) {
      probe_ = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<ULONG_PTR>(modules[i]) + offset);
      return true;
    }
  }
  return false;
}

int Soak::FreeGdi() {
  HANDLE thread = CreateRemoteThread(celdra_.process(), nullptr, 0, probe_, nullptr, 0, nullptr);
  if (!thread) return -1;
  DWORD slots = 0;
  const bool done = WaitForSingleObject(thread, 30000) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &slots);
  CloseHandle(thread);
  return done ? static_cast<int>(slots) : -1;
}

Sample Soak::Take() {
  Sample s{GetTickCount() - start_, action_, 0, 0, 0, 0, FreeGdi()};
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(celdra_.process(), &counters, sizeof counters);
  s.memory = counters.PagefileUsage;
  WindowCount count{GetProcessId(celdra_.process()), 0};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
  s.windows = count.windows;
  for (HWND doc : Documents()) {
    ++s.documents;
    HWND grid = celdra_.GridOf(doc);
    s.cells += static_cast<double>(Ask(grid, GM_GETCOLCOUNT)) * static_cast<double>(Ask(grid, GM_GETROWCOUNT));
  }
  return s;
}

void Soak::Report(const Sample& s) {
  std::printf("[sample] %3lu s: %d actions, memory %.1f MB, %d windows, %d documents (%.0f cells), %d GDI slots free\n",
              s.ms / 1000, s.actions, s.memory / 1048576.0, s.windows, s.documents, s.cells, s.freeGdi);
  std::fflush(stdout);
}

void Soak::CheckGrowth(const Sample& first, const Sample& last, int gdiAllowed) {
  const double memory = (static_cast<double>(last.memory) - kMemoryPerCell * last.cells) -
                        (static_cast<double>(first.memory) - kMemoryPerCell * first.cells);
  if (memory > kMemoryGrowth) {
    Fail("memory grew by " + std::to_string(static_cast<long>(memory / 1024)) + " kB beyond the open grids' cells");
  }
  const int windows = (last.windows - kWindowsPerDocument * last.documents) -
                      (first.windows - kWindowsPerDocument * first.documents);
  if (windows > kWindowGrowth) Fail(std::to_string(windows) + " more windows than the open documents account for");
  const int gdi = (first.freeGdi - last.freeGdi) - kGdiPerDocument * (last.documents - first.documents);
  if (first.freeGdi < 0 || last.freeGdi < 0) {
    Fail("the GDI objects could not be counted");
  } else if (gdi > gdiAllowed) {
    Fail(std::to_string(gdi) + " more GDI objects than the open documents account for, from " +
         std::to_string(first.ms / 1000) + " s");
  }
}

// One line a minute (every other sample, and the last): the actions in it
// and where memory, windows and GDI objects stood at its end.
void Soak::WriteTable() {
  if (!options_.table) return;
  FILE* f = std::fopen(options_.table, "w");
  if (!f) return;
  std::fprintf(f, "seed %u, %d s, %d actions\n\n", options_.seed, options_.seconds, action_);
  std::fprintf(f, "| minute | actions | memory (MB) | windows | documents | cells | GDI objects (more than at start) |\n");
  std::fprintf(f, "|---|---|---|---|---|---|---|\n");
  size_t previous = 0;
  for (size_t i = 2; i < samples_.size(); i += 2) {
    if (i + 2 >= samples_.size()) i = samples_.size() - 1;
    const Sample& s = samples_[i];
    std::fprintf(f, "| %.1f | %d | %.1f | %d | %d | %.0f | %d |\n", s.ms / 60000.0, s.actions - samples_[previous].actions,
                 s.memory / 1048576.0, s.windows, s.documents, s.cells, samples_.front().freeGdi - s.freeGdi);
    previous = i;
  }
  std::fclose(f);
}

bool Soak::Run() {
  static const Weighted kActions[] = {
      {"new document", &Soak::NewDocument, 5},     {"close document", &Soak::CloseDocument, 3},
      {"click", &Soak::ClickCell, 14},             {"edit", &Soak::EditCell, 8},
      {"drag", &Soak::DragInside, 7},              {"drag past an edge", &Soak::DragPastEdge, 8},
      {"title edge", &Soak::DragTitleEdge, 5},     {"keys", &Soak::Keys, 10},
      {"wheel", &Soak::Wheel, 5},                  {"scroll bar", &Soak::ScrollBar, 6},
      {"menu by mouse", &Soak::MenuByMouse, 4},    {"menu by keyboard", &Soak::MenuByKeyboard, 4},
      {"format dialog", &Soak::FormatDialog, 5},   {"colour", &Soak::Colour, 3},
      {"about", &Soak::About, 2},                  {"window state", &Soak::WindowState, 4},
  };
  static const Weighted kEditorActions[] = {
      {"click", &Soak::ClickCell, 10},         {"type", &Soak::TypeInCell, 16},
      {"edit", &Soak::EditCell, 8},            {"sheet keys", &Soak::SheetKeys, 16},
      {"keys", &Soak::Keys, 10},               {"drag", &Soak::DragInside, 6},
      {"title edge", &Soak::DragTitleEdge, 4}, {"wheel", &Soak::Wheel, 5},
      {"scroll bar", &Soak::ScrollBar, 5},     {"frame size", &Soak::ResizeFrame, 3},
  };
  const Weighted* actions = options_.editor ? kEditorActions : kActions;
  const size_t actionCount = options_.editor ? std::size(kEditorActions) : std::size(kActions);
  int totalWeight = 0;
  for (size_t i = 0; i < actionCount; ++i) totalWeight += actions[i].weight;

  if (!x11::Available()) {
    Fail("xdotool is missing (scripts/setup installs it)");
    return false;
  }
  if (options_.editor ? !StartEditor() : !celdra_.Start()) {
    Fail(options_.editor ? "the example editor did not start" : "Celdra did not start");
    return false;
  }
  input::Settle(500);
  if (!StartProbe()) {
    Fail("soak_probe.dll could not be loaded into Celdra");
    return false;
  }
  // The first document fills the system's caches (a few hundred GDI
  // objects under Wine that stay when it closes): the first sample comes
  // after it, so that growth means what the session kept.
  start_ = GetTickCount();
  if (!options_.editor) {
    ++action_;
    Rng warmUp = ActionRng();
    NewDocument(warmUp);
    Respond(warmUp);
    CloseEveryDocument();
  }
  if (!failures_.empty()) return false;
  samples_.push_back(Take());
  Report(samples_.back());
  DWORD nextSample = 30000;
  const DWORD runMs = static_cast<DWORD>(options_.seconds) * 1000;
  while (failures_.empty()) {
    const DWORD now = GetTickCount() - start_;
    if (options_.until ? action_ >= options_.until : now >= runMs) break;
    ++action_;
    Rng rng = ActionRng();
    if (IsIconic(celdra_.frame())) {
      Log("(the frame is minimised: restored as its icon's click would)");
      PostMessageA(celdra_.frame(), WM_SYSCOMMAND, SC_RESTORE, 0);
      input::Settle(300);
    }
    int pick = rng.Below(totalWeight);
    const Weighted* chosen = actions;
    while (pick >= chosen->weight) pick -= (chosen++)->weight;
    inMenu_ = chosen->action == &Soak::MenuByMouse || chosen->action == &Soak::MenuByKeyboard;
    (this->*chosen->action)(rng);
    if (!Alive()) break;
    Respond(rng);
    if (!Alive()) break;
    if (HWND holder = celdra_.Capture()) {
      char cls[64] = {};
      GetClassNameA(holder, cls, sizeof cls);
      Fail(std::string("a window of Celdra (") + cls + ") keeps the mouse capture with the button up");
    }
    if (options_.editor && action_ % 200 == 0) CheckHistory();
    if (GetTickCount() - start_ >= nextSample) {
      samples_.push_back(Take());
      Report(samples_.back());
      nextSample += 30000;
    }
  }
  if (!exited_ && (failures_.empty() || Alive())) {
    Rng last(options_.seed);
    Respond(last);
    if (options_.editor) {
      CheckHistory();
    } else {
      CloseEveryDocument();
    }
    samples_.push_back(Take());
    Report(samples_.back());
    if (failures_.empty()) {
      CheckGrowth(samples_.front(), samples_.back(), kGdiCaches);
      for (size_t i = 1; i + 1 < samples_.size(); ++i) {
        if (samples_[i].ms < kSettledMs || samples_[i].ms < static_cast<DWORD>(options_.seconds) * 500) continue;
        CheckGrowth(samples_[i], samples_.back(), kGdiGrowth);
        break;
      }
    }
  }
  const double minutes = (GetTickCount() - start_) / 60000.0;
  std::printf("%d actions in %.1f minutes: %.0f a minute\n", action_, minutes, action_ / minutes);
  WriteTable();
  celdra_.Kill();
  return failures_.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : "0";
    if (flag == "--editor") options.editor = true;
    else if (flag == "--seconds") options.seconds = std::atoi(value), ++i;
    else if (flag == "--seed") options.seed = static_cast<unsigned>(std::strtoul(value, nullptr, 10)), ++i;
    else if (flag == "--until") options.until = std::atoi(value), ++i;
    else if (flag == "--table") options.table = value, ++i;
  }
  const std::string name = std::string(options.editor ? "Soak.EditorSeed" : "Soak.Seed") +
                           std::to_string(options.seed) + "For" + std::to_string(options.seconds) + "s";
  std::printf("[ RUN      ] %s\n", name.c_str());
  std::fflush(stdout);
  const DWORD start = GetTickCount();
  const bool ok = Soak(options).Run();
  std::printf("%s %s (%lu ms)\n", ok ? "[       OK ]" : "[  FAILED  ]", name.c_str(), GetTickCount() - start);
  return ok ? 0 : 1;
}
