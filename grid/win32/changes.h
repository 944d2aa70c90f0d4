// Cell texts as they change: the one way a text is stored, whoever stores
// it, and what the parent hears when the user changed texts through the
// grid.
#pragma once

#include <windows.h>

#include "core/selection.h"

namespace latticor::win32 {

// Replaces the text of cell (col, row), which exists, by a copy of `text`:
// the cell is repainted and, when a screen reader may hear it, its value
// change announced. False when memory runs out: the old text stays.
bool StoreCellText(HWND grid, GridState& s, uint32_t col, uint32_t row, const char* text);

// GN_CELLSCHANGED: the user changed the texts of block `b`.
void NotifyCellsChanged(HWND grid, const Block& b);

// The user's text for cell (col, row), as a committed edit stores it: the
// parent hears of it when it differs from what the cell held. False when
// it could not be stored (no such cell, or no memory).
bool StoreUserText(HWND grid, uint32_t col, uint32_t row, const char* text);

}  // namespace latticor::win32
