// Cell texts as they change: the one way a program's text is stored, and
// the one way the user's changes are: recorded for undo, written all or
// nothing, repainted, and told to the parent (GN_CELLSCHANGED).
#pragma once

#include <windows.h>

#include "core/undo.h"

namespace latticor::win32 {

// A program's text for cell (col, row), which exists: the cell is
// repainted and, when a screen reader may hear it, its value change
// announced. False when memory runs out: the old text stays.
bool StoreCellText(HWND grid, GridState& s, uint32_t col, uint32_t row, const char* text);

// The user replaces the block's texts by `after`, whose texts this takes
// over. Nothing happens (and nothing is told) when the cells hold them
// already; false when memory runs out, every cell as it was.
bool ChangeTexts(HWND grid, GridState& s, BlockTexts& after);
// The same for one cell: a committed edit, a value set by a screen reader.
bool StoreUserText(HWND grid, uint32_t col, uint32_t row, const char* text);

// Delete: the selected cells' texts cleared. Cut: copied to the clipboard
// first (a cut whose copy fails clears nothing). Whether texts changed.
bool ClearSelection(HWND grid, GridState& s);
bool CutSelection(HWND grid, GridState& s);
// A paste by keys: the clipboard's text stored by GM_PASTE's rules, refused
// as GM_PASTE refuses (and when the clipboard holds a text that cannot be
// read), as one change of the user's.
void PasteClipboard(HWND grid, GridState& s);

// The texts of `b` changed through the grid: repainted, announced to screen
// readers, told to the parent.
void ShowChangedTexts(HWND grid, GridState& s, const Block& b);

}  // namespace latticor::win32
