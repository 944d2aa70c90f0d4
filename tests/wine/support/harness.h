// What the Windows tests share: the loaded library, a parent window that
// records every notification, message boxes that answer themselves, and
// counters for leaks.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "capture.h"
#include "gdi_slots.h"
#include "latticor.h"
#include "real_input.h"

namespace harness {

// One notification as the parent received it. The records that edits and
// changes carry (GridEdit, GridRange) are read while the notification
// runs, into `what`: "col,row 'text'" (or "col,row null") and
// "colFrom-colTo,rowFrom-rowTo"; their lParam, an address, is kept as 0.
struct Note {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  bool posted;  // arrived through the queue rather than SendMessage
  std::string what;

  bool operator==(const Note& o) const {
    return msg == o.msg && wParam == o.wParam && lParam == o.lParam && posted == o.posted && what == o.what;
  }
};
std::string Describe(const Note& n);
std::string Describe(const std::vector<Note>& notes);
inline Note Sent(UINT msg, WPARAM w, LPARAM l) { return Note{msg, w, l, false, {}}; }
inline Note Posted(UINT msg, WPARAM w, LPARAM l) { return Note{msg, w, l, true, {}}; }
inline Note SentAbout(UINT msg, WPARAM w, std::string what) { return Note{msg, w, 0, false, std::move(what)}; }

// A top-level window that holds grids and records the notifications
// (numbers 1071 to 1091, GN_REFUSED, and 1107 to 1110) they send or post to it. `onNote` runs inside
// the notification, where the grid waits for the answer.
class TestParent {
 public:
  TestParent(int width = 800, int height = 600);
  ~TestParent();
  TestParent(const TestParent&) = delete;
  TestParent& operator=(const TestParent&) = delete;

  HWND hwnd() const { return hwnd_; }
  // A grid child; WS_VISIBLE unless `visible` is false, with the grid's own
  // style bits `gridStyle` (GS_*).
  HWND CreateGrid(UINT id = 7, int x = 0, int y = 0, int width = 400, int height = 300,
                  bool visible = true, DWORD exStyle = 0, DWORD gridStyle = 0);

  std::vector<Note> notes;
  std::function<LRESULT(const Note&)> onNote;
  // Delivers what is queued, then forgets everything recorded so far.
  void Clear();
  // Only the notifications with this number.
  std::vector<Note> Only(UINT msg) const;
  // All but GN_MOUSEMOVE, which the system's own pointer moves cause.
  std::vector<Note> WithoutMoves() const;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK GetMessageHook(int, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  HHOOK hook_ = nullptr;
};

// Delivers whatever is queued for this thread.
void Pump();
// Pumps for `ms` milliseconds (timers and input need time to arrive).
void PumpFor(DWORD ms);

// Resizes a window so that its client area is exactly width x height.
void SizeClient(HWND hwnd, int width, int height);
RECT ClientRect(HWND hwnd);

// While alive, every dialog this thread creates (message boxes included)
// is handed to `onInit` right after its own WM_INITDIALOG, before it shows.
// `onInit` may read it, post it commands or end it.
class DialogWatch {
 public:
  using OnInit = std::function<void(HWND dialog, LPARAM initParam)>;
  explicit DialogWatch(OnInit onInit);
  ~DialogWatch();
  DialogWatch(const DialogWatch&) = delete;
  DialogWatch& operator=(const DialogWatch&) = delete;

 private:
  friend struct DialogWatchHooks;
  OnInit onInit_;
};

// While alive, every message box of this thread is read and answered before
// it shows: with the answers given, in turn, the last one repeating.
class MessageBoxCapture {
 public:
  struct Box {
    std::string caption;
    std::string text;
    UINT style;
    HWND owner;
  };
  explicit MessageBoxCapture(std::initializer_list<int> answers = {IDOK});
  std::vector<Box> boxes;

 private:
  std::vector<int> answers_;
  DialogWatch watch_;
};

// Sends `msg` with `value` to `grid` and checks that the grid refused it
// with one box of its own: `text` under the caption "Latticor", in
// `style`, owned by no window, answered with IDOK.
void ExpectRefusal(HWND grid, UINT msg, WPARAM value, const char* text, UINT style);

// Busy blocks of the process heap, which the global heap draws from.
struct HeapUse {
  size_t blocks;
  size_t bytes;
};
HeapUse ProcessHeapUse();

// The pixels of a window's client area: see capture.h.
using Capture = screen::Capture;
inline COLORREF Inverted(COLORREF c) { return c ^ 0x00FFFFFF; }

// The rectangle in which a grid that is not scrolled draws the text of data
// cell (col, row).
RECT CellTextRect(HWND grid, UINT col, UINT row);

// Draws a cell's text again, as the reference to compare with, into `r`
// with the cell's format; the device context is set up as the grid sets it
// up for that cell.
using RedrawText = std::function<void(HDC dc, UINT col, UINT row, RECT* r, UINT format)>;
struct Comparison {
  int differing;  // pixels that the redrawing changed
  int inked;      // pixels that the grid had drawn in a colour other than the cells' white
};
// Paints the grid, then redraws each of `cells` (x the column, y the row)
// over its text rectangle in the same window — on the cells' white, in the
// cell's own font or else `font` (the grid's), transparent, in the cell's
// colour — and compares the rectangles' pixels. The cells must lie outside
// the selection.
Comparison CompareWithRedrawn(HWND grid, HFONT font, const std::vector<POINT>& cells, const RedrawText& redraw);

// A white 96-dpi page of 600 x 400 pixels in a DIB section: a printer
// whose pixels can be read back.
class Page {
 public:
  Page();
  ~Page();
  Page(const Page&) = delete;
  Page& operator=(const Page&) = delete;
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const;
  // Pixels that are not white in a rectangle.
  int Marked(int left, int top, int right, int bottom) const;

  static constexpr int kWidth = 600, kHeight = 400;

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  unsigned* bits_ = nullptr;
};
// Where the tests leave pictures for people: see capture.h.
using screen::ShotPath;

// Real input: see real_input.h.
namespace input = real_input;


// Grid queries, for brevity.
inline LRESULT Ask(HWND grid, UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendMessageA(grid, msg, w, l); }
std::string CellText(HWND grid, UINT col, UINT row);
// The anchor and the selection's other end, as "col,row-col,row".
std::string SelectionOf(HWND grid);
void SetCellText(HWND grid, UINT col, UINT row, const char* text);

}  // namespace harness
