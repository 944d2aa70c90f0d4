// Painting, and what the rest of the window layer asks of it: the
// highlight changed in place, a cell's text drawn anywhere, and
// invalidation.
#pragma once

#include <windows.h>

#include "core/grid_state.h"

namespace latticor::win32 {

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
// The highlight follows the selection as the state now names it.
void FollowSelection(HWND grid, GridState& s);

// A cell's text in its own font (a cell without one keeps whatever font is
// selected), colour and layout flags, its bytes read as text.h says.
void DrawCellText(HDC dc, const GridCell& cell, RECT r);

// Invalidation that skips the wineserver when nothing on screen changes:
// a rectangle wholly outside the client area repaints nothing.
void InvalidateCells(HWND grid, const GridState& s, const Rect& r, BOOL erase);
void InvalidateAll(HWND grid, BOOL erase);

}  // namespace latticor::win32
