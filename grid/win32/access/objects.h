// What the grid's MSAA objects and its UI Automation elements share: the
// link to their grid, reference counting, the guard every method begins
// with, the texts and places they report, and the factories that make them.
#pragma once

#include <cstdlib>
#include <new>
#include <string>
#include <utility>

#include "access/access.h"
#include "access/libraries.h"

namespace latticor::win32 {

// The objects' memory comes straight from malloc. The runtime's own
// nothrow new throws std::bad_alloc and catches it inside, and a thread's
// first exception takes the runtime's exception state for the rest of the
// thread: a grid out of memory would keep a block it never asked for.
struct PlainHeap {
  static void* operator new(size_t bytes, const std::nothrow_t&) noexcept { return std::malloc(bytes); }
  static void operator delete(void* block) noexcept { std::free(block); }
  static void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
};

// The one thing objects keep of their grid: its window, while it lives.
// The grid's record holds a reference; WM_DESTROY cuts the link, after
// which every object answers that it is no longer connected.
struct AccessLink : PlainHeap {
  LONG refs;
  HWND grid;  // null once the grid is gone
};
// Made on first use; null when memory runs out.
AccessLink* LinkOf(HWND grid);
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

// Every method of an object begins alike: the grid must still hold the
// object, else `gone` is the answer; then `body` answers with the grid's
// state. Nothing thrown gets out to the client, which knows only HRESULTs:
// running out of memory is E_OUTOFMEMORY.
template <typename Body>
HRESULT Act(const ItemRef& ref, HRESULT gone, Body body) noexcept {
  try {
    const GridState* s = ref.Live();
    return s ? body(*s) : gone;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}
// The same for a method that answers through `out`: the pointer must be
// there, and what it points to starts empty (a VARIANT as VT_EMPTY, a
// pointer null), whatever the answer.
template <typename Out, typename Body>
HRESULT Answer(const ItemRef& ref, HRESULT gone, Out* out, Body body) noexcept {
  if (!out) return E_POINTER;
  *out = Out{};
  return Act(ref, gone, body);
}

// Reference counting for the objects handed to clients; each answers
// QueryInterface itself.
template <typename... Interfaces>
class ComObject : public Interfaces..., public PlainHeap {
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

// A new object, or null when memory runs out: never an exception.
template <typename T, typename... Args>
T* MakeObject(Args&&... args) noexcept {
  return new (std::nothrow) T(std::forward<Args>(args)...);
}
// The objects handed to clients, with one reference for the caller; null
// when memory runs out.
IAccessible* NewAccessible(AccessLink* link, const AccessItem& item) noexcept;
IRawElementProviderSimple* NewUiaElement(AccessLink* link, const AccessItem& item) noexcept;
// `*out` set to a new object (or null): S_OK, or E_OUTOFMEMORY.
template <typename I>
HRESULT Made(I* object, I** out) {
  *out = object;
  return object ? S_OK : E_OUTOFMEMORY;
}

// A cell's bytes as characters, read as painting reads them in the cell's
// font (0: the grid's). Every name and value goes through here.
std::wstring CellTextAsWide(const GridState& s, const char* text, const void* font);
// The grid: its window text, else its parent's (a document's title), else
// "Grid". The others: as the core composes them.
std::wstring AccessNameText(HWND grid, const GridState& s, const AccessItem& item);
// A data cell's text; nothing for other objects.
bool AccessValueText(const GridState& s, const AccessItem& item, std::wstring& value);
// A value a client sets for a data cell: as the user's committed edit, with
// GS_EX_EDIT only (GN_BEGINEDIT and GN_ENDEDIT may refuse it). Whether the
// cell may be set at all, and whether it was.
bool CellTakesValues(const GridState& s, const AccessItem& item);
bool SetCellValue(HWND grid, const GridState& s, const AccessItem& item, const wchar_t* value);
// Where it lies on the screen.
RECT ScreenRectOf(HWND grid, const GridState& s, const AccessItem& item);
// The cell or title at a point of the screen.
AccessItem ItemAtScreen(HWND grid, const GridState& s, POINT screen);
bool GridHasFocus(HWND grid);
// What has the keyboard focus: the current cell while the grid has it,
// else nothing.
AccessItem FocusedItem(HWND grid, const GridState& s);
BSTR NewBstr(const std::wstring& text);
// A client moves the current cell there (the selection shrinks to it), or
// extends the selection to it; announced once, as one change.
void SelectCell(HWND grid, const AccessItem& cell, bool extend);

}  // namespace latticor::win32
