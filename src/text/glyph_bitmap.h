#pragma once
// One rendered character as the font gives it: coverage levels of its black box and where
// the box sits against the pen position.

#include <array>
#include <cstdint>

namespace orv {

struct GlyphBitmap {
    // Large enough for the sized cell's limit; a glyph that needs more is not drawn.
    static constexpr int kCapacity = 4096;

    int Width = 0;
    int Rows = 0;
    int Pitch = 0;   // bytes per row in Levels
    int OriginX = 0; // left of the box from the pen position
    int OriginY = 0; // top of the box above the baseline
    int Advance = 0; // pen advance in pixels
    std::array<uint8_t, kCapacity> Levels{}; // 0..64

    // The bytes an 8-bit grey outline of this box takes, rows padded to 4 bytes as the
    // Windows glyph-outline buffers are. Cells refuse glyphs above their limit by this size.
    int OutlineBytes() const { return Rows * ((Width + 3) & ~3); }
};

} // namespace orv
