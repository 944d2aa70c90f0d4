// Keys: navigation, then the report to the parent.
#include "grid_window.h"

namespace latticor::win32 {

LRESULT OnKeyDown(HWND grid, GridState&, WPARAM wParam, LPARAM) {
  PostNotification(grid, GN_KEYDOWN, wParam, ControlId(grid));
  return TRUE;
}

}  // namespace latticor::win32
