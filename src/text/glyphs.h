#pragma once
// Glyph rendering: a character into the cell masks (from the cache or the font), the cell
// composited onto a 24-bit surface with its shadow, short strings, external characters
// drawn from a picture, and the larger cell of the staff rolls.

#include "gfx/surface.h"
#include "text/font_renderer.h"
#include "text/glyph_cache.h"
#include "text/glyph_cell.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace orv {

class Glyphs {
public:
    Glyphs();

    // Opens the font and empties the cache; the cell surfaces exist from construction.
    bool CreateFont(std::string_view utf8FontName, int pixelSize, bool bold);
    FontRenderer& Font() { return m_font; }
    int PixelSize() const { return m_pixelSize; }

    // The external characters: `codes` holds two bytes per character (lead, trail), the
    // picture their 24 x 24 images side by side in the same order. Cached before anything
    // else, so that they stand in for the font's glyphs of their codes.
    void AddExternalCharacters(std::string_view codes, const Surface& picture);
    // Kana, digits and the common punctuation, so that typing them costs only a lookup.
    void PreRenderCommon();

    // Colour 0 is `colourZero` (S037); others come from the palette. The same colour again
    // costs nothing.
    void SetTextColour(int32_t number, uint32_t colourZero);
    uint32_t TextColour() const { return m_colour; }
    // Back to a colour read from TextColour() before something else drew.
    void RestoreTextColour(uint32_t colour) { SetColourValue(colour & 0xFFFFFF); }

    // The cell masks hold the glyph of `code` (a byte, or lead x 256 + trail).
    void RenderGlyph(uint16_t code);
    // The current cell onto `surface` with its top left at (x, y); nothing when y > 570.
    void CompositeGlyph(Surface& surface, int x, int y) const;

    // The sized cell (56 x 64) at `pixelSize`, never cached.
    void RenderSizedGlyph(uint16_t code, int pixelSize);
    void CompositeSizedGlyph(Surface& surface, int x, int y) const;

    // Short strings in code page 932; the glyph starting at byte k (from 1) goes to
    // x + k * pitch, or centred on `centre`.
    void DrawTextLeft(std::string_view text, int x, Surface& surface, int32_t colour, int y,
                      int pitch, uint32_t colourZero);
    void DrawTextCentred(std::string_view text, int centre, Surface& surface, int32_t colour,
                         int y, int pitch, uint32_t colourZero);

    // Plain text without shadow or cell, `pixelHeight` high with its top at y, as a canvas
    // draws it (ruby, small labels). Returns the width drawn.
    int DrawPlainText(std::string_view text, int x, int y, int pixelHeight, uint32_t colour,
                      Surface& surface);
    int MeasurePlainText(std::string_view text, int pixelHeight);

    const GlyphCache& Cache() const { return m_cache; }
    // The mask of the current cell (32 x 36), for tests and the screen's own checks.
    std::span<const uint8_t> CellMask() const { return m_mask; }
    std::span<const uint8_t> CellShadow() const { return m_shadow; }
    std::span<const uint8_t> SizedMask() const { return m_sizedMask; }

private:
    void SetColourValue(uint32_t colour);
    void RenderFresh(uint16_t code, std::span<uint8_t> mask, int maskWidth, int limit);
    // Grey bytes three a pixel from a one-byte mask, so that rows blend as 24-bit pictures.
    static void ExpandMask(std::span<const uint8_t> mask, std::span<uint8_t> bytes);
    void CompositeCell(Surface& surface, int x, int y, const uint8_t* maskBytes,
                       const uint8_t* shadowBytes, CellShape cell) const;

    FontRenderer m_font;
    GlyphCache m_cache;
    GlyphBitmap m_bitmap;
    int m_pixelSize = 22;
    uint32_t m_colour = 0xFFFFFFFF; // none yet: the first SetTextColour fills the row
    // The rendered mask in the cached form (32 x 72) and the cell's views of it.
    std::array<uint8_t, kCachedMaskBytes> m_render{};
    std::array<uint8_t, kGlyphCell.Width * kGlyphCell.Height> m_mask{};
    std::array<uint8_t, kGlyphCell.Width * kGlyphCell.Height> m_shadow{};
    std::array<uint8_t, kSizedCell.Width * kSizedCell.Height> m_sizedMask{};
    std::array<uint8_t, kSizedCell.Width * kSizedCell.Height> m_sizedShadow{};
    // The cell surfaces: the masks as grey pixels, the text colour, the black shadow colour.
    std::array<uint8_t, kGlyphCell.Width * kGlyphCell.Height * 3> m_maskBytes{};
    std::array<uint8_t, kGlyphCell.Width * kGlyphCell.Height * 3> m_shadowBytes{};
    std::array<uint8_t, kSizedCell.Width * kSizedCell.Height * 3> m_sizedMaskBytes{};
    std::array<uint8_t, kSizedCell.Width * kSizedCell.Height * 3> m_sizedShadowBytes{};
    std::array<uint8_t, kSizedCell.Width * 3> m_colourRow{};
    std::array<uint8_t, kSizedCell.Width * 3> m_blackRow{};
};

} // namespace orv
