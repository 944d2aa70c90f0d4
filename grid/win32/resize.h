// The resize guide line.
#pragma once

#include <windows.h>

#include "core/axis.h"

namespace latticor::win32 {

// Draws (or, drawn again, removes) the guide line at `at`.
void DrawGuideLine(HWND grid, const GridState& s, const Axis& a, int32_t at);

}  // namespace latticor::win32
