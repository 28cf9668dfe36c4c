#pragma once
// The code tables of both WADY codecs and the arithmetic their decoders and encoders share.
// The encoders predict the decoders sample for sample, so anything both sides compute (the
// packed codec's ramps above all) is written once, here.
//
// Header (48 bytes, little-endian):
//   0 "WADY"   5 delta scale   6 u16 channels   8 u32 frames per block
//  12 u32 coded bytes after the header   16 u32 frames   20 u32 bytes of decoded PCM
//  24 u32 loop start (coded bytes after the header)   28, 30 i16 running values there
//  32 WAVEFORMATEX: u16 tag, u16 channels, u32 rate, u32 bytes a second, u16 block align,
//     u16 bits a sample
//
// Packed codec, one channel block: u32 (not read: the block's length after it), u32 codes,
// i16 first sample, the codes. Mono: one block at 48. Stereo: u32 L at 48, the left block
// at 52, the right block at 56 + L.

#include "sound/wady.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace orv::wady {

constexpr size_t kScaleOffset = 5;
constexpr size_t kChannelsOffset = 6;
constexpr size_t kFramesPerBlockOffset = 8;
constexpr size_t kDataLengthOffset = 12;
constexpr size_t kFramesOffset = 16;
constexpr size_t kPcmBytesOffset = 20;
constexpr size_t kLoopStartOffset = 24;
constexpr size_t kLoopLeftOffset = 28;
constexpr size_t kLoopRightOffset = 30;
constexpr size_t kFormatOffset = 32;

constexpr size_t kPackedBlockHead = 10; // length, code count, first sample
// Before the code this many from the end the decoder drops the running value to 0.
constexpr uint32_t kPackedResetFromEnd = 300;

// Samples of one two-byte code, by bits 1..3 of its word.
constexpr std::array<uint16_t, 8> RunTable = {3, 4, 5, 6, 8, 16, 32, 256};

// Steps of the packed codec's one-byte delta codes; entry 32 + i is the negative of entry i.
constexpr std::array<int16_t, 64> DeltaTable2 = [] {
    constexpr int16_t kSteps[32] = {0,    4,    8,    12,   19,   24,   30,   38,
                                    47,   59,   74,   92,   115,  144,  180,  225,
                                    281,  352,  440,  550,  687,  859,  1073, 1342,
                                    1678, 2097, 2621, 3277, 4096, 5120, 6400, 8000};
    std::array<int16_t, 64> table{};
    for (int i = 0; i < 32; ++i) {
        table[static_cast<size_t>(i)] = kSteps[i];
        table[static_cast<size_t>(i + 32)] = static_cast<int16_t>(-kSteps[i]);
    }
    return table;
}();

// Steps of the stream codec's delta bytes, before the scale; entry 64 + i is the negative
// of entry i.
constexpr std::array<int16_t, 128> DeltaTable1 = [] {
    constexpr int16_t kSteps[64] = {
        0,   2,   4,   6,   8,   10,  12,  15,  18,  21,  24,  28,  32,  36,  40,  44,
        49,  54,  59,  64,  70,  76,  82,  88,  95,  102, 109, 116, 124, 132, 140, 148,
        160, 170, 180, 190, 200, 210, 220, 230, 240, 255, 270, 285, 300, 320, 340, 360,
        380, 400, 425, 450, 475, 500, 525, 550, 580, 610, 650, 700, 750, 800, 900, 1000};
    std::array<int16_t, 128> table{};
    for (int i = 0; i < 64; ++i) {
        table[static_cast<size_t>(i)] = kSteps[i];
        table[static_cast<size_t>(i + 64)] = static_cast<int16_t>(-kSteps[i]);
    }
    return table;
}();

constexpr uint32_t kMinRate = 8000;
constexpr uint32_t kMaxRate = 192000;

// A header holding the clip's format (PCM, 16 bits, its channels and rate) and its sizes;
// the encoders fill in their codec's own fields. Nothing when no WADY decoder could play
// the clip back: not 1 or 2 channels, or a rate out of range.
std::optional<WadyHeader> ClipHeader(const PcmClip& pcm);

// Adds with the 16-bit wrap-around of the decoders' running values.
inline int16_t Wrap16(int32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value)); }

// The value a packed one-byte code sets or reaches from `running`; v = (byte >> 1) & 0x7F.
inline int16_t PackedOneByteValue(int16_t running, uint32_t v) {
    if (v & 0x40) {
        return Wrap16(static_cast<int32_t>((v & 0x3F) << 10));
    }
    return Wrap16(running + DeltaTable2[v]);
}

// A packed ramp in single precision: x starts at the running value and gains `Step` before
// each sample; the sample is x truncated toward zero.
struct PackedRamp {
    float X;
    float Step;

    PackedRamp(int16_t running, int16_t target, uint32_t samples)
        : X(static_cast<float>(running)),
          Step(static_cast<float>(int32_t{target} - int32_t{running}) /
               static_cast<float>(samples)) {}

    int16_t Next() {
        X += Step;
        // Rounding across 256 steps keeps x within a fraction of the target; the clamp only
        // guards the conversion.
        return static_cast<int16_t>(std::clamp(static_cast<int32_t>(X), -32768, 32767));
    }
};

// The value a stream byte sets or reaches from `running`.
inline int16_t StreamValue(int16_t running, uint8_t b, int32_t scale) {
    if (b >= 0x80) {
        return Wrap16(static_cast<int32_t>(b) << 9);
    }
    return Wrap16(running + DeltaTable1[b] * scale);
}

} // namespace orv::wady
