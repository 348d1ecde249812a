#pragma once
// The engraved and raised one-pixel frames of rules and tables: one colour
// on the top and left edges, another on the bottom and right.
#include "platform/Canvas.h"

namespace quillet {

// The light colour of a frame on a page of this background: silver when it
// is white (the window colour counts when it is white), else the system's
// button highlight.
TColor BevelLightColor(const Canvas& canvas, TColor background);

// A frame along the inside of r: the left and top edges in topLeft, the
// right and bottom edges in bottomRight. Sunken: shadow then light; raised
// the other way round.
void DrawBevel(Canvas& canvas, const Rect& r, TColor topLeft, TColor bottomRight);

}  // namespace quillet
