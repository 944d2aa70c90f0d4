// The dotted guide line a column or row resize draws while it is dragged.
#include "grid_window.h"

namespace latticor::win32 {

void DrawGuideLine(GridState& s, const Axis& a, int32_t at) {
  HDC dc = static_cast<HDC>(s.hdc);
  SaveDC(dc);
  HPEN pen = CreatePen(PS_DOT, 1, s.gridColor);
  HGDIOBJ old = SelectObject(dc, pen);
  SetROP2(dc, R2_NOTXORPEN);  // drawn twice, the pixels come back
  if (a.vertical) {
    MoveToEx(dc, 0, at, nullptr);
    LineTo(dc, s.viewRect.right, at);
  } else {
    MoveToEx(dc, at, 0, nullptr);
    LineTo(dc, at, s.viewRect.bottom);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
  RestoreDC(dc, -1);
}

}  // namespace latticor::win32
