/*
 * A minimal program using the LATTICOR grid: it creates a grid, fills it,
 * follows the current cell and its text through GN_CELLENTERED, copies the
 * selection to the clipboard with Ctrl+C and pastes it with Ctrl+V. Its
 * manifest (grid_example.manifest) makes UTF-8 its code page, so cells take
 * texts in any script.
 *
 *   grid_example              a window to try it in
 *   grid_example --self-test  does it all by itself and exits 0 on success
 */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "latticor.h"

static HWND grid;
static int entered;  /* how many times the current cell was entered */

/* A cell's whole text in memory of its size: the length first, then a copy
 * bounded by it. Free it with free(). */
static char* CellText(WPARAM cell) {
  GridTextBuffer buffer;
  buffer.size = (UINT)SendMessageA(grid, GM_GETCELLTEXTLENGTH, cell, 0) + 1;
  buffer.text = (LPSTR)malloc(buffer.size);
  if (buffer.text) SendMessageA(grid, GM_GETCELLTEXTN, cell, (LPARAM)&buffer);
  return buffer.text;
}

/* The grid's selection onto the clipboard: as the code page's bytes
 * (CF_TEXT) and as characters (CF_UNICODETEXT), which the system would
 * otherwise make from the bytes with the locale's code page. */
static BOOL CopySelection(HWND owner) {
  SIZE_T size = (SIZE_T)SendMessageA(grid, GM_GETCOPYSIZE, 0, 0);
  HGLOBAL memory, unicode;
  char* text;
  int units;
  if (!OpenClipboard(owner)) return FALSE;
  EmptyClipboard();
  memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size); /* zeroed: GM_COPYSEL appends */
  text = memory ? (char*)GlobalLock(memory) : NULL;
  if (text) {
    SendMessageA(grid, GM_COPYSEL, (WPARAM)text, 0);
    units = MultiByteToWideChar(CP_ACP, 0, text, -1, NULL, 0);
    unicode = GlobalAlloc(GMEM_MOVEABLE, units * sizeof(WCHAR));
    if (unicode) {
      MultiByteToWideChar(CP_ACP, 0, text, -1, (WCHAR*)GlobalLock(unicode), units);
      GlobalUnlock(unicode);
      SetClipboardData(CF_UNICODETEXT, unicode);
    }
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
  }
  CloseClipboard();
  return text != NULL;
}

/* The clipboard's text into the grid at its selection: the characters,
 * converted to the code page, or else the bytes. */
static BOOL PasteClipboard(HWND owner) {
  HANDLE memory;
  const void* data = NULL;
  char* text;
  int size;
  if (!OpenClipboard(owner)) return FALSE;
  if ((memory = GetClipboardData(CF_UNICODETEXT)) != NULL && (data = GlobalLock(memory)) != NULL) {
    size = WideCharToMultiByte(CP_ACP, 0, (const WCHAR*)data, -1, NULL, 0, NULL, NULL);
    text = size > 0 ? (char*)malloc(size) : NULL;
    if (text) {
      WideCharToMultiByte(CP_ACP, 0, (const WCHAR*)data, -1, text, size, NULL, NULL);
      SendMessageA(grid, GM_PASTE, (WPARAM)text, 0);
      free(text);
    }
    GlobalUnlock(memory);
  } else if ((memory = GetClipboardData(CF_TEXT)) != NULL && (data = GlobalLock(memory)) != NULL) {
    SendMessageA(grid, GM_PASTE, (WPARAM)data, 0); /* never a null pointer */
    GlobalUnlock(memory);
  }
  CloseClipboard();
  return data != NULL;
}

static LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  char title[64];
  GridTextBuffer tail;
  long col, row;
  switch (msg) {
    case WM_SIZE:
      MoveWindow(grid, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case GN_CELLENTERED: /* wParam is the grid's identifier */
      ++entered;
      col = (long)SendMessageA(grid, GM_GETCURCOL, 0, 0);
      row = (long)SendMessageA(grid, GM_GETCURROW, 0, 0);
      sprintf(title, "Current cell: column %ld, row %ld: ", col, row);
      /* As much of the cell's text as the title has room for. */
      tail.text = title + strlen(title);
      tail.size = (UINT)(sizeof title - strlen(title));
      SendMessageA(grid, GM_GETCELLTEXTN, GRID_CELL(col, row), (LPARAM)&tail);
      SetWindowTextA(hwnd, title);
      return 0;
    case GN_KEYDOWN: /* wParam the key; posted after the grid handled it */
      if (wParam == 'C' && GetKeyState(VK_CONTROL) < 0) CopySelection(hwnd);
      if (wParam == 'V' && GetKeyState(VK_CONTROL) < 0) PasteClipboard(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

/* Moves the current cell, lets the paint announce it with the cell's text,
 * copies a block, reads the clipboard back and pastes it elsewhere. */
static int SelfTest(HWND hwnd) {
  const char* expected = "1,1\t2,1\r\n1,2\t2,2\r\n";
  const WCHAR* expectedChars = L"1,1\t2,1\r\n1,2\t2,2\r\n";
  char* text;
  char title[64];
  const WCHAR* chars;
  char pasted[16] = "";
  HANDLE memory;
  int titled, ok;
  SendMessageA(grid, GM_SETCURCOL, 2, 0);
  UpdateWindow(grid);
  SendMessageA(grid, GM_SETCURCOL, 1, 0);
  SendMessageA(grid, GM_SETSELENDCOL, 2, 0);
  SendMessageA(grid, GM_SETSELENDROW, 2, 0);
  UpdateWindow(grid);
  text = CellText(GRID_CELL(1, 1));
  GetWindowTextA(hwnd, title, sizeof title);
  titled = text && strcmp(text, "1,1") == 0 && strcmp(title, "Current cell: column 1, row 1: 1,1") == 0;
  free(text);
  if (!CopySelection(hwnd) || !OpenClipboard(hwnd)) return 1;
  memory = GetClipboardData(CF_TEXT);
  text = memory ? (char*)GlobalLock(memory) : NULL;
  ok = text && strcmp(text, expected) == 0;
  if (text) GlobalUnlock(memory);
  memory = GetClipboardData(CF_UNICODETEXT);
  chars = memory ? (const WCHAR*)GlobalLock(memory) : NULL;
  ok = ok && chars && wcscmp(chars, expectedChars) == 0;
  if (chars) GlobalUnlock(memory);
  CloseClipboard();
  /* Pasted at a single cell, the block fills from it on. */
  SendMessageA(grid, GM_SETCURCOL, 3, 0);
  SendMessageA(grid, GM_SETCURROW, 3, 0);
  ok = ok && PasteClipboard(hwnd);
  SendMessageA(grid, GM_GETCELLTEXT, GRID_CELL(4, 4), (LPARAM)pasted);
  ok = ok && strcmp(pasted, "2,2") == 0;
  printf("entered %d times; title \"%s\"; clipboard %s\n", entered, title, ok ? "as expected" : "differs");
  return ok && titled && entered == 2 ? 0 : 1;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command, int show) {
  WNDCLASSA wc;
  HWND main;
  MSG m;
  UINT c, r;
  char text[16];
  (void)previous;
  /* Linking with the import library loads Latticor.dll, which registers
   * its class; the class name comes from the library itself. */
  memset(&wc, 0, sizeof wc);
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
  wc.lpszClassName = "GridExample";
  RegisterClassA(&wc);
  main = CreateWindowExA(0, "GridExample", "Grid example", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 500,
                         300, NULL, NULL, instance, NULL);
  grid = CreateWindowExA(0, GetGrid_ClassName(), "", WS_CHILD | WS_VISIBLE, 0, 0, 500, 300, main, (HMENU)7,
                         instance, NULL);
  if (!grid) return 2;
  SendMessageA(grid, GM_SETCOLCOUNT, 6, 0);
  SendMessageA(grid, GM_SETROWCOUNT, 10, 0);
  for (r = 1; r < 10; ++r) {
    for (c = 1; c < 6; ++c) {
      sprintf(text, "%u,%u", c, r);
      SendMessageA(grid, GM_SETCELLTEXT, GRID_CELL(c, r), (LPARAM)text);
    }
  }
  ShowWindow(main, strstr(command, "--self-test") ? SW_SHOWNOACTIVATE : show);
  UpdateWindow(main);
  if (strstr(command, "--self-test")) {
    int result = SelfTest(main);
    DestroyWindow(main);
    return result;
  }
  while (GetMessageA(&m, NULL, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return (int)m.wParam;
}
