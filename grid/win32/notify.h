// Talking to the parent: notifications, and refusals of a message.
#pragma once

#include <windows.h>

namespace latticor::win32 {

// Sent notifications carry the control identifier in wParam; posted ones
// carry what the caller packs.
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
extern const char kPasteRefusal[];
extern const char kUnreadableClipboardText[];

}  // namespace latticor::win32
