// How many more GDI objects the process can create: a drop means a leak.
// (GetGuiResources answers 0 under Wine.) Header-only, for soak_probe.dll
// too, which counts inside Celdra.
#pragma once
#include <windows.h>

#include <vector>

namespace harness {

inline int FreeGdiSlots() {
  std::vector<HGDIOBJ> made;
  made.reserve(70000);
  for (int i = 0; i < 70000; ++i) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(i & 255, 0, 0));
    if (!pen) break;
    made.push_back(pen);
  }
  for (HGDIOBJ o : made) DeleteObject(o);
  return static_cast<int>(made.size());
}

}  // namespace harness
