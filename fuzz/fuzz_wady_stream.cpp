// Music and animation sounds come from archives the player supplies: any bytes must decode
// or be refused within the entry. The music player decodes in pieces of any size, which
// must give what one pass gives; a short sound must survive the encoder within the error
// its absolute codes guarantee.
#include "sound/wady.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

// Every sample lies within 511 of an absolute code (within 256 below 32256).
constexpr int32_t kStreamPeak = 511;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orv::ByteSpan entry(data, size);
    orv::PcmClip clip;
    bool whole = orv::DecodeStreamSound(entry, clip);
    auto header = orv::ParseWadyHeader(entry);
    if (!header) {
        if (whole) {
            std::abort();
        }
        return 0;
    }
    // Pieces as the ring refills them: their sizes taken from the header's loop bytes.
    orv::ByteSpan coded = entry.subspan(orv::kWadyHeaderSize, header->DataLength);
    std::vector<int16_t> once(coded.size());
    std::vector<int16_t> pieces(coded.size());
    orv::StreamDecoder decoder;
    decoder.Start(*header);
    decoder.Decode(coded, once, false);
    decoder.Start(*header);
    size_t step = 1 + (static_cast<size_t>(header->LoopLeft) & 0x3F);
    for (size_t at = 0; at < coded.size(); at += step) {
        size_t n = std::min(step, coded.size() - at);
        decoder.Decode(coded.subspan(at, n), std::span(pieces).subspan(at, n), false);
    }
    if (once != pieces) {
        std::abort();
    }
    if (whole && clip.Samples.size() <= 4096) {
        orv::PcmClip back;
        if (!orv::DecodeStreamSound(orv::EncodeStreamSound(clip, std::nullopt, 1024), back) ||
            orv::MeasureCodingError(clip, back).Peak > kStreamPeak) {
            std::abort();
        }
    }
    return 0;
}
