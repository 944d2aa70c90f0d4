// The grid window's own record, and what every piece of the window layer
// reaches through it: the library's globals, the record in the window's
// slot, the handlers' shape and the heap that every block comes from.
#pragma once

#include <windows.h>

#include "core/edit.h"
#include "core/grid_state.h"

namespace latticor::win32 {

struct AccessLink;

// The in-place editor. Its window is made at the first edit and kept,
// hidden, between edits.
struct EditSession {
  HWND window;     // the EDIT child, or null before the first edit
  DWORD align;     // its ES_ alignment
  HFONT font;      // the font it was given
  bool open;       // an edit is open in it
  bool focused;    // it has the keyboard focus
  bool beginning;  // between GN_BEGINEDIT and the editor showing
  bool ending;     // a commit or cancel is under way
  uint32_t col, row;
  EditStart start;
  char* initial;   // the text the edit opened with (a block of the grid's heap)
  UINT codePage;   // in which the cell's bytes are the editor's characters; 0 until needed
  RECT placed;     // where the editor was put, in the grid's client area
  Rect shown;      // the part of it that shows
  bool clipped;    // a window region keeps it to that part
  // The bytes of a character typed one WM_CHAR a byte at a time.
  unsigned char typed[4];
  uint32_t typedCount;
};

// One per grid window, in slot 0 of its extra bytes: the core's state and
// what only the window layer holds.
struct GridWindow {
  GridState state;
  // A device context of the window, taken at creation and kept for its
  // life: the highlight and the resize guide line are drawn into it outside
  // painting.
  HDC dc;
  AccessLink* accessLink;  // what accessible objects hold of this grid, or null
  EditSession edit;
};

// The grid's record, or null before WM_CREATE has made it and after
// WM_DESTROY has freed it. Anything that sends a notification fetches it
// again afterwards: the parent may have changed or destroyed the grid.
GridWindow* WindowOf(HWND grid);
inline GridState* StateOf(HWND grid) {
  GridWindow* w = WindowOf(grid);
  return w ? &w->state : nullptr;
}
inline HDC KeptDC(HWND grid) { return WindowOf(grid)->dc; }

// Every message handler has this shape; the dispatcher has found the state.
using Handler = LRESULT (*)(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK GridWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Library-wide values (one set per process).
extern HINSTANCE moduleInstance;
extern HCURSOR colResizeCursor;
extern HCURSOR rowResizeCursor;
extern const char kGridClassName[];

// The timer that a focused grid runs for auto-scrolling, and its period,
// which is also the longest a drag or scroll step waits for the next
// message. While the grid's own editor has the focus the timer goes on, as
// if the grid still had it.
constexpr UINT kAutoScrollTimer = 1;
constexpr UINT kAutoScrollPeriodMs = 70;

// The global heap, as every grid's BlockAllocator.
BlockAllocator& GlobalHeap();

}  // namespace latticor::win32
