#include "access/libraries.h"

#include "access/access.h"

#include <initializer_list>

namespace latticor::win32 {

namespace {

HMODULE oleacc, ole32, oleaut32, uiautomationcore;
bool msaaTried, uiaTried;
MsaaFunctions msaa;
UiaFunctions uia;

HMODULE Load(HMODULE& module, const char* name) {
  if (!module) module = LoadLibraryA(name);
  return module;
}

// Fills `fn` from the module; false when it is missing.
template <typename F>
bool Find(HMODULE module, const char* name, F& fn) {
  FARPROC proc = module ? GetProcAddress(module, name) : nullptr;
  fn = reinterpret_cast<F>(reinterpret_cast<void (*)()>(proc));
  return fn != nullptr;
}

bool LoadMsaa() {
  HMODULE acc = Load(oleacc, "oleacc.dll"), com = Load(ole32, "ole32.dll"), aut = Load(oleaut32, "oleaut32.dll");
  return Find(acc, "LresultFromObject", msaa.LresultFromObject) &&
         Find(acc, "AccessibleObjectFromWindow", msaa.AccessibleObjectFromWindow) &&
         Find(com, "CoInitializeEx", msaa.CoInitializeEx) &&
         Find(aut, "SysAllocStringLen", msaa.SysAllocStringLen) &&
         Find(aut, "SysFreeString", msaa.SysFreeString) &&
         Find(aut, "SafeArrayCreateVector", msaa.SafeArrayCreateVector) &&
         Find(aut, "SafeArrayPutElement", msaa.SafeArrayPutElement);
}

bool LoadUia() {
  HMODULE core = Load(uiautomationcore, "uiautomationcore.dll");
  return Find(core, "UiaReturnRawElementProvider", uia.UiaReturnRawElementProvider) &&
         Find(core, "UiaHostProviderFromHwnd", uia.UiaHostProviderFromHwnd) &&
         Find(core, "UiaRaiseAutomationEvent", uia.UiaRaiseAutomationEvent) &&
         Find(core, "UiaRaiseAutomationPropertyChangedEvent", uia.UiaRaiseAutomationPropertyChangedEvent) &&
         Find(core, "UiaClientsAreListening", uia.UiaClientsAreListening) &&
         Find(core, "UiaRaiseStructureChangedEvent", uia.UiaRaiseStructureChangedEvent);
}

bool msaaReady, uiaReady;

}  // namespace

const MsaaFunctions* Msaa() {
  if (!msaaTried) {
    msaaTried = true;
    msaaReady = LoadMsaa();
  }
  return msaaReady ? &msaa : nullptr;
}

const UiaFunctions* Uia() {
  if (!uiaTried) {
    uiaTried = true;
    uiaReady = Msaa() && LoadUia();
  }
  return uiaReady ? &uia : nullptr;
}

const UiaFunctions* UiaIfLoaded() { return uiaReady ? &uia : nullptr; }

void KeepLibraryLoaded() {
  static bool pinned;
  if (pinned) return;
  HMODULE self;
  pinned = GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                              reinterpret_cast<LPCSTR>(&KeepLibraryLoaded), &self);
}

void ReleaseAccessLibraries(bool processEnding) {
  // A process that is ending must not unload libraries from here.
  if (processEnding) return;
  for (HMODULE* module : {&uiautomationcore, &oleacc, &oleaut32, &ole32}) {
    if (*module) FreeLibrary(*module);
    *module = nullptr;
  }
  msaaTried = uiaTried = msaaReady = uiaReady = false;
}

}  // namespace latticor::win32
