// The grid's MSAA objects: one small IAccessible for the grid, a row or a
// cell, made on request; and the selection's lazy enumerator.
#include "access/objects.h"

namespace latticor::win32 {

namespace {

constexpr HRESULT kGone = CO_E_OBJNOTCONNECTED;

static_assert(kRoleTable == ROLE_SYSTEM_TABLE && kRoleRow == ROLE_SYSTEM_ROW && kRoleCell == ROLE_SYSTEM_CELL &&
                  kRoleColumnHeader == ROLE_SYSTEM_COLUMNHEADER && kRoleRowHeader == ROLE_SYSTEM_ROWHEADER,
              "the core's roles are MSAA's");
static_assert(kStateSelected == STATE_SYSTEM_SELECTED && kStateFocused == STATE_SYSTEM_FOCUSED &&
                  kStateOffscreen == STATE_SYSTEM_OFFSCREEN && kStateFocusable == STATE_SYSTEM_FOCUSABLE &&
                  kStateSelectable == STATE_SYSTEM_SELECTABLE &&
                  kStateMultiSelectable == STATE_SYSTEM_MULTISELECTABLE &&
                  kStateExtSelectable == STATE_SYSTEM_EXTSELECTABLE,
              "the core's states are MSAA's");

void SetI4(VARIANT* v, LONG value) {
  v->vt = VT_I4;
  v->lVal = value;
}

// Nothing to answer: the VARIANT stays VT_EMPTY, the text null.
constexpr HRESULT kNothing = S_FALSE;

// Whether `inner` is `outer` or lies inside it.
bool Within(const AccessItem& inner, const AccessItem& outer) {
  switch (outer.part) {
    case Part::kGrid:
      return inner.part != Part::kNone;
    case Part::kRow:
      return inner.part != Part::kGrid && inner.part != Part::kNone && inner.row == outer.row;
    default:
      return inner == outer;
  }
}

// The selection, listed lazily: each item is a cell's child id on the
// grid, worked out when it is asked for.
class SelectionEnumerator final : public ComObject<IEnumVARIANT> {
 public:
  SelectionEnumerator(const ItemRef& grid, const SelectionList& list, uint32_t next)
      : grid_(grid), list_(list), next_(next) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IEnumVARIANT)) return Hand(static_cast<IEnumVARIANT*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* items, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    if (!items) return E_POINTER;
    return Act(grid_, kGone, [&](const GridState& s) {
      ULONG n = 0;
      for (; n < wanted; ++n) {
        const AccessItem cell = ListedCell(list_, next_);
        if (!Exists(s, cell)) break;  // the listing ended, or the grid shrank
        SetI4(&items[n], ChildIdOf(s, cell));
        ++next_;
      }
      if (fetched) *fetched = n;
      return n == wanted ? S_OK : S_FALSE;
    });
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    return Act(grid_, kGone, [&](const GridState&) {
      const uint32_t left = list_.count - next_;
      next_ += count < left ? static_cast<uint32_t>(count) : left;
      return count <= left ? S_OK : S_FALSE;
    });
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    next_ = 0;
    return Act(grid_, kGone, [](const GridState&) { return S_OK; });
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
    return Answer(grid_, kGone, out, [&](const GridState&) {
      return Made<IEnumVARIANT>(MakeObject<SelectionEnumerator>(grid_, list_, next_), out);
    });
  }

 private:
  ItemRef grid_;
  SelectionList list_;
  uint32_t next_;
};

class Accessible final : public ComObject<IAccessible, IServiceProvider> {
 public:
  Accessible(AccessLink* link, const AccessItem& item) : ref_(link, item) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
      return Hand(static_cast<IAccessible*>(this), out);
    }
    if (riid == __uuidof(IServiceProvider)) return Hand(static_cast<IServiceProvider*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
  }

  // No type information: clients call IAccessible directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override {
    return Answer(ref_, kGone, out, [&](const GridState&) {
      const AccessItem parent = ParentOf(ref_.item());
      if (parent.part == Part::kNone) {  // the grid's parent is its window
        return Msaa()->AccessibleObjectFromWindow(ref_.grid(), static_cast<DWORD>(OBJID_WINDOW),
                                                  __uuidof(IDispatch), reinterpret_cast<void**>(out));
      }
      return Made<IDispatch>(NewAccessible(ref_.link(), parent), out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return Answer(ref_, kGone, count, [&](const GridState& s) {
      *count = static_cast<LONG>(ChildCount(s, ref_.item()));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return About(child, out, [&](const GridState&, const AccessItem& item) {
      if (item == ref_.item()) return E_INVALIDARG;
      return Made<IDispatch>(NewAccessible(ref_.link(), item), out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    return About(child, out, [&](const GridState& s, const AccessItem& item) {
      *out = NewBstr(AccessNameText(ref_.grid(), s, item));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    return About(child, out, [&](const GridState& s, const AccessItem& item) {
      std::wstring value;
      if (!AccessValueText(s, item, value)) return DISP_E_MEMBERNOTFOUND;
      *out = NewBstr(value);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override { return NoText(child, out); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override { return NoText(child, out); }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override { return NoText(child, out); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override { return NoText(child, out); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    if (topic) *topic = 0;
    return NoText(child, file);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    return About(child, out, [&](const GridState&, const AccessItem& item) {
      SetI4(out, static_cast<LONG>(RoleOf(item)));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    return About(child, out, [&](const GridState& s, const AccessItem& item) {
      uint32_t states = AccessStates(s, item, GridHasFocus(ref_.grid()));
      if (!IsWindowVisible(ref_.grid())) states |= STATE_SYSTEM_INVISIBLE;
      SetI4(out, static_cast<LONG>(states));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      const AccessItem focused = FocusedItem(ref_.grid(), s);
      return Within(focused, ref_.item()) ? Return(focused, out) : kNothing;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      const AccessItem& self = ref_.item();
      if (self.part == Part::kCell) return IsSelected(s, self) ? Return(self, out) : kNothing;
      if (self.part != Part::kGrid) return kNothing;
      const SelectionList list = ListSelection(s);
      if (list.count == 0) return kNothing;
      if (list.count == 1) {
        SetI4(out, ChildIdOf(s, ListedCell(list, 0)));
        return S_OK;
      }
      IEnumVARIANT* cells = MakeObject<SelectionEnumerator>(ref_, list, 0);
      if (!cells) return E_OUTOFMEMORY;
      out->vt = VT_UNKNOWN;
      out->punkVal = cells;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return About(child, [&](const GridState&, const AccessItem& item) {
      // One block, anchored at the current cell: cells cannot be added or
      // taken out one by one.
      const LONG known = SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION | SELFLAG_EXTENDSELECTION;
      if (!IsDataCell(item) || flags == 0 || (flags & ~known) != 0) return E_INVALIDARG;
      const HWND grid = ref_.grid();
      SelectCell(grid, item, (flags & SELFLAG_EXTENDSELECTION) != 0);
      if ((flags & SELFLAG_TAKEFOCUS) && !GridHasFocus(grid)) SetFocus(grid);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    return About(child, [&](const GridState& s, const AccessItem& item) {
      const RECT r = ScreenRectOf(ref_.grid(), s, item);
      *left = r.left;
      *top = r.top;
      *width = r.right - r.left;
      *height = r.bottom - r.top;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* out) override {
    return About(start, out, [&](const GridState& s, const AccessItem& from) {
      static constexpr Direction kDirections[] = {Direction::kUp,   Direction::kDown,     Direction::kLeft,
                                                  Direction::kRight, Direction::kNext,     Direction::kPrevious,
                                                  Direction::kFirstChild, Direction::kLastChild};
      if (direction < NAVDIR_UP || direction > NAVDIR_LASTCHILD) return E_INVALIDARG;
      const AccessItem to = Navigate(s, from, kDirections[direction - NAVDIR_UP]);
      return to.part == Part::kNone ? kNothing : Return(to, out);
    });
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      const AccessItem hit = ItemAtScreen(ref_.grid(), s, POINT{x, y});
      return Within(hit, ref_.item()) ? Return(hit, out) : kNothing;
    });
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    // A cell has nothing to do.
    return About(child, [](const GridState&, const AccessItem&) { return DISP_E_MEMBERNOTFOUND; });
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return Unsupported(); }
  // Titles stay read-only, and data cells unless the grid edits in place.
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return About(child, [&](const GridState& s, const AccessItem& item) {
      if (!CellTakesValues(s, item)) return DISP_E_MEMBERNOTFOUND;
      return SetCellValue(ref_.grid(), s, item, value) ? S_OK : E_FAIL;
    });
  }

  // UI Automation asks an MSAA object for its UIA counterpart here.
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID riid, void** out) override {
    return Answer(ref_, kGone, out, [&](const GridState&) {
      if (service != __uuidof(IAccessibleEx) || !Uia()) return E_NOINTERFACE;
      IRawElementProviderSimple* element = NewUiaElement(ref_.link(), ref_.item());
      if (!element) return E_OUTOFMEMORY;
      const HRESULT hr = element->QueryInterface(riid, out);
      element->Release();
      return hr;
    });
  }

 private:
  // The object a child id names, counted from this one (0 is this one).
  HRESULT Resolve(const GridState& s, const VARIANT& child, AccessItem& item) const {
    if (child.vt != VT_I4) return E_INVALIDARG;
    item = ChildOf(s, ref_.item(), child.lVal);
    return Exists(s, item) ? S_OK : E_INVALIDARG;
  }
  // A method about the object that `child` names: body(state, item).
  template <typename Body>
  HRESULT About(const VARIANT& child, Body body) {
    return Act(ref_, kGone, [&](const GridState& s) {
      AccessItem item;
      const HRESULT hr = Resolve(s, child, item);
      return hr == S_OK ? body(s, item) : hr;
    });
  }
  template <typename Out, typename Body>
  HRESULT About(const VARIANT& child, Out* out, Body body) {
    if (!out) return E_POINTER;
    *out = Out{};
    return About(child, body);
  }
  HRESULT NoText(const VARIANT& child, BSTR* out) {
    return About(child, out, [](const GridState&, const AccessItem&) { return kNothing; });
  }
  HRESULT Unsupported() const {
    return Act(ref_, kGone, [](const GridState&) { return DISP_E_MEMBERNOTFOUND; });
  }
  // This object as CHILDID_SELF, any other as an object of its own.
  HRESULT Return(const AccessItem& item, VARIANT* out) const {
    if (item == ref_.item()) {
      SetI4(out, CHILDID_SELF);
      return S_OK;
    }
    IAccessible* object = NewAccessible(ref_.link(), item);
    if (!object) return E_OUTOFMEMORY;
    out->vt = VT_DISPATCH;
    out->pdispVal = object;
    return S_OK;
  }

  ItemRef ref_;
};

}  // namespace

IAccessible* NewAccessible(AccessLink* link, const AccessItem& item) noexcept {
  return MakeObject<Accessible>(link, item);
}

}  // namespace latticor::win32
