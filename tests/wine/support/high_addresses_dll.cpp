// high_addresses.dll: loaded into a program under test, it moves that
// program's later allocations above 4 GiB, and refuses to load (so that the
// loader reports it) when it cannot.
#include "high_addresses.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  return high_addresses::Enter() ? TRUE : FALSE;
}
