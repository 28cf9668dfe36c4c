#pragma once
// Grey levels of glyph masks. Fonts hand out 8-bit coverage; the engine's masks are built
// from 65 levels (0..64), and the lighter levels are lifted so that thin strokes stay
// readable over bright pictures.

#include <cstdint>

namespace orv {

constexpr int kGlyphLevels = 65;

// Coverage 0..255 to a level 0..64, rounded to the nearest level.
constexpr int CoverageToLevel(uint8_t coverage) {
    return (coverage * (kGlyphLevels - 1) + 127) / 255;
}

// Level 0 stays transparent; 1..55 become 3 v + 90; 56 and above are opaque.
constexpr uint8_t MaskFromLevel(int level) {
    if (level <= 0) {
        return 0;
    }
    if (level >= 56) {
        return 255;
    }
    return static_cast<uint8_t>(3 * level + 90);
}

constexpr uint8_t MaskFromCoverage(uint8_t coverage) {
    return MaskFromLevel(CoverageToLevel(coverage));
}

} // namespace orv
