#include "gfx/bmp_file.h"
#include "gfx/scene.h"

#include <vector>

#include <gtest/gtest.h>

namespace orv {
namespace {

// A bitmap file with a 40-byte header; `extra` (palette or bit-field masks) follows the
// header, then the rows as given.
Bytes Bitmap(int32_t width, int32_t height, uint16_t bits, uint32_t compression, const Bytes& extra,
             const Bytes& rows, uint32_t colours = 0) {
    Bytes out = {'B', 'M'};
    uint32_t offset = 14 + 40 + static_cast<uint32_t>(extra.size());
    AppendU32(out, offset + static_cast<uint32_t>(rows.size()));
    AppendU32(out, 0);
    AppendU32(out, offset);
    AppendU32(out, 40);
    AppendU32(out, static_cast<uint32_t>(width));
    AppendU32(out, static_cast<uint32_t>(height));
    AppendU16(out, 1);
    AppendU16(out, bits);
    AppendU32(out, compression);
    AppendU32(out, static_cast<uint32_t>(rows.size()));
    AppendU32(out, 2835);
    AppendU32(out, 2835);
    AppendU32(out, colours);
    AppendU32(out, 0);
    out.insert(out.end(), extra.begin(), extra.end());
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

TEST(BmpDecoding, AWrittenBitmapReadsBackAtTheTargetsTopLeftWithBlackAround) {
    Surface picture(3, 2);
    picture.SetPixel(0, 0, 0x010203);
    picture.SetPixel(2, 0, 0x0000FF);
    picture.SetPixel(1, 1, 0xFF0000);
    Surface target(4, 4);
    target.Fill(0x123456);
    ASSERT_TRUE(DecodeBmp(EncodeBmp(picture), target));
    EXPECT_EQ(target.Width(), 4);
    EXPECT_EQ(target.Pixel(0, 0), 0x010203u);
    EXPECT_EQ(target.Pixel(2, 0), 0x0000FFu);
    EXPECT_EQ(target.Pixel(1, 1), 0xFF0000u);
    EXPECT_EQ(target.Pixel(3, 0), 0u);
    EXPECT_EQ(target.Pixel(0, 3), 0u);
}

TEST(BmpDecoding, ALargerBitmapIsCutToTheTarget) {
    Surface picture(10, 10);
    picture.Fill(0x00FF00);
    picture.SetPixel(0, 9, 0x0000FF);
    Surface target(4, 4);
    ASSERT_TRUE(DecodeBmp(EncodeBmp(picture), target));
    EXPECT_EQ(target.Pixel(3, 3), 0x00FF00u);
    EXPECT_EQ(target.Pixel(0, 0), 0x00FF00u);
}

TEST(BmpDecoding, PalettedRowsTopDownAndPackedBitsReadTheirColours) {
    // 8 bits, top-down (negative height), palette of two entries (blue, green, red, 0).
    Bytes palette = {0xFF, 0, 0, 0, 0, 0, 0xFF, 0};
    Bytes rows = {1, 0, 0, 0, 0, 1, 0, 0}; // rows padded to 4 bytes
    Surface target(2, 2);
    ASSERT_TRUE(DecodeBmp(Bitmap(2, -2, 8, 0, palette, rows, 2), target));
    EXPECT_EQ(target.Pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(target.Pixel(1, 0), 0xFF0000u);
    EXPECT_EQ(target.Pixel(1, 1), 0x0000FFu);
    // 1 bit, bottom-up: the first stored row is the bottom one; bit 7 is the left pixel.
    Bytes oneBit = {0x80, 0, 0, 0, 0x40, 0, 0, 0};
    ASSERT_TRUE(DecodeBmp(Bitmap(2, 2, 1, 0, palette, oneBit), target));
    EXPECT_EQ(target.Pixel(0, 1), 0x0000FFu);
    EXPECT_EQ(target.Pixel(1, 1), 0xFF0000u);
    EXPECT_EQ(target.Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(target.Pixel(1, 0), 0x0000FFu);
    // An index past the palette reads black.
    Bytes wild = {7, 0, 0, 0, 7, 0, 0, 0};
    ASSERT_TRUE(DecodeBmp(Bitmap(2, 2, 8, 0, palette, wild, 2), target));
    EXPECT_EQ(target.Pixel(0, 0), 0u);
}

TEST(BmpDecoding, SixteenAndThirtyTwoBitPixelsFollowTheirMasks) {
    Surface target(1, 1);
    // 5-5-5 by default: red full.
    ASSERT_TRUE(DecodeBmp(Bitmap(1, 1, 16, 0, {}, {0x00, 0x7C, 0, 0}), target));
    EXPECT_EQ(target.Pixel(0, 0), 0x0000FFu);
    // 5-6-5 bit fields: green full.
    Bytes masks;
    AppendU32(masks, 0xF800);
    AppendU32(masks, 0x07E0);
    AppendU32(masks, 0x001F);
    ASSERT_TRUE(DecodeBmp(Bitmap(1, 1, 16, 3, masks, {0xE0, 0x07, 0, 0}), target));
    EXPECT_EQ(target.Pixel(0, 0), 0x00FF00u);
    // 32 bits without masks: blue, green, red, unused.
    ASSERT_TRUE(DecodeBmp(Bitmap(1, 1, 32, 0, {}, {0x10, 0x20, 0x30, 0x99}), target));
    EXPECT_EQ(target.Pixel(0, 0), 0x102030u);
}

TEST(BmpDecoding, DamagedFilesLeaveBlackAndNeverReadPastTheEnd) {
    Surface target(4, 4);
    target.Fill(0xFFFFFF);
    EXPECT_FALSE(DecodeBmp(ByteSpan(), target));
    EXPECT_EQ(target.Pixel(0, 0), 0u);
    Bytes text = {'B', 'M', 'x'};
    EXPECT_FALSE(DecodeBmp(text, target));
    // Run-length compression is refused.
    EXPECT_FALSE(DecodeBmp(Bitmap(2, 2, 8, 1, {}, {1, 2, 3, 4}), target));
    // A file that ends after its first stored (bottom) row: the rows it lacks stay black.
    Surface picture(4, 4);
    picture.Fill(0x00FF00);
    Bytes cut = EncodeBmp(picture);
    cut.resize(54 + 12 + 5);
    target.Fill(0xFFFFFF);
    ASSERT_TRUE(DecodeBmp(cut, target));
    EXPECT_EQ(target.Pixel(0, 3), 0x00FF00u);
    EXPECT_EQ(target.Pixel(0, 2), 0u);
    EXPECT_EQ(target.Pixel(0, 0), 0u);
    // Sizes that would overflow the row arithmetic read nothing.
    Bytes huge = Bitmap(0x7FFFFFFF, -0x7FFFFFFF, 32, 0, {}, Bytes(16, 0));
    huge[54] = 1;
    huge[55] = 2;
    huge[56] = 3;
    ASSERT_TRUE(DecodeBmp(huge, target));
    EXPECT_EQ(target.Pixel(0, 0), 0x010203u);
    EXPECT_EQ(target.Pixel(0, 1), 0u);
}

TEST(SceneFilters, TurningByHalfATurnSwapsEveryPixelWithItsOpposite) {
    // An odd size, so that the middle row and the middle pixel turn onto themselves.
    Surface scene(3, 3);
    uint32_t value = 1;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            scene.SetPixel(x, y, value++);
        }
    }
    ApplySceneFilter(scene, 4, 16);
    value = 9;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(scene.Pixel(x, y), value--) << x << "," << y;
        }
    }
}

TEST(SceneFilters, DarkeningClampsAndUnknownFiltersLeaveThePicture) {
    Surface scene(2, 1);
    scene.SetPixel(0, 0, 0x102030);
    scene.SetPixel(1, 0, 0xF0F0F0);
    ApplySceneFilter(scene, 1, 24);
    EXPECT_EQ(scene.Pixel(0, 0), 0x183048u);
    EXPECT_EQ(scene.Pixel(1, 0), 0xFFFFFFu);
    ApplySceneFilter(scene, 1, -3);
    EXPECT_EQ(scene.Pixel(0, 0), 0u);
    scene.SetPixel(0, 0, 0x123456);
    for (int32_t filter : {0, 5, -1, 1000}) {
        ApplySceneFilter(scene, filter, 8);
    }
    EXPECT_EQ(scene.Pixel(0, 0), 0x123456u);
}

} // namespace
} // namespace orv
