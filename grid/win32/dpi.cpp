// The window's DPI, and WM_DPICHANGED_AFTERPARENT: the grid's own sizes and
// every column width and row height follow the window to a monitor of
// another DPI. The font is the parent's to send.
#include "dpi.h"

#include "core/dpi.h"
#include "handlers.h"
#include "paint.h"
#include "scroll.h"

namespace latticor::win32 {

uint32_t ShownDpi(HWND hwnd) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  return getDpiForWindow ? getDpiForWindow(hwnd) : 0;
}

uint32_t WindowDpi(HWND hwnd) {
  const uint32_t dpi = ShownDpi(hwnd);
  return dpi ? dpi : kBaseDpi;
}

LRESULT OnDpiChangedAfterParent(HWND grid, GridState& s, WPARAM, LPARAM) {
  if (!ChangeDpi(s, WindowDpi(grid))) return 0;
  SetScrollBar(grid, SB_VERT, s.rowCount, s.firstRow);
  SetScrollBar(grid, SB_HORZ, s.colCount, s.firstCol);
  InvalidateAll(grid, TRUE);
  return 0;
}

}  // namespace latticor::win32
