// Sound effects come from archives the player supplies: any bytes must decode or be
// refused without reading past the entry, writing past the output or allocating more than
// the entry can fill. A short sound that decodes must also survive the trip through the
// encoder within the error its absolute codes guarantee.
#include "sound/wady.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Every sample lies within 1023 of an absolute code (within 512 below 32256).
constexpr int32_t kPackedPeak = 1023;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orv::ByteSpan entry(data, size);
    orv::PcmClip clip;
    if (!orv::DecodePackedSound(entry, clip)) {
        return 0;
    }
    // One sample a code byte, 256 a two-byte code; a code on the last byte may be one.
    uint64_t bound = 2 * (1 + 128 * (uint64_t{size} + 1));
    if (clip.Samples.empty() || clip.Samples.size() > bound ||
        clip.Samples.size() * 2 > orv::kWadyMaxPcmBytes) {
        std::abort();
    }
    if (clip.Samples.size() <= 4096) {
        orv::PcmClip back;
        if (!orv::DecodePackedSound(orv::EncodePackedSound(clip), back) ||
            orv::MeasureCodingError(clip, back).Peak > kPackedPeak) {
            std::abort();
        }
    }
    return 0;
}
