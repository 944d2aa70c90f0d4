// GM_PRINT: a range of cells on one page of a printer the caller supplies,
// standing where they stand on the screen, at the screen's size times the
// percentage asked for.
#include "core/layout.h"
#include "core/print.h"
#include "dpi.h"
#include "gdi.h"
#include "handlers.h"
#include "latticor.h"
#include "paint.h"
#include "params.h"

namespace latticor::win32 {

namespace {

// The screen side of the scale: the DPI the grid is shown at, where the
// system tells it, so that a grid shown at 192 DPI prints as large as one
// at 96; else the display's.
POINT ScreenResolution(HWND grid) {
  if (const auto dpi = static_cast<LONG>(ShownDpi(grid))) return POINT{dpi, dpi};
  HDC display = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  const POINT dpi{GetDeviceCaps(display, LOGPIXELSX), GetDeviceCaps(display, LOGPIXELSY)};
  DeleteDC(display);
  return dpi;
}

}  // namespace

LRESULT OnPrint(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  HDC printer = reinterpret_cast<HDC>(wParam);
  const auto* request = reinterpret_cast<const GridPrintRange*>(lParam);
  if (!request) return 0;
  PrintRange range{request->colFrom, request->colTo, request->rowFrom, request->rowTo};
  if (!ClipPrintRange(s, range)) return 0;  // nothing of it lies in the grid

  const POINT screen = ScreenResolution(grid);
  const int32_t printerX = ScaledResolution(GetDeviceCaps(printer, LOGPIXELSX), request->percent);
  const int32_t printerY = ScaledResolution(GetDeviceCaps(printer, LOGPIXELSY), request->percent);

  DOCINFOA document{};
  document.cbSize = sizeof document;  // no name, file, type or flags
  static_assert(sizeof document == (sizeof(void*) == 4 ? 20 : 40));
  StartDocA(printer, &document);
  StartPage(printer);
  // One logical unit is one screen pixel of the layout.
  SaveDC(printer);
  SetMapMode(printer, MM_ANISOTROPIC);
  SetWindowExtEx(printer, screen.x, screen.y, nullptr);
  SetViewportExtEx(printer, printerX, printerY, nullptr);
  {
    const Selected font(printer, static_cast<HFONT>(s.font), Selected::kBorrowed);
    SetBkMode(printer, TRANSPARENT);
    const Selected pen(printer, CreatePen(PS_SOLID, 1, s.gridColor));
    const Selected brush(printer, GetStockObject(NULL_BRUSH), Selected::kBorrowed);
    // Each cell framed at its own positions, so neighbours' frames lie side
    // by side; its text in the frame shrunk by one.
    ForEachPrintedCell(range, [&](uint32_t c, uint32_t r) {
      const Rect cell = CellRect(s, c, r);
      Rectangle(printer, cell.left, cell.top, cell.right, cell.bottom);
      DrawCellText(printer, *CellAt(s, c, r), ToRECT(Inflate(cell, -1)));
    });
  }
  RestoreDC(printer, -1);  // the caller gets its mapping back
  EndPage(printer);
  return EndDoc(printer);
}

}  // namespace latticor::win32
