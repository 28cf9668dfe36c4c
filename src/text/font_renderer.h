#pragma once
// The message font: a family name resolved through fontconfig to a font file, opened with
// FreeType, asked for the coverage of one character at a pixel size. A second face, the
// best Japanese font installed, stands in for characters the named font lacks, so that text
// is never missing because of fonts.

#include "text/glyph_bitmap.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class FontRenderer {
public:
    FontRenderer();
    ~FontRenderer();
    FontRenderer(const FontRenderer&) = delete;
    FontRenderer& operator=(const FontRenderer&) = delete;

    // Opens the family `utf8Name` (empty: none named). When it names no installed font, or
    // one without Japanese glyphs, the Japanese fallback is used instead and the diagnostic
    // output says so (once a run). False when no font at all could be opened.
    bool Open(std::string_view utf8Name, int pixelSize, bool bold);
    bool IsOpen() const { return m_primary != nullptr; }

    // The file behind the face in use, for messages and tests.
    const std::string& FontFile() const { return m_primaryFile; }
    bool UsingFallback() const { return m_usingFallback; }

    // Later renders use this size (pixels from the top of the ascent to the bottom of the
    // descent, as a Windows font height). Does nothing when the size is already set.
    void SetPixelSize(int pixelSize);
    int PixelSize() const { return m_pixelSize; }
    void SetBold(bool bold) { m_bold = bold; }
    // Pixels above the baseline at the current size.
    int Ascent() const;

    // The coverage of `cp` at the current size, in 65 levels. False when neither face has
    // the character or the box does not fit the bitmap's buffer; `out` is then empty.
    bool Render(char32_t cp, GlyphBitmap& out);

private:
    struct Faces;
    bool RenderWith(void* face, char32_t cp, GlyphBitmap& out);
    void ApplySize(void* face);

    Faces* m_faces;
    void* m_primary = nullptr;  // FT_Face
    void* m_fallback = nullptr; // FT_Face, may be the same file as the primary
    std::string m_primaryFile;
    bool m_usingFallback = false;
    int m_pixelSize = 22;
    bool m_bold = false;
};

} // namespace orv
