// The enlarger of animq, pixel by pixel on tiny pictures: the doubling's halves, its last
// columns and rows, and the 640-wide form's group averages and averaged skipped rows.
#include "gfx/enlarge.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(EnlargeTest, DoublingAveragesHalvesAndRepeatsTheLastColumnsAndRows) {
    Surface source(3, 2);
    source.SetPixel(0, 0, 0x0A141E);
    source.SetPixel(1, 0, 0x323D47);
    source.SetPixel(2, 0, 0x6465FF);
    source.SetPixel(0, 1, 0x000000);
    source.SetPixel(1, 1, 0xFFFFFF);
    source.SetPixel(2, 1, 0x07090B);
    Surface target(6, 4);
    ASSERT_TRUE(Enlarge(source, target));
    // Row 0: source pixels at even places, (a >> 1) + (b >> 1) between them, the last two
    // repeating the last average.
    const uint32_t row0[] = {0x0A141E, 0x1E2832, 0x323D47, 0x4B50A2, 0x4B50A2, 0x4B50A2};
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(target.Pixel(x, 0), row0[x]) << x;
    }
    // Row 1 halves rows 0 and 2 (source row 1: 00, 7F7F7F, FF.., 828384, ...).
    EXPECT_EQ(target.Pixel(0, 1), 0x050A0Fu);
    EXPECT_EQ(target.Pixel(1, 1), 0x4E5358u);
    EXPECT_EQ(target.Pixel(3, 1), 0x666993u);
    EXPECT_EQ(target.Pixel(5, 1), 0x666993u);
    // The last two rows are copies of the two before them.
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(target.Pixel(x, 2), target.Pixel(x, 0)) << x;
        EXPECT_EQ(target.Pixel(x, 3), target.Pixel(x, 1)) << x;
    }
}

TEST(EnlargeTest, TheWideFormAddsAMeanAfterEveryFourPixelsAndEveryFourRows) {
    constexpr uint32_t kUntouched = 0x123456;
    Surface source(640, 6);
    source.Fill(0x646464);
    source.SetPixel(3, 0, 0x0A141F);
    source.SetPixel(4, 0, 0x14283C);
    source.SetPixel(639, 0, 0xABCDEF);
    for (int x = 0; x < 640; ++x) {
        source.SetPixel(x, 4, 0xC90033);
    }
    Surface target(kScreenWidth, kScreenHeight);
    target.Fill(kUntouched);
    ASSERT_TRUE(Enlarge(source, target));
    EXPECT_EQ(target.Pixel(3, 0), 0x0A141Fu);
    EXPECT_EQ(target.Pixel(4, 0), 0x0F1E2Du); // (a + b) >> 1: 0x1F and 0x3C give 0x2D
    EXPECT_EQ(target.Pixel(5, 0), 0x14283Cu);
    EXPECT_EQ(target.Pixel(798, 0), 0xABCDEFu);
    EXPECT_EQ(target.Pixel(799, 0), kUntouched);
    // Source rows 0..3 land on 0..3, row 4 on 5; row 4 is the mean of rows 3 and 5.
    EXPECT_EQ(target.Pixel(0, 3), 0x646464u);
    EXPECT_EQ(target.Pixel(0, 5), 0xC90033u);
    EXPECT_EQ(target.Pixel(0, 4), 0x96324Bu);
    EXPECT_EQ(target.Pixel(0, 599), kUntouched);
}

TEST(EnlargeTest, RefusesSizesItCannotEnlarge) {
    EXPECT_EQ(EnlargedSize(1, 10).Width, 0);
    EXPECT_EQ(EnlargedSize(10, 1).Width, 0);
    EXPECT_EQ(EnlargedSize(640, 600).Height, kScreenHeight);
    Surface source(4, 4), wrong(7, 8);
    EXPECT_FALSE(Enlarge(source, wrong));
}

} // namespace
} // namespace orv
