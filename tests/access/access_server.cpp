// The grids that access_tests reads from another process, as a screen
// reader would: a window "Ledger" holding a 5 x 4 grid with texts, and
// with the argument "big" a window "Big" holding the largest grid.
// It answers a few questions of the tests' (see access_server.h) and ends
// when its windows are closed.
#include <windows.h>

#include "access_server.h"
#include "high_addresses.h"
#include "latticor.h"

namespace {

HWND ledger, big;
HWND ledgerGrid, bigGrid;

// Busy blocks of the process heap, which the grid's global heap and the
// objects it hands out draw from.
LRESULT HeapBlocks() {
  HANDLE heap = GetProcessHeap();
  LRESULT blocks = 0;
  HeapLock(heap);
  PROCESS_HEAP_ENTRY entry{};
  while (HeapWalk(heap, &entry)) {
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++blocks;
  }
  HeapUnlock(heap);
  return blocks;
}

HWND GridOf(HWND frame) { return frame == ledger ? ledgerGrid : bigGrid; }

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case access_server::kHeapBlocks:
      return HeapBlocks();
    case access_server::kDestroyGrid:
      DestroyWindow(GridOf(hwnd));
      return TRUE;
    case access_server::kPutText:
      return SendMessageA(GridOf(hwnd), GM_SETCELLTEXT, wParam, reinterpret_cast<LPARAM>(access_server::kPutTextText));
    case access_server::kPaste:
      return SendMessageA(GridOf(hwnd), GM_PASTE, reinterpret_cast<WPARAM>(access_server::kPasteText), 0);
    case WM_DESTROY:
      if (hwnd == ledger) ledger = nullptr;
      if (hwnd == big) big = nullptr;
      if (!ledger && !big) PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

HWND Frame(const char* title, int y) {
  // Shown when its grid is ready: the tests wait for the window to show.
  return CreateWindowExA(0, access_server::kFrameClass, title, WS_OVERLAPPEDWINDOW, 0, y, 520, 360, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

HWND Grid(HWND frame, const char* text) {
  return CreateWindowExA(0, LATTICOR_CLASS_NAME, text, WS_CHILD | WS_VISIBLE, 0, 0, 400, 300, frame,
                         reinterpret_cast<HMENU>(7), GetModuleHandleA(nullptr), nullptr);
}

void Put(HWND grid, UINT col, UINT row, const char* text) {
  SendMessageA(grid, GM_SETCELLTEXT, GRID_CELL(col, row), reinterpret_cast<LPARAM>(text));
}

}  // namespace

int main(int argc, char** argv) {
  // The client's mode is the server's: its grids too then lie above 4 GiB.
  if (high_addresses::Requested() && !high_addresses::Enter()) return 3;
  if (!LoadLibraryA(LATTICOR_LIBRARY_NAME)) return 2;
  WNDCLASSA frameClass{};
  frameClass.lpfnWndProc = FrameProc;
  frameClass.hInstance = GetModuleHandleA(nullptr);
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  frameClass.lpszClassName = access_server::kFrameClass;
  RegisterClassA(&frameClass);

  ledger = Frame(access_server::kLedgerTitle, 0);
  ledgerGrid = Grid(ledger, nullptr);
  for (const access_server::Text& t : access_server::kLedgerTexts) Put(ledgerGrid, t.col, t.row, t.text);
  if (argc > 1 && lstrcmpA(argv[1], "big") == 0) {
    big = Frame(access_server::kBigTitle, 380);
    bigGrid = Grid(big, access_server::kBigGridText);
    SendMessageA(bigGrid, GM_SETCOLCOUNT, GRID_MAX_COLS, 0);
    SendMessageA(bigGrid, GM_SETROWCOUNT, GRID_MAX_ROWS, 0);
    Put(bigGrid, GRID_MAX_COLS - 1, GRID_MAX_ROWS - 1, access_server::kFarCornerText);
    ShowWindow(big, SW_SHOW);
  }
  ShowWindow(ledger, SW_SHOW);
  SetForegroundWindow(ledger);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return 0;
}
