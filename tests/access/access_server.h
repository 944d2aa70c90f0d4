// What access_server.exe and the tests that read it agree on.
#pragma once

#include <windows.h>

namespace access_server {

constexpr char kFrameClass[] = "AccessServerFrame";
constexpr char kLedgerTitle[] = "Ledger";
constexpr char kBigTitle[] = "Big";
constexpr char kBigGridText[] = "Big grid";
constexpr char kFarCornerText[] = "far corner";

// Messages to a frame window. kHeapBlocks answers the busy blocks of the
// server's process heap; kDestroyGrid destroys that frame's grid; kPutText
// sets the text of the cell at wParam (GRID_CELL) to kPutTextText; kPaste
// pastes kPasteText into the grid's selection.
constexpr UINT kHeapBlocks = WM_APP + 1;
constexpr UINT kDestroyGrid = WM_APP + 2;
constexpr UINT kPutText = WM_APP + 3;
constexpr UINT kPaste = WM_APP + 4;
constexpr char kPutTextText[] = "changed";
constexpr char kPasteText[] = "a\tb\r\nc\td";

// The ledger: titles with gaps (an empty title reads as its number), and
// a few cells filled.
struct Text {
  UINT col, row;
  const char* text;
};
constexpr Text kLedgerTexts[] = {
    {1, 0, "Name"},  {2, 0, "Qty"}, {4, 0, "Price"}, {0, 1, "First"}, {0, 3, "Third"},
    {1, 1, "apple"}, {2, 1, "3"},   {4, 1, "1.20"},  {1, 2, "pear"},  {2, 2, "12"}, {1, 3, "plum"},
};

}  // namespace access_server
