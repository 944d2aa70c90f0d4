// Painting the grid.
#include "grid_window.h"

namespace latticor::win32 {

LRESULT OnPaint(HWND grid, GridState&, WPARAM, LPARAM) {
  PAINTSTRUCT ps;
  BeginPaint(grid, &ps);
  return EndPaint(grid, &ps);
}

}  // namespace latticor::win32
