// The blend loops for SSE2 and AVX2, chosen at run time. Each works on whole vectors and
// leaves the last few bytes (and, for masks, an odd 8-byte group) to the plain loops, so
// both give the same bytes.
#include "gfx/blend_kernels.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ORVELL_X86 1
#endif

namespace orv::detail {

#if ORVELL_X86

namespace {

#define ORVELL_SSE2 __attribute__((target("sse2")))
#define ORVELL_AVX2 __attribute__((target("avx2")))

// ---- SSE2: 16 bytes, two mask groups, per step.

// x * w + y * (256 - w) >> 8 is y + floor((x - y) * w / 256). The product of (x - y) * 128
// and 2w fits 32 bits and its upper 16 bits are that floor exactly, so one multiply a lane
// does what two did; 2w stays within a 16-bit lane for every weight up to 256.
ORVELL_SSE2 inline __m128i WeighLanes16(__m128i x, __m128i y, __m128i w2) {
    return _mm_add_epi16(y, _mm_mulhi_epi16(_mm_slli_epi16(_mm_sub_epi16(x, y), 7), w2));
}

ORVELL_SSE2 inline __m128i Weigh16(__m128i x, __m128i y, __m128i w2) {
    const __m128i zero = _mm_setzero_si128();
    __m128i lo = WeighLanes16(_mm_unpacklo_epi8(x, zero), _mm_unpacklo_epi8(y, zero), w2);
    __m128i hi = WeighLanes16(_mm_unpackhi_epi8(x, zero), _mm_unpackhi_epi8(y, zero), w2);
    return _mm_packus_epi16(lo, hi);
}

ORVELL_SSE2 void WeightedSse2(const uint8_t* x, const uint8_t* y, uint8_t* d, size_t bytes, int w) {
    const __m128i w2 = _mm_set1_epi16(static_cast<short>(2 * w));
    size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        __m128i vx = _mm_loadu_si128(reinterpret_cast<const __m128i*>(x + i));
        __m128i vy = _mm_loadu_si128(reinterpret_cast<const __m128i*>(y + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), Weigh16(vx, vy, w2));
    }
    ReferenceBlendKernels().Weighted(x + i, y + i, d + i, bytes - i, w);
}

ORVELL_SSE2 inline __m128i Mask16(__m128i va, __m128i vb, __m128i vm) {
    const __m128i zero = _mm_setzero_si128();
    __m128i inverse = _mm_xor_si128(vm, _mm_set1_epi8(-1));
    // a * (255 - m) + b * m is at most 255 * 255.
    __m128i lo = _mm_add_epi16(
        _mm_mullo_epi16(_mm_unpacklo_epi8(va, zero), _mm_unpacklo_epi8(inverse, zero)),
        _mm_mullo_epi16(_mm_unpacklo_epi8(vb, zero), _mm_unpacklo_epi8(vm, zero)));
    __m128i hi = _mm_add_epi16(
        _mm_mullo_epi16(_mm_unpackhi_epi8(va, zero), _mm_unpackhi_epi8(inverse, zero)),
        _mm_mullo_epi16(_mm_unpackhi_epi8(vb, zero), _mm_unpackhi_epi8(vm, zero)));
    return _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8));
}

ORVELL_SSE2 void MaskSse2(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                          size_t bytes) {
    size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        __m128i vm = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), Mask16(va, vb, vm));
    }
    ReferenceBlendKernels().Mask(a + i, b + i, d + i, m + i, bytes - i);
}

ORVELL_SSE2 void MaskGroupsSse2(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                                size_t groups) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i ones = _mm_set1_epi8(-1);
    size_t bytes = groups * kBlendGroupBytes, i = 0;
    for (; i + 16 <= bytes; i += 16) {
        __m128i vm = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + i));
        __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        __m128i clear = _mm_cmpeq_epi8(vm, zero);
        if (_mm_movemask_epi8(clear) == 0xFFFF) {
            // Both groups show only the background: no arithmetic at all.
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), va);
            continue;
        }
        __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        __m128i blended = Mask16(va, vb, vm);
        // A group is clear when both of its 32-bit halves are.
        __m128i halves = _mm_cmpeq_epi32(clear, ones);
        __m128i group = _mm_and_si128(halves, _mm_shuffle_epi32(halves, _MM_SHUFFLE(2, 3, 0, 1)));
        __m128i result = _mm_or_si128(_mm_and_si128(group, va), _mm_andnot_si128(group, blended));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), result);
    }
    ReferenceBlendKernels().MaskGroups(a + i, b + i, d + i, m + i, groups - i / kBlendGroupBytes);
}

ORVELL_SSE2 void ScaleSse2(const uint8_t* s, uint8_t* d, size_t bytes, int v) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i factor = _mm_set1_epi16(static_cast<short>(v));
    size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        __m128i vs = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        __m128i lo = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(vs, zero), factor), 8);
        __m128i hi = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(vs, zero), factor), 8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(lo, hi));
    }
    ReferenceBlendKernels().Scale(s + i, d + i, bytes - i, v);
}

ORVELL_SSE2 void AddSaturateSse2(const uint8_t* s, uint8_t* d, size_t bytes, uint8_t v) {
    const __m128i value = _mm_set1_epi8(static_cast<char>(v));
    size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        __m128i vs = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_adds_epu8(vs, value));
    }
    ReferenceBlendKernels().AddSaturate(s + i, d + i, bytes - i, v);
}

ORVELL_SSE2 void SubSaturateSse2(const uint8_t* s, uint8_t* d, size_t bytes, uint8_t v) {
    const __m128i value = _mm_set1_epi8(static_cast<char>(v));
    size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        __m128i vs = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_subs_epu8(vs, value));
    }
    ReferenceBlendKernels().SubSaturate(s + i, d + i, bytes - i, v);
}

// The staged mean of 16-bit lanes, by the multiply and shift of StagedDivision.
ORVELL_SSE2 inline __m128i StagedLanes16(__m128i a, __m128i b, __m128i twiceA, __m128i twiceB,
                                         __m128i multiplier, __m128i shift) {
    __m128i twice = _mm_add_epi16(_mm_mullo_epi16(a, twiceA), _mm_mullo_epi16(b, twiceB));
    return _mm_srl_epi16(_mm_mulhi_epu16(twice, multiplier), shift);
}

ORVELL_SSE2 void StagedMeanSse2(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                                size_t bytes, int stage, int stages) {
    const StagedDivision division(stages);
    const __m128i zero = _mm_setzero_si128();
    const __m128i twiceA = _mm_set1_epi16(static_cast<short>(2 * (stages - stage)));
    const __m128i twiceB = _mm_set1_epi16(static_cast<short>(2 * stage));
    const __m128i multiplier = _mm_set1_epi16(static_cast<short>(division.Multiplier));
    const __m128i shift = _mm_cvtsi32_si128(division.Shift);
    size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        __m128i kept = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        __m128i keep = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(m + i)), zero);
        __m128i lo = StagedLanes16(_mm_unpacklo_epi8(va, zero), _mm_unpacklo_epi8(vb, zero), twiceA,
                                   twiceB, multiplier, shift);
        __m128i hi = StagedLanes16(_mm_unpackhi_epi8(va, zero), _mm_unpackhi_epi8(vb, zero), twiceA,
                                   twiceB, multiplier, shift);
        __m128i mean = _mm_packus_epi16(lo, hi);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                         _mm_or_si128(_mm_and_si128(keep, kept), _mm_andnot_si128(keep, mean)));
    }
    ReferenceBlendKernels().StagedMean(a + i, b + i, d + i, m + i, bytes - i, stage, stages);
}

ORVELL_SSE2 void ShiftedMaskSse2(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                                 size_t bytes, uint8_t v, bool add) {
    const __m128i value = _mm_set1_epi8(static_cast<char>(v));
    size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        __m128i vm = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + i));
        vm = add ? _mm_adds_epu8(vm, value) : _mm_subs_epu8(vm, value);
        __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), Mask16(va, vb, vm));
    }
    ReferenceBlendKernels().ShiftedMask(a + i, b + i, d + i, m + i, bytes - i, v, add);
}

// ---- AVX2: 32 bytes, four mask groups, per step. Unpacking and packing both work within
// each 128-bit half, so the byte order comes out as it went in.

ORVELL_AVX2 inline __m256i Load32(const uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
ORVELL_AVX2 inline void Store32(uint8_t* p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// The AVX2 loops leave what is short of 32 bytes to the SSE2 ones (the rows of a blend
// tile are 240 bytes: a plain loop over their last 16 would cost as much as the rest).

// The blends multiply pairs of bytes with vpmaddubsw: unsigned weights times signed bytes,
// the two products of each pair summed in a 16-bit lane. A pixel byte p goes in as p - 128
// (its top bit flipped), which the sum makes up for: for weights u and v,
// u (p - 128) + v (q - 128) = u p + v q - 128 (u + v).

ORVELL_AVX2 inline __m256i FlipTopBits(__m256i v) {
    return _mm256_xor_si256(v, _mm256_set1_epi8(static_cast<char>(0x80)));
}

// x w + y (256 - w), less 32768, lies in [-32768, 32512]: the pair sum never saturates, and
// its floor over 256 (an arithmetic shift) is the result less 128, a signed byte, which
// flipping the top bit turns into the result. `weights` holds w and 256 - w in each pair;
// both are bytes for w in 1..255.
ORVELL_AVX2 inline void Weigh32(const uint8_t* x, const uint8_t* y, uint8_t* d, __m256i weights) {
    __m256i vx = FlipTopBits(Load32(x)), vy = FlipTopBits(Load32(y));
    __m256i lo = _mm256_srai_epi16(_mm256_maddubs_epi16(weights, _mm256_unpacklo_epi8(vx, vy)), 8);
    __m256i hi = _mm256_srai_epi16(_mm256_maddubs_epi16(weights, _mm256_unpackhi_epi8(vx, vy)), 8);
    Store32(d, FlipTopBits(_mm256_packs_epi16(lo, hi)));
}

ORVELL_AVX2 void WeightedAvx2(const uint8_t* x, const uint8_t* y, uint8_t* d, size_t bytes, int w) {
    if (w <= 0 || w >= 256) {
        // All of one side, whose weight would not fit a byte.
        const uint8_t* whole = w >= 256 ? x : y;
        if (whole != d) {
            std::memmove(d, whole, bytes);
        }
        return;
    }
    const __m256i weights = _mm256_set1_epi16(static_cast<short>(w | (256 - w) << 8));
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        Weigh32(x + i, y + i, d + i, weights);
    }
    if (i < bytes && bytes >= 32 && d != x && d != y) {
        // The last 32 bytes again, overlapping the step before: the same bytes come out where
        // the two meet, and a short row (a blend tile's is 240 bytes) needs no further call.
        // Not in place, where the overlap would be read after it was written.
        size_t last = bytes - 32;
        Weigh32(x + last, y + last, d + last, weights);
        return;
    }
    WeightedSse2(x + i, y + i, d + i, bytes - i, w);
}

// a (255 - m) + b m, less 128 * 255, lies in [-32640, 32385]; adding 32640 back in a 16-bit
// lane gives the plain sum, at most 255 * 255, whose upper byte is the result.
ORVELL_AVX2 inline __m256i Mask32(__m256i va, __m256i vb, __m256i vm) {
    const __m256i restore = _mm256_set1_epi16(32640);
    __m256i inverse = _mm256_xor_si256(vm, _mm256_set1_epi8(-1));
    __m256i pa = FlipTopBits(va), pb = FlipTopBits(vb);
    __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(inverse, vm), _mm256_unpacklo_epi8(pa, pb));
    __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(inverse, vm), _mm256_unpackhi_epi8(pa, pb));
    return _mm256_packus_epi16(_mm256_srli_epi16(_mm256_add_epi16(lo, restore), 8),
                               _mm256_srli_epi16(_mm256_add_epi16(hi, restore), 8));
}

ORVELL_AVX2 void MaskAvx2(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                          size_t bytes) {
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        Store32(d + i, Mask32(Load32(a + i), Load32(b + i), Load32(m + i)));
    }
    MaskSse2(a + i, b + i, d + i, m + i, bytes - i);
}

ORVELL_AVX2 void MaskGroupsAvx2(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                                size_t groups) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i ones = _mm256_set1_epi8(-1);
    size_t bytes = groups * kBlendGroupBytes, i = 0;
    for (; i + 32 <= bytes; i += 32) {
        __m256i vm = Load32(m + i), va = Load32(a + i);
        __m256i clear = _mm256_cmpeq_epi8(vm, zero);
        int clearBytes = _mm256_movemask_epi8(clear);
        if (clearBytes == -1) {
            Store32(d + i, va);
            continue;
        }
        if (clearBytes == 0 && _mm256_movemask_epi8(_mm256_cmpeq_epi8(vm, ones)) == -1) {
            // Wholly covered, as most of a character is: b * 255 >> 8 is b less one, 0 for 0.
            Store32(d + i, _mm256_subs_epu8(Load32(b + i), _mm256_set1_epi8(1)));
            continue;
        }
        __m256i blended = Mask32(va, Load32(b + i), vm);
        __m256i group = _mm256_cmpeq_epi64(clear, ones);
        Store32(d + i, _mm256_blendv_epi8(blended, va, group));
    }
    MaskGroupsSse2(a + i, b + i, d + i, m + i, groups - i / kBlendGroupBytes);
}

ORVELL_AVX2 inline void Scale32(const uint8_t* s, uint8_t* d, __m256i factor) {
    const __m256i zero = _mm256_setzero_si256();
    __m256i vs = Load32(s);
    __m256i lo = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(vs, zero), factor), 8);
    __m256i hi = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(vs, zero), factor), 8);
    Store32(d, _mm256_packus_epi16(lo, hi));
}

ORVELL_AVX2 void ScaleAvx2(const uint8_t* s, uint8_t* d, size_t bytes, int v) {
    const __m256i factor = _mm256_set1_epi16(static_cast<short>(v));
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        Scale32(s + i, d + i, factor);
    }
    if (i < bytes && bytes >= 32 && d != s) {
        // The last 32 bytes again, as the cross-fade does (the spans of a sliding fade are
        // rarely whole vectors).
        Scale32(s + bytes - 32, d + bytes - 32, factor);
        return;
    }
    ScaleSse2(s + i, d + i, bytes - i, v);
}

ORVELL_AVX2 void AddSaturateAvx2(const uint8_t* s, uint8_t* d, size_t bytes, uint8_t v) {
    const __m256i value = _mm256_set1_epi8(static_cast<char>(v));
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        Store32(d + i, _mm256_adds_epu8(Load32(s + i), value));
    }
    AddSaturateSse2(s + i, d + i, bytes - i, v);
}

ORVELL_AVX2 void SubSaturateAvx2(const uint8_t* s, uint8_t* d, size_t bytes, uint8_t v) {
    const __m256i value = _mm256_set1_epi8(static_cast<char>(v));
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        Store32(d + i, _mm256_subs_epu8(Load32(s + i), value));
    }
    SubSaturateSse2(s + i, d + i, bytes - i, v);
}

// Where m is not 0, the picture `whole` (stage 0 is a, the last stage b).
ORVELL_AVX2 void StagedEndAvx2(const uint8_t* whole, uint8_t* d, const uint8_t* m, size_t bytes) {
    const __m256i zero = _mm256_setzero_si256();
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        __m256i keep = _mm256_cmpeq_epi8(Load32(m + i), zero);
        Store32(d + i, _mm256_blendv_epi8(Load32(whole + i), Load32(d + i), keep));
    }
    for (; i < bytes; ++i) {
        d[i] = m[i] != 0 ? whole[i] : d[i];
    }
}

ORVELL_AVX2 inline __m256i StagedLanes32(__m256i pairs, __m256i weights, __m256i restore,
                                         __m256i multiplier, __m128i shift) {
    __m256i twice = _mm256_add_epi16(_mm256_maddubs_epi16(weights, pairs), restore);
    return _mm256_srl_epi16(_mm256_mulhi_epu16(twice, multiplier), shift);
}

// Between the two ends both doubled weights, 2 (stages - stage) and 2 stage, are bytes (at
// most 254 for up to 128 stages), and 2 a (stages - stage) + 2 b stage, less 256 stages for
// the signed pixels, lies within a 16-bit lane; adding that back gives the doubled numerator
// the division takes.
ORVELL_AVX2 void StagedMeanAvx2(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                                size_t bytes, int stage, int stages) {
    if (stage <= 0 || stage >= stages) {
        StagedEndAvx2(stage <= 0 ? a : b, d, m, bytes);
        return;
    }
    const StagedDivision division(stages);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i weights =
        _mm256_set1_epi16(static_cast<short>(2 * (stages - stage) | (2 * stage) << 8));
    const __m256i restore = _mm256_set1_epi16(static_cast<short>(256 * stages));
    const __m256i multiplier = _mm256_set1_epi16(static_cast<short>(division.Multiplier));
    const __m128i shift = _mm_cvtsi32_si128(division.Shift);
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        __m256i va = FlipTopBits(Load32(a + i)), vb = FlipTopBits(Load32(b + i));
        __m256i keep = _mm256_cmpeq_epi8(Load32(m + i), zero);
        __m256i lo = StagedLanes32(_mm256_unpacklo_epi8(va, vb), weights, restore, multiplier, shift);
        __m256i hi = StagedLanes32(_mm256_unpackhi_epi8(va, vb), weights, restore, multiplier, shift);
        Store32(d + i, _mm256_blendv_epi8(_mm256_packus_epi16(lo, hi), Load32(d + i), keep));
    }
    StagedMeanSse2(a + i, b + i, d + i, m + i, bytes - i, stage, stages);
}

ORVELL_AVX2 void ShiftedMaskAvx2(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                                 size_t bytes, uint8_t v, bool add) {
    const __m256i value = _mm256_set1_epi8(static_cast<char>(v));
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        __m256i vm = Load32(m + i);
        vm = add ? _mm256_adds_epu8(vm, value) : _mm256_subs_epu8(vm, value);
        Store32(d + i, Mask32(Load32(a + i), Load32(b + i), vm));
    }
    ShiftedMaskSse2(a + i, b + i, d + i, m + i, bytes - i, v, add);
}

constexpr BlendKernels kSse2{"sse2",          WeightedSse2,    MaskSse2,
                             MaskGroupsSse2,  ScaleSse2,       AddSaturateSse2,
                             SubSaturateSse2, StagedMeanSse2,  ShiftedMaskSse2};
constexpr BlendKernels kAvx2{"avx2",          WeightedAvx2,    MaskAvx2,
                             MaskGroupsAvx2,  ScaleAvx2,       AddSaturateAvx2,
                             SubSaturateAvx2, StagedMeanAvx2,  ShiftedMaskAvx2};

} // namespace

const BlendKernels* Sse2BlendKernels() {
    // The processor is probed once, perhaps before every static constructor has run.
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2") ? &kSse2 : nullptr;
}

const BlendKernels* Avx2BlendKernels() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? &kAvx2 : nullptr;
}

#else

const BlendKernels* Sse2BlendKernels() {
    return nullptr;
}
const BlendKernels* Avx2BlendKernels() {
    return nullptr;
}

#endif

} // namespace orv::detail
