#include "text/font_renderer.h"

#include "base/diagnostics.h"
#include "text/glyph_levels.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>

namespace orv {

namespace {

// Characters every font of these games has: hiragana a, katakana a and the ideograph for
// "day". A font without them cannot show the text.
constexpr FcChar32 kJapaneseProbe[] = {0x3042, 0x30A2, 0x65E5};

struct FontMatch {
    std::string File;
    int Index = 0;
    std::string Family;
};

bool HasJapanese(FcPattern* font) {
    FcCharSet* chars = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &chars) != FcResultMatch) {
        return false;
    }
    return std::all_of(std::begin(kJapaneseProbe), std::end(kJapaneseProbe),
                       [chars](FcChar32 cp) { return FcCharSetHasChar(chars, cp) != 0; });
}

bool FamilyNamed(FcPattern* font, std::string_view name) {
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(family, reinterpret_cast<const FcChar8*>(std::string(name).c_str())) == 0) {
            return true;
        }
    }
    return false;
}

FontMatch MatchOf(FcPattern* font) {
    FontMatch match;
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch) {
        match.File = reinterpret_cast<const char*>(file);
    }
    FcPatternGetInteger(font, FC_INDEX, 0, &match.Index);
    FcChar8* family = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch) {
        match.Family = reinterpret_cast<const char*>(family);
    }
    return match;
}

// The installed font of exactly this family that has Japanese glyphs, if any.
FontMatch FindNamedFont(std::string_view name) {
    if (name.empty()) {
        return {};
    }
    FcPattern* pattern = FcPatternCreate();
    std::string family(name);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(nullptr, pattern, &result);
    FontMatch match;
    if (font && FamilyNamed(font, name) && HasJapanese(font)) {
        match = MatchOf(font);
    }
    if (font) {
        FcPatternDestroy(font);
    }
    FcPatternDestroy(pattern);
    return match;
}

// The best Japanese gothic font fontconfig offers; IPAGothic first, as Debian installs it in
// place of the fonts these games name.
FontMatch FindJapaneseFont() {
    for (const char* family : {"IPAGothic", "IPAexGothic", "Noto Sans CJK JP", "sans-serif"}) {
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* font = FcFontMatch(nullptr, pattern, &result);
        FontMatch match;
        if (font && HasJapanese(font)) {
            match = MatchOf(font);
        }
        if (font) {
            FcPatternDestroy(font);
        }
        FcPatternDestroy(pattern);
        if (!match.File.empty()) {
            return match;
        }
    }
    return {};
}

bool g_fallbackReported = false;

// What fontconfig answered, kept for the life of the program: a font is opened again for
// every staff roll and every change of the font settings, and each answer costs a match over
// every installed font. Fonts installed while the program runs are seen at its next start.
struct FontAnswers {
    std::mutex Lock;
    std::map<std::string, FontMatch, std::less<>> Named;
    std::optional<FontMatch> Japanese;
};

FontAnswers& Answers() {
    static FontAnswers answers;
    return answers;
}

FontMatch NamedFont(std::string_view name) {
    FontAnswers& answers = Answers();
    std::lock_guard guard(answers.Lock);
    auto found = answers.Named.find(name);
    if (found == answers.Named.end()) {
        found = answers.Named.emplace(std::string(name), FindNamedFont(name)).first;
    }
    return found->second;
}

FontMatch JapaneseFont() {
    FontAnswers& answers = Answers();
    std::lock_guard guard(answers.Lock);
    if (!answers.Japanese) {
        answers.Japanese = FindJapaneseFont();
    }
    return *answers.Japanese;
}

} // namespace

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig 2.14 loses a few hundred bytes while it parses its configuration files, once a
// process; the leak checker of sanitizer builds is told to look past it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

struct FontRenderer::Faces {
    FT_Library Library = nullptr;
};

FontRenderer::FontRenderer() : m_faces(new Faces) {
    if (FT_Init_FreeType(&m_faces->Library) != 0) {
        m_faces->Library = nullptr;
    }
}

FontRenderer::~FontRenderer() {
    if (m_fallback && m_fallback != m_primary) {
        FT_Done_Face(static_cast<FT_Face>(m_fallback));
    }
    if (m_primary) {
        FT_Done_Face(static_cast<FT_Face>(m_primary));
    }
    if (m_faces->Library) {
        FT_Done_FreeType(m_faces->Library);
    }
    delete m_faces;
}

bool FontRenderer::Open(std::string_view utf8Name, int pixelSize, bool bold) {
    if (!m_faces->Library) {
        return false;
    }
    if (m_fallback && m_fallback != m_primary) {
        FT_Done_Face(static_cast<FT_Face>(m_fallback));
    }
    if (m_primary) {
        FT_Done_Face(static_cast<FT_Face>(m_primary));
    }
    m_primary = m_fallback = nullptr;
    FcInit();
    FontMatch named = NamedFont(utf8Name);
    FontMatch japanese = JapaneseFont();
    auto open = [this](const FontMatch& match) -> void* {
        FT_Face face = nullptr;
        if (match.File.empty() ||
            FT_New_Face(m_faces->Library, match.File.c_str(), match.Index, &face) != 0) {
            return nullptr;
        }
        return face;
    };
    m_primary = open(named);
    m_usingFallback = m_primary == nullptr;
    if (m_usingFallback) {
        m_primary = open(japanese);
        m_primaryFile = japanese.File;
        if (!g_fallbackReported) {
            g_fallbackReported = true;
            std::string named = utf8Name.empty()
                                    ? std::string("no font is named")
                                    : "font \"" + std::string(utf8Name) +
                                          "\" is not installed or has no Japanese glyphs";
            Diagnostic(named + "; using " +
                       (japanese.Family.empty() ? std::string("no font") : japanese.Family) +
                       " instead");
        }
        m_fallback = m_primary;
    } else {
        m_primaryFile = named.File;
        m_fallback = japanese.File == named.File ? m_primary : open(japanese);
    }
    m_bold = bold;
    m_pixelSize = 0;
    SetPixelSize(pixelSize);
    return m_primary != nullptr;
}

void FontRenderer::ApplySize(void* face) {
    if (face) {
        FT_Set_Pixel_Sizes(static_cast<FT_Face>(face), 0, static_cast<FT_UInt>(m_pixelSize));
    }
}

void FontRenderer::SetPixelSize(int pixelSize) {
    // Sizes from the settings store are untrusted; a glyph larger than the sized cell
    // would never be drawn anyway.
    pixelSize = std::clamp(pixelSize, 4, 200);
    if (pixelSize == m_pixelSize) {
        return;
    }
    m_pixelSize = pixelSize;
    ApplySize(m_primary);
    if (m_fallback != m_primary) {
        ApplySize(m_fallback);
    }
}

int FontRenderer::Ascent() const {
    if (!m_primary) {
        return 0;
    }
    auto* face = static_cast<FT_Face>(m_primary);
    return static_cast<int>((face->size->metrics.ascender + 63) >> 6);
}

bool FontRenderer::Render(char32_t cp, GlyphBitmap& out) {
    out.Width = out.Rows = out.Pitch = out.OriginX = out.OriginY = out.Advance = 0;
    if (!m_primary) {
        return false;
    }
    if (FT_Get_Char_Index(static_cast<FT_Face>(m_primary), cp) != 0) {
        return RenderWith(m_primary, cp, out);
    }
    if (m_fallback && m_fallback != m_primary &&
        FT_Get_Char_Index(static_cast<FT_Face>(m_fallback), cp) != 0) {
        return RenderWith(m_fallback, cp, out);
    }
    return false;
}

bool FontRenderer::RenderWith(void* facePointer, char32_t cp, GlyphBitmap& out) {
    auto* face = static_cast<FT_Face>(facePointer);
    FT_UInt index = FT_Get_Char_Index(face, cp);
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0) {
        return false;
    }
    if (m_bold) {
        FT_GlyphSlot_Embolden(face->glyph);
    }
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
        return false;
    }
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    out.Advance = static_cast<int>(face->glyph->advance.x >> 6);
    int width = static_cast<int>(bitmap.width);
    int rows = static_cast<int>(bitmap.rows);
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.pitch < width ||
        width * rows > GlyphBitmap::kCapacity) {
        return false;
    }
    out.Width = width;
    out.Rows = rows;
    out.Pitch = width;
    out.OriginX = face->glyph->bitmap_left;
    out.OriginY = face->glyph->bitmap_top;
    for (int r = 0; r < rows; ++r) {
        const unsigned char* src = bitmap.buffer + static_cast<ptrdiff_t>(r) * bitmap.pitch;
        uint8_t* dst = out.Levels.data() + static_cast<size_t>(r) * width;
        for (int c = 0; c < width; ++c) {
            dst[c] = static_cast<uint8_t>(CoverageToLevel(src[c]));
        }
    }
    return true;
}

} // namespace orv
