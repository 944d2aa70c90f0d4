// The UI Automation provider's own interfaces, called in this process:
// Wine's client side cannot create the automation object that would call
// them, so the tests do what a client would ask. The way in is the one UI
// Automation takes from MSAA: IServiceProvider, then IAccessibleEx.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "access_client.h"
#include "access/uia_declarations.h"
#include "grid_fixture.h"

namespace {

using harness::Ask;

template <typename I>
I* As(IUnknown* from) {
  I* face = nullptr;
  if (from) from->QueryInterface(__uuidof(I), reinterpret_cast<void**>(&face));
  return face;
}

// The provider's patterns, as a client gets them.
template <typename I>
I* Pattern(IRawElementProviderSimple* element, PATTERNID id) {
  IUnknown* unknown = nullptr;
  if (element->GetPatternProvider(id, &unknown) != S_OK || !unknown) return nullptr;
  I* face = As<I>(unknown);
  unknown->Release();
  return face;
}

std::string NameOf(IRawElementProviderSimple* element) {
  VARIANT v;
  VariantInit(&v);
  element->GetPropertyValue(UIA_NamePropertyId, &v);
  std::string name = v.vt == VT_BSTR ? reader::Narrow(v.bstrVal) : "-";
  VariantClear(&v);
  return name;
}

LONG ControlTypeOf(IRawElementProviderSimple* element) {
  VARIANT v;
  VariantInit(&v);
  element->GetPropertyValue(UIA_ControlTypePropertyId, &v);
  return v.vt == VT_I4 ? v.lVal : -1;
}

std::vector<std::string> Names(SAFEARRAY* array) {
  std::vector<std::string> names;
  LONG lo = 0, hi = -1;
  SafeArrayGetLBound(array, 1, &lo);
  SafeArrayGetUBound(array, 1, &hi);
  for (LONG i = lo; i <= hi; ++i) {
    IUnknown* unknown = nullptr;
    SafeArrayGetElement(array, &i, &unknown);
    IRawElementProviderSimple* element = As<IRawElementProviderSimple>(unknown);
    names.push_back(element ? NameOf(element) : "?");
    if (element) element->Release();
    if (unknown) unknown->Release();
  }
  SafeArrayDestroy(array);
  return names;
}

// A 5 x 4 grid of this process, with the ledger's texts, and its root
// element.
struct Provider : harness::GridFixture {
  IAccessible* table = nullptr;
  IRawElementProviderSimple* root = nullptr;

  void SetUp() override {
    MakeGrid(harness::GridSetup().Unpainted().KeepNotes());
    const char* texts[][5] = {{"", "Name", "Qty", "", "Price"},
                              {"First", "apple", "3", "", "1.20"},
                              {"", "pear", "12", "", ""},
                              {"Third", "plum", "", "", ""}};
    for (UINT r = 0; r < 4; ++r) {
      for (UINT c = 0; c < 5; ++c) harness::SetCellText(grid, c, r, texts[r][c]);
    }
    UpdateWindow(grid);
    ASSERT_EQ(AccessibleObjectFromWindow(grid, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&table)),
              S_OK);
    IServiceProvider* services = As<IServiceProvider>(table);
    ASSERT_NE(services, nullptr);
    ASSERT_EQ(services->QueryService(__uuidof(IAccessibleEx), __uuidof(IRawElementProviderSimple),
                                     reinterpret_cast<void**>(&root)),
              S_OK);
    services->Release();
  }
  void TearDown() override {
    if (root) root->Release();
    if (table) table->Release();
    harness::GridFixture::TearDown();
  }
  IRawElementProviderSimple* Item(int row, int column) {
    IGridProvider* cells = Pattern<IGridProvider>(root, UIA_GridPatternId);
    IRawElementProviderSimple* item = nullptr;
    if (cells) cells->GetItem(row, column, &item);
    if (cells) cells->Release();
    return item;
  }
};

TEST_F(Provider, TheGridIsADataGridWithItsTableSelectionAndScrolling) {
  EXPECT_EQ(ControlTypeOf(root), UIA_DataGridControlTypeId);
  EXPECT_EQ(NameOf(root), "Latticor test");
  IRawElementProviderSimple* host = nullptr;
  EXPECT_EQ(root->get_HostRawElementProvider(&host), S_OK);
  EXPECT_NE(host, nullptr) << "the window's own provider supplies the rest";
  if (host) host->Release();

  IGridProvider* cells = Pattern<IGridProvider>(root, UIA_GridPatternId);
  ASSERT_NE(cells, nullptr);
  int rows = 0, cols = 0;
  cells->get_RowCount(&rows);
  cells->get_ColumnCount(&cols);
  EXPECT_EQ(rows, 3) << "data rows only";
  EXPECT_EQ(cols, 4);
  IRawElementProviderSimple* item = nullptr;
  EXPECT_EQ(cells->GetItem(3, 0, &item), E_INVALIDARG);
  cells->Release();

  ITableProvider* titles = Pattern<ITableProvider>(root, UIA_TablePatternId);
  ASSERT_NE(titles, nullptr);
  SAFEARRAY* array = nullptr;
  ASSERT_EQ(titles->GetRowHeaders(&array), S_OK);
  EXPECT_EQ(Names(array), (std::vector<std::string>{"First", "2", "Third"}));
  ASSERT_EQ(titles->GetColumnHeaders(&array), S_OK);
  EXPECT_EQ(Names(array), (std::vector<std::string>{"Name", "Qty", "3", "Price"}));
  titles->Release();

  Ask(grid, GM_SETSELENDCOL, 2);
  Ask(grid, GM_SETSELENDROW, 2);
  ISelectionProvider* selection = Pattern<ISelectionProvider>(root, UIA_SelectionPatternId);
  ASSERT_NE(selection, nullptr);
  ASSERT_EQ(selection->GetSelection(&array), S_OK);
  EXPECT_EQ(Names(array), (std::vector<std::string>{"Name First", "Qty First", "Name 2", "Qty 2"}));
  BOOL multiple = FALSE;
  selection->get_CanSelectMultiple(&multiple);
  EXPECT_TRUE(multiple);
  selection->Release();

  // Scrolling: a grid of 20 columns taken to its far end by percentage.
  Ask(grid, GM_SETCOLCOUNT, 21);
  IScrollProvider* scroll = Pattern<IScrollProvider>(root, UIA_ScrollPatternId);
  ASSERT_NE(scroll, nullptr);
  EXPECT_EQ(scroll->SetScrollPercent(100, UIA_ScrollPatternNoScroll), S_OK);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTCOL), 20);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 1);
  double percent = 0;
  scroll->get_HorizontalScrollPercent(&percent);
  EXPECT_DOUBLE_EQ(percent, 100.0);
  EXPECT_EQ(scroll->SetScrollPercent(120, 0), E_INVALIDARG);
  scroll->Release();
  EXPECT_EQ(Pattern<IValueProvider>(root, UIA_ValuePatternId), nullptr) << "the grid has no value";
}

TEST_F(Provider, ACellKnowsItsPlaceTitlesValueAndSelection) {
  IRawElementProviderSimple* cell = Item(1, 1);  // data cell (2, 2), "12"
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(NameOf(cell), "Qty 2");
  EXPECT_EQ(ControlTypeOf(cell), UIA_DataItemControlTypeId);

  IGridItemProvider* place = Pattern<IGridItemProvider>(cell, UIA_GridItemPatternId);
  ASSERT_NE(place, nullptr);
  int row = -1, column = -1;
  place->get_Row(&row);
  place->get_Column(&column);
  EXPECT_EQ(row, 1);
  EXPECT_EQ(column, 1);
  place->Release();

  ITableItemProvider* titles = Pattern<ITableItemProvider>(cell, UIA_TableItemPatternId);
  ASSERT_NE(titles, nullptr);
  SAFEARRAY* array = nullptr;
  ASSERT_EQ(titles->GetRowHeaderItems(&array), S_OK);
  EXPECT_EQ(Names(array), (std::vector<std::string>{"2"}));
  ASSERT_EQ(titles->GetColumnHeaderItems(&array), S_OK);
  EXPECT_EQ(Names(array), (std::vector<std::string>{"Qty"}));
  titles->Release();

  IValueProvider* value = Pattern<IValueProvider>(cell, UIA_ValuePatternId);
  ASSERT_NE(value, nullptr);
  BSTR text = nullptr;
  ASSERT_EQ(value->get_Value(&text), S_OK);
  EXPECT_EQ(reader::Narrow(text), "12");
  SysFreeString(text);
  BOOL readOnly = FALSE;
  value->get_IsReadOnly(&readOnly);
  EXPECT_TRUE(readOnly);
  EXPECT_EQ(value->SetValue(L"13"), UIA_E_ELEMENTNOTENABLED);
  value->Release();

  // Selecting moves the current cell as GM_SETCURCOL and GM_SETCURROW do.
  ISelectionItemProvider* select = Pattern<ISelectionItemProvider>(cell, UIA_SelectionItemPatternId);
  ASSERT_NE(select, nullptr);
  parent.Clear();
  ASSERT_EQ(select->Select(), S_OK);
  EXPECT_EQ(harness::SelectionOf(grid), "2,2-2,2");
  EXPECT_EQ(parent.Only(GN_CELLLEAVING).size(), 2u) << "one for the column, one for the row";
  BOOL selected = FALSE;
  select->get_IsSelected(&selected);
  EXPECT_TRUE(selected);
  EXPECT_EQ(select->AddToSelection(), S_OK) << "already in the block";
  EXPECT_EQ(select->RemoveFromSelection(), UIA_E_INVALIDOPERATION);
  select->Release();

  // The tree: a row's first child is its row title; the fragment root
  // finds the cell under a point and the focused cell.
  IRawElementProviderFragment* fragment = As<IRawElementProviderFragment>(cell);
  ASSERT_NE(fragment, nullptr);
  IRawElementProviderFragment* up = nullptr;
  ASSERT_EQ(fragment->Navigate(NavigateDirection_Parent, &up), S_OK);
  IRawElementProviderFragment* first = nullptr;
  ASSERT_EQ(up->Navigate(NavigateDirection_FirstChild, &first), S_OK);
  EXPECT_EQ(NameOf(As<IRawElementProviderSimple>(first)), "2");
  first->Release();
  up->Release();
  UiaRect bounds{};
  fragment->get_BoundingRectangle(&bounds);
  IRawElementProviderFragmentRoot* top = As<IRawElementProviderFragmentRoot>(root);
  ASSERT_NE(top, nullptr);
  IRawElementProviderFragment* found = nullptr;
  ASSERT_EQ(top->ElementProviderFromPoint(bounds.left + bounds.width / 2, bounds.top + bounds.height / 2, &found), S_OK);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(NameOf(As<IRawElementProviderSimple>(found)), "Qty 2");
  found->Release();
  SetFocus(grid);
  IRawElementProviderFragment* focused = nullptr;
  ASSERT_EQ(top->GetFocus(&focused), S_OK);
  ASSERT_NE(focused, nullptr);
  EXPECT_EQ(NameOf(As<IRawElementProviderSimple>(focused)), "Qty 2");
  focused->Release();
  top->Release();
  fragment->Release();

  // Scrolled out of view, it is brought back.
  Ask(grid, GM_SETFIRSTCOL, 4);
  IScrollItemProvider* show = Pattern<IScrollItemProvider>(cell, UIA_ScrollItemPatternId);
  ASSERT_NE(show, nullptr);
  ASSERT_EQ(show->ScrollIntoView(), S_OK);
  EXPECT_EQ(Ask(grid, GM_GETFIRSTCOL), 2);
  show->Release();
  cell->Release();
}

TEST_F(Provider, ElementsOutliveTheirGridWithoutHarm) {
  IRawElementProviderSimple* cell = Item(0, 0);
  ASSERT_NE(cell, nullptr);
  IValueProvider* value = Pattern<IValueProvider>(cell, UIA_ValuePatternId);
  ASSERT_NE(value, nullptr);
  DestroyWindow(grid);
  BSTR text = nullptr;
  EXPECT_EQ(value->get_Value(&text), UIA_E_ELEMENTNOTAVAILABLE);
  VARIANT v;
  VariantInit(&v);
  EXPECT_EQ(root->GetPropertyValue(UIA_NamePropertyId, &v), UIA_E_ELEMENTNOTAVAILABLE);
  LONG count = 0;
  EXPECT_EQ(table->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  value->Release();
  cell->Release();
}

// With GS_EX_EDIT a data cell's value is set as the user's committed edit,
// through UI Automation and through MSAA alike, and the parent may refuse
// it; a title stays read-only.
TEST_F(Provider, ValuesSetByAReaderAreTheUsersEditsWhenTheGridEdits) {
  Ask(grid, GM_SETEXSTYLE, 0, GS_EX_EDIT);
  IRawElementProviderSimple* cell = Item(1, 1);  // "12", cell (2, 2)
  ASSERT_NE(cell, nullptr);
  IValueProvider* value = Pattern<IValueProvider>(cell, UIA_ValuePatternId);
  ASSERT_NE(value, nullptr);
  BOOL readOnly = TRUE;
  value->get_IsReadOnly(&readOnly);
  EXPECT_FALSE(readOnly);
  VARIANT child;
  child.vt = VT_I4;
  child.lVal = GRID_ACC_CELL_ID(2, 2, 5, 4);
  VARIANT title = child;
  title.lVal = GRID_ACC_CELL_ID(2, 0, 5, 4);
  BSTR thirteen = SysAllocString(L"13"), fourteen = SysAllocString(L"\x0431");
  struct Setting {
    const char* what;
    std::function<HRESULT()> set;
    bool veto;
    HRESULT result;
    const char* text;
  } settings[] = {
      {"UI Automation", [&] { return value->SetValue(L"13"); }, false, S_OK, "13"},
      {"UI Automation, refused", [&] { return value->SetValue(L"99"); }, true, UIA_E_INVALIDOPERATION, "13"},
      {"MSAA", [&] { return table->put_accValue(child, fourteen); }, false, S_OK, "?"},  // no such byte here
      {"MSAA, refused", [&] { return table->put_accValue(child, thirteen); }, true, E_FAIL, "?"},
      {"MSAA, a title", [&] { return table->put_accValue(title, thirteen); }, false, DISP_E_MEMBERNOTFOUND, "?"},
  };
  for (const Setting& s : settings) {
    parent.Clear();
    parent.onNote = [&s](const harness::Note& n) -> LRESULT { return s.veto && n.msg == GN_BEGINEDIT; };
    EXPECT_EQ(s.set(), s.result) << s.what;
    EXPECT_EQ(harness::CellText(grid, 2, 2), s.text) << s.what;
    std::vector<UINT> told;
    for (const harness::Note& n : parent.notes) {
      if (n.msg >= GN_BEGINEDIT && n.msg <= GN_CELLSCHANGED) told.push_back(n.msg);
    }
    const std::vector<UINT> stored{GN_BEGINEDIT, GN_ENDEDIT, GN_CELLSCHANGED}, refused{GN_BEGINEDIT};
    EXPECT_EQ(told, s.result == S_OK ? stored : s.veto ? refused : std::vector<UINT>{}) << s.what;
  }
  parent.onNote = nullptr;
  SysFreeString(thirteen);
  SysFreeString(fourteen);
  value->Release();
  cell->Release();
}

}  // namespace
