// The packed codec's decoder: sound effects, decoded whole before they play.
#include "sound/wady.h"
#include "sound/wady_codes.h"

#include <algorithm>
#include <limits>

namespace orv {

namespace {

using wady::kPackedBlockHead;

// The most samples the block at `offset` can produce, 0 when its head is missing. A
// hostile code count or PCM size cannot then make the decoder allocate more than the
// entry's own bytes could fill: a one-byte code gives one sample, a two-byte code at most
// 256, and a code on the entry's last byte may still be a two-byte code.
uint64_t ProducibleSamples(ByteSpan entry, uint64_t offset) {
    if (offset > entry.size() || entry.size() - offset < kPackedBlockHead) {
        return 0;
    }
    uint64_t codes = LoadU32(entry.data() + offset + 4);
    uint64_t codeBytes = entry.size() - offset - kPackedBlockHead;
    return 1 + std::min(128 * (codeBytes + 1), 256 * std::min(codes, codeBytes));
}

// One channel block into out[0], out[stride], ... for at most `frames` samples. A block cut
// short by the entry's end leaves the rest of its samples as they are.
void DecodeBlock(ByteSpan entry, size_t offset, int16_t* out, size_t stride, size_t frames) {
    const uint8_t* data = entry.data();
    size_t size = entry.size();
    uint32_t codes = LoadU32(data + offset + 4);
    int16_t running = static_cast<int16_t>(LoadU16(data + offset + 8));
    size_t at = offset + kPackedBlockHead;
    if (frames == 0) {
        return;
    }
    *out = running;
    out += stride;
    size_t left = frames - 1;
    uint64_t resetAt = codes >= wady::kPackedResetFromEnd
                           ? codes - wady::kPackedResetFromEnd
                           : std::numeric_limits<uint64_t>::max();
    for (uint32_t i = 0; i < codes && left > 0 && at < size; ++i) {
        if (i == resetAt) {
            running = 0;
        }
        uint32_t low = data[at];
        if (low & 1) {
            running = wady::PackedOneByteValue(running, (low >> 1) & 0x7F);
            *out = running;
            out += stride;
            --left;
            at += 1;
            continue;
        }
        // The word is read at the code's first byte; past the entry's end its high byte is 0.
        uint32_t high = at + 1 < size ? data[at + 1] : 0;
        uint32_t samples = wady::RunTable[(low >> 1) & 7];
        auto target = static_cast<int16_t>((low | high << 8) & 0xFFF0);
        wady::PackedRamp ramp(running, target, samples);
        size_t count = std::min<size_t>(samples, left);
        for (size_t j = 0; j < count; ++j) {
            *out = ramp.Next();
            out += stride;
        }
        left -= count;
        running = target;
        at += 2;
    }
}

} // namespace

bool DecodePackedSound(std::span<const uint8_t> entry, PcmClip& out) {
    auto header = ParseWadyHeader(entry);
    if (!header) {
        return false;
    }
    size_t channels = header->FormatChannels;
    uint64_t first = kWadyHeaderSize;
    uint64_t second = 0;
    if (channels == 2) {
        auto leftLength = ReadU32(entry, kWadyHeaderSize);
        if (!leftLength) {
            return false;
        }
        first = kWadyHeaderSize + 4;
        second = kWadyHeaderSize + 8 + uint64_t{*leftLength};
    }
    uint64_t producible = ProducibleSamples(entry, first);
    if (producible == 0) {
        return false;
    }
    // A truncated stereo entry that lost its right block still plays its left one.
    uint64_t producibleRight = channels == 2 ? ProducibleSamples(entry, second) : 0;
    uint64_t frames = std::min(header->PcmBytes, kWadyMaxPcmBytes) / (2 * channels);
    frames = std::min(frames, std::max(producible, producibleRight));
    if (frames == 0) {
        return false;
    }
    out.Channels = static_cast<int32_t>(channels);
    out.Rate = header->Rate;
    out.Samples.assign(static_cast<size_t>(frames) * channels, 0);
    DecodeBlock(entry, static_cast<size_t>(first), out.Samples.data(), channels,
                static_cast<size_t>(frames));
    if (producibleRight > 0) {
        DecodeBlock(entry, static_cast<size_t>(second), out.Samples.data() + 1, 2,
                    static_cast<size_t>(frames));
    }
    return true;
}

} // namespace orv
