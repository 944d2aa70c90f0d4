// The dotted guide line a column or row resize draws while it is dragged.
#include "resize.h"

#include "gdi.h"
#include "window.h"

namespace latticor::win32 {

void DrawGuideLine(HWND grid, const GridState& s, const Axis& a, int32_t at) {
  HDC dc = KeptDC(grid);
  const int saved = SaveDC(dc);
  {
    const Selected pen(dc, CreatePen(PS_DOT, 1, s.gridColor));
    SetROP2(dc, R2_NOTXORPEN);  // drawn twice, the pixels come back
    if (a.vertical) {
      MoveToEx(dc, 0, at, nullptr);
      LineTo(dc, s.viewRect.right, at);
    } else {
      MoveToEx(dc, at, 0, nullptr);
      LineTo(dc, at, s.viewRect.bottom);
    }
  }
  RestoreDC(dc, saved);
}

}  // namespace latticor::win32
