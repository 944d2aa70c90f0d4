// What a message changed in the selection or the grid's shape, told once
// when the outermost message that changed it ends: to screen readers, and
// with GS_EX_SELCHANGE to the parent as GN_SELCHANGED.
#pragma once

#include <windows.h>

#include "core/access.h"

namespace latticor::win32 {

// Watches one grid across a message (or a group of them): nested watches
// of the same grid leave the telling to the outermost.
class ChangeWatch {
 public:
  ChangeWatch(HWND grid, const GridState& s);
  ~ChangeWatch();
  ChangeWatch(const ChangeWatch&) = delete;
  ChangeWatch& operator=(const ChangeWatch&) = delete;

 private:
  HWND grid_;
  AccessSnapshot before_;
  ChangeWatch* outer_;
  bool outermost_;
};

}  // namespace latticor::win32
