// The library's entry point: registers the window class on load and
// removes it on unload; and the three exports that describe the control.
#include "access/access.h"
#include "latticor.h"
#include "window.h"

namespace latticor::win32 {

HINSTANCE moduleInstance;
const char kGridClassName[] = LATTICOR_CLASS_NAME;

namespace {

constexpr UINT kClassCursor = 101;
constexpr UINT kToolboxBitmap = 258;

WNDCLASSEXA gridClass;

void RegisterGridClass() {
  gridClass.cbSize = sizeof gridClass;
  gridClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_GLOBALCLASS;
  gridClass.lpfnWndProc = GridWindowProc;
  gridClass.cbClsExtra = 0;
  gridClass.cbWndExtra = sizeof(GridState*);
  gridClass.hInstance = moduleInstance;
  gridClass.hIcon = nullptr;
  gridClass.hCursor = LoadCursorA(moduleInstance, MAKEINTRESOURCEA(kClassCursor));
  gridClass.hbrBackground = nullptr;  // the grid fills its own background
  gridClass.lpszMenuName = nullptr;
  gridClass.lpszClassName = kGridClassName;
  gridClass.hIconSm = nullptr;
  RegisterClassExA(&gridClass);
}

}  // namespace

}  // namespace latticor::win32

using namespace latticor::win32;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  moduleInstance = instance;
  if (reason == DLL_PROCESS_ATTACH) {
    RegisterGridClass();
  } else if (reason == DLL_PROCESS_DETACH) {
    UnregisterClassA(kGridClassName, moduleInstance);
    ReleaseAccessLibraries(reserved != nullptr);
  }
  return TRUE;  // loading never fails because of the class
}

extern "C" HBITMAP WINAPI GetBmp(void) {
  return LoadBitmapA(moduleInstance, MAKEINTRESOURCEA(kToolboxBitmap));
}

extern "C" LPCSTR WINAPI GetGrid_ClassName(void) { return kGridClassName; }

extern "C" UINT WINAPI GetID(void) { return kToolboxBitmap; }
