// A document: one grid filling the window and a hidden edit box laid over
// the grid's current cell, kept in step with the grid's notifications.
#include "celdra.h"
#include "code_page.h"
#include "dpi.h"
#include "titles.h"

namespace celdra {

namespace {

constexpr size_t kReadBuffer = 1024;  // a cell's text on its way into the editor
constexpr size_t kEditorLimit = 254;  // bytes a cell gets from the editor

ChildData* DataOf(HWND child) { return reinterpret_cast<ChildData*>(GetWindowLongPtrA(child, 0)); }

// The grid's current cell: its address, its record and its rectangle.
struct CurrentCell {
  WPARAM address;
  GridCell cell;
  RECT rect;
};
CurrentCell Current(HWND grid) {
  CurrentCell c{};
  c.address = static_cast<WPARAM>(
      SendMessageA(grid, GM_GETCURCELL, reinterpret_cast<WPARAM>(&c.cell), reinterpret_cast<LPARAM>(&c.rect)));
  return c;
}

void PlaceEditor(HWND editor, const RECT& r) {
  MoveWindow(editor, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

LRESULT OnCreate(HWND child) {
  auto* data = static_cast<ChildData*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(ChildData)));
  if (!data) return -1;
  SetWindowLongPtrA(child, 0, reinterpret_cast<LONG_PTR>(data));
  const auto id = static_cast<int32_t>(GetWindowLongA(child, GWL_ID));
  SetWindowTextA(child, DocumentTitle(id).c_str());
  HMENU idMenu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  data->grid = CreateWindowExA(WS_EX_CLIENTEDGE, LATTICOR_CLASS_NAME, nullptr, 0x52000000, 0, 0, 150, 100,
                               child, idMenu, host.instance, nullptr);
  const UINT dpi = DpiOf(child);
  data->editor = CreateWindowExA(0, "EDIT", nullptr, 0x40000004, 0, 0, AtDpi(24, dpi), AtDpi(19, dpi), data->grid,
                                 idMenu, host.instance, nullptr);
  if (!data->grid || !data->editor) return -1;  // no document without its grid
  data->font = CreateDocumentFont(dpi);
  SendMessageA(data->grid, WM_SETFONT, reinterpret_cast<WPARAM>(data->font), 0);
  SendMessageA(data->editor, WM_SETFONT, reinterpret_cast<WPARAM>(data->font), 0);
  for (UINT c = 1; c <= 4; ++c) SendMessageA(data->grid, GM_SETCELLFORMAT, GRID_CELL(c, 0), GRID_FORMAT_TITLE);
  for (UINT r = 1; r <= 3; ++r) SendMessageA(data->grid, GM_SETCELLFORMAT, GRID_CELL(0, r), GRID_FORMAT_TITLE);
  SetColumnTitles(data->grid, 5);
  SetRowTitles(data->grid, 4);
  return 0;
}

LRESULT OnMdiActivate(HWND child, LPARAM activated) {
  const ChildData* data = DataOf(child);
  if (reinterpret_cast<HWND>(activated) == child) {
    SendMessageA(host.mdiClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(host.childMenu),
                 reinterpret_cast<LPARAM>(GetSubMenu(host.childMenu, 4)));
    EnableDocumentButtons(true);
    if (data) SetFocus(data->grid);
  } else {
    // Menu 101 has no fifth submenu: the window menu stays as it is.
    SendMessageA(host.mdiClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(host.frameMenu),
                 reinterpret_cast<LPARAM>(GetSubMenu(host.frameMenu, 4)));
    EnableDocumentButtons(false);
  }
  DrawMenuBar(host.frame);
  return 0;
}

// Nothing can be saved: Yes says so and keeps the document, rather than
// lose what the user typed; No closes it; Cancel keeps it.
LRESULT OnClose(HWND child) {
  const int answer =
      MessageBoxA(nullptr, "Do you want to save the changes ?", kCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDYES) {
    ShowNotAvailable();
  } else if (answer == IDNO) {
    SendMessageA(host.mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
  }
  return 0;
}

LRESULT OnDestroy(HWND child) {
  ChildData* data = DataOf(child);
  if (!data) return 0;
  DestroyWindow(data->grid);  // the editor goes with it
  DeleteObject(data->font);
  SetWindowLongPtrA(child, 0, 0);
  GlobalFree(data);
  return 0;
}

// The current cell has changed: the editor moves onto it, hidden or not,
// and holds its text.
void OnCellEntered(const ChildData& data) {
  const CurrentCell c = Current(data.grid);
  PlaceEditor(data.editor, c.rect);
  char text[kReadBuffer] = {};
  // A bounded copy: a program may have written a text longer than this
  // buffer into the cell.
  GridTextBuffer buffer{text, sizeof text};
  SendMessageA(data.grid, GM_GETCELLTEXTN, c.address, reinterpret_cast<LPARAM>(&buffer));
  SendMessageA(data.editor, WM_SETTEXT, 255, reinterpret_cast<LPARAM>(text));
}

// What the editor holds, in the process's code page, cut to kEditorLimit
// bytes between two characters. Read as UTF-16 and converted here, since
// GetWindowTextA with a byte limit can end in half a character.
std::string EditorText(HWND editor) {
  std::wstring chars(static_cast<size_t>(GetWindowTextLengthW(editor)) + 1, L'\0');
  const int length = GetWindowTextW(editor, chars.data(), static_cast<int>(chars.size()));
  std::string text = FromWide(chars.data(), static_cast<size_t>(length));
  text.resize(CharacterCut(text, kEditorLimit, GetACP()));
  return text;
}

// The current cell is about to change: what the editor holds goes into it.
void OnCellLeaving(ChildData& data) {
  ShowWindow(data.editor, SW_HIDE);
  data.editing = 0;
  const std::string text = EditorText(data.editor);
  const CurrentCell c = Current(data.grid);
  SendMessageA(data.grid, GM_SETCELLTEXT, c.address, reinterpret_cast<LPARAM>(text.c_str()));
  SetWindowTextA(data.editor, "");
}

// While editing, a cell scrolled out of the visible range loses its editor;
// scrolled back to the first or last visible row (column) it regains it.
void OnScrolled(const ChildData& data, LPARAM direction) {
  if (data.editing != 1) return;
  const CurrentCell c = Current(data.grid);
  UINT first, last, v;
  if (direction == 1) {
    first = static_cast<UINT>(SendMessageA(data.grid, GM_GETFIRSTROW, 0, 0));
    last = static_cast<UINT>(SendMessageA(data.grid, GM_GETLASTROW, 0, 0));
    v = HIWORD(c.address);
  } else if (direction == 2) {
    first = static_cast<UINT>(SendMessageA(data.grid, GM_GETFIRSTCOL, 0, 0));
    last = static_cast<UINT>(SendMessageA(data.grid, GM_GETLASTCOL, 0, 0));
    v = LOWORD(c.address);
  } else {
    return;
  }
  if (v < first || v > last) {
    ShowWindow(data.editor, SW_HIDE);
  } else if (v == first || v == last) {
    PlaceEditor(data.editor, c.rect);
    ShowWindow(data.editor, SW_SHOW);
    SetFocus(data.editor);
  }
}

void OnDoubleClick(ChildData& data) {
  ShowWindow(data.editor, SW_SHOW);
  SetFocus(data.editor);
  data.editing = 1;
}

}  // namespace

void SetColumnTitles(HWND grid, UINT count) {
  UINT i = 1;
  do {  // the first title goes in before the count is compared
    SendMessageA(grid, GM_SETCELLTEXT, GRID_CELL(i, 0), reinterpret_cast<LPARAM>(ColumnTitle(i).c_str()));
  } while (++i < count);
}

void SetRowTitles(HWND grid, UINT count) {
  UINT r = 1;
  do {
    SendMessageA(grid, GM_SETCELLTEXT, GRID_CELL(0, r), reinterpret_cast<LPARAM>(RowTitle(r).c_str()));
  } while (++r < count);
}

LRESULT CALLBACK ChildProc(HWND child, UINT msg, WPARAM wParam, LPARAM lParam) {
  ChildData* data = DataOf(child);
  switch (msg) {
    case WM_CREATE:
      return OnCreate(child);
    case WM_SIZE:
      if (!data) return 0;
      MoveWindow(data->grid, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return DefMDIChildProcA(child, msg, wParam, lParam);
    case WM_SIZING:
      if (data) SendMessageA(data->grid, GM_SIZING, wParam, lParam);
      return TRUE;
    case WM_MDIACTIVATE:
      return OnMdiActivate(child, lParam);
    case WM_CLOSE:
      return OnClose(child);
    case WM_DESTROY:
      return OnDestroy(child);
    default:
      break;
  }
  if (data) {
    switch (msg) {
      case GN_CELLENTERED:
        OnCellEntered(*data);
        return 0;
      case GN_CELLLEAVING:
        OnCellLeaving(*data);
        return 0;
      case GN_SCROLLED:
        OnScrolled(*data, lParam);
        return 0;
      case GN_DBLCLK:
        OnDoubleClick(*data);
        return 0;
      case GN_CONTEXTMENU:
        ShowNotAvailable();
        return 0;
      default:
        break;
    }
  }
  return DefMDIChildProcA(child, msg, wParam, lParam);
}

}  // namespace celdra
