// The link between a grid and its accessible objects, what the objects
// share, and WM_GETOBJECT.
#include "access/objects.h"
#include "edit.h"
#include "handlers.h"
#include "latticor.h"
#include "params.h"
#include "text.h"
#include "watch.h"

namespace latticor::win32 {

// ---- The link ------------------------------------------------------------

AccessLink* LinkOf(HWND grid) {
  GridWindow* w = WindowOf(grid);
  if (w && !w->accessLink) w->accessLink = MakeObject<AccessLink>(AccessLink{{}, 1, grid});
  return w ? w->accessLink : nullptr;
}

void CutLink(HWND grid, GridWindow& w) {
  NoteFocus(grid, false);
  AccessLink* link = w.accessLink;
  if (!link) return;
  link->grid = nullptr;
  w.accessLink = nullptr;
  ReleaseLink(link);
  // UI Automation forgets the window's provider.
  if (const UiaFunctions* uia = UiaIfLoaded()) uia->UiaReturnRawElementProvider(grid, 0, 0, nullptr);
}

void HoldLink(AccessLink* link) { InterlockedIncrement(&link->refs); }

void ReleaseLink(AccessLink* link) {
  if (InterlockedDecrement(&link->refs) == 0) delete link;
}

ItemRef::ItemRef(AccessLink* link, const AccessItem& item) : link_(link), item_(item) { HoldLink(link_); }
ItemRef::ItemRef(const ItemRef& other) : ItemRef(other.link_, other.item_) {}
ItemRef::~ItemRef() { ReleaseLink(link_); }

GridState* ItemRef::Live() const {
  if (!link_->grid) return nullptr;
  GridState* s = StateOf(link_->grid);
  return s && Exists(*s, item_) ? s : nullptr;
}

// ---- What objects share --------------------------------------------------

std::wstring CellTextAsWide(const GridState& s, const char* text, const void* font) {
  std::wstring wide;
  WithTextChars(TextCodePage(s, static_cast<HFONT>(const_cast<void*>(font))), text,
                [&](const wchar_t* chars, int length) { wide.assign(chars, static_cast<size_t>(length)); });
  return wide;
}

namespace {

std::wstring WindowText(HWND hwnd) {
  wchar_t text[256] = {};
  if (hwnd) GetWindowTextW(hwnd, text, 256);
  return text;
}

}  // namespace

std::wstring AccessNameText(HWND grid, const GridState& s, const AccessItem& item) {
  if (item.part == Part::kGrid) {
    std::wstring name = WindowText(grid);
    if (name.empty()) name = WindowText(GetParent(grid));
    return name.empty() ? L"Grid" : name;
  }
  const AccessName name = NameOf(s, item);
  std::wstring text = name.rowWord ? L"Row " : L"";
  for (uint32_t i = 0; i < name.count; ++i) {
    const NamePiece& piece = name.pieces[i];
    if (i) text += L' ';
    if (piece.text[0] || !piece.numbered) {
      text += CellTextAsWide(s, piece.text, piece.font);
    } else {
      text += std::to_wstring(piece.number);
    }
  }
  return text;
}

bool AccessValueText(const GridState& s, const AccessItem& item, std::wstring& value) {
  if (!IsDataCell(item)) return false;
  const GridCell& cell = *CellAt(s, item.col, item.row);
  value = CellTextAsWide(s, cell.text, cell.cellFont);
  return true;
}

bool CellTakesValues(const GridState& s, const AccessItem& item) {
  return IsDataCell(item) && (s.exStyle & kExEdit);
}

bool SetCellValue(HWND grid, const GridState& s, const AccessItem& item, const wchar_t* value) {
  // The characters as the cell's bytes, read as its name and value are.
  const UINT codePage = TextCodePage(s, static_cast<HFONT>(CellAt(s, item.col, item.row)->cellFont));
  const int length = value ? lstrlenW(value) : 0;
  std::string bytes(static_cast<size_t>(
                        length ? WideCharToMultiByte(codePage, 0, value, length, nullptr, 0, nullptr, nullptr) : 0),
                    '\0');
  if (!bytes.empty()) {
    WideCharToMultiByte(codePage, 0, value, length, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
  }
  return SetValueAsUser(grid, item.col, item.row, bytes.c_str());
}

RECT ScreenRectOf(HWND grid, const GridState& s, const AccessItem& item) {
  RECT r;
  if (item.part == Part::kGrid) {
    GetClientRect(grid, &r);
  } else {
    r = ToRECT(LocationOf(s, item));
  }
  MapWindowPoints(grid, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

AccessItem ItemAtScreen(HWND grid, const GridState& s, POINT p) {
  ScreenToClient(grid, &p);
  return ItemAt(s, p.x, p.y);
}

bool GridHasFocus(HWND grid) { return GetFocus() == grid; }

AccessItem FocusedItem(HWND grid, const GridState& s) {
  return GridHasFocus(grid) ? CellItem(s.curCol, s.curRow) : kNoItem;
}

BSTR NewBstr(const std::wstring& text) {
  return Msaa()->SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
}

void SelectCell(HWND grid, const AccessItem& cell, bool extend) {
  GridState* s = StateOf(grid);
  if (!s) return;
  ChangeWatch watch(grid, *s);
  // As a program would: the same messages, with the same notifications.
  if (!extend) {
    SendMessageA(grid, GM_SETCURCOL, cell.col, 0);
    SendMessageA(grid, GM_SETCURROW, cell.row, 0);
  }
  s = StateOf(grid);
  if (s && s->selEndCol != cell.col) SendMessageA(grid, GM_SETSELENDCOL, cell.col, 0);
  s = StateOf(grid);
  if (s && s->selEndRow != cell.row) SendMessageA(grid, GM_SETSELENDROW, cell.row, 0);
}

// ---- WM_GETOBJECT --------------------------------------------------------

namespace {

// Calls from other processes must reach the grid on its own thread, one at
// a time, through its message loop: a single-threaded apartment. A thread
// that chose the multithreaded one gets the system's default object.
bool ApartmentReady(const MsaaFunctions& msaa) {
  static thread_local int ready;  // 0 not yet asked, 1 yes, -1 no
  if (ready == 0) ready = SUCCEEDED(msaa.CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) ? 1 : -1;
  return ready == 1;
}

}  // namespace

LRESULT OnGetObject(HWND grid, GridState&, WPARAM wParam, LPARAM lParam) {
  const auto id = static_cast<LONG>(static_cast<DWORD>(lParam));
  const MsaaFunctions* msaa = id == OBJID_CLIENT || id == UiaRootObjectId ? Msaa() : nullptr;
  AccessLink* link = msaa && ApartmentReady(*msaa) ? LinkOf(grid) : nullptr;
  if (link && id == OBJID_CLIENT) {
    if (IAccessible* gridObject = NewAccessible(link, kGridItem)) {
      KeepLibraryLoaded();
      const LRESULT result = msaa->LresultFromObject(__uuidof(IAccessible), wParam, gridObject);
      gridObject->Release();
      return result;
    }
  } else if (const UiaFunctions* uia = link ? Uia() : nullptr) {
    if (IRawElementProviderSimple* root = NewUiaElement(link, kGridItem)) {
      KeepLibraryLoaded();
      const LRESULT result = uia->UiaReturnRawElementProvider(grid, wParam, lParam, root);
      root->Release();
      return result;
    }
  }
  return DefWindowProcA(grid, WM_GETOBJECT, wParam, lParam);
}

}  // namespace latticor::win32
