// Moving a grid's text to and from the clipboard, as a host does it: the
// grid never touches the clipboard itself.
#pragma once

#include <windows.h>

namespace celdra {

// The grid's selection onto the clipboard as CF_TEXT and, converted from
// the process's code page, as CF_UNICODETEXT; `owner` owns the clipboard.
// False when the clipboard could not be had.
bool CopyGridSelection(HWND owner, HWND grid);
// The clipboard's text into the grid at its selection: CF_UNICODETEXT
// converted to the process's code page, or else CF_TEXT. False when the
// clipboard holds no text (the grid is then not asked at all).
bool PasteIntoGrid(HWND owner, HWND grid);

}  // namespace celdra
