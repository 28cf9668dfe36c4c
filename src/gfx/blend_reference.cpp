// The plain per-byte blend loops, and the choice of the set the blends run with.
#include "gfx/blend_kernels.h"

#include <algorithm>
#include <array>

namespace orv {

namespace {

void WeightedPlain(const uint8_t* x, const uint8_t* y, uint8_t* d, size_t bytes, int w) {
    const unsigned wx = static_cast<unsigned>(w), wy = 256u - wx;
    for (size_t i = 0; i < bytes; ++i) {
        d[i] = static_cast<uint8_t>((x[i] * wx + y[i] * wy) >> 8);
    }
}

void MaskPlain(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) {
        d[i] = static_cast<uint8_t>((a[i] * (255u - m[i]) + b[i] * m[i]) >> 8);
    }
}

void MaskGroupsPlain(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                     size_t groups) {
    for (size_t g = 0; g < groups; ++g, a += 8, b += 8, d += 8, m += 8) {
        bool clear = true;
        for (int i = 0; i < 8; ++i) {
            clear = clear && m[i] == 0;
        }
        for (int i = 0; i < 8; ++i) {
            d[i] = clear ? a[i] : static_cast<uint8_t>((a[i] * (255u - m[i]) + b[i] * m[i]) >> 8);
        }
    }
}

void ScalePlain(const uint8_t* s, uint8_t* d, size_t bytes, int v) {
    const unsigned factor = static_cast<unsigned>(v);
    for (size_t i = 0; i < bytes; ++i) {
        d[i] = static_cast<uint8_t>((s[i] * factor) >> 8);
    }
}

void AddSaturatePlain(const uint8_t* s, uint8_t* d, size_t bytes, uint8_t v) {
    for (size_t i = 0; i < bytes; ++i) {
        unsigned sum = s[i] + static_cast<unsigned>(v);
        d[i] = static_cast<uint8_t>(sum > 255 ? 255 : sum);
    }
}

void SubSaturatePlain(const uint8_t* s, uint8_t* d, size_t bytes, uint8_t v) {
    for (size_t i = 0; i < bytes; ++i) {
        d[i] = static_cast<uint8_t>(s[i] > v ? s[i] - v : 0);
    }
}

void StagedMeanPlain(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                     size_t bytes, int stage, int stages) {
    const unsigned wa = static_cast<unsigned>(stages - stage), wb = static_cast<unsigned>(stage);
    for (size_t i = 0; i < bytes; ++i) {
        if (m[i] != 0) {
            d[i] = static_cast<uint8_t>((a[i] * wa + b[i] * wb) / static_cast<unsigned>(stages));
        }
    }
}

void ShiftedMaskPlain(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                      size_t bytes, uint8_t v, bool add) {
    for (size_t i = 0; i < bytes; ++i) {
        unsigned shifted = add ? std::min(m[i] + unsigned{v}, 255u) : m[i] > v ? m[i] - v : 0u;
        d[i] = static_cast<uint8_t>((a[i] * (255u - shifted) + b[i] * shifted) >> 8);
    }
}

constexpr BlendKernels kPlain{"plain",          WeightedPlain,    MaskPlain,
                              MaskGroupsPlain,  ScalePlain,       AddSaturatePlain,
                              SubSaturatePlain, StagedMeanPlain,  ShiftedMaskPlain};

struct KernelList {
    std::array<const BlendKernels*, 3> Sets{};
    size_t Count = 0;
};

KernelList FindKernels() {
    KernelList list;
    list.Sets[list.Count++] = &kPlain;
    for (const BlendKernels* set : {detail::Sse2BlendKernels(), detail::Avx2BlendKernels()}) {
        if (set) {
            list.Sets[list.Count++] = set;
        }
    }
    return list;
}

const KernelList& Kernels() {
    static const KernelList list = FindKernels();
    return list;
}

} // namespace

const BlendKernels& ReferenceBlendKernels() {
    return kPlain;
}

std::span<const BlendKernels* const> AvailableBlendKernels() {
    const KernelList& list = Kernels();
    return {list.Sets.data(), list.Count};
}

const BlendKernels& ActiveBlendKernels() {
    static const BlendKernels& active = *Kernels().Sets[Kernels().Count - 1];
    return active;
}

} // namespace orv
