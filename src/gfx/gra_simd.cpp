// The delta stage of GRA decoding with SSSE3: each 16-byte step sums its bytes three apart
// with three shifted adds and takes the running sums of the three lanes over from the
// previous step with one shuffle.
#include "gfx/gra_decoder.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ORVELL_X86 1
#endif

namespace orv {

namespace {

#if ORVELL_X86

__attribute__((target("ssse3"))) void UndoDeltaSsse3(const uint8_t* in, uint8_t* out, size_t bytes,
                                                     uint8_t sums[3]) {
    alignas(16) uint8_t lanes[16];
    for (int t = 0; t < 16; ++t) {
        lanes[t] = sums[t % 3];
    }
    // carry byte t: the running sum of the lane that the step's byte t belongs to.
    __m128i carry = _mm_load_si128(reinterpret_cast<const __m128i*>(lanes));
    // 16 is 1 more than a multiple of 3: the next step's byte t shares its lane with this
    // step's byte 13 + t mod 3.
    const __m128i spread =
        _mm_setr_epi8(13, 14, 15, 13, 14, 15, 13, 14, 15, 13, 14, 15, 13, 14, 15, 13);
    size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        v = _mm_add_epi8(v, _mm_slli_si128(v, 3));
        v = _mm_add_epi8(v, _mm_slli_si128(v, 6));
        v = _mm_add_epi8(v, _mm_slli_si128(v, 12));
        v = _mm_add_epi8(v, carry);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), v);
        carry = _mm_shuffle_epi8(v, spread);
    }
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), carry);
    // The plain loop starts its lane 0 at byte i, which is in lane i mod 3.
    size_t phase = i % 3;
    uint8_t rotated[3] = {lanes[0], lanes[1], lanes[2]};
    UndoGraDeltaPlain(in + i, out + i, bytes - i, rotated);
    for (size_t t = 0; t < 3; ++t) {
        sums[(phase + t) % 3] = rotated[t];
    }
}

using DeltaFunction = void (*)(const uint8_t*, uint8_t*, size_t, uint8_t*);

DeltaFunction ChooseDelta() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") ? UndoDeltaSsse3 : UndoGraDeltaPlain;
}

#else

using DeltaFunction = void (*)(const uint8_t*, uint8_t*, size_t, uint8_t*);
DeltaFunction ChooseDelta() {
    return UndoGraDeltaPlain;
}

#endif

} // namespace

void UndoGraDelta(const uint8_t* in, uint8_t* out, size_t bytes, uint8_t sums[3]) {
    static const DeltaFunction run = ChooseDelta();
    run(in, out, bytes, sums);
}

} // namespace orv
