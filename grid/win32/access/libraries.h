// The system libraries that accessibility needs, loaded when a client
// first asks for the grid's objects: a program that never meets a screen
// reader loads nothing more, and the library's import table names none
// of them.
#pragma once

#include "access/uia_declarations.h"

namespace latticor::win32 {

// oleacc, ole32 and oleaut32: the objects' plumbing.
struct MsaaFunctions {
  decltype(&::LresultFromObject) LresultFromObject;
  decltype(&::AccessibleObjectFromWindow) AccessibleObjectFromWindow;
  decltype(&::CoInitializeEx) CoInitializeEx;
  decltype(&::SysAllocStringLen) SysAllocStringLen;
  decltype(&::SysFreeString) SysFreeString;
  decltype(&::SafeArrayCreateVector) SafeArrayCreateVector;
  decltype(&::SafeArrayPutElement) SafeArrayPutElement;
};
// Loads them on first use; null when one is missing.
const MsaaFunctions* Msaa();

// uiautomationcore.
struct UiaFunctions {
  LRESULT(WINAPI* UiaReturnRawElementProvider)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*);
  HRESULT(WINAPI* UiaHostProviderFromHwnd)(HWND, IRawElementProviderSimple**);
  HRESULT(WINAPI* UiaRaiseAutomationEvent)(IRawElementProviderSimple*, EVENTID);
  HRESULT(WINAPI* UiaRaiseAutomationPropertyChangedEvent)(IRawElementProviderSimple*, PROPERTYID, VARIANT, VARIANT);
  BOOL(WINAPI* UiaClientsAreListening)();
  HRESULT(WINAPI* UiaRaiseStructureChangedEvent)(IRawElementProviderSimple*, enum StructureChangeType, int*, int);
};
const UiaFunctions* Uia();
// The same, but never loads: before a client has asked for the provider,
// none can be listening.
const UiaFunctions* UiaIfLoaded();

// Once objects have been handed to clients, this library stays loaded
// until the process ends: a client may call them at any time, and code
// that has been unloaded cannot answer.
void KeepLibraryLoaded();

}  // namespace latticor::win32
