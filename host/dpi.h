// Celdra at the DPI of its windows: per-monitor aware by its manifest, it
// draws its fonts, toolbar and editor for the DPI it is shown at, and
// follows the frame to a monitor of another DPI.
#pragma once

#include <windows.h>

namespace celdra {

// GetDpiForWindow where the system has it (loaded at run time); else the
// screen's, as a DC of the window tells it.
UINT DpiOf(HWND hwnd);
// A size drawn for 96 DPI, at `dpi`.
inline int AtDpi(int size, UINT dpi) { return MulDiv(size, static_cast<int>(dpi), 96); }
// A document's font: 14 pixels high at 96 DPI.
HFONT CreateDocumentFont(UINT dpi);
// The toolbar's pictures at `dpi`: at 96, null (the toolbar takes them from
// the resource, as always); else the 16 x 16 pictures scaled by whole
// pixels, never blurred, and centred in images AtDpi(16) square.
HBITMAP ToolbarPictures(UINT dpi);
// WM_DPICHANGED: wParam the new DPI, lParam the suggested frame rectangle.
LRESULT OnDpiChanged(HWND frame, WPARAM wParam, LPARAM lParam);

}  // namespace celdra
