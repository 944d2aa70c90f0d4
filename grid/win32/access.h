// The grid for screen readers, Win32 side: WM_GETOBJECT, the link that
// every accessible object holds instead of the grid's state, what the
// MSAA objects and the UI Automation provider share, and the events.
#pragma once

#include <string>

#include "accessible_model.h"
#include "grid_window.h"
#include "system_libraries.h"

namespace latticor::win32 {

// The one thing objects keep of their grid: its window, while it lives.
// The grid's state holds a reference; WM_DESTROY cuts the link, after
// which every object answers that it is no longer connected.
struct AccessLink {
  LONG refs;
  HWND grid;  // null once the grid is gone
};
AccessLink* LinkOf(HWND grid, GridState& s);  // made on first use
void CutLink(HWND grid, GridState& s);
void HoldLink(AccessLink* link);
void ReleaseLink(AccessLink* link);

// What an object stands for, and the way to its grid's state.
class ItemRef {
 public:
  ItemRef(AccessLink* link, const AccessItem& item);
  ItemRef(const ItemRef& other);
  ItemRef& operator=(const ItemRef&) = delete;
  ~ItemRef();
  // The state while the grid lives and the item exists in it; else null.
  GridState* Live() const;
  HWND grid() const { return link_->grid; }
  AccessLink* link() const { return link_; }
  const AccessItem& item() const { return item_; }

 private:
  AccessLink* link_;
  AccessItem item_;
};

// Reference counting for the objects handed to clients; each answers
// QueryInterface itself.
template <typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 protected:
  virtual ~ComObject() = default;
  // Hands out one of this object's interfaces.
  template <typename I>
  HRESULT Hand(I* face, void** out) {
    AddRef();
    *out = face;
    return S_OK;
  }

 private:
  LONG refs_ = 1;
};

// A cell's bytes as characters, read as painting reads them in the cell's
// font (0: the grid's). Every name and value goes through here.
std::wstring CellTextAsWide(const GridState& s, const char* text, const void* font);
// The grid: its window text, else its parent's (a document's title), else
// "Grid". The others: as the core composes them.
std::wstring AccessNameText(HWND grid, const GridState& s, const AccessItem& item);
// A data cell's text; nothing for other objects.
bool AccessValueText(const GridState& s, const AccessItem& item, std::wstring& value);
// Where it lies on the screen.
RECT ScreenRectOf(HWND grid, const GridState& s, const AccessItem& item);
// The cell or title at a point of the screen.
AccessItem ItemAtScreen(HWND grid, const GridState& s, POINT screen);
bool GridHasFocus(HWND grid);
BSTR NewBstr(const std::wstring& text);
// A client moves the current cell there (the selection shrinks to it), or
// extends the selection to it; announced once, as one change.
void SelectCell(HWND grid, const AccessItem& cell, bool extend);

// New objects, with one reference for the caller.
IAccessible* NewAccessible(AccessLink* link, const AccessItem& item);
IRawElementProviderSimple* NewUiaElement(AccessLink* link, const AccessItem& item);

LRESULT OnGetObject(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam);

// ---- Events ------------------------------------------------------------

// Watches one grid across a message (or a group of them): when the
// outermost watch of that grid ends, the changes are announced once, the
// shape first, then the current cell (selection, then focus while the grid
// has it) and the selection within.
class ChangeWatch {
 public:
  ChangeWatch(HWND grid, const GridState& s);
  ~ChangeWatch();
  ChangeWatch(const ChangeWatch&) = delete;
  ChangeWatch& operator=(const ChangeWatch&) = delete;

 private:
  HWND grid_;
  AccessSnapshot before_;
  ChangeWatch* outer_;
  bool outermost_;
};

// Cell texts set while a batch of the grid is open (a paste) are announced
// together, once, on the grid.
class ValueBatch {
 public:
  explicit ValueBatch(HWND grid);
  ~ValueBatch();
  ValueBatch(const ValueBatch&) = delete;
  ValueBatch& operator=(const ValueBatch&) = delete;

 private:
  friend void AnnounceValue(HWND grid, uint32_t col, uint32_t row);
  HWND grid_;
  ValueBatch* outer_;
  bool changed_ = false;
};

// Whether a client may hear a value change: the text comparison that
// decides it costs nothing when none can.
bool ValueChangesHeard();
void AnnounceValue(HWND grid, uint32_t col, uint32_t row);

// The grid gained or lost the focus (kept per thread: no system call).
void NoteFocus(HWND grid, bool gained);
// Gaining the focus: the current cell is announced as focused.
void AnnounceFocus(HWND grid);

}  // namespace latticor::win32
