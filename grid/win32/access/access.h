// Screen readers, as the rest of the window layer meets them: the link that
// accessible objects hold, cut when the window goes; the events that
// changes owe; and the system libraries, given back at unload. WM_GETOBJECT
// is handled here too (handlers.h). What the objects are and how they
// answer stays inside this folder.
#pragma once

#include <windows.h>

#include "core/access.h"
#include "window.h"

namespace latticor::win32 {

// Accessible objects that clients still hold answer from now on that the
// grid is gone; UI Automation forgets the window's provider.
void CutLink(HWND grid, GridWindow& w);

// At unload: gives back the libraries accessibility loaded, unless the
// process is ending.
void ReleaseAccessLibraries(bool processEnding);

// What a message changed (the shape, the current cell, the selection
// within), announced once: the shape first, then the current cell
// (selection, then focus while the grid has it) and the selection within.
void AnnounceChanges(HWND grid, const AccessSnapshot& before);

// Cell texts set while a batch of the grid is open (a paste) are announced
// together, once, on the grid.
class ValueBatch {
 public:
  explicit ValueBatch(HWND grid);
  ~ValueBatch();
  ValueBatch(const ValueBatch&) = delete;
  ValueBatch& operator=(const ValueBatch&) = delete;

 private:
  friend void AnnounceValue(HWND grid, uint32_t col, uint32_t row);
  HWND grid_;
  ValueBatch* outer_;
  bool changed_ = false;
};

// Whether a client may hear a value change: the text comparison that
// decides it costs nothing when none can.
bool ValueChangesHeard();
void AnnounceValue(HWND grid, uint32_t col, uint32_t row);

// The grid gained or lost the focus (kept per thread: no system call).
void NoteFocus(HWND grid, bool gained);
// Gaining the focus: the current cell is announced as focused.
void AnnounceFocus(HWND grid);

}  // namespace latticor::win32
