// A drawing object selected into a device context for as long as it lives:
// the one it replaced comes back, and one made for the occasion is deleted.
#pragma once

#include <windows.h>

namespace latticor::win32 {

class Selected {
 public:
  enum Ownership { kBorrowed, kOwned };
  Selected(HDC dc, HGDIOBJ object, Ownership ownership = kOwned)
      : dc_(dc), object_(object), owned_(ownership == kOwned), old_(SelectObject(dc, object)) {}
  ~Selected() {
    SelectObject(dc_, old_);
    if (owned_) DeleteObject(object_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ object_;
  bool owned_;
  HGDIOBJ old_;
};

}  // namespace latticor::win32
