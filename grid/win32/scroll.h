// What scrolling shares with the rest of the window layer.
#pragma once

#include <windows.h>

#include <cstdint>

namespace latticor::win32 {

// A scroll bar with the range 1 .. count - 1, page 1, at `position`; a bar
// that allows no scrolling hides.
void SetScrollBar(HWND grid, int bar, uint32_t count, uint32_t position);

// Waits until a message arrives for this thread, or one auto-scroll period
// at most: drags and scrolls are throttled by it, but nothing can block
// the sender of a scroll indefinitely.
void AwaitNextMessage();

}  // namespace latticor::win32
