#pragma once
// Decoding of the JPEG/JFIF pictures of the JPEG archive into 24-bit surfaces, through
// libjpeg(-turbo). The data is untrusted: a damaged stream never ends the program.

#include "base/bytes.h"
#include "gfx/gra_decoder.h"
#include "gfx/surface.h"

#include <cstdint>

namespace orv {

enum class JpegStatus {
    Complete, // decoded without complaint
    Damaged,  // the decoder gave up or warned: the target has the size the decoder reported
              // (0 x 0 when not even the header could be read) and holds the rows it
              // produced, the others black
    Refused,  // the header names a picture larger than `maxPixels`: the target is unchanged
};

JpegStatus DecodeJpegPicture(ByteSpan data, Surface& target,
                             uint64_t maxPixels = kMaxPicturePixels);

} // namespace orv
