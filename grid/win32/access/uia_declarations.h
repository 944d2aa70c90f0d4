// UI Automation declarations that the MinGW-w64 headers in use lack: the
// control patterns a table provides, with their published interface ids,
// and the identifiers and system functions the grid uses. Where a header
// declares one of them, the header's declaration wins.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleacc.h>
// Not <uiautomation.h>: its API header does not compile as C++ (a
// parameter named `new`); what the grid needs of it is below.
#include <uiautomationclient.h>
#include <uiautomationcore.h>

#ifndef UiaRootObjectId
#define UiaRootObjectId (-25)
#define UiaAppendRuntimeId 3
#define UIA_E_ELEMENTNOTENABLED ((HRESULT)0x80040200)
#define UIA_E_ELEMENTNOTAVAILABLE ((HRESULT)0x80040201)
#define UIA_E_INVALIDOPERATION ((HRESULT)0x80131509)
#endif

#ifndef UIA_DataGridControlTypeId
#define UIA_DataGridControlTypeId 50028
#define UIA_DataItemControlTypeId 50029
#define UIA_HeaderControlTypeId 50034
#define UIA_HeaderItemControlTypeId 50035
#endif
#ifndef UIA_AutomationFocusChangedEventId
#define UIA_AutomationFocusChangedEventId 20005
#define UIA_SelectionItem_ElementSelectedEventId 20012
#define UIA_Selection_InvalidatedEventId 20013
#endif
#ifndef UIA_ScrollPatternNoScroll
#define UIA_ScrollPatternNoScroll (-1.0)
#endif

#ifndef __IGridProvider_INTERFACE_DEFINED__
#define __IGridProvider_INTERFACE_DEFINED__

enum StructureChangeType {
  StructureChangeType_ChildAdded = 0,
  StructureChangeType_ChildRemoved = 1,
  StructureChangeType_ChildrenInvalidated = 2,
  StructureChangeType_ChildrenBulkAdded = 3,
  StructureChangeType_ChildrenBulkRemoved = 4,
  StructureChangeType_ChildrenReordered = 5,
};
enum ScrollAmount {
  ScrollAmount_LargeDecrement = 0,
  ScrollAmount_SmallDecrement = 1,
  ScrollAmount_NoAmount = 2,
  ScrollAmount_LargeIncrement = 3,
  ScrollAmount_SmallIncrement = 4,
};
enum RowOrColumnMajor {
  RowOrColumnMajor_RowMajor = 0,
  RowOrColumnMajor_ColumnMajor = 1,
  RowOrColumnMajor_Indeterminate = 2,
};

MIDL_INTERFACE("b17d6187-0907-464b-a168-0ef17a1572b1")
IGridProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetItem(int row, int column, IRawElementProviderSimple** pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RowCount(int* pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ColumnCount(int* pRetVal) = 0;
};
__CRT_UUID_DECL(IGridProvider, 0xb17d6187, 0x0907, 0x464b, 0xa1, 0x68, 0x0e, 0xf1, 0x7a, 0x15, 0x72, 0xb1)

MIDL_INTERFACE("d02541f1-fb81-4d64-ae32-f520f8a6dbd1")
IGridItemProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Row(int* pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Column(int* pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RowSpan(int* pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ColumnSpan(int* pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ContainingGrid(IRawElementProviderSimple** pRetVal) = 0;
};
__CRT_UUID_DECL(IGridItemProvider, 0xd02541f1, 0xfb81, 0x4d64, 0xae, 0x32, 0xf5, 0x20, 0xf8, 0xa6, 0xdb, 0xd1)

MIDL_INTERFACE("9c860395-97b3-490a-b52a-858cc22af166")
ITableProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetRowHeaders(SAFEARRAY** pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetColumnHeaders(SAFEARRAY** pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RowOrColumnMajor(enum RowOrColumnMajor* pRetVal) = 0;
};
__CRT_UUID_DECL(ITableProvider, 0x9c860395, 0x97b3, 0x490a, 0xb5, 0x2a, 0x85, 0x8c, 0xc2, 0x2a, 0xf1, 0x66)

MIDL_INTERFACE("b9734fa6-771f-4d78-9c90-2517999349cd")
ITableItemProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetRowHeaderItems(SAFEARRAY** pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetColumnHeaderItems(SAFEARRAY** pRetVal) = 0;
};
__CRT_UUID_DECL(ITableItemProvider, 0xb9734fa6, 0x771f, 0x4d78, 0x9c, 0x90, 0x25, 0x17, 0x99, 0x93, 0x49, 0xcd)

MIDL_INTERFACE("fb8b03af-3bdf-48d4-bd36-1a65793be168")
ISelectionProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CanSelectMultiple(BOOL* pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsSelectionRequired(BOOL* pRetVal) = 0;
};
__CRT_UUID_DECL(ISelectionProvider, 0xfb8b03af, 0x3bdf, 0x48d4, 0xbd, 0x36, 0x1a, 0x65, 0x79, 0x3b, 0xe1, 0x68)

MIDL_INTERFACE("2acad808-b2d4-452d-a407-91ff1ad167b2")
ISelectionItemProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Select() = 0;
  virtual HRESULT STDMETHODCALLTYPE AddToSelection() = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveFromSelection() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsSelected(BOOL* pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_SelectionContainer(IRawElementProviderSimple** pRetVal) = 0;
};
__CRT_UUID_DECL(ISelectionItemProvider, 0x2acad808, 0xb2d4, 0x452d, 0xa4, 0x07, 0x91, 0xff, 0x1a, 0xd1, 0x67, 0xb2)

MIDL_INTERFACE("c7935180-6fb3-4201-b174-7df73adbf64a")
IValueProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR val) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR* pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* pRetVal) = 0;
};
__CRT_UUID_DECL(IValueProvider, 0xc7935180, 0x6fb3, 0x4201, 0xb1, 0x74, 0x7d, 0xf7, 0x3a, 0xdb, 0xf6, 0x4a)

MIDL_INTERFACE("b38b8077-1fc3-42a5-8cae-d40c2215055a")
IScrollProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Scroll(enum ScrollAmount horizontalAmount, enum ScrollAmount verticalAmount) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetScrollPercent(double horizontalPercent, double verticalPercent) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_HorizontalScrollPercent(double* pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_VerticalScrollPercent(double* pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_HorizontalViewSize(double* pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_VerticalViewSize(double* pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_HorizontallyScrollable(BOOL* pRetVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_VerticallyScrollable(BOOL* pRetVal) = 0;
};
__CRT_UUID_DECL(IScrollProvider, 0xb38b8077, 0x1fc3, 0x42a5, 0x8c, 0xae, 0xd4, 0x0c, 0x22, 0x15, 0x05, 0x5a)

MIDL_INTERFACE("2360c714-4bf1-4b26-ba65-9b21316127eb")
IScrollItemProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE ScrollIntoView() = 0;
};
__CRT_UUID_DECL(IScrollItemProvider, 0x2360c714, 0x4bf1, 0x4b26, 0xba, 0x65, 0x9b, 0x21, 0x31, 0x61, 0x27, 0xeb)

#endif  // __IGridProvider_INTERFACE_DEFINED__
