// Resizing a column (row) by dragging the right (bottom) edge of its title.
#pragma once

#include "core/axis.h"

namespace latticor {

// The pointer rests at `v` over the titles: arms the first edge whose
// zone holds it (the grid line and metrics.edgeZone pixels each side: seven
// pixels at 96 DPI) (from the first visible column's right edge
// on; never the title column's own edge, never the client's last pixel),
// or disarms. Nothing happens while resizing is not enabled.
void HoverEdge(GridState& s, const Axis& a, int32_t v);

// A press on the titles while armed: the guide line goes on the armed
// column's right grid line. Returns where it is drawn.
int32_t StartResize(GridState& s, const Axis& a, int32_t v);

// A move while dragging: the new size takes effect at once and the guide
// line follows by the same distance; moves that would make the size less
// than 1, or that pass `clientEnd` - metrics.dragStop, are ignored.
struct ResizeMove {
  bool accepted;
  int32_t oldLine;
  int32_t newLine;
};
ResizeMove DragResize(GridState& s, const Axis& a, int32_t v, int32_t clientEnd);

}  // namespace latticor
