// The Columns and Rows dialogs, the About box and the colour chooser.
#include "celdra.h"
// After windows.h, which it needs.
#include <commdlg.h>

namespace celdra {

namespace {

// What tells the column dialog from the row dialog.
struct FormatDialog {
  int countField, sizeField, okButton;
  UINT getCount, setCount, getCur, getSelEnd, getSize, setSize;
  UINT largestRefused;  // counts from this on are refused (and 2 or less)
  const char* refusal;
  bool columns;
};

const FormatDialog kColumns{1008, 1009, 1010, GM_GETCOLCOUNT, GM_SETCOLCOUNT, GM_GETCURCOL, GM_GETSELENDCOL,
                            GM_GETCOLWIDTH, GM_SETCOLWIDTH, 255,
                            "The maximum number of cols is 255\r\nand the minimum is 2.", true};
const FormatDialog kRows{1014, 1015, 1016, GM_GETROWCOUNT, GM_SETROWCOUNT, GM_GETCURROW, GM_GETSELENDROW,
                         GM_GETROWHEIGHT, GM_SETROWHEIGHT, 16383,
                         "The maximum number of rows is 16382\r\nand the minimum is 2.", false};

UINT Ask(HWND grid, UINT msg, WPARAM wParam = 0) {
  return static_cast<UINT>(SendMessageA(grid, msg, wParam, 0));
}

void Fill(HWND dialog, const FormatDialog& f) {
  HWND grid = ActiveGrid();
  if (!grid) return;
  SetDlgItemInt(dialog, f.countField, Ask(grid, f.getCount), FALSE);
  SetDlgItemInt(dialog, f.sizeField, Ask(grid, f.getSize, Ask(grid, f.getCur)), FALSE);
}

// OK: the count if it is one of 3 .. largest - 1, titles rewritten; then,
// whatever happened to the count, the size for every column (row) between
// the selection's anchor and its other corner.
void Apply(HWND dialog, const FormatDialog& f) {
  const UINT n = GetDlgItemInt(dialog, f.countField, nullptr, FALSE);
  HWND grid = ActiveGrid();
  if (!grid) return;
  if (n <= 2 || n >= f.largestRefused) {
    MessageBoxA(nullptr, f.refusal, kCaption, MB_OK);
  } else {
    SendMessageA(grid, f.setCount, n, 0);
    for (UINT i = 1; i < n; ++i) {
      SendMessageA(grid, GM_SETCELLFORMAT, f.columns ? GRID_CELL(i, 0) : GRID_CELL(0, i), GRID_FORMAT_TITLE);
    }
    if (f.columns) {
      SetColumnTitles(grid, n);
    } else {
      SetRowTitles(grid, n);
    }
  }
  const UINT a = Ask(grid, f.getCur), b = Ask(grid, f.getSelEnd);
  const UINT lo = a < b ? a : b, hi = a < b ? b : a;
  const UINT size = GetDlgItemInt(dialog, f.sizeField, nullptr, FALSE);
  for (UINT i = lo; i <= hi; ++i) SendMessageA(grid, f.setSize, i, static_cast<LPARAM>(size));
}

INT_PTR FormatProc(const FormatDialog& f, HWND dialog, UINT msg, WPARAM wParam) {
  switch (msg) {
    case WM_INITDIALOG:
      Fill(dialog, f);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) != 0) return TRUE;  // the fields' own notifications
      if (LOWORD(wParam) == f.okButton) Apply(dialog, f);
      // OK, Cancel, and the IDOK and IDCANCEL of Enter and Esc all close.
      SendMessageA(dialog, WM_CLOSE, 0, 0);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR CALLBACK FormColsProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  return FormatProc(kColumns, dialog, msg, wParam);
}

INT_PTR CALLBACK FormRowsProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  return FormatProc(kRows, dialog, msg, wParam);
}

// Closes only through its OK button or the close box: Enter and Esc do
// nothing.
INT_PTR CALLBACK AboutProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == 1017 && HIWORD(wParam) == 0) SendMessageA(dialog, WM_CLOSE, 0, 0);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

COLORREF PickColor(HWND owner, COLORREF initial) {
  COLORREF custom[16];
  for (COLORREF& c : custom) c = RGB(255, 255, 255);
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  static_assert(sizeof(CHOOSECOLORA) == (sizeof(void*) == 4 ? 36 : 72), "the record size the chooser is told");
  cc.hwndOwner = owner;
  cc.hInstance = reinterpret_cast<HWND>(host.instance);
  cc.rgbResult = initial;
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  ChooseColorA(&cc);
  return cc.rgbResult;  // after Cancel, still the initial colour
}

}  // namespace celdra
