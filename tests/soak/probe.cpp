// soak_probe.dll: loaded into Celdra by the soak driver, it counts there how
// many more GDI objects the process can create (GetGuiResources answers 0
// under Wine). Run as a thread: the count is the thread's exit code.
#include <windows.h>

#include <vector>

extern "C" __declspec(dllexport) DWORD WINAPI FreeGdiSlots(void*) {
  std::vector<HGDIOBJ> made;
  made.reserve(70000);
  for (int i = 0; i < 70000; ++i) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(i & 255, 0, 0));
    if (!pen) break;
    made.push_back(pen);
  }
  for (HGDIOBJ o : made) DeleteObject(o);
  return static_cast<DWORD>(made.size());
}
