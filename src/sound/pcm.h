#pragma once
// Decoded sound: 16-bit signed PCM, channels interleaved (left first), with its rate.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv {

struct PcmClip {
    std::vector<int16_t> Samples;
    int32_t Channels = 1; // 1 or 2
    uint32_t Rate = 22050;

    size_t Frames() const {
        return Channels > 0 ? Samples.size() / static_cast<size_t>(Channels) : 0;
    }
};

} // namespace orv
