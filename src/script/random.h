#pragma once
// The script's pseudo-random numbers: a 32-bit linear congruential generator, so that a
// seeded run draws the same numbers every time.

#include <cstdint>

namespace orv {

class RandomGenerator {
public:
    void Seed(uint32_t seed) { m_state = seed; }
    uint32_t State() const { return m_state; }

    // 0..0x7FFF
    int32_t Next() {
        m_state = m_state * 22695477u + 1u;
        return static_cast<int32_t>((m_state >> 16) & 0x7FFF);
    }

    // 0..n-1; 0 when n is not positive (a script's R0 must not divide by zero).
    int32_t Random(int32_t n) {
        int32_t value = Next();
        return n > 0 ? value % n : 0;
    }

private:
    uint32_t m_state = 0;
};

} // namespace orv
