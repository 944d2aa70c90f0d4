/*
 * A small editor of tab-separated files on the LATTICOR grid: the grid does
 * the editing, the keys and undo (GS_EX_EDIT, GS_EX_SHEETKEYS); this
 * program loads the file, saves it on Ctrl+S and shows the current cell in a
 * status bar (GS_EX_SELCHANGE). Its manifest makes UTF-8 the process's code
 * page, so the file's texts may be in any script.
 *
 *   grid_example FILE.tsv      edit FILE.tsv (it is made when saved)
 *   grid_example --self-test   loads, edits, undoes and saves a file of its own; exit code 0 on success
 */
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "latticor.h"

#define ID_SAVE 1
static HWND grid, status;
static char path[MAX_PATH];

/* A cell's whole text in memory of its size; free it with free(). */
static char* CellText(UINT col, UINT row) {
  GridTextBuffer buffer;
  buffer.size = (UINT)SendMessageA(grid, GM_GETCELLTEXTLENGTH, GRID_CELL(col, row), 0) + 1;
  buffer.text = (LPSTR)malloc(buffer.size);
  if (buffer.text) SendMessageA(grid, GM_GETCELLTEXTN, GRID_CELL(col, row), (LPARAM)&buffer);
  return buffer.text;
}

/* The file into the grid: lines ended by LF or CR LF become rows, TABs
 * separate cells. The grid takes the text as a paste at (1, 1). */
static BOOL Load(const char* file) {
  FILE* f = fopen(file, "rb");
  long size, i;
  char *bytes, *text, *out;
  UINT cols = 1, rows = 0, fields = 1;
  if (!f) return FALSE;
  fseek(f, 0, SEEK_END);
  size = ftell(f);
  fseek(f, 0, SEEK_SET);
  bytes = (char*)malloc(size + 1);
  text = (char*)malloc(2 * size + 3);
  if (!bytes || !text || fread(bytes, 1, size, f) != (size_t)size) size = -1;
  fclose(f);
  for (i = 0, out = text; i < size; ++i) { /* the grid's line end is CR LF */
    if (bytes[i] == '\r' && i + 1 < size && bytes[i + 1] == '\n') continue;
    if (bytes[i] == '\n' || bytes[i] == '\r') {
      *out++ = '\r';
      *out++ = '\n';
      ++rows, fields = 1;
    } else {
      if (bytes[i] == '\t' && ++fields > cols) cols = fields;
      *out++ = bytes[i] ? bytes[i] : ' ';
    }
  }
  if (size < 0) {
    free(bytes), free(text);
    return FALSE;
  }
  if (out == text || out[-1] != '\n') ++rows; /* a last line without its end */
  *out = '\0';
  SendMessageA(grid, GM_SETCOLCOUNT, cols + 1 < 5 ? 5 : (cols + 1 > GRID_MAX_COLS ? GRID_MAX_COLS : cols + 1), 0);
  SendMessageA(grid, GM_SETROWCOUNT, rows + 1 < 4 ? 4 : (rows + 1 > GRID_MAX_ROWS ? GRID_MAX_ROWS : rows + 1), 0);
  SendMessageA(grid, GM_SETCURCOL, 1, 0);
  SendMessageA(grid, GM_SETCURROW, 1, 0);
  SendMessageA(grid, GM_PASTE, (WPARAM)text, 0);
  free(bytes), free(text);
  return TRUE;
}

/* Every row up to the last that holds text, each up to its last text, the
 * cells separated by TAB and each row ended by CR LF. */
static BOOL Save(const char* file) {
  UINT cols = (UINT)SendMessageA(grid, GM_GETCOLCOUNT, 0, 0), rows = (UINT)SendMessageA(grid, GM_GETROWCOUNT, 0, 0);
  UINT c, r, last, lastRow = 0;
  FILE* f;
  SendMessageA(grid, GM_ENDEDIT, TRUE, 0); /* what is being typed belongs in the file */
  for (r = 1; r < rows; ++r) {
    for (c = 1; c < cols; ++c) {
      if (SendMessageA(grid, GM_GETCELLTEXTLENGTH, GRID_CELL(c, r), 0)) lastRow = r;
    }
  }
  f = fopen(file, "wb");
  if (!f) return FALSE;
  for (r = 1; r <= lastRow; ++r) {
    for (last = cols - 1; last > 0 && !SendMessageA(grid, GM_GETCELLTEXTLENGTH, GRID_CELL(last, r), 0); --last) {
    }
    for (c = 1; c <= last; ++c) {
      char* text = CellText(c, r);
      if (c > 1) fputc('\t', f);
      if (text) fputs(text, f);
      free(text);
    }
    fputs("\r\n", f);
  }
  return fclose(f) == 0;
}

/* "B3: its text": the column as a letter (AA after Z), the row. */
static void ShowCell(UINT col, UINT row) {
  char line[256], letters[4] = "";
  GridTextBuffer tail;
  if (col > 26) letters[0] = (char)('A' + (col - 1) / 26 - 1);
  letters[col > 26] = (char)('A' + (col - 1) % 26);
  sprintf(line, "%s%u: ", letters, row);
  tail.text = line + strlen(line);
  tail.size = (UINT)(sizeof line - strlen(line));
  SendMessageA(grid, GM_GETCELLTEXTN, GRID_CELL(col, row), (LPARAM)&tail);
  SendMessageA(status, SB_SETTEXTA, 0, (LPARAM)line);
}

static void Title(HWND hwnd, BOOL changed) {
  char title[MAX_PATH + 32];
  sprintf(title, "%s%s - Grid example", changed ? "*" : "", path);
  SetWindowTextA(hwnd, title);
}

static LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  RECT bar;
  switch (msg) {
    case WM_SIZE:
      SendMessageA(status, WM_SIZE, 0, 0);
      GetWindowRect(status, &bar);
      MoveWindow(grid, 0, 0, LOWORD(lParam), HIWORD(lParam) - (bar.bottom - bar.top), TRUE);
      return 0;
    case WM_SETFOCUS:
      SetFocus(grid);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == ID_SAVE && Save(path)) Title(hwnd, FALSE);
      return 0;
    case GN_SELCHANGED: /* the current cell is the selection's anchor */
      ShowCell((UINT)SendMessageA(grid, GM_GETCURCOL, 0, 0), (UINT)SendMessageA(grid, GM_GETCURROW, 0, 0));
      return 0;
    case GN_CELLSCHANGED: /* the user changed texts: show them and the file as changed */
      ShowCell((UINT)SendMessageA(grid, GM_GETCURCOL, 0, 0), (UINT)SendMessageA(grid, GM_GETCURROW, 0, 0));
      Title(hwnd, TRUE);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

/* A file of its own, loaded, edited, undone and redone, saved, compared. */
static int SelfTest(HWND hwnd) {
  static const char saved[] = "a\tb\r\n\xC3\xA9\td\r\n";
  char file[MAX_PATH], text[64] = "", bar[64] = "";
  FILE* f;
  int ok;
  GetTempPathA(MAX_PATH - 20, file);
  strcat(file, "grid_example.tsv");
  f = fopen(file, "wb");
  if (!f) return 1;
  fputs("a\tb\nc\td\n", f);
  fclose(f);
  ok = Load(file);
  SendMessageA(grid, GM_SETCURCOL, 2, 0);
  SendMessageA(status, SB_GETTEXTA, 0, (LPARAM)bar);
  ok = ok && strcmp(bar, "B1: b") == 0;
  SendMessageA(grid, GM_EDITCELL, GRID_CELL(1, 2), (LPARAM) "\xC3\xA9"); /* as typed */
  SendMessageA(grid, GM_ENDEDIT, TRUE, 0);
  ok = ok && SendMessageA(grid, GM_UNDO, 0, 0) && SendMessageA(grid, GM_REDO, 0, 0);
  ok = ok && Save(file);
  f = fopen(file, "rb");
  if (f) {
    text[fread(text, 1, sizeof text - 1, f)] = '\0';
    fclose(f);
  }
  DeleteFileA(file);
  ok = ok && strcmp(text, saved) == 0;
  printf("status \"%s\"; saved file %s\n", bar, ok ? "as expected" : "differs");
  (void)hwnd;
  return ok ? 0 : 1;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command, int show) {
  ACCEL save = {FCONTROL | FVIRTKEY, 'S', ID_SAVE};
  HACCEL keys = CreateAcceleratorTableA(&save, 1);
  WNDCLASSA wc;
  HWND main;
  MSG m;
  const BOOL selfTest = strstr(command, "--self-test") != NULL;
  (void)previous;
  InitCommonControls();
  memset(&wc, 0, sizeof wc);
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
  wc.lpszClassName = "GridExample";
  RegisterClassA(&wc);
  main = CreateWindowExA(0, "GridExample", "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 400, NULL,
                         NULL, instance, NULL);
  status = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, main, NULL, instance, NULL);
  /* Linking with the import library loads Latticor.dll, which registers
   * its class; the class name comes from the library itself. */
  grid = CreateWindowExA(0, GetGrid_ClassName(), "", WS_CHILD | WS_VISIBLE, 0, 0, 640, 380, main, (HMENU)7,
                         instance, NULL);
  if (!grid || !status) return 2;
  SendMessageA(grid, GM_SETEXSTYLE, 0, GS_EX_EDIT | GS_EX_SHEETKEYS | GS_EX_SELCHANGE);
  lstrcpynA(path, command[0] == '"' ? command + 1 : command, MAX_PATH);
  if (strchr(path, '"')) *strchr(path, '"') = '\0';
  if (!selfTest && path[0]) Load(path);
  Title(main, FALSE);
  ShowWindow(main, selfTest ? SW_SHOWNOACTIVATE : show);
  UpdateWindow(main);
  if (selfTest) {
    int result = SelfTest(main);
    DestroyWindow(main);
    return result;
  }
  /* A Unicode loop: typed characters reach the grid's editor whole. */
  while (GetMessageW(&m, NULL, 0, 0) > 0) {
    if (TranslateAcceleratorW(main, keys, &m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  DestroyAcceleratorTable(keys);
  return (int)m.wParam;
}
