// The in-place editor: a standard EDIT child laid over the cell being
// edited, opened by GM_EDITCELL or, with GS_EX_EDIT, by the user, and ended
// by a commit or a cancel. The parent hears GN_BEGINEDIT before it opens and
// GN_ENDEDIT once it has gone.
#pragma once

#include <windows.h>

#include "core/edit.h"
#include "window.h"

namespace latticor::win32 {

// Opens the editor over data cell (col, row) with `text` (null: the cell's
// own): the cell becomes current and scrolls into view, GN_BEGINEDIT may
// refuse, then the editor shows with the focus and the caret after the
// text. An edit already open is committed first. The editor, or null when
// none opened.
HWND BeginEdit(HWND grid, uint32_t col, uint32_t row, const char* text, EditStart start);

// Ends the open edit: a commit stores the editor's text unless the parent
// refuses it in GN_ENDEDIT, a cancel keeps the cell as it is. Whether an
// edit was open.
bool EndEdit(HWND grid, bool commit);

// What an open edit must not outlive (a click, a scroll bar, the messages
// that move the current cell or reshape the grid) commits it first. The
// state afterwards, or null when the parent destroyed the grid.
GridState* CommitFirst(HWND grid);

// A program's text for cell (col, row) wins over an edit open on it, which
// is cancelled. The state afterwards, or null.
GridState* CancelEditOf(HWND grid, uint32_t col, uint32_t row);

// The editor follows its cell as the last layout placed it, shown only
// where the cell is in view.
void PlaceEditor(GridWindow& w);
// The part of the client area the editor covers, which painting leaves to
// it; empty while no editor shows.
Rect EditorArea(const GridWindow& w);

// The window goes: an open edit is dropped, with no notification.
void DropEdit(GridWindow& w);

// A key for a grid with GS_EX_EDIT and no edit open: F2, Backspace and the
// characters it types begin an edit. Whether it began one.
bool BeginEditByKey(HWND grid, GridState& s, WPARAM vk);
// Keys and characters that reach the grid while its edit is open (typed
// before the editor had the focus) go on to the editor; whether they did.
bool ForwardToEditor(HWND grid, UINT msg, WPARAM wParam, LPARAM lParam);

// A value set through a screen reader takes the path of a committed edit:
// GN_BEGINEDIT and GN_ENDEDIT with their vetoes, then the text is stored
// as the user's. Whether it was stored.
bool SetValueAsUser(HWND grid, uint32_t col, uint32_t row, const char* text);

}  // namespace latticor::win32
