// Celdra, shown off without a person: starts the program, opens a
// document, types into a few cells through the in-place editor with real
// input, selects a block, saves a picture of the screen and exits.
//   celdra_demo PICTURE.bmp
#include <cstdio>

#include "real_input.h"
#include "remote.h"

namespace input = real_input;

namespace {

// The centre of cell (col, row) of a grid of default sizes, at any DPI,
// in grid client pixels.
POINT CellCentre(HWND grid, int col, int row) {
  const auto width = static_cast<int>(SendMessageA(grid, GM_GETCOLWIDTH, 0, 0));
  const auto height = static_cast<int>(SendMessageA(grid, GM_GETROWHEIGHT, 0, 0));
  return POINT{width * col + width / 2, height * row + height / 2};
}

void TypeInto(HWND grid, int col, int row, const char* text) {
  const POINT p = CellCentre(grid, col, row);
  input::DoubleClick(grid, p.x, p.y, 150);  // the first press selects, the second opens
  input::Type(text);
}

}  // namespace

int main(int argc, char** argv) {
  const char* picture = argc > 1 ? argv[1] : "celdra.bmp";
  remote::Celdra celdra;
  if (!celdra.Start()) {
    std::printf("Celdra did not start\n");
    return 1;
  }
  input::Settle(500);
  PostMessageA(celdra.frame(), WM_COMMAND, 201, 0);  // File > New
  HWND document = nullptr;
  remote::WaitUntil([&] { return (document = celdra.Document(0)) != nullptr; }, 5000);
  HWND grid = document ? celdra.GridOf(document) : nullptr;
  if (!grid) {
    std::printf("no document opened\n");
    return 1;
  }
  input::Settle(300);
  // Until the current cell first moves, the editor sits unplaced in the
  // grid's corner: begin one cell to the right.
  TypeInto(grid, 2, 1, "Hello");
  TypeInto(grid, 3, 1, "from");
  TypeInto(grid, 4, 1, "Celdra");
  TypeInto(grid, 1, 2, "12");
  TypeInto(grid, 2, 2, "34");
  // A block from C2 to D3, dragged with the button held (the editor lies
  // over B2 and would take a press there).
  const POINT from = CellCentre(grid, 3, 2), to = CellCentre(grid, 4, 3);
  input::MoveTo(grid, from.x, from.y, 50);
  input::ButtonDown(50);
  input::MoveTo(grid, to.x, to.y, 300);
  input::ButtonUp(200);
  input::Settle(300);
  screen::Capture shot(remote::ScreenRectOf(celdra.frame()));
  const bool saved = shot.SaveBmp(picture);
  const std::string b1 = celdra.CellText(grid, 2, 1);
  PostMessageA(celdra.frame(), WM_COMMAND, 206, 0);  // File > Exit
  const int code = celdra.WaitForExit(10000);
  std::printf("cell B1 holds \"%s\"; Celdra exited with %d\n", b1.c_str(), code);
  return saved && code == 0 ? 0 : 1;
}
