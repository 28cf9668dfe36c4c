#pragma once
// The smoothing enlarger of `animq`: frames 640 pixels wide become 800 x 600, every other
// size is doubled both ways, new pixels and rows being averages of their neighbours.

#include "gfx/surface.h"

namespace orv {

// The size `Enlarge` gives a source of width x height: 800 x 600 for width 640, else twice
// both; 0 x 0 when it cannot enlarge it (a width or height under 2).
Rect EnlargedSize(int width, int height);

// Enlarges `source` into `target`, which must have EnlargedSize (else nothing is drawn;
// false). In the 640-wide form only the source rows that land on the 600 target rows are
// used; pixels that the form does not write (the last column, the last row) keep what
// `target` held.
bool Enlarge(const Surface& source, Surface& target);

} // namespace orv
