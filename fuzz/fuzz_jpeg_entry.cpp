// JPEG entries of the picture archive are untrusted: a damaged or hostile stream must end in
// a picture of the size the decoder reported (or none), never in a crash or a stray write.
#include "gfx/jpeg_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static orv::Surface target;
    orv::DecodeJpegPicture(orv::ByteSpan(data, size), target, 1 << 20);
    return 0;
}
