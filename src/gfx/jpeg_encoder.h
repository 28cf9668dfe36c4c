#pragma once
// JPEG encoding of 24-bit surfaces through libjpeg(-turbo), for the frames of the
// animations that the demo and the tests build.

#include "base/bytes.h"
#include "gfx/surface.h"

namespace orv {

// A baseline JFIF stream of `picture` at `quality` (1..100); empty for an empty picture or
// when the library fails.
Bytes EncodeJpegPicture(const Surface& picture, int quality = 90);

} // namespace orv
