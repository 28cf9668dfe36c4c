#pragma once
// The inner loops of the blends, once as plain per-byte code and once for each instruction
// set the processor may offer. Every set gives the same bytes as the plain one; the blends
// of blend.h use the fastest set the processor supports, chosen once.
//
// Rows are plain byte sequences. A destination may be the very same buffer as a source
// (blending in place) but must not overlap one partially.

#include <cstddef>
#include <cstdint>
#include <span>

namespace orv {

struct BlendKernels {
    const char* Name;
    // d = (x * w + y * (256 - w)) >> 8 per byte, w in 0..256.
    void (*Weighted)(const uint8_t* x, const uint8_t* y, uint8_t* d, size_t bytes, int w);
    // d = (a * (255 - m) + b * m) >> 8 per byte.
    void (*Mask)(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m, size_t bytes);
    // Per group of 8 bytes: when all 8 mask bytes are 0, d = a; otherwise
    // d = (a * (255 - m) + b * m) >> 8 per byte.
    void (*MaskGroups)(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                       size_t groups);
    // d = (s * v) >> 8 per byte, v in 0..256.
    void (*Scale)(const uint8_t* s, uint8_t* d, size_t bytes, int v);
    // d = min(s + v, 255) and d = max(s - v, 0) per byte.
    void (*AddSaturate)(const uint8_t* s, uint8_t* d, size_t bytes, uint8_t v);
    void (*SubSaturate)(const uint8_t* s, uint8_t* d, size_t bytes, uint8_t v);
    // d = (a * (stages - stage) + b * stage) / stages per byte where m is not 0; d stays
    // where it is 0. stages in 1..kMaxMeanStages, stage in 0..stages.
    void (*StagedMean)(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                       size_t bytes, int stage, int stages);
    // Mask with m moved by v first: m' = min(m + v, 255) when `add`, else max(m - v, 0).
    void (*ShiftedMask)(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                        size_t bytes, uint8_t v, bool add);
};

constexpr int kMaxMeanStages = 128;

// The staged mean's division by the stage count as a multiply and a shift. Twice a numerator
// is below 2^16 (255 * 128 * 2), so it fits an unsigned 16-bit lane; with l = ceil(log2 stages)
// and m = ceil(2^(15 + l) / stages), m * stages is at most 2^(15 + l) + 2^l, which makes
// (2n * m >> 16) >> l equal n / stages for every n below 2^15, and m fits 16 bits.
struct StagedDivision {
    explicit StagedDivision(int stages) {
        while ((1 << Shift) < stages) {
            ++Shift;
        }
        Multiplier = ((1 << (15 + Shift)) + stages - 1) / stages;
    }
    int Shift = 0;
    int Multiplier = 0;
};

constexpr size_t kBlendGroupBytes = 8;

// The plain per-byte loops: the definition of every blend.
const BlendKernels& ReferenceBlendKernels();

// Every set this processor can run, the plain one first.
std::span<const BlendKernels* const> AvailableBlendKernels();

// The set the blends use: the last of the available ones.
const BlendKernels& ActiveBlendKernels();

namespace detail {
// Instruction-set variants; nullptr when the build or the processor lacks them.
const BlendKernels* Sse2BlendKernels();
const BlendKernels* Avx2BlendKernels();
} // namespace detail

} // namespace orv
