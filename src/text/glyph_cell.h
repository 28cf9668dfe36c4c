#pragma once
// The placing of a rendered glyph in a cell mask and the drop shadow made from it.

#include "text/glyph_bitmap.h"

#include <cstdint>
#include <span>

namespace orv {

struct CellShape {
    int Width = 0;
    int Height = 0;
};

constexpr CellShape kGlyphCell{32, 36};
constexpr CellShape kSizedCell{56, 64};
// Cached masks are 32 x 72: the cell and room below it.
constexpr int kCachedMaskRows = 72;
constexpr int kCachedMaskBytes = kGlyphCell.Width * kCachedMaskRows;
// Outlines above this size are not drawn in the glyph cell, above the second in the sized one.
constexpr int kGlyphOutlineLimit = 2303;
constexpr int kSizedOutlineLimit = 3584;

// Writes the mask of `glyph` into `mask` (width `maskWidth`, mask.size() / maskWidth rows),
// cleared first: its box goes to column OriginX and row ascent - OriginY + topRows. Pixels
// outside the mask are dropped. Levels become mask values (glyph_levels.h).
void PlaceGlyph(const GlyphBitmap& glyph, int ascent, int topRows, std::span<uint8_t> mask,
                int maskWidth);

// The shadow of a cell mask: for 1 <= r <= height - 2 and 1 <= c <= width - 2 the average of
// the four neighbours of (r, c) goes to (r + 1, c + 1). `shadow` is cleared first.
void MakeShadow(std::span<const uint8_t> mask, CellShape cell, std::span<uint8_t> shadow);

} // namespace orv
