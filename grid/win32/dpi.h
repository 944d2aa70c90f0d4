// The DPI the grid's window is shown at.
#pragma once

#include <windows.h>

#include <cstdint>

namespace latticor::win32 {

// GetDpiForWindow's answer where the system has the function (it is
// loaded at run time, so that the library still loads where it is
// missing); 0 where it does not.
uint32_t ShownDpi(HWND hwnd);
// The same, with 96 where the system cannot tell: a DPI-unaware process
// always sees 96.
uint32_t WindowDpi(HWND hwnd);

}  // namespace latticor::win32
