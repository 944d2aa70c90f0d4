// The grid's UI Automation provider: one small element for the grid (a
// DataGrid and the fragment root), a row, or a cell, made on request, with
// the patterns that each one has. The tree is the MSAA objects' tree.
#include "access/objects.h"
#include "latticor.h"

namespace latticor::win32 {

namespace {

constexpr HRESULT kGone = UIA_E_ELEMENTNOTAVAILABLE;
// GetSelection lists at most this many cells: a selection of the whole
// grid would otherwise make four million elements.
constexpr uint32_t kMostListedCells = 1000;

void SetBool(VARIANT* v, bool value) {
  v->vt = VT_BOOL;
  v->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

// A one-dimensional array of `n` elements, item(i) naming each; null when
// memory runs out.
template <typename ItemAt>
SAFEARRAY* ElementArray(AccessLink* link, uint32_t n, ItemAt itemAt) {
  const MsaaFunctions& msaa = *Msaa();
  SAFEARRAY* array = msaa.SafeArrayCreateVector(VT_UNKNOWN, 0, n);
  for (LONG i = 0; array && static_cast<uint32_t>(i) < n; ++i) {
    IRawElementProviderSimple* element = NewUiaElement(link, itemAt(static_cast<uint32_t>(i)));
    if (!element) return nullptr;  // the array, half filled, goes unanswered
    msaa.SafeArrayPutElement(array, &i, element);  // holds its own reference
    element->Release();
  }
  return array;
}

class UiaElement final
    : public ComObject<IRawElementProviderSimple, IRawElementProviderFragment, IRawElementProviderFragmentRoot,
                       IAccessibleEx, IGridProvider, ITableProvider, ISelectionProvider, IScrollProvider,
                       IGridItemProvider, ITableItemProvider, IValueProvider, ISelectionItemProvider,
                       IScrollItemProvider> {
 public:
  UiaElement(AccessLink* link, const AccessItem& item) : ref_(link, item) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    const bool root = item().part == Part::kGrid, cell = IsDataCell(item());
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IRawElementProviderSimple)) {
      return Hand(static_cast<IRawElementProviderSimple*>(this), out);
    }
    if (riid == __uuidof(IRawElementProviderFragment)) return Hand(static_cast<IRawElementProviderFragment*>(this), out);
    if (riid == __uuidof(IAccessibleEx)) return Hand(static_cast<IAccessibleEx*>(this), out);
    if (root) {
      if (riid == __uuidof(IRawElementProviderFragmentRoot)) {
        return Hand(static_cast<IRawElementProviderFragmentRoot*>(this), out);
      }
      if (riid == __uuidof(IGridProvider)) return Hand(static_cast<IGridProvider*>(this), out);
      if (riid == __uuidof(ITableProvider)) return Hand(static_cast<ITableProvider*>(this), out);
      if (riid == __uuidof(ISelectionProvider)) return Hand(static_cast<ISelectionProvider*>(this), out);
      if (riid == __uuidof(IScrollProvider)) return Hand(static_cast<IScrollProvider*>(this), out);
    }
    if (cell) {
      if (riid == __uuidof(IGridItemProvider)) return Hand(static_cast<IGridItemProvider*>(this), out);
      if (riid == __uuidof(ITableItemProvider)) return Hand(static_cast<ITableItemProvider*>(this), out);
      if (riid == __uuidof(IValueProvider)) return Hand(static_cast<IValueProvider*>(this), out);
      if (riid == __uuidof(ISelectionItemProvider)) return Hand(static_cast<ISelectionItemProvider*>(this), out);
      if (riid == __uuidof(IScrollItemProvider)) return Hand(static_cast<IScrollItemProvider*>(this), out);
    }
    return E_NOINTERFACE;
  }

  // ---- IRawElementProviderSimple ----
  HRESULT STDMETHODCALLTYPE get_ProviderOptions(enum ProviderOptions* out) override {
    if (!out) return E_POINTER;
    *out = static_cast<enum ProviderOptions>(ProviderOptions_ServerSideProvider | ProviderOptions_UseComThreading);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** out) override {
    return Answer(ref_, kGone, out, [&](const GridState&) {
      const IID* face = nullptr;
      switch (pattern) {
        case UIA_GridPatternId: face = &__uuidof(IGridProvider); break;
        case UIA_TablePatternId: face = &__uuidof(ITableProvider); break;
        case UIA_SelectionPatternId: face = &__uuidof(ISelectionProvider); break;
        case UIA_ScrollPatternId: face = &__uuidof(IScrollProvider); break;
        case UIA_GridItemPatternId: face = &__uuidof(IGridItemProvider); break;
        case UIA_TableItemPatternId: face = &__uuidof(ITableItemProvider); break;
        case UIA_ValuePatternId: face = &__uuidof(IValueProvider); break;
        case UIA_SelectionItemPatternId: face = &__uuidof(ISelectionItemProvider); break;
        case UIA_ScrollItemPatternId: face = &__uuidof(IScrollItemProvider); break;
        default: return S_OK;  // not one of ours: no provider
      }
      QueryInterface(*face, reinterpret_cast<void**>(out));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      const AccessItem& self = item();
      const bool root = self.part == Part::kGrid, cell = IsDataCell(self);
      switch (property) {
        case UIA_ControlTypePropertyId:
          out->vt = VT_I4;
          out->lVal = ControlType();
          break;
        case UIA_NamePropertyId:
          out->vt = VT_BSTR;
          out->bstrVal = NewBstr(AccessNameText(ref_.grid(), s, self));
          break;
        case UIA_IsKeyboardFocusablePropertyId:
          if (!root) SetBool(out, cell);
          break;
        case UIA_HasKeyboardFocusPropertyId:
          if (!root) SetBool(out, cell && FocusedItem(ref_.grid(), s) == self);
          break;
        case UIA_IsOffscreenPropertyId:
          if (!root) SetBool(out, IsOffscreen(s, self));
          break;
        case UIA_IsEnabledPropertyId:
          if (!root) SetBool(out, true);
          break;
        default:
          break;  // the window's host provider answers for the rest
      }
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** out) override {
    return Answer(ref_, kGone, out, [&](const GridState&) {
      if (item().part != Part::kGrid) return S_OK;
      const UiaFunctions* uia = Uia();
      return uia ? uia->UiaHostProviderFromHwnd(ref_.grid(), out) : E_FAIL;
    });
  }

  // ---- IRawElementProviderFragment ----
  HRESULT STDMETHODCALLTYPE Navigate(enum NavigateDirection direction, IRawElementProviderFragment** out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      const bool row = item().part == Part::kRow;
      AccessItem to = kNoItem;
      switch (direction) {
        case NavigateDirection_Parent:
          to = ParentOf(item());  // the grid's parent is the host's business
          break;
        case NavigateDirection_NextSibling:
          to = latticor::Navigate(s, item(), row ? Direction::kDown : Direction::kRight);
          break;
        case NavigateDirection_PreviousSibling:
          to = latticor::Navigate(s, item(), row ? Direction::kUp : Direction::kLeft);
          break;
        case NavigateDirection_FirstChild:
          to = latticor::Navigate(s, item(), Direction::kFirstChild);
          break;
        case NavigateDirection_LastChild:
          to = latticor::Navigate(s, item(), Direction::kLastChild);
          break;
      }
      if (to.part == Part::kGrid && item().part == Part::kGrid) to = kNoItem;
      return to.part == Part::kNone ? S_OK : Fragment(to, out);
    });
  }
  // Rows {3, r + 1}, cells {3, r + 1, c + 1}: unique below the grid, whose
  // own id its window gives.
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** out) override {
    return Answer(ref_, kGone, out, [&](const GridState&) {
      if (item().part == Part::kGrid) return S_OK;
      const LONG parts[] = {UiaAppendRuntimeId, static_cast<LONG>(item().row + 1),
                            static_cast<LONG>(item().col + 1)};
      const ULONG n = item().part == Part::kRow ? 2 : 3;
      const MsaaFunctions& msaa = *Msaa();
      *out = msaa.SafeArrayCreateVector(VT_I4, 0, n);
      for (LONG i = 0; *out && static_cast<ULONG>(i) < n; ++i) {
        LONG value = parts[i];
        msaa.SafeArrayPutElement(*out, &i, &value);
      }
      return *out ? S_OK : E_OUTOFMEMORY;
    });
  }
  HRESULT STDMETHODCALLTYPE get_BoundingRectangle(struct UiaRect* out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      if (item().part == Part::kGrid) return S_OK;  // the window's own
      const RECT r = ScreenRectOf(ref_.grid(), s, item());
      *out = UiaRect{double(r.left), double(r.top), double(r.right - r.left), double(r.bottom - r.top)};
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** out) override {
    return Answer(ref_, kGone, out, [](const GridState&) { return S_OK; });
  }
  HRESULT STDMETHODCALLTYPE SetFocus() override {
    return Act(ref_, kGone, [&](const GridState&) {
      if (IsDataCell(item())) SelectCell(ref_.grid(), item(), false);
      if (ref_.Live() && !GridHasFocus(ref_.grid())) ::SetFocus(ref_.grid());
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot** out) override {
    return Answer(ref_, kGone, out, [&](const GridState&) {
      return Made<IRawElementProviderFragmentRoot>(MakeObject<UiaElement>(ref_.link(), kGridItem), out);
    });
  }

  // ---- IRawElementProviderFragmentRoot ----
  HRESULT STDMETHODCALLTYPE ElementProviderFromPoint(double x, double y, IRawElementProviderFragment** out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      const AccessItem hit = ItemAtScreen(ref_.grid(), s, POINT{LONG(x), LONG(y)});
      return hit.part == Part::kCell ? Fragment(hit, out) : S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE GetFocus(IRawElementProviderFragment** out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      const AccessItem focused = FocusedItem(ref_.grid(), s);
      return focused.part == Part::kNone ? S_OK : Fragment(focused, out);
    });
  }

  // ---- IAccessibleEx: the way from the MSAA objects ----
  HRESULT STDMETHODCALLTYPE GetObjectForChild(LONG id, IAccessibleEx** out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      const AccessItem child = ChildOf(s, item(), id);
      if (!Exists(s, child)) return E_INVALIDARG;
      return Made<IAccessibleEx>(MakeObject<UiaElement>(ref_.link(), child), out);
    });
  }
  HRESULT STDMETHODCALLTYPE GetIAccessiblePair(IAccessible** accessible, LONG* id) override {
    if (!accessible || !id) return E_POINTER;
    *id = CHILDID_SELF;
    return Answer(ref_, kGone, accessible,
                  [&](const GridState&) { return Made(NewAccessible(ref_.link(), item()), accessible); });
  }
  HRESULT STDMETHODCALLTYPE ConvertReturnedElement(IRawElementProviderSimple* in, IAccessibleEx** out) override {
    if (!in || !out) return E_POINTER;
    return in->QueryInterface(__uuidof(IAccessibleEx), reinterpret_cast<void**>(out));
  }

  // ---- The grid's patterns: Grid, Table, Selection, Scroll ----
  HRESULT STDMETHODCALLTYPE GetItem(int row, int column, IRawElementProviderSimple** out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      if (row < 0 || column < 0 || uint32_t(row) + 1 >= s.rowCount || uint32_t(column) + 1 >= s.colCount) {
        return E_INVALIDARG;
      }
      return Made(NewUiaElement(ref_.link(), CellItem(uint32_t(column) + 1, uint32_t(row) + 1)), out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_RowCount(int* out) override { return Count(&GridState::rowCount, out); }
  HRESULT STDMETHODCALLTYPE get_ColumnCount(int* out) override { return Count(&GridState::colCount, out); }
  HRESULT STDMETHODCALLTYPE GetRowHeaders(SAFEARRAY** out) override {
    return Titles(out, [](const GridState& s) { return s.rowCount - 1; }, [](uint32_t i) { return CellItem(0, i + 1); });
  }
  HRESULT STDMETHODCALLTYPE GetColumnHeaders(SAFEARRAY** out) override {
    return Titles(out, [](const GridState& s) { return s.colCount - 1; }, [](uint32_t i) { return CellItem(i + 1, 0); });
  }
  HRESULT STDMETHODCALLTYPE get_RowOrColumnMajor(enum RowOrColumnMajor* out) override {
    return Answer(ref_, kGone, out, [&](const GridState&) {
      *out = RowOrColumnMajor_RowMajor;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      const SelectionList list = ListSelection(s);
      const uint32_t n = list.count < kMostListedCells ? list.count : kMostListedCells;
      *out = ElementArray(ref_.link(), n, [&list](uint32_t i) { return ListedCell(list, i); });
      return *out ? S_OK : E_OUTOFMEMORY;
    });
  }
  HRESULT STDMETHODCALLTYPE get_CanSelectMultiple(BOOL* out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      *out = s.selectEnabled != 0;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_IsSelectionRequired(BOOL* out) override {
    return Answer(ref_, kGone, out, [&](const GridState&) {
      *out = TRUE;  // there is always a current cell
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE Scroll(enum ScrollAmount horizontal, enum ScrollAmount vertical) override {
    return Act(ref_, kGone, [&](const GridState&) {
      static constexpr UINT kCodes[] = {SB_PAGEUP, SB_LINEUP, 0, SB_PAGEDOWN, SB_LINEDOWN};
      if (horizontal < 0 || horizontal > 4 || vertical < 0 || vertical > 4) return E_INVALIDARG;
      if (horizontal != ScrollAmount_NoAmount) SendMessageA(ref_.grid(), WM_HSCROLL, kCodes[horizontal], 0);
      if (vertical != ScrollAmount_NoAmount && ref_.Live()) {
        SendMessageA(ref_.grid(), WM_VSCROLL, kCodes[vertical], 0);
      }
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE SetScrollPercent(double horizontal, double vertical) override {
    return Act(ref_, kGone, [&](const GridState& s) {
      auto valid = [](double p) { return p == UIA_ScrollPatternNoScroll || (p >= 0 && p <= 100); };
      if (!valid(horizontal) || !valid(vertical)) return E_INVALIDARG;
      const uint32_t firstCol = OriginForPercent(s, kCols, horizontal);
      const uint32_t firstRow = OriginForPercent(s, kRows, vertical);
      if (horizontal != UIA_ScrollPatternNoScroll) SendMessageA(ref_.grid(), GM_SETFIRSTCOL, firstCol, 0);
      if (vertical != UIA_ScrollPatternNoScroll && ref_.Live()) {
        SendMessageA(ref_.grid(), GM_SETFIRSTROW, firstRow, 0);
      }
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_HorizontalScrollPercent(double* out) override { return Percent(out, kCols, ScrollPercent); }
  HRESULT STDMETHODCALLTYPE get_VerticalScrollPercent(double* out) override { return Percent(out, kRows, ScrollPercent); }
  HRESULT STDMETHODCALLTYPE get_HorizontalViewSize(double* out) override { return Percent(out, kCols, ViewPercent); }
  HRESULT STDMETHODCALLTYPE get_VerticalViewSize(double* out) override { return Percent(out, kRows, ViewPercent); }
  HRESULT STDMETHODCALLTYPE get_HorizontallyScrollable(BOOL* out) override { return Scrollable(out, kCols); }
  HRESULT STDMETHODCALLTYPE get_VerticallyScrollable(BOOL* out) override { return Scrollable(out, kRows); }

  // ---- A cell's patterns: GridItem, TableItem, Value, SelectionItem, ScrollItem ----
  // Grid coordinates count the data cells from 0.
  HRESULT STDMETHODCALLTYPE get_Row(int* out) override { return Number(out, int(item().row) - 1); }
  HRESULT STDMETHODCALLTYPE get_Column(int* out) override { return Number(out, int(item().col) - 1); }
  HRESULT STDMETHODCALLTYPE get_RowSpan(int* out) override { return Number(out, 1); }
  HRESULT STDMETHODCALLTYPE get_ColumnSpan(int* out) override { return Number(out, 1); }
  HRESULT STDMETHODCALLTYPE get_ContainingGrid(IRawElementProviderSimple** out) override { return Root(out); }
  HRESULT STDMETHODCALLTYPE GetRowHeaderItems(SAFEARRAY** out) override { return HeaderOf(out, CellItem(0, item().row)); }
  HRESULT STDMETHODCALLTYPE GetColumnHeaderItems(SAFEARRAY** out) override { return HeaderOf(out, CellItem(item().col, 0)); }
  // Read-only unless the grid edits in place (GS_EX_EDIT); the parent may
  // refuse a value as it refuses an edit.
  HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) override {
    return Act(ref_, kGone, [&](const GridState& s) {
      if (!CellTakesValues(s, item())) return UIA_E_ELEMENTNOTENABLED;
      return SetCellValue(ref_.grid(), s, item(), value) ? S_OK : UIA_E_INVALIDOPERATION;
    });
  }
  HRESULT STDMETHODCALLTYPE get_Value(BSTR* out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      std::wstring value;
      AccessValueText(s, item(), value);
      *out = NewBstr(value);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      *out = !CellTakesValues(s, item());
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE Select() override {
    return Act(ref_, kGone, [&](const GridState&) {
      SelectCell(ref_.grid(), item(), false);
      return S_OK;
    });
  }
  // One block: a cell can join or leave it only where it is already.
  HRESULT STDMETHODCALLTYPE AddToSelection() override { return SelectionStays(true); }
  HRESULT STDMETHODCALLTYPE RemoveFromSelection() override { return SelectionStays(false); }
  HRESULT STDMETHODCALLTYPE get_IsSelected(BOOL* out) override {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      *out = latticor::IsSelected(s, item());
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_SelectionContainer(IRawElementProviderSimple** out) override { return Root(out); }
  HRESULT STDMETHODCALLTYPE ScrollIntoView() override {
    return Act(ref_, kGone, [&](const GridState& s) {
      const uint32_t col = OriginToShow(s, kCols, item().col), row = OriginToShow(s, kRows, item().row);
      if (col) SendMessageA(ref_.grid(), GM_SETFIRSTCOL, col, 0);
      if (row && ref_.Live()) SendMessageA(ref_.grid(), GM_SETFIRSTROW, row, 0);
      return S_OK;
    });
  }

 private:
  const AccessItem& item() const { return ref_.item(); }

  LONG ControlType() const {
    switch (item().part) {
      case Part::kGrid:
        return UIA_DataGridControlTypeId;
      case Part::kRow:
        return item().row == 0 ? UIA_HeaderControlTypeId : UIA_DataItemControlTypeId;
      default:
        return IsDataCell(item()) ? UIA_DataItemControlTypeId : UIA_HeaderItemControlTypeId;
    }
  }
  HRESULT Fragment(const AccessItem& to, IRawElementProviderFragment** out) const {
    return Made<IRawElementProviderFragment>(MakeObject<UiaElement>(ref_.link(), to), out);
  }
  HRESULT Count(uint32_t GridState::*count, int* out) const {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      *out = int(s.*count) - 1;  // data rows (columns)
      return S_OK;
    });
  }
  HRESULT Number(int* out, int value) const {
    return Answer(ref_, kGone, out, [&](const GridState&) {
      *out = value;
      return S_OK;
    });
  }
  HRESULT Root(IRawElementProviderSimple** out) const {
    return Answer(ref_, kGone, out, [&](const GridState&) { return Made(NewUiaElement(ref_.link(), kGridItem), out); });
  }
  template <typename CountOf, typename ItemAt>
  HRESULT Titles(SAFEARRAY** out, CountOf countOf, ItemAt itemAt) const {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      *out = ElementArray(ref_.link(), countOf(s), itemAt);
      return *out ? S_OK : E_OUTOFMEMORY;
    });
  }
  HRESULT HeaderOf(SAFEARRAY** out, const AccessItem& title) const {
    return Titles(out, [](const GridState&) { return 1u; }, [&title](uint32_t) { return title; });
  }
  HRESULT Percent(double* out, const Axis& a, double (*percent)(const GridState&, const Axis&)) const {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      *out = percent(s, a);
      return S_OK;
    });
  }
  HRESULT Scrollable(BOOL* out, const Axis& a) const {
    return Answer(ref_, kGone, out, [&](const GridState& s) {
      *out = s.*a.count > 2;
      return S_OK;
    });
  }
  HRESULT SelectionStays(bool selected) const {
    return Act(ref_, kGone, [&](const GridState& s) {
      return latticor::IsSelected(s, item()) == selected ? S_OK : UIA_E_INVALIDOPERATION;
    });
  }

  ItemRef ref_;
};

}  // namespace

IRawElementProviderSimple* NewUiaElement(AccessLink* link, const AccessItem& item) noexcept {
  return MakeObject<UiaElement>(link, item);
}

}  // namespace latticor::win32
