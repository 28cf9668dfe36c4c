// GRA pictures come from archives the player supplies: any bytes must decode or be refused
// without reading or writing outside the decoder's buffers. A picture that decodes cleanly
// must also survive the trip through the encoder unchanged.
#include "gfx/gra_decoder.h"
#include "gfx/gra_encoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Small enough that each input runs in a few milliseconds.
constexpr uint64_t kFuzzMaxPixels = 1 << 18;

void CheckRoundTrip(const orv::Surface& picture, uint8_t flags) {
    orv::GraEncodeOptions options;
    options.RunLength = (flags & orv::kGraRunLengthFlag) != 0;
    options.Delta = (flags & orv::kGraDeltaFlag) != 0;
    options.SearchDepth = 8;
    auto entry = orv::EncodeGraPicture(picture, options);
    orv::Surface back;
    if (!entry || orv::DecodeGraPicture(*entry, back) != orv::GraStatus::Complete ||
        back.Width() != picture.Width() || back.Height() != picture.Height()) {
        std::abort();
    }
    for (int y = 0; y < picture.Height(); ++y) {
        if (std::memcmp(back.Row(y), picture.Row(y), static_cast<size_t>(picture.RowBytes())) !=
            0) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static orv::GraDecoder decoder;
    static orv::Surface target;
    orv::ByteSpan entry(data, size);
    orv::GraStatus status = decoder.Decode(entry, target, kFuzzMaxPixels);
    if (status == orv::GraStatus::Complete && uint64_t(target.Width()) * target.Height() <= 4096) {
        CheckRoundTrip(target, data[2]);
    }
    return 0;
}
