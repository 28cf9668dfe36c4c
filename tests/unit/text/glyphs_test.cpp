#include "gfx/surface.h"
#include "text/glyph_cache.h"
#include "text/glyph_cell.h"
#include "text/glyph_levels.h"
#include "text/glyphs.h"
#include "text/text_palette.h"

#include <algorithm>
#include <numeric>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

constexpr uint16_t kFullBlock = 0x81A1; // ■
constexpr uint16_t kHiraganaA = 0x82A0; // あ

int Sum(std::span<const uint8_t> mask) { return std::accumulate(mask.begin(), mask.end(), 0); }

TEST(GlyphLevelsTest, LevelsMapToTheLiftedMaskValues) {
    EXPECT_EQ(MaskFromLevel(0), 0);
    EXPECT_EQ(MaskFromLevel(1), 93);
    EXPECT_EQ(MaskFromLevel(54), 252);
    EXPECT_EQ(MaskFromLevel(55), 255);
    EXPECT_EQ(MaskFromLevel(56), 255);
    EXPECT_EQ(MaskFromLevel(64), 255);
    EXPECT_EQ(CoverageToLevel(0), 0);
    EXPECT_EQ(CoverageToLevel(255), 64);
    EXPECT_EQ(CoverageToLevel(2), 1);
    // The faintest coverage stays transparent, full coverage is opaque.
    EXPECT_EQ(MaskFromCoverage(1), 0);
    EXPECT_EQ(MaskFromCoverage(255), 255);
}

TEST(GlyphCellTest, TheBoxGoesToTheOriginColumnAndBelowTheAscentLine) {
    GlyphBitmap glyph;
    glyph.Width = 2;
    glyph.Rows = 2;
    glyph.Pitch = 2;
    glyph.OriginX = 3;
    glyph.OriginY = 10;
    std::fill_n(glyph.Levels.begin(), 4, uint8_t{64});
    std::array<uint8_t, kCachedMaskBytes> mask{};
    PlaceGlyph(glyph, 18, 2, mask, kGlyphCell.Width);
    // Row ascent - origin + 2 = 10.
    EXPECT_EQ(mask[10 * 32 + 3], 255);
    EXPECT_EQ(mask[11 * 32 + 4], 255);
    EXPECT_EQ(Sum(mask), 4 * 255);
}

TEST(GlyphCellTest, BoxesOutsideTheCellAreClippedNotWrittenPast) {
    GlyphBitmap glyph;
    glyph.Width = 40;
    glyph.Rows = 80;
    glyph.Pitch = 40;
    glyph.OriginX = -5;
    glyph.OriginY = 30;
    std::fill_n(glyph.Levels.begin(), 40 * 80, uint8_t{64});
    std::array<uint8_t, kGlyphCell.Width * kGlyphCell.Height> mask{};
    PlaceGlyph(glyph, 18, 2, mask, kGlyphCell.Width);
    // The box starts 10 rows above the cell and 5 columns left of it: the whole cell is
    // covered and nothing else was touched.
    EXPECT_EQ(Sum(mask), 32 * 36 * 255);
}

TEST(GlyphCellTest, TheShadowIsTheNeighbourAverageOneRowAndColumnFurther) {
    std::array<uint8_t, kGlyphCell.Width * kGlyphCell.Height> mask{};
    std::array<uint8_t, kGlyphCell.Width * kGlyphCell.Height> shadow{};
    mask[10 * 32 + 10] = 255;
    MakeShadow(mask, kGlyphCell, shadow);
    auto at = [&](int r, int c) { return shadow[static_cast<size_t>(r * 32 + c)]; };
    // (9,10), (11,10), (10,9), (10,11) each have the pixel as a neighbour.
    EXPECT_EQ(at(10, 11), 63);
    EXPECT_EQ(at(12, 11), 63);
    EXPECT_EQ(at(11, 10), 63);
    EXPECT_EQ(at(11, 12), 63);
    EXPECT_EQ(at(11, 11), 0);
    EXPECT_EQ(Sum(shadow), 4 * 63);
}

TEST(GlyphCacheTest, HoldsAThousandEntriesAndKeepsTheFirstForACode) {
    GlyphCache cache;
    std::array<uint8_t, kCachedMaskBytes> mask{};
    for (int i = 0; i < GlyphCache::kCapacity; ++i) {
        mask[0] = static_cast<uint8_t>(i);
        ASSERT_TRUE(cache.Add(static_cast<uint16_t>(0x8800 + i), mask));
    }
    EXPECT_TRUE(cache.Full());
    EXPECT_FALSE(cache.Add(0x7000, mask));
    EXPECT_TRUE(cache.Find(0x7000).empty());
    ASSERT_FALSE(cache.Find(0x8800 + 999).empty());
    EXPECT_EQ(cache.Find(0x8800 + 999)[0], static_cast<uint8_t>(999));
}

TEST(TextPaletteTest, ColourZeroIsTheScriptsOtherNumbersWrapAtEight) {
    EXPECT_EQ(TextColourFor(0, 0x123456), 0x123456u);
    EXPECT_EQ(TextColourFor(8, 0x123456), 0xFFFFFFu);
    EXPECT_EQ(TextColourFor(10, 0x123456), 0x0000FFu);
    EXPECT_EQ(TextColourFor(7, 0), 0xC0C0C0u);
    EXPECT_EQ(TextColourFor(-3, 0), 0xFF0000u); // entry 5
}

class GlyphsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_glyphs = new Glyphs;
        ASSERT_TRUE(s_glyphs->CreateFont("IPAGothic", 22, false));
    }
    static void TearDownTestSuite() {
        delete s_glyphs;
        s_glyphs = nullptr;
    }
    static Glyphs* s_glyphs;
};

Glyphs* GlyphsTest::s_glyphs = nullptr;

TEST_F(GlyphsTest, AGlyphLiesInsideTheCellBelowItsTwoEmptyRows) {
    Glyphs& glyphs = *s_glyphs;
    glyphs.RenderGlyph(kFullBlock);
    auto mask = glyphs.CellMask();
    EXPECT_EQ(Sum(mask.subspan(0, 2 * 32)), 0);
    EXPECT_GT(Sum(mask), 100 * 255);
    // The block is solid: its middle is opaque.
    EXPECT_EQ(mask[18 * 32 + 11], 255);
    EXPECT_FALSE(glyphs.Cache().Find(kFullBlock).empty());
}

TEST_F(GlyphsTest, CompositingDrawsTheColourAndAShadowOffsetDownAndRight) {
    Glyphs& glyphs = *s_glyphs;
    glyphs.SetTextColour(2, 0); // 0x0000FF: red
    glyphs.RenderGlyph(kFullBlock);
    Surface surface(200, 200);
    surface.Fill(0x808080);
    glyphs.CompositeGlyph(surface, 50, 60);
    EXPECT_EQ(surface.Pixel(50 + 11, 60 + 18), 0x0000FEu);
    // Right of and below the block, where the mask is empty but the shadow is not, the
    // background is darkened; the shadow is drawn one more column to the right.
    auto mask = glyphs.CellMask();
    auto shadow = glyphs.CellShadow();
    int darkened = 0;
    int shaded = 0;
    for (int r = 0; r < 36; ++r) {
        for (int c = 0; c < 31; ++c) {
            if (mask[static_cast<size_t>(r * 32 + c + 1)] == 0 && shadow[static_cast<size_t>(r * 32 + c)] > 100) {
                ++shaded;
                darkened += surface.Pixel(50 + 1 + c, 60 + r) < 0x606060 ? 1 : 0;
            }
        }
    }
    EXPECT_GT(shaded, 10);
    EXPECT_EQ(darkened, shaded);
    EXPECT_EQ(surface.Pixel(49, 60 + 18), 0x808080u);
}

TEST_F(GlyphsTest, TextBelowTheLowestTopIsNotDrawnAndEdgesAreClipped) {
    Glyphs& glyphs = *s_glyphs;
    glyphs.SetTextColour(0, 0xFFFFFF);
    glyphs.RenderGlyph(kFullBlock);
    Surface screen(kScreenWidth, kScreenHeight);
    glyphs.CompositeGlyph(screen, 100, 571);
    EXPECT_EQ(screen.Pixel(111, 589), 0u);
    glyphs.CompositeGlyph(screen, 100, 570);
    EXPECT_NE(screen.Pixel(111, 588), 0u);
    // Over every edge: only the part on the surface is drawn.
    glyphs.CompositeGlyph(screen, -20, -20);
    glyphs.CompositeGlyph(screen, 790, 10);
    EXPECT_NE(screen.Pixel(795, 28), 0u);
    Surface tiny(5, 5);
    glyphs.CompositeGlyph(tiny, -3, -10);
}

TEST_F(GlyphsTest, ExternalCharactersStandInForTheFontsGlyph) {
    Glyphs glyphs;
    ASSERT_TRUE(glyphs.CreateFont("IPAGothic", 22, false));
    Surface picture(48, 24);
    picture.Fill(0x000000);
    for (int y = 0; y < 24; ++y) {
        for (int x = 24; x < 48; ++x) {
            picture.SetPixel(x, y, 0xC80000); // blue byte 200
        }
    }
    std::string codes = {'\x81', '\xA1', '\x82', '\xA0'}; // ■ then あ
    glyphs.AddExternalCharacters(codes, picture);
    glyphs.PreRenderCommon();
    glyphs.RenderGlyph(kHiraganaA);
    auto mask = glyphs.CellMask();
    EXPECT_EQ(mask[2 * 32 + 2], 200);
    EXPECT_EQ(mask[25 * 32 + 25], 200);
    EXPECT_EQ(mask[26 * 32 + 26], 0);
    EXPECT_EQ(mask[1 * 32 + 1], 0);
    EXPECT_EQ(Sum(mask), 24 * 24 * 200);
    // The first picture is black: the block is drawn as nothing.
    glyphs.RenderGlyph(kFullBlock);
    EXPECT_EQ(Sum(glyphs.CellMask()), 0);
}

TEST_F(GlyphsTest, AfterAThousandCachedGlyphsNewOnesAreStillDrawn) {
    Glyphs glyphs;
    ASSERT_TRUE(glyphs.CreateFont("IPAGothic", 22, false));
    // Kanji of the first level, 0x889F onward, skipping trail bytes that are not valid.
    int drawn = 0;
    uint16_t code = 0x889F;
    while (glyphs.Cache().Count() < GlyphCache::kCapacity) {
        glyphs.RenderGlyph(code);
        ++code;
        if ((code & 0xFF) == 0x7F) {
            ++code;
        }
        if ((code & 0xFF) > 0xFC) {
            code = static_cast<uint16_t>(((code >> 8) + 1) << 8 | 0x40);
        }
        ASSERT_LT(code, 0x9FFC);
    }
    glyphs.RenderGlyph(0x9A40);
    EXPECT_GT(Sum(glyphs.CellMask()), 20 * 255);
    EXPECT_EQ(glyphs.Cache().Count(), GlyphCache::kCapacity);
    EXPECT_TRUE(glyphs.Cache().Find(0x9A40).empty());
    drawn += 1;
    EXPECT_EQ(drawn, 1);
}

TEST_F(GlyphsTest, AGlyphTooLargeForItsCellIsSkipped) {
    Glyphs glyphs;
    // At 80 pixels the block needs far more than 2303 bytes: nothing is drawn or cached,
    // while the sized cell, with its larger limit, takes a glyph of 40 pixels.
    ASSERT_TRUE(glyphs.CreateFont("IPAGothic", 80, false));
    glyphs.RenderGlyph(kFullBlock);
    EXPECT_EQ(Sum(glyphs.CellMask()), 0);
    EXPECT_TRUE(glyphs.Cache().Find(kFullBlock).empty());
    glyphs.RenderSizedGlyph(kFullBlock, 40);
    EXPECT_GT(Sum(glyphs.SizedMask()), 0);
}

TEST_F(GlyphsTest, StringsPlaceTheGlyphOfByteKAtKPitches) {
    Glyphs& glyphs = *s_glyphs;
    Surface surface(400, 60);
    std::string text = {'\x81', '\xA1', 'a', '\x81', '\xA1'}; // ■ a ■
    glyphs.DrawTextLeft(text, 10, surface, 0, 0, 12, 0xFFFFFF);
    // Byte 1 at 10 + 12, byte 4 at 10 + 48.
    EXPECT_EQ(surface.Pixel(22 + 11, 18), 0xFEFEFEu);
    EXPECT_EQ(surface.Pixel(58 + 11, 18), 0xFEFEFEu);
    Surface centred(400, 60);
    glyphs.DrawTextCentred(text, 200, centred, 0, 0, 12, 0xFFFFFF);
    // 12 + 200 - 5 * 12 / 2 = 182.
    EXPECT_EQ(centred.Pixel(182 + 11, 18), 0xFEFEFEu);
}

} // namespace
} // namespace orv::test
