// soak_probe.dll: loaded into Celdra by the soak driver, it counts there how
// many more GDI objects the process can create. Run as a thread: the count
// is the thread's exit code.
#include "gdi_slots.h"

extern "C" __declspec(dllexport) DWORD WINAPI FreeGdiSlots(void*) {
  return static_cast<DWORD>(harness::FreeGdiSlots());
}
