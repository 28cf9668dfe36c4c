#include "gfx/blend.h"
#include "gfx/blend_kernels.h"
#include "test_support.h"

#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace orv {
namespace {

Surface Filled(int w, int h, uint8_t byte) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y) {
        std::fill(s.Row(y), s.Row(y) + s.RowBytes(), byte);
    }
    return s;
}

Surface Random(int w, int h, std::mt19937& random) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y) {
        for (uint8_t& b : s.RowSpan(y)) {
            b = static_cast<uint8_t>(random());
        }
    }
    return s;
}

std::vector<uint8_t> Bytes(const Surface& s) {
    std::vector<uint8_t> out;
    for (int y = 0; y < s.Height(); ++y) {
        out.insert(out.end(), s.Row(y), s.Row(y) + s.RowBytes());
    }
    return out;
}

TEST(BlendFormulas, CrossFadeGivesEitherPictureAtTheEndsAndTruncatesBetween) {
    Surface a = Filled(kScreenWidth, kScreenHeight, 200),
            b = Filled(kScreenWidth, kScreenHeight, 100);
    Surface d(kScreenWidth, kScreenHeight);
    CrossFadeFull(a, b, 256, d);
    EXPECT_EQ(d.Pixel(799, 599), 0xC8C8C8u);
    CrossFadeFull(a, b, 0, d);
    EXPECT_EQ(d.Pixel(0, 0), 0x646464u);
    CrossFadeFull(a, b, 128, d);
    EXPECT_EQ(d.Pixel(400, 300), 0x969696u);
    // (200 * 3 + 100 * 253) >> 8 = 101.1...: truncated.
    CrossFadeFull(a, b, 3, d);
    EXPECT_EQ(d.Row(0)[0], 101);
    // Out-of-range weights are clamped rather than wrapping 16-bit lanes.
    CrossFadeFull(a, b, 1000, d);
    EXPECT_EQ(d.Row(0)[0], 200);
}

TEST(BlendFormulas, BlendRowWeighsThePictureNamedSecond) {
    std::vector<uint8_t> a(16, 10), b(16, 250), d(16, 0);
    BlendRow(a.data(), b.data(), d.data(), 2, 192);
    EXPECT_EQ(d[0], (250 * 192 + 10 * 64) >> 8);
    EXPECT_EQ(d[15], d[0]);
}

TEST(BlendFormulas, ConstBlendRowLeavesTheBytesPastTheLastWholeGroup) {
    // 5 pixels = 15 bytes = one group and 7 bytes left alone.
    std::vector<uint8_t> a(15, 0), b(15, 255), d(15, 7);
    ConstBlendRow(a.data(), b.data(), d.data(), 256, 5);
    EXPECT_EQ(std::vector<uint8_t>(d.begin(), d.begin() + 8), std::vector<uint8_t>(8, 255));
    EXPECT_EQ(std::vector<uint8_t>(d.begin() + 8, d.end()), std::vector<uint8_t>(7, 7));
}

TEST(BlendFormulas, AFullMaskLosesOneStepAndAZeroMaskByteBesideOthersDimsTheBackground) {
    std::vector<uint8_t> a(8, 100), b(8, 255), m(8, 255), d(8);
    b[1] = 0;
    MaskBlendRow(a.data(), b.data(), d.data(), m.data(), 1);
    EXPECT_EQ(d[0], 254);
    EXPECT_EQ(d[1], 0);
    m.assign(8, 0);
    m[7] = 1;
    MaskBlendRow(a.data(), b.data(), d.data(), m.data(), 1);
    EXPECT_EQ(d[0], 99); // (100 * 255) >> 8
    EXPECT_EQ(d[7], (100 * 254 + 255) >> 8);
}

TEST(BlendFormulas, AnAllZeroMaskGroupLeavesTheBackgroundExactly) {
    std::vector<uint8_t> a(24), b(24, 255), m(24, 0), d(24, 0);
    for (int i = 0; i < 24; ++i) {
        a[i] = static_cast<uint8_t>(i * 10 + 1);
    }
    m[20] = 9; // only the third group has a mask byte
    MaskBlendRow(a.data(), b.data(), d.data(), m.data(), 3);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(d[i], a[i]) << i;
    }
    EXPECT_EQ(d[16], (a[16] * 255) >> 8);
}

TEST(BlendFormulas, MaskBlendRowTailBlendsTheLastPixelsWithoutTheShortcut) {
    // 9 pixels: 3 groups, then 3 bytes one by one, where a zero mask still dims.
    std::vector<uint8_t> a(27, 100), b(27, 200), m(27, 0), d(27, 0);
    MaskBlendRowTail(a.data(), b.data(), d.data(), m.data(), 9);
    EXPECT_EQ(d[0], 100);
    EXPECT_EQ(d[23], 100);
    EXPECT_EQ(d[24], 99);
    EXPECT_EQ(d[26], 99);
}

TEST(BlendFormulas, MaskBlendFullUsesTheFormulaEverywhere) {
    Surface a = Filled(kScreenWidth, kScreenHeight, 100),
            b = Filled(kScreenWidth, kScreenHeight, 0);
    Surface m = Filled(kScreenWidth, kScreenHeight, 0), d(kScreenWidth, kScreenHeight);
    MaskBlendFull(a, b, m, d);
    EXPECT_EQ(d.Row(599)[2399], 99);
}

TEST(BlendFormulas, SaturatingAddAndSubtractClampAtTheEnds) {
    Surface s(kScreenWidth, kScreenHeight), d(kScreenWidth, kScreenHeight);
    std::mt19937 random(5);
    s = Random(kScreenWidth, kScreenHeight, random);
    AddConstSaturate(s, d, 255);
    EXPECT_EQ(Bytes(d), std::vector<uint8_t>(kScreenWidth * kScreenHeight * 3, 255));
    SubConstSaturate(s, d, 255);
    EXPECT_EQ(Bytes(d), std::vector<uint8_t>(kScreenWidth * kScreenHeight * 3, 0));
    Surface t = Filled(2, 1, 250), e = Filled(2, 1, 1);
    // 6 bytes a row: no whole group, so nothing is written.
    AddConstSaturate(t, e, 3);
    EXPECT_EQ(e.Pixel(1, 0), 0x010101u);
}

// The mask wipe's fused step must leave the bytes of its two passes, also where a row ends
// in a part group and the passes leave that part's bytes as they were.
TEST(BlendFormulas, TheShiftedMaskBlendGivesTheBytesOfItsTwoPasses) {
    std::mt19937 random(11);
    for (auto [w, h] : std::vector<std::pair<int, int>>{{kScreenWidth, kScreenHeight}, {37, 21}}) {
        Surface a = Random(w, h, random), b = Random(w, h, random), mask = Random(w, h, random);
        Surface start = Random(w, h, random);
        for (bool add : {true, false}) {
            Surface expected(w, h), actual(w, h);
            expected.CopyFrom(start, Rect{0, 0, w, h}, 0, 0);
            actual.CopyFrom(start, Rect{0, 0, w, h}, 0, 0);
            if (add) {
                AddConstSaturate(mask, expected, 100);
            } else {
                SubConstSaturate(mask, expected, 100);
            }
            MaskBlendFull(a, b, expected, expected);
            MaskBlendShiftedMask(a, b, mask, 100, add, actual);
            EXPECT_EQ(Bytes(actual), Bytes(expected)) << w << " wide, add " << add;
        }
    }
}

TEST(BlendFormulas, ScaleBrightnessTruncates) {
    Surface s = Filled(kScreenWidth, kScreenHeight, 255), d(kScreenWidth, kScreenHeight);
    ScaleBrightness(s, d, 128);
    EXPECT_EQ(d.Row(10)[10], 127);
    ScaleBrightness(s, d, 256);
    EXPECT_EQ(d.Row(10)[10], 255);
}

TEST(BlendTiles, OnlyTheTileChangesAndItIsClippedAtTheEdges) {
    Surface previous = Filled(kScreenWidth, kScreenHeight, 200);
    Surface back = Filled(kScreenWidth, kScreenHeight, 0);
    Surface work = Filled(kScreenWidth, kScreenHeight, 7);
    BlendTile(previous, back, work, 80, 60, 128);
    EXPECT_EQ(work.Pixel(80, 60), 0x646464u);
    EXPECT_EQ(work.Pixel(159, 119), 0x646464u);
    EXPECT_EQ(work.Pixel(160, 60), 0x070707u);
    EXPECT_EQ(work.Pixel(80, 120), 0x070707u);
    BlendTile(previous, back, work, 760, 580, 256);
    EXPECT_EQ(work.Pixel(799, 599), 0xC8C8C8u);
    BlendTile(previous, back, work, -40, -30, 256);
    EXPECT_EQ(work.Pixel(39, 29), 0xC8C8C8u);
    EXPECT_EQ(work.Pixel(40, 0), 0x070707u);
}

// ---- Masked pictures

class MaskedDrawing : public testing::Test {
protected:
    void SetUp() override {
        m_screen = Filled(40, 30, 0);
        m_picture.Allocate(20, 10);
        m_mask = Filled(20, 10, 255);
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 20; ++x) {
                // Red holds x + 1, green y + 1, so each drawn pixel tells where it came from.
                m_picture.SetPixel(x, y, static_cast<uint32_t>((y + 1) * 4) << 8 | ((x + 1) * 4));
            }
        }
    }
    // The source pixel's red and green, after the full-mask blend (x 255 >> 8).
    static uint32_t Drawn(int sx, int sy) {
        return static_cast<uint32_t>(((sy + 1) * 4 * 255) >> 8) << 8 | (((sx + 1) * 4 * 255) >> 8);
    }
    Surface m_screen, m_picture, m_mask;
};

TEST_F(MaskedDrawing, ANegativePositionDrawsThePartThatReachesTheScreen) {
    DrawMaskedPicture(m_screen, m_picture, m_mask, -10, -5);
    EXPECT_EQ(m_screen.Pixel(0, 0), Drawn(10, 5));
    EXPECT_EQ(m_screen.Pixel(9, 4), Drawn(19, 9));
    EXPECT_EQ(m_screen.Pixel(10, 0), 0u);
    EXPECT_EQ(m_screen.Pixel(0, 5), 0u);
}

TEST_F(MaskedDrawing, APictureAtOrPastTheRightEdgeDrawsNothingAndOneAcrossItIsCut) {
    DrawMaskedPicture(m_screen, m_picture, m_mask, 40, 0);
    DrawMaskedPicture(m_screen, m_picture, m_mask, 0, 30);
    DrawMaskedPicture(m_screen, m_picture, m_mask, -20, 0);
    EXPECT_EQ(Bytes(m_screen), Bytes(Filled(40, 30, 0)));
    DrawMaskedPicture(m_screen, m_picture, m_mask, 35, 25);
    EXPECT_EQ(m_screen.Pixel(39, 29), Drawn(4, 4));
    EXPECT_EQ(m_screen.Pixel(34, 29), 0u);
}

TEST_F(MaskedDrawing, AZeroMaskLeavesTheBackgroundWhereWholeGroupsAreClear) {
    m_screen = Filled(40, 30, 77);
    Surface clear = Filled(20, 10, 0);
    DrawMaskedPicture(m_screen, m_picture, clear, 0, 0);
    // 20 pixels: 2 x 3 whole groups (48 bytes) keep the background, the last 4 pixels are
    // blended byte by byte, where a zero mask gives (77 x 255) >> 8.
    EXPECT_EQ(m_screen.Pixel(15, 0), 0x4D4D4Du);
    EXPECT_EQ(m_screen.Pixel(16, 0), 0x4C4C4Cu);
    EXPECT_EQ(m_screen.Pixel(20, 0), 0x4D4D4Du);
}

TEST_F(MaskedDrawing, SideBySideSpritesTakeTheirMaskAHalfWidthToTheRightEvenWhenClipped) {
    Surface sprite(40, 10);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) {
            sprite.SetPixel(x, y, m_picture.Pixel(x, y));
            // Only the right column of the mask half is opaque.
            sprite.SetPixel(20 + x, y, x == 19 ? 0xFFFFFF : 0);
        }
    }
    DrawSideBySideSprite(m_screen, -5, sprite, 0);
    EXPECT_EQ(m_screen.Pixel(14, 0), Drawn(19, 0));
    EXPECT_EQ(m_screen.Pixel(13, 0), 0u);
    EXPECT_EQ(m_screen.Pixel(15, 0), 0u);
}

TEST_F(MaskedDrawing, StackedSpritesBlendWholeGroupsOnlyAndRefuseToReachOutside) {
    Surface sprite(20, 4);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 20; ++x) {
            sprite.SetPixel(x, y, 0xC8C8C8);
            sprite.SetPixel(x, y + 2, 0xFFFFFF);
        }
    }
    m_screen = Filled(40, 30, 9);
    DrawStackedSprite(m_screen, 1, sprite, 3);
    // 60 bytes a row: 7 groups (56 bytes) blended, the last 4 bytes left.
    const uint8_t* row = m_screen.Row(3) + 3;
    EXPECT_EQ(row[0], (200 * 255 + 9 * 0) >> 8);
    EXPECT_EQ(row[55], 199);
    EXPECT_EQ(row[56], 9);
    EXPECT_EQ(row[59], 9);
    EXPECT_EQ(m_screen.Pixel(1, 5), 0x090909u);

    test::CapturedDiagnostics diagnostics;
    Surface before = Filled(40, 30, 9);
    Surface screen = Filled(40, 30, 9);
    DrawStackedSprite(screen, 21, sprite, 0);
    DrawStackedSprite(screen, 0, sprite, 29);
    DrawStackedSprite(screen, -1, sprite, 0);
    EXPECT_EQ(Bytes(screen), Bytes(before));
    EXPECT_EQ(diagnostics.Messages, std::vector<std::string>(3, "ILLEGAL BMP"));
    DrawStackedSprite(screen, 20, sprite, 28);
    EXPECT_EQ(diagnostics.Messages.size(), 3u);
}

// ---- Every instruction set against the plain loops

class KernelAgreement : public testing::TestWithParam<const BlendKernels*> {
protected:
    // Random buffers with a misaligned start, a length that is not a whole vector, and a few
    // all-zero mask groups so that the shortcut is taken.
    void Prepare(size_t bytes) {
        for (auto* buffer : {&m_a, &m_b, &m_m}) {
            buffer->resize(bytes + 3);
            for (auto& byte : *buffer) {
                byte = static_cast<uint8_t>(m_random());
            }
        }
        for (size_t g = 0; g + 8 <= bytes; g += 8) {
            if (m_random() % 3 == 0) {
                std::fill(m_m.begin() + 3 + g, m_m.begin() + 3 + g + 8, 0);
            } else if (m_random() % 5 == 0) {
                std::fill(m_m.begin() + 3 + g, m_m.begin() + 3 + g + 8, 255);
            }
        }
        m_expected.assign(bytes + 3, 0x5A);
        m_actual = m_expected;
    }
    const uint8_t* A() const { return m_a.data() + 3; }
    const uint8_t* B() const { return m_b.data() + 3; }
    const uint8_t* M() const { return m_m.data() + 3; }

    std::mt19937 m_random{1234};
    std::vector<uint8_t> m_a, m_b, m_m, m_expected, m_actual;
};

TEST_P(KernelAgreement, EveryBlendGivesTheBytesOfThePlainLoops) {
    const BlendKernels& fast = *GetParam();
    const BlendKernels& plain = ReferenceBlendKernels();
    for (size_t bytes : {0u, 1u, 7u, 8u, 15u, 16u, 31u, 33u, 64u, 100u, 2400u, 2407u}) {
        SCOPED_TRACE(bytes);
        for (int round = 0; round < 20; ++round) {
            Prepare(bytes);
            int w = static_cast<int>(m_random() % 257);
            auto v = static_cast<uint8_t>(m_random());
            plain.Weighted(A(), B(), m_expected.data() + 3, bytes, w);
            fast.Weighted(A(), B(), m_actual.data() + 3, bytes, w);
            ASSERT_EQ(m_actual, m_expected) << "weighted, weight " << w;
            plain.Mask(A(), B(), m_expected.data() + 3, M(), bytes);
            fast.Mask(A(), B(), m_actual.data() + 3, M(), bytes);
            ASSERT_EQ(m_actual, m_expected) << "mask";
            plain.MaskGroups(A(), B(), m_expected.data() + 3, M(), bytes / 8);
            fast.MaskGroups(A(), B(), m_actual.data() + 3, M(), bytes / 8);
            ASSERT_EQ(m_actual, m_expected) << "mask groups";
            plain.Scale(A(), m_expected.data() + 3, bytes, w);
            fast.Scale(A(), m_actual.data() + 3, bytes, w);
            ASSERT_EQ(m_actual, m_expected) << "scale " << w;
            plain.AddSaturate(A(), m_expected.data() + 3, bytes, v);
            fast.AddSaturate(A(), m_actual.data() + 3, bytes, v);
            ASSERT_EQ(m_actual, m_expected) << "add " << int{v};
            plain.SubSaturate(A(), m_expected.data() + 3, bytes, v);
            fast.SubSaturate(A(), m_actual.data() + 3, bytes, v);
            ASSERT_EQ(m_actual, m_expected) << "subtract " << int{v};
            int stages = 1 + static_cast<int>(m_random() % kMaxMeanStages);
            int stage = static_cast<int>(m_random() % static_cast<unsigned>(stages + 1));
            plain.StagedMean(A(), B(), m_expected.data() + 3, M(), bytes, stage, stages);
            fast.StagedMean(A(), B(), m_actual.data() + 3, M(), bytes, stage, stages);
            ASSERT_EQ(m_actual, m_expected) << "staged mean " << stage << " of " << stages;
            bool add = m_random() % 2 == 0;
            plain.ShiftedMask(A(), B(), m_expected.data() + 3, M(), bytes, v, add);
            fast.ShiftedMask(A(), B(), m_actual.data() + 3, M(), bytes, v, add);
            ASSERT_EQ(m_actual, m_expected) << "shifted mask " << int{v} << (add ? " up" : " down");
        }
    }
}

// The vector loops weigh with a rearranged formula; it must hold for every pair of bytes
// at every weight, not only for the random ones above.
TEST_P(KernelAgreement, TheWeightedBlendHoldsForEveryPairOfBytesAtEveryWeight) {
    const BlendKernels& fast = *GetParam();
    std::vector<uint8_t> x(65536), y(65536), d(65536);
    for (size_t i = 0; i < x.size(); ++i) {
        x[i] = static_cast<uint8_t>(i);
        y[i] = static_cast<uint8_t>(i >> 8);
    }
    for (int w = 0; w <= 256; ++w) {
        fast.Weighted(x.data(), y.data(), d.data(), d.size(), w);
        for (size_t i = 0; i < d.size(); ++i) {
            ASSERT_EQ(d[i], (x[i] * w + y[i] * (256 - w)) >> 8)
                << "x " << int{x[i]} << ", y " << int{y[i]} << ", weight " << w;
        }
    }
}

// The vector loops offset the pixels to signed bytes and add the offset back, and the grouped
// loop takes short cuts for wholly clear and wholly covered runs; every pair of pixel bytes
// under every mask byte must come out as the plain formula says.
TEST_P(KernelAgreement, TheMaskBlendsHoldForEveryPairOfBytesUnderEveryMask) {
    const BlendKernels& fast = *GetParam();
    std::vector<uint8_t> a(65536), b(65536), m(65536), d(65536);
    for (size_t i = 0; i < a.size(); ++i) {
        a[i] = static_cast<uint8_t>(i);
        b[i] = static_cast<uint8_t>(i >> 8);
    }
    for (int mask = 0; mask <= 255; ++mask) {
        std::fill(m.begin(), m.end(), static_cast<uint8_t>(mask));
        fast.Mask(a.data(), b.data(), d.data(), m.data(), d.size());
        for (size_t i = 0; i < d.size(); ++i) {
            ASSERT_EQ(d[i], (a[i] * (255 - mask) + b[i] * mask) >> 8)
                << "a " << int{a[i]} << ", b " << int{b[i]} << ", mask " << mask;
        }
        fast.MaskGroups(a.data(), b.data(), d.data(), m.data(), d.size() / kBlendGroupBytes);
        for (size_t i = 0; i < d.size(); ++i) {
            ASSERT_EQ(d[i], mask == 0 ? a[i] : (a[i] * (255 - mask) + b[i] * mask) >> 8)
                << "groups: a " << int{a[i]} << ", b " << int{b[i]} << ", mask " << mask;
        }
    }
}

// The vector loops divide by the stage count with a multiply and a shift. At stage 1 the
// numerators a * (stages - 1) + b cover every value up to 255 * stages, so with the last stage
// (b itself) this checks the division for every numerator of every stage count.
TEST_P(KernelAgreement, TheStagedMeanIsExactForEveryPairAtEveryStageCount) {
    const BlendKernels& fast = *GetParam();
    std::vector<uint8_t> a(65536), b(65536), all(65536, 1), d(65536), expected(65536);
    for (size_t i = 0; i < a.size(); ++i) {
        a[i] = static_cast<uint8_t>(i);
        b[i] = static_cast<uint8_t>(i >> 8);
    }
    for (int stages = 1; stages <= kMaxMeanStages; ++stages) {
        for (int stage : {1, stages}) {
            for (size_t i = 0; i < a.size(); ++i) {
                expected[i] = static_cast<uint8_t>((a[i] * (stages - stage) + b[i] * stage) / stages);
            }
            fast.StagedMean(a.data(), b.data(), d.data(), all.data(), d.size(), stage, stages);
            ASSERT_EQ(d, expected) << stage << " of " << stages;
        }
    }
}

TEST_P(KernelAgreement, BlendingInPlaceGivesTheSameBytes) {
    const BlendKernels& fast = *GetParam();
    const BlendKernels& plain = ReferenceBlendKernels();
    Prepare(1000);
    std::vector<uint8_t> expected(m_a.begin() + 3, m_a.end()), actual = expected;
    plain.MaskGroups(expected.data(), B(), expected.data(), M(), 125);
    fast.MaskGroups(actual.data(), B(), actual.data(), M(), 125);
    EXPECT_EQ(actual, expected);
    plain.Weighted(expected.data(), B(), expected.data(), 1000, 77);
    fast.Weighted(actual.data(), B(), actual.data(), 1000, 77);
    EXPECT_EQ(actual, expected);
}

INSTANTIATE_TEST_SUITE_P(AvailableSets, KernelAgreement,
                         testing::ValuesIn(AvailableBlendKernels().begin(),
                                           AvailableBlendKernels().end()),
                         [](const auto& info) { return std::string(info.param->Name); });

TEST(KernelChoice, TheFastestAvailableSetIsTheOneInUse) {
    auto sets = AvailableBlendKernels();
    ASSERT_FALSE(sets.empty());
    EXPECT_EQ(sets.front(), &ReferenceBlendKernels());
    EXPECT_EQ(&ActiveBlendKernels(), sets.back());
}

} // namespace
} // namespace orv
