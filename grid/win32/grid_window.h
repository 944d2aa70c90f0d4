// What the pieces of the grid's Win32 layer share with each other.
#pragma once

#include <windows.h>

#include "axis.h"
#include "grid_state.h"
#include "latticor.h"

namespace latticor::win32 {

// Library-wide values (one set per process).
extern HINSTANCE moduleInstance;
extern HCURSOR colResizeCursor;
extern HCURSOR rowResizeCursor;
extern const char kGridClassName[];

LRESULT CALLBACK GridWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The grid's state, or null before WM_CREATE has made it and after
// WM_DESTROY has freed it. Anything that sends a notification fetches it
// again afterwards: the parent may have changed or destroyed the grid.
GridState* StateOf(HWND grid);

// Every message handler has this shape; the dispatcher has found the state.
using Handler = LRESULT (*)(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);

// Notifications to the parent. Sent ones carry the control identifier in
// wParam; posted ones carry what the caller packs.
LRESULT SendNotification(HWND grid, UINT code, LPARAM lParam = 0);
void PostNotification(HWND grid, UINT code, WPARAM wParam, LPARAM lParam);
// The identifier the grid was created with, whole.
WPARAM ControlId(HWND grid);
// MAKEWPARAM(MK_* flags of a mouse message, low word of the control id):
// on 64-bit Windows the upper half is 0 whatever the identifier.
WPARAM MouseWord(HWND grid, WPARAM mouseWParam);

// Every refusal of a message `msg` goes through here: by default a message
// box with no owner and the caption "Latticor", whose answer is the result;
// with GS_NOREFUSALBOX, GN_REFUSED to the parent instead, and 0.
LRESULT Refuse(HWND grid, UINT msg, const char* text, UINT icon = 0);
extern const char kBadColumnText[];
extern const char kBadRowText[];
extern const char kBadColCountText[];
extern const char kBadRowCountText[];

// A scroll bar with the range 1 .. count - 1, page 1, at `position`; a bar
// that allows no scrolling hides.
void SetScrollBar(HWND grid, int bar, uint32_t count, uint32_t position);

// Waits until a message arrives for this thread, or one auto-scroll period
// at most: drags and scrolls are throttled by it, but nothing can block
// the sender of a scroll indefinitely.
void AwaitNextMessage();

// Draws (or, drawn again, removes) the resize guide line at `at`.
void DrawGuideLine(GridState& s, const Axis& a, int32_t at);

// Invalidation that skips the wineserver when nothing on screen changes:
// a rectangle wholly outside the client area repaints nothing.
void InvalidateCells(HWND grid, const GridState& s, const Rect& r, BOOL erase);
void InvalidateAll(HWND grid, BOOL erase);

// wParam and lParam as the 32-bit indices, counts and cell addresses the
// messages speak of. On 64-bit Windows a value that does not fit in 32 bits
// is out of range, as any other out-of-range value is: it becomes
// kOutOfRange rather than wrapping into range.
constexpr uint32_t kOutOfRange = 0xFFFFFFFF;
inline uint32_t Index32(WPARAM v) {
  if constexpr (sizeof v > 4) {
    if (v > kOutOfRange) return kOutOfRange;
  }
  return static_cast<uint32_t>(v);
}
// A size in lParam, not negative: beyond 32 bits (64-bit) as large as a
// size can be.
inline int32_t Size32(LPARAM v) {
  if constexpr (sizeof v > 4) {
    if (v > INT32_MAX) return INT32_MAX;
  }
  return static_cast<int32_t>(v);
}
// GRID_CELL(column, row); anything in the upper half (64-bit) addresses no
// cell.
struct CellAddress {
  uint32_t col, row;
};
inline CellAddress CellOf(WPARAM address) {
  if (Index32(address) != address) return CellAddress{kOutOfRange, kOutOfRange};
  return CellAddress{LOWORD(address), HIWORD(address)};
}

inline RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

// Setting and query messages (messages.cpp).
LRESULT OnSetGridColor(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetGridColor(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetBkColor(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetBkColor(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetCurCol(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetCurCol(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetCurRow(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetCurRow(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetColCount(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetRowCount(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetColWidth(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetColWidth(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetRowHeight(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetRowHeight(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetSelEndCol(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetSelEndCol(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetSelEndRow(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetSelEndRow(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetFirstCol(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetFirstRow(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetCellFont(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetCellFont(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetCellColor(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetCellColor(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetCellFormat(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetCellFormat(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetCellText(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetCellText(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnEnableResize(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnEnableSelect(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSumColWidths(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSumRowHeights(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetCurCell(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetLastCol(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetLastRow(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetCellTextLength(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetCellTextN(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);

// What the texts of one paint have set in its device context, so that cells
// sharing a font and a colour set them once. `font` is the font in effect
// for the next text: a cell without a font of its own keeps it, as
// SelectObject(dc, nullptr) would.
struct TextState {
  HGDIOBJ font;              // in effect
  HGDIOBJ selected = font;   // held by the device context
  UINT codePage = 0;         // of `selected`; 0 until asked
  COLORREF color = 0;
  bool colorSet = false;
  void Follow(const GridCell& cell) {
    if (cell.cellFont) font = static_cast<HGDIOBJ>(cell.cellFont);
  }
  // Sets the colour of the text drawn last, when it differs.
  void SetColor(HDC dc, COLORREF c);
};

// A cell's text in its own font (a cell without one keeps whatever font is
// selected), colour and layout flags; its bytes read as text.h says. With
// `known`, what the device context holds already is not set again: every
// font passed on is then a font or null.
void DrawCellText(HDC dc, const GridCell& cell, RECT r, TextState* known = nullptr);
// The whole drawing, into a paint's device context.
void PaintGrid(HWND grid, HDC dc);
// Takes the highlight off the screen and shows the anchor cell alone as
// selected: `focusRect` is kept out, `selRect` inverted, then both set to
// the anchor's.
void InvertFocusCell(HWND grid, GridState& s);
// The same, but showing `next` (unclipped) as the selection around the
// anchor.
void ReplaceHighlight(HWND grid, GridState& s, const Rect& next);
// Changes the highlight from `shown` to `next` (both clipped to `clip`) by
// inverting only what differs; `shown` ends equal to `next`.
void UpdateSelectionInversion(HDC dc, Rect& shown, Rect& next, const Rect& clip);

// Handlers that live in their own files.
LRESULT OnPaint(HWND grid, GridState& s, WPARAM, LPARAM);
LRESULT OnLButtonDown(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnLButtonUp(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnCaptureChanged(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnMouseMove(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnLButtonDblClk(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnKeyDown(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnTimer(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
// A press whose release was lost (the button is up) ends as the release
// would have ended it; whether it did.
bool EndPressIfButtonUp(HWND grid, GridState& s);
LRESULT OnHScroll(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnVScroll(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnMouseWheel(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetFirstCol(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetFirstRow(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetColCount(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetRowCount(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnInsertRow(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnDeleteRow(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnCopySel(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnPaste(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetCopySize(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnPrint(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);

// The global heap, as every grid's BlockAllocator.
BlockAllocator& GlobalHeap();

}  // namespace latticor::win32
