// The events the grid raises for screen readers: to WinEvent hooks and to
// UI Automation, once per message that changed something.
#include "access/objects.h"

namespace latticor::win32 {

// ---- Events --------------------------------------------------------------

namespace {

enum class Event { kReorder, kSelection, kSelectionWithin, kFocus, kValue };

thread_local HWND focusedGrid;
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

// An event that cannot be raised for want of memory is not raised: the
// message that owes it goes on.
void RaiseUia(const UiaFunctions& uia, HWND grid, Event e, const AccessItem& item) noexcept try {
  const GridState* s = StateOf(grid);
  AccessLink* link = s ? LinkOf(grid) : nullptr;
  IRawElementProviderSimple* element = link ? NewUiaElement(link, item) : nullptr;
  if (!element) return;
  const struct Held {
    IUnknown* object;
    ~Held() { object->Release(); }
  } held{element};
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
} catch (...) {
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

void AnnounceChanges(HWND grid, const AccessSnapshot& before) {
  const GridState* s = StateOf(grid);
  if (!s) return;
  const AccessChanges changes = ChangesBetween(before, SnapshotOf(*s));
  const AccessItem current = CellItem(s->curCol, s->curRow);
  if (changes.reorder) Announce(grid, Event::kReorder, kGridItem);
  if (changes.currentMoved) Announce(grid, Event::kSelection, current);
  if (changes.selectionWithin) Announce(grid, Event::kSelectionWithin, kGridItem);
  if (changes.currentMoved && focusedGrid == grid) Announce(grid, Event::kFocus, current);
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
