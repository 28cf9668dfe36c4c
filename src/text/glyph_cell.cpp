#include "text/glyph_cell.h"

#include "text/glyph_levels.h"

#include <algorithm>

namespace orv {

void PlaceGlyph(const GlyphBitmap& glyph, int ascent, int topRows, std::span<uint8_t> mask,
                int maskWidth) {
    std::fill(mask.begin(), mask.end(), uint8_t{0});
    if (maskWidth <= 0) {
        return;
    }
    int maskRows = static_cast<int>(mask.size()) / maskWidth;
    int top = ascent - glyph.OriginY + topRows;
    for (int r = 0; r < glyph.Rows; ++r) {
        int y = top + r;
        if (y < 0 || y >= maskRows) {
            continue;
        }
        const uint8_t* levels = glyph.Levels.data() + static_cast<size_t>(r) * glyph.Pitch;
        uint8_t* out = mask.data() + static_cast<size_t>(y) * maskWidth;
        for (int c = 0; c < glyph.Width; ++c) {
            int x = glyph.OriginX + c;
            if (x >= 0 && x < maskWidth) {
                out[x] = MaskFromLevel(levels[c]);
            }
        }
    }
}

void MakeShadow(std::span<const uint8_t> mask, CellShape cell, std::span<uint8_t> shadow) {
    std::fill(shadow.begin(), shadow.end(), uint8_t{0});
    auto at = [&](int r, int c) { return static_cast<int>(mask[static_cast<size_t>(r * cell.Width + c)]); };
    for (int r = 1; r <= cell.Height - 2; ++r) {
        for (int c = 1; c <= cell.Width - 2; ++c) {
            int sum = at(r - 1, c) + at(r, c - 1) + at(r, c + 1) + at(r + 1, c);
            int tr = r + 1;
            int tc = c + 1;
            if (tr < cell.Height && tc < cell.Width) {
                shadow[static_cast<size_t>(tr * cell.Width + tc)] = static_cast<uint8_t>(sum / 4);
            }
        }
    }
}

} // namespace orv
