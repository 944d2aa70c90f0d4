#include "access.h"

#include <cstring>

#include "text.h"

namespace latticor::win32 {

// ---- The link ------------------------------------------------------------

AccessLink* LinkOf(HWND grid, GridState& s) {
  if (!s.accessLink) s.accessLink = new AccessLink{1, grid};
  return static_cast<AccessLink*>(s.accessLink);
}

void CutLink(HWND grid, GridState& s) {
  NoteFocus(grid, false);
  if (!s.accessLink) return;
  auto* link = static_cast<AccessLink*>(s.accessLink);
  link->grid = nullptr;
  s.accessLink = nullptr;
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

LRESULT OnGetObject(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  const auto id = static_cast<LONG>(static_cast<DWORD>(lParam));
  const MsaaFunctions* msaa = id == OBJID_CLIENT || id == UiaRootObjectId ? Msaa() : nullptr;
  if (msaa && ApartmentReady(*msaa)) {
    if (id == OBJID_CLIENT) {
      KeepLibraryLoaded();
      IAccessible* gridObject = NewAccessible(LinkOf(grid, s), kGridItem);
      const LRESULT result = msaa->LresultFromObject(__uuidof(IAccessible), wParam, gridObject);
      gridObject->Release();
      return result;
    }
    if (const UiaFunctions* uia = Uia()) {
      KeepLibraryLoaded();
      IRawElementProviderSimple* root = NewUiaElement(LinkOf(grid, s), kGridItem);
      const LRESULT result = uia->UiaReturnRawElementProvider(grid, wParam, lParam, root);
      root->Release();
      return result;
    }
  }
  return DefWindowProcA(grid, WM_GETOBJECT, wParam, lParam);
}

// ---- Events --------------------------------------------------------------

namespace {

enum class Event { kReorder, kSelection, kSelectionWithin, kFocus, kValue };

thread_local HWND focusedGrid;
thread_local ChangeWatch* innermostWatch;
thread_local ValueBatch* innermostBatch;

DWORD WinEventOf(Event e) {
  switch (e) {
    case Event::kReorder:
      return EVENT_OBJECT_REORDER;
    case Event::kSelection:
      return EVENT_OBJECT_SELECTION;
    case Event::kSelectionWithin:
      return EVENT_OBJECT_SELECTIONWITHIN;
    case Event::kFocus:
      return EVENT_OBJECT_FOCUS;
    case Event::kValue:
      break;
  }
  return EVENT_OBJECT_VALUECHANGE;
}

const UiaFunctions* UiaListening() {
  const UiaFunctions* uia = UiaIfLoaded();
  return uia && uia->UiaClientsAreListening() ? uia : nullptr;
}

void RaiseUia(const UiaFunctions& uia, HWND grid, Event e, const AccessItem& item) {
  GridState* s = StateOf(grid);
  if (!s) return;
  IRawElementProviderSimple* element = NewUiaElement(LinkOf(grid, *s), item);
  switch (e) {
    case Event::kSelection:
      uia.UiaRaiseAutomationEvent(element, UIA_SelectionItem_ElementSelectedEventId);
      break;
    case Event::kSelectionWithin:
      uia.UiaRaiseAutomationEvent(element, UIA_Selection_InvalidatedEventId);
      break;
    case Event::kFocus:
      uia.UiaRaiseAutomationEvent(element, UIA_AutomationFocusChangedEventId);
      break;
    case Event::kValue:
      if (item.part == Part::kCell) {
        VARIANT before{}, after{};
        std::wstring text;
        AccessValueText(*s, item, text);
        after.vt = VT_BSTR;
        after.bstrVal = NewBstr(text);
        uia.UiaRaiseAutomationPropertyChangedEvent(element, UIA_ValueValuePropertyId, before, after);
        Msaa()->SysFreeString(after.bstrVal);
        break;
      }
      [[fallthrough]];  // many cells at once: the table is to be read again
    case Event::kReorder:
      uia.UiaRaiseStructureChangedEvent(element, StructureChangeType_ChildrenInvalidated, nullptr, 0);
      break;
  }
  element->Release();
}

// One event on one object: to WinEvent hooks, then to UI Automation.
void Announce(HWND grid, Event e, const AccessItem& item) {
  const DWORD winEvent = WinEventOf(e);
  if (IsWinEventHookInstalled(winEvent)) {
    const GridState* s = StateOf(grid);
    if (!s) return;
    NotifyWinEvent(winEvent, grid, OBJID_CLIENT, ChildIdOf(*s, item));
  }
  if (const UiaFunctions* uia = UiaListening()) RaiseUia(*uia, grid, e, item);
}

}  // namespace

ChangeWatch::ChangeWatch(HWND grid, const GridState& s)
    : grid_(grid), before_(SnapshotOf(s)), outer_(innermostWatch), outermost_(true) {
  for (const ChangeWatch* w = outer_; w; w = w->outer_) {
    if (w->grid_ == grid) outermost_ = false;
  }
  innermostWatch = this;
}

ChangeWatch::~ChangeWatch() {
  innermostWatch = outer_;
  if (!outermost_) return;
  const GridState* s = StateOf(grid_);
  if (!s) return;
  const AccessChanges changes = ChangesBetween(before_, SnapshotOf(*s));
  const AccessItem current = CellItem(s->curCol, s->curRow);
  if (changes.reorder) Announce(grid_, Event::kReorder, kGridItem);
  if (changes.currentMoved) Announce(grid_, Event::kSelection, current);
  if (changes.selectionWithin) Announce(grid_, Event::kSelectionWithin, kGridItem);
  if (changes.currentMoved && focusedGrid == grid_) Announce(grid_, Event::kFocus, current);
}

ValueBatch::ValueBatch(HWND grid) : grid_(grid), outer_(innermostBatch) { innermostBatch = this; }

ValueBatch::~ValueBatch() {
  innermostBatch = outer_;
  if (changed_) Announce(grid_, Event::kValue, kGridItem);
}

bool ValueChangesHeard() { return IsWinEventHookInstalled(EVENT_OBJECT_VALUECHANGE) || UiaListening(); }

void AnnounceValue(HWND grid, uint32_t col, uint32_t row) {
  for (ValueBatch* b = innermostBatch; b; b = b->outer_) {
    if (b->grid_ == grid) {
      b->changed_ = true;
      return;
    }
  }
  Announce(grid, Event::kValue, CellItem(col, row));
}

void NoteFocus(HWND grid, bool gained) {
  if (gained) {
    focusedGrid = grid;
  } else if (focusedGrid == grid) {
    focusedGrid = nullptr;
  }
}

void AnnounceFocus(HWND grid) {
  const GridState* s = StateOf(grid);
  if (s && focusedGrid == grid) Announce(grid, Event::kFocus, CellItem(s->curCol, s->curRow));
}

}  // namespace latticor::win32
