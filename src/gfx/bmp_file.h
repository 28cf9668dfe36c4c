#pragma once
// Windows bitmap files of surfaces: 24 bits a pixel, uncompressed, rows bottom to top, each
// padded to a multiple of 4 bytes.

#include "base/bytes.h"
#include "gfx/surface.h"

namespace orv {

// The whole file.
Bytes EncodeBmp(const Surface& surface);

} // namespace orv
