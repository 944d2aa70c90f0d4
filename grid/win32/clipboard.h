// The clipboard itself, for the keys of GS_EX_SHEETKEYS: the grid puts the
// selection there and reads texts back as a Unicode program does.
#pragma once

#include <windows.h>

#include "core/grid_state.h"

namespace latticor::win32 {

// The selection's text (GM_COPYSEL's) on the clipboard, as CF_UNICODETEXT
// (converted from the process's code page) and as CF_TEXT; whether it got
// there.
bool CopyToClipboard(HWND grid, const GridState& s);

// What a paste reads: the clipboard's text in the process's code page,
// CF_UNICODETEXT preferred, read only within its block (a text without a
// terminator ends where the block ends). `text` is a block of the grid's
// heap for the caller to give back. A text that cannot be had for want of
// memory is kNoMemory, not a fault of the clipboard's.
enum class ClipboardRead { kText, kNoText, kUnreadable, kNoMemory };
ClipboardRead ReadClipboard(HWND grid, char*& text);

}  // namespace latticor::win32
