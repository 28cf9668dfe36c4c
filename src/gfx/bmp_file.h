#pragma once
// Windows bitmap files of surfaces: 24 bits a pixel, uncompressed, rows bottom to top, each
// padded to a multiple of 4 bytes, when written; any uncompressed bitmap when read.

#include "base/bytes.h"
#include "gfx/surface.h"

namespace orv {

// The whole file.
Bytes EncodeBmp(const Surface& surface);

// Draws the bitmap file's picture into `target` at its top left; `target` keeps its size and
// whatever the picture does not cover is black. Reads 1, 4, 8, 16, 24 and 32 bits a pixel,
// uncompressed or with bit-field masks, rows bottom-up or top-down. False when the file is
// no bitmap it can read (the target is then all black); a file that ends early yields the
// rows it holds.
bool DecodeBmp(ByteSpan file, Surface& target);

} // namespace orv
