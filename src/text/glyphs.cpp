#include "text/glyphs.h"

#include "base/cp932.h"
#include "gfx/blend.h"
#include "text/glyph_levels.h"
#include "text/text_palette.h"

#include <algorithm>
#include <cstring>

namespace orv {

namespace {

constexpr int kLowestDrawnTop = 570;
constexpr int kExternalSize = 24;
constexpr int kExternalOffset = 2;
constexpr int kTopRows = 2;

// The blend of one cell row onto a surface row, byte `start` of the row onward, in groups
// of 8 bytes as MaskBlendRow does: a group whose mask is all zero leaves the row alone.
// Bytes that fall outside the row are skipped, so a cell may hang over any edge.
void BlendCellRow(uint8_t* row, int rowBytes, int start, const uint8_t* colour,
                  const uint8_t* mask, int groups) {
    int bytes = groups * 8;
    if (start >= 0 && start + bytes <= rowBytes) {
        MaskBlendRow(row + start, colour, row + start, mask, groups);
        return;
    }
    for (int g = 0; g < groups; ++g) {
        const uint8_t* m = mask + g * 8;
        if (std::all_of(m, m + 8, [](uint8_t v) { return v == 0; })) {
            continue;
        }
        for (int i = 0; i < 8; ++i) {
            int at = start + g * 8 + i;
            if (at < 0 || at >= rowBytes) {
                continue;
            }
            int a = row[at];
            int b = colour[g * 8 + i];
            row[at] = static_cast<uint8_t>((a * (255 - m[i]) + b * m[i]) >> 8);
        }
    }
}

// The fourteen punctuation marks typed most often: full-width space, corner brackets,
// parentheses, ellipsis, full stop, comma, middle dot, exclamation and question marks,
// the ideograph for "day" and the white corner brackets.
constexpr uint16_t kCommonMarks[] = {0x8140, 0x8175, 0x8176, 0x8169, 0x816A, 0x8163, 0x8142,
                                     0x8141, 0x8145, 0x8149, 0x8148, 0x93FA, 0x8177, 0x8178};

} // namespace

Glyphs::Glyphs() = default;

bool Glyphs::CreateFont(std::string_view utf8FontName, int pixelSize, bool bold) {
    m_pixelSize = pixelSize > 0 ? pixelSize : 22;
    m_cache.Clear();
    return m_font.Open(utf8FontName, m_pixelSize, bold);
}

void Glyphs::AddExternalCharacters(std::string_view codes, const Surface& picture) {
    for (size_t i = 0; i + 1 < codes.size(); i += 2) {
        int left = static_cast<int>(i / 2) * kExternalSize;
        if (left + kExternalSize > picture.Width() || picture.Height() < kExternalSize) {
            break;
        }
        m_render.fill(0);
        for (int r = 0; r < kExternalSize; ++r) {
            const uint8_t* src = picture.Row(r) + static_cast<size_t>(left) * 3;
            uint8_t* dst = m_render.data() + static_cast<size_t>(r + kExternalOffset) * kGlyphCell.Width;
            for (int c = 0; c < kExternalSize; ++c) {
                dst[c + kExternalOffset] = src[c * 3]; // the blue byte
            }
        }
        auto code = static_cast<uint16_t>(static_cast<uint8_t>(codes[i]) << 8 |
                                          static_cast<uint8_t>(codes[i + 1]));
        m_cache.Add(code, m_render);
    }
}

void Glyphs::PreRenderCommon() {
    for (uint16_t code = 0x829F; code <= 0x82F1; ++code) {
        RenderGlyph(code);
    }
    for (uint16_t code = 0x8340; code <= 0x8396; ++code) {
        RenderGlyph(code);
    }
    for (uint16_t code = 0x824F; code <= 0x8258; ++code) {
        RenderGlyph(code);
    }
    for (uint16_t code : kCommonMarks) {
        RenderGlyph(code);
    }
}

void Glyphs::SetTextColour(int32_t number, uint32_t colourZero) {
    SetColourValue(TextColourFor(number, colourZero) & 0xFFFFFF);
}

void Glyphs::SetColourValue(uint32_t colour) {
    if (colour == m_colour) {
        return;
    }
    m_colour = colour;
    for (size_t i = 0; i + 2 < m_colourRow.size(); i += 3) {
        m_colourRow[i] = static_cast<uint8_t>(colour >> 16);
        m_colourRow[i + 1] = static_cast<uint8_t>(colour >> 8);
        m_colourRow[i + 2] = static_cast<uint8_t>(colour);
    }
}

void Glyphs::RenderFresh(uint16_t code, std::span<uint8_t> mask, int maskWidth, int limit) {
    std::fill(mask.begin(), mask.end(), uint8_t{0});
    char bytes[2];
    size_t length = 0;
    if (code > 0xFF) {
        bytes[0] = static_cast<char>(code >> 8);
        bytes[1] = static_cast<char>(code & 0xFF);
        length = 2;
    } else {
        bytes[0] = static_cast<char>(code);
        length = 1;
    }
    char32_t cp = cp932::DecodeChar(cp932::CharCode(std::string_view(bytes, length)));
    if (cp == cp932::ReplacementChar || !m_font.Render(cp, m_bitmap)) {
        return;
    }
    int needed = m_bitmap.OutlineBytes();
    if (needed == 0 || needed > limit) {
        return;
    }
    PlaceGlyph(m_bitmap, m_font.Ascent(), kTopRows, mask, maskWidth);
}

void Glyphs::ExpandMask(std::span<const uint8_t> mask, std::span<uint8_t> bytes) {
    for (size_t i = 0; i < mask.size() && i * 3 + 2 < bytes.size(); ++i) {
        bytes[i * 3] = bytes[i * 3 + 1] = bytes[i * 3 + 2] = mask[i];
    }
}

void Glyphs::RenderGlyph(uint16_t code) {
    std::span<const uint8_t> cached = m_cache.Find(code);
    if (cached.empty()) {
        m_font.SetPixelSize(m_pixelSize);
        RenderFresh(code, m_render, kGlyphCell.Width, kGlyphOutlineLimit);
        // Characters the font could not draw stay uncached: nothing is lost by trying again.
        bool drawn = std::any_of(m_render.begin(), m_render.end(), [](uint8_t v) { return v != 0; });
        if (drawn) {
            m_cache.Add(code, m_render);
        }
        cached = m_render;
    }
    std::copy_n(cached.begin(), m_mask.size(), m_mask.begin());
    MakeShadow(m_mask, kGlyphCell, m_shadow);
    ExpandMask(m_mask, m_maskBytes);
    ExpandMask(m_shadow, m_shadowBytes);
}

void Glyphs::RenderSizedGlyph(uint16_t code, int pixelSize) {
    m_font.SetPixelSize(pixelSize);
    RenderFresh(code, m_sizedMask, kSizedCell.Width, kSizedOutlineLimit);
    m_font.SetPixelSize(m_pixelSize);
    MakeShadow(m_sizedMask, kSizedCell, m_sizedShadow);
    ExpandMask(m_sizedMask, m_sizedMaskBytes);
    ExpandMask(m_sizedShadow, m_sizedShadowBytes);
}

void Glyphs::CompositeCell(Surface& surface, int x, int y, const uint8_t* maskBytes,
                           const uint8_t* shadowBytes, CellShape cell) const {
    int groups = cell.Width * 3 / 8;
    int rowBytes = surface.RowBytes();
    int cellBytes = cell.Width * 3;
    for (int row = 0; row < cell.Height; ++row) {
        int target = y + row;
        if (target < 0 || target >= surface.Height()) {
            continue;
        }
        BlendCellRow(surface.Row(target), rowBytes, (x + 1) * 3, m_blackRow.data(),
                     shadowBytes + static_cast<size_t>(row) * cellBytes, groups);
    }
    for (int row = 0; row < cell.Height; ++row) {
        int target = y + row;
        if (target < 0 || target >= surface.Height()) {
            continue;
        }
        BlendCellRow(surface.Row(target), rowBytes, x * 3, m_colourRow.data(),
                     maskBytes + static_cast<size_t>(row) * cellBytes, groups);
    }
}

void Glyphs::CompositeGlyph(Surface& surface, int x, int y) const {
    if (y > kLowestDrawnTop) {
        return;
    }
    CompositeCell(surface, x, y, m_maskBytes.data(), m_shadowBytes.data(), kGlyphCell);
}

void Glyphs::CompositeSizedGlyph(Surface& surface, int x, int y) const {
    CompositeCell(surface, x, y, m_sizedMaskBytes.data(), m_sizedShadowBytes.data(), kSizedCell);
}

void Glyphs::DrawTextLeft(std::string_view text, int x, Surface& surface, int32_t colour, int y,
                          int pitch, uint32_t colourZero) {
    SetTextColour(colour, colourZero);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t length = cp932::CharLength(text, pos);
        RenderGlyph(cp932::CharCode(text.substr(pos, length)));
        CompositeGlyph(surface, x + static_cast<int>(pos + 1) * pitch, y);
        pos += length;
    }
}

void Glyphs::DrawTextCentred(std::string_view text, int centre, Surface& surface, int32_t colour,
                             int y, int pitch, uint32_t colourZero) {
    int length = static_cast<int>(text.size());
    DrawTextLeft(text, centre - (length * pitch) / 2, surface, colour, y, pitch, colourZero);
}

int Glyphs::MeasurePlainText(std::string_view text, int pixelHeight) {
    m_font.SetPixelSize(pixelHeight);
    int width = 0;
    cp932::ForEachChar(text, [&](std::string_view character) {
        if (m_font.Render(cp932::DecodeChar(cp932::CharCode(character)), m_bitmap)) {
            width += m_bitmap.Advance;
        }
    });
    m_font.SetPixelSize(m_pixelSize);
    return width;
}

int Glyphs::DrawPlainText(std::string_view text, int x, int y, int pixelHeight, uint32_t colour,
                          Surface& surface) {
    m_font.SetPixelSize(pixelHeight);
    int ascent = m_font.Ascent();
    int pen = x;
    auto channel = [colour](int i) {
        return static_cast<int>((colour >> (16 - 8 * i)) & 0xFF); // blue, green, red
    };
    cp932::ForEachChar(text, [&](std::string_view character) {
        if (!m_font.Render(cp932::DecodeChar(cp932::CharCode(character)), m_bitmap)) {
            return;
        }
        int top = y + ascent - m_bitmap.OriginY;
        for (int r = 0; r < m_bitmap.Rows; ++r) {
            int ty = top + r;
            if (ty < 0 || ty >= surface.Height()) {
                continue;
            }
            uint8_t* row = surface.Row(ty);
            for (int c = 0; c < m_bitmap.Width; ++c) {
                int tx = pen + m_bitmap.OriginX + c;
                int m = MaskFromLevel(m_bitmap.Levels[static_cast<size_t>(r * m_bitmap.Pitch + c)]);
                if (m == 0 || tx < 0 || tx >= surface.Width()) {
                    continue;
                }
                for (int i = 0; i < 3; ++i) {
                    uint8_t& byte = row[tx * 3 + i];
                    byte = static_cast<uint8_t>((byte * (255 - m) + channel(i) * m) >> 8);
                }
            }
        }
        pen += m_bitmap.Advance;
    });
    m_font.SetPixelSize(m_pixelSize);
    return pen - x;
}

} // namespace orv
