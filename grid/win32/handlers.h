// The message handlers, by the file they live in; the dispatch table in
// window.cpp routes each message to one of them.
#pragma once

#include "window.h"

namespace latticor::win32 {

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

// A move to a monitor of another DPI (dpi.cpp).
LRESULT OnDpiChangedAfterParent(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);

// Painting (paint.cpp).
LRESULT OnPaint(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);

// The mouse (mouse.cpp).
LRESULT OnLButtonDown(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnLButtonUp(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnCaptureChanged(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnMouseMove(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnLButtonDblClk(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
// A press whose release was lost (the button is up) ends as the release
// would have ended it; whether it did.
bool EndPressIfButtonUp(HWND grid, GridState& s);

// Keys (keys.cpp).
LRESULT OnKeyDown(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);

// Scrolling (scroll.cpp).
LRESULT OnTimer(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnHScroll(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnVScroll(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnMouseWheel(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetFirstCol(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetFirstRow(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);

// The grid's shape (dimensions.cpp).
LRESULT OnSetColCount(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetRowCount(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnInsertRow(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnDeleteRow(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);

// Tab-separated text (clip_text.cpp).
LRESULT OnCopySel(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnPaste(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetCopySize(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);

// Printing (print.cpp).
LRESULT OnPrint(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);

// The in-place editor and the extended styles (edit.cpp).
LRESULT OnChar(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnEditCell(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnEndEdit(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetEditWindow(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnSetExStyle(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnGetExStyle(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);

// The history of the user's changes (undo.cpp).
LRESULT OnUndo(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnRedo(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnCanUndo(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
LRESULT OnEmptyUndo(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);
// A change made by a message: undo must never write into a grid the
// program has rearranged or rewritten since.
void ForgetHistory(GridState& s);

// Screen readers (access/access.cpp).
LRESULT OnGetObject(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);

}  // namespace latticor::win32
