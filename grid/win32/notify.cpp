// Talking to the parent, and to the user when a message is refused.
#include "notify.h"

#include "latticor.h"

namespace latticor::win32 {

const char kBadColumnText[] = "Invalid number of column.";
const char kBadRowText[] = "Invalid number of row.";
const char kBadColCountText[] = "The maximum number of cols is 254\r\nand the minimum is 2.";
const char kBadRowCountText[] = "The maximum number of rows is 16382\r\nand the minimum is 2.";
// The user sees these words exactly as they have always read, misspelling
// ("thinks") and missing spaces included: programs and their tests match them.
const char kPasteRefusal[] =
    "The selected range is not the same as the copied is.\r\n"
    "You can do two thinks:\r\n"
    "\r\n"
    "1. Select a range with the same dimensions as the copied range.\r\n"
    "2. Select one cell only and paste.In this case,take care to make\r\n"
    "    sufficient room right and down of selected cell.";
const char kUnreadableClipboardText[] = "The clipboard holds a text that cannot be read.";

WPARAM ControlId(HWND grid) {
  return static_cast<WPARAM>(GetWindowLongPtrA(grid, GWLP_ID));
}

LRESULT SendNotification(HWND grid, UINT code, LPARAM lParam) {
  return SendMessageA(GetParent(grid), code, ControlId(grid), lParam);
}

void PostNotification(HWND grid, UINT code, WPARAM wParam, LPARAM lParam) {
  PostMessageA(GetParent(grid), code, wParam, lParam);
}

WPARAM MouseWord(HWND grid, WPARAM mouseWParam) {
  return MAKEWPARAM(LOWORD(mouseWParam), LOWORD(ControlId(grid)));
}

LRESULT Refuse(HWND grid, UINT msg, const char* text, UINT icon) {
  if (GetWindowLongPtrA(grid, GWL_STYLE) & GS_NOREFUSALBOX) {
    SendNotification(grid, GN_REFUSED, msg);
    return 0;
  }
  return MessageBoxA(nullptr, text, "Latticor", MB_OK | icon);
}

}  // namespace latticor::win32
