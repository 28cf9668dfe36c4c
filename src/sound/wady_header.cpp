// The WADY header: what both codecs need checked before a byte of coded data is touched,
// and the coding error the tools report.
#include "sound/wady.h"
#include "sound/wady_codes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace orv {

namespace {

using wady::kMaxRate;
using wady::kMinRate;

constexpr uint16_t kPcmFormatTag = 1;

int16_t LoadI16(const uint8_t* p) { return static_cast<int16_t>(LoadU16(p)); }

void StoreU16(uint8_t* p, uint16_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

} // namespace

std::optional<WadyHeader> ParseWadyHeader(std::span<const uint8_t> entry) {
    return ParseWadyHeader(entry, entry.size());
}

std::optional<WadyHeader> ParseWadyHeader(std::span<const uint8_t> headerBytes,
                                          uint64_t entrySize) {
    if (headerBytes.size() < kWadyHeaderSize || entrySize < kWadyHeaderSize ||
        std::memcmp(headerBytes.data(), "WADY", 4) != 0) {
        return std::nullopt;
    }
    const uint8_t* p = headerBytes.data();
    WadyHeader header;
    header.Scale = p[wady::kScaleOffset];
    header.Channels = LoadU16(p + wady::kChannelsOffset);
    header.FramesPerBlock = LoadU32(p + wady::kFramesPerBlockOffset);
    const uint8_t* format = p + wady::kFormatOffset;
    header.FormatTag = LoadU16(format);
    header.FormatChannels = LoadU16(format + 2);
    header.Rate = LoadU32(format + 4);
    header.BytesPerSecond = LoadU32(format + 8);
    header.BlockAlign = LoadU16(format + 12);
    header.BitsPerSample = LoadU16(format + 14);
    // Every decoder divides by the channel count and sizes its output from the format: a
    // format it cannot play is refused here, before anything is allocated.
    if (header.FormatTag != kPcmFormatTag || header.BitsPerSample != 16 ||
        (header.FormatChannels != 1 && header.FormatChannels != 2) || header.Rate < kMinRate ||
        header.Rate > kMaxRate) {
        return std::nullopt;
    }
    uint64_t available = entrySize - kWadyHeaderSize;
    header.DataLength = static_cast<uint32_t>(
        std::min<uint64_t>(LoadU32(p + wady::kDataLengthOffset), available));
    header.Frames = LoadU32(p + wady::kFramesOffset);
    header.PcmBytes = LoadU32(p + wady::kPcmBytesOffset);
    header.LoopStart = std::min(LoadU32(p + wady::kLoopStartOffset), header.DataLength);
    header.LoopLeft = LoadI16(p + wady::kLoopLeftOffset);
    header.LoopRight = LoadI16(p + wady::kLoopRightOffset);
    return header;
}

uint32_t MaxStreamFramesPerBlock(int32_t channels) {
    if (channels < 1 || channels > 2) {
        return 0;
    }
    return static_cast<uint32_t>(kWadyRingBytes / (4 * 2 * static_cast<size_t>(channels)));
}

bool UsableAsStream(const WadyHeader& header) {
    // The player decodes the header's interleaving into a ring of the format's frames: two
    // different counts would play every block at the wrong pitch or across the wrong ring.
    return header.Channels == header.FormatChannels && header.FramesPerBlock >= 1 &&
           header.FramesPerBlock <= MaxStreamFramesPerBlock(header.Channels);
}

Bytes WriteWadyHeader(const WadyHeader& header) {
    Bytes out(kWadyHeaderSize, 0);
    uint8_t* p = out.data();
    std::memcpy(p, "WADY", 4);
    p[wady::kScaleOffset] = header.Scale;
    StoreU16(p + wady::kChannelsOffset, header.Channels);
    StoreU32(p + wady::kFramesPerBlockOffset, header.FramesPerBlock);
    StoreU32(p + wady::kDataLengthOffset, header.DataLength);
    StoreU32(p + wady::kFramesOffset, header.Frames);
    StoreU32(p + wady::kPcmBytesOffset, header.PcmBytes);
    StoreU32(p + wady::kLoopStartOffset, header.LoopStart);
    StoreU16(p + wady::kLoopLeftOffset, static_cast<uint16_t>(header.LoopLeft));
    StoreU16(p + wady::kLoopRightOffset, static_cast<uint16_t>(header.LoopRight));
    uint8_t* format = p + wady::kFormatOffset;
    StoreU16(format, header.FormatTag);
    StoreU16(format + 2, header.FormatChannels);
    StoreU32(format + 4, header.Rate);
    StoreU32(format + 8, header.BytesPerSecond);
    StoreU16(format + 12, header.BlockAlign);
    StoreU16(format + 14, header.BitsPerSample);
    return out;
}

namespace wady {

std::optional<WadyHeader> ClipHeader(const PcmClip& pcm) {
    if ((pcm.Channels != 1 && pcm.Channels != 2) || pcm.Rate < kMinRate || pcm.Rate > kMaxRate) {
        return std::nullopt;
    }
    auto channels = static_cast<uint16_t>(pcm.Channels);
    WadyHeader header;
    header.Channels = channels;
    header.FormatTag = kPcmFormatTag;
    header.FormatChannels = channels;
    header.Rate = pcm.Rate;
    header.BlockAlign = static_cast<uint16_t>(2 * channels);
    header.BytesPerSecond = pcm.Rate * header.BlockAlign;
    header.BitsPerSample = 16;
    return header;
}

} // namespace wady

CodingError MeasureCodingError(const PcmClip& original, const PcmClip& decoded) {
    size_t count = std::max(original.Samples.size(), decoded.Samples.size());
    CodingError error;
    if (count == 0) {
        return error;
    }
    double sum = 0;
    for (size_t i = 0; i < count; ++i) {
        int32_t a = i < original.Samples.size() ? original.Samples[i] : 0;
        int32_t b = i < decoded.Samples.size() ? decoded.Samples[i] : 0;
        int32_t difference = std::abs(a - b);
        sum += double(difference) * difference;
        error.Peak = std::max(error.Peak, difference);
    }
    error.Rms = std::sqrt(sum / static_cast<double>(count));
    return error;
}

} // namespace orv
