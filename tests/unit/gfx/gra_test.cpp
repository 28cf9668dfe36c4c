#include "gfx/gra_decoder.h"
#include "gfx/gra_encoder.h"
#include "gfx/gra_format.h"

#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace orv {
namespace {

// A stage buffer of `target` bytes with the spare and slack bytes the stages need, filled
// with a marker so that stray writes show.
std::vector<uint8_t> StageBuffer(size_t target) {
    return std::vector<uint8_t>(target + kGraSpareBytes + kGraCopySlack, 0xEE);
}

Bytes Entry(uint8_t flags, uint16_t width, uint16_t height, const Bytes& coded,
            uint32_t lzLength = 0, uint8_t bytesPerPixel = 3) {
    GraHeader header;
    header.Flags = flags;
    header.BytesPerPixel = bytesPerPixel;
    header.CodedLength = static_cast<uint32_t>(coded.size());
    header.LzLength = lzLength;
    header.Width = width;
    header.Height = height;
    Bytes out;
    AppendGraHeader(out, header);
    out.insert(out.end(), coded.begin(), coded.end());
    return out;
}

Bytes Pixels(const Surface& s) {
    Bytes out;
    for (int y = 0; y < s.Height(); ++y) {
        out.insert(out.end(), s.Row(y), s.Row(y) + s.RowBytes());
    }
    return out;
}

// ---- LZ stage

TEST(GraLzStage, ADistanceOneReferenceRepeatsTheLastByte) {
    // Literal 0x41, then distance 1 length 18: nineteen 0x41 in all.
    Bytes coded = {0b0100'0000, 0x41, 0x80, 0x0F};
    auto out = StageBuffer(19);
    GraStageResult result = DecodeGraLz(coded, out, 19);
    EXPECT_FALSE(result.Damaged);
    EXPECT_EQ(result.Produced, 19u);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 19), std::vector<uint8_t>(19, 0x41));
}

TEST(GraLzStage, LongLengthCodesCarryTheirSpecialLengths) {
    for (auto [code, length] : std::vector<std::pair<uint8_t, size_t>>{
             {0xFC, 255}, {0xFD, 256}, {0xFE, 1024}, {0xFF, 4096}, {0x00, 3}}) {
        SCOPED_TRACE(int{code});
        Bytes coded = {0b0100'0000, 0x07, 0xC0, 0x00, code};
        auto out = StageBuffer(length + 1);
        GraStageResult result = DecodeGraLz(coded, out, length + 1);
        EXPECT_FALSE(result.Damaged);
        EXPECT_EQ(result.Produced, length + 1);
        EXPECT_EQ(out[length], 0x07);
        EXPECT_EQ(out[length + 1], 0xEE);
    }
}

TEST(GraLzStage, ShortReferencesAndLiteralRunsDecode) {
    // Flags: literal, literal, short reference (distance 2, length 4), literal run of 9.
    Bytes coded = {0b0011'0000, 'a', 'b', (1 << 2) | 2, 3};
    for (char c : std::string("123456789")) {
        coded.push_back(static_cast<uint8_t>(c));
    }
    auto out = StageBuffer(15);
    GraStageResult result = DecodeGraLz(coded, out, 15);
    EXPECT_FALSE(result.Damaged);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 15), "ababab123456789");
}

TEST(GraLzStage, TheNinthTokenTakesTheNextFlagByte) {
    Bytes coded = {0x00, 1, 2, 3, 4, 5, 6, 7, 8, 0x80, 0x00}; // 8 literals, then distance 1
    auto out = StageBuffer(10);
    GraStageResult result = DecodeGraLz(coded, out, 10);
    EXPECT_FALSE(result.Damaged);
    EXPECT_EQ(out[8], 8);
    EXPECT_EQ(out[9], 8);
}

TEST(GraLzStage, TheLastTokenMayEndInTheSpareBytesButNotFurther) {
    // A 256-byte reference when 10 bytes remain: within the spare bytes, so whole.
    Bytes coded = {0b0100'0000, 0x07, 0xC0, 0x00, 0xFD};
    auto out = StageBuffer(11);
    GraStageResult result = DecodeGraLz(coded, out, 11);
    EXPECT_FALSE(result.Damaged);
    EXPECT_EQ(result.Produced, 257u);
    // A 4096-byte one is cut at the spare bytes' end and counts as damage.
    coded.back() = 0xFF;
    out = StageBuffer(11);
    result = DecodeGraLz(coded, out, 11);
    EXPECT_TRUE(result.Damaged);
    EXPECT_EQ(result.Produced, 11 + kGraSpareBytes);
    EXPECT_EQ(out[11 + kGraSpareBytes + kGraCopySlack - 1], 0xEE);
}

TEST(GraLzStage, AReferenceBeforeTheStartStopsWithZerosAfterWhatWasDecoded) {
    Bytes coded = {0b0010'0000, 'x', 'y', 0x80, 0x20}; // distance 3 after 2 bytes
    auto out = StageBuffer(8);
    GraStageResult result = DecodeGraLz(coded, out, 8);
    EXPECT_TRUE(result.Damaged);
    EXPECT_EQ(result.Produced, 2u);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 8),
              (std::vector<uint8_t>{'x', 'y', 0, 0, 0, 0, 0, 0}));
}

TEST(GraLzStage, CodedDataThatEndsEarlyYieldsWhatItHeld) {
    Bytes coded = {0b0000'0011, 'a', 'b', 'c', 'd', 'e', 'f', 0x80};
    auto out = StageBuffer(20);
    GraStageResult result = DecodeGraLz(coded, out, 20);
    EXPECT_TRUE(result.Damaged);
    EXPECT_EQ(result.Produced, 6u);
    EXPECT_EQ(out[6], 0);
    EXPECT_EQ(out[19], 0);
    // A literal run cut short copies the bytes that are there.
    Bytes run = {0x80, (20 << 2) | 3, 'a', 'b', 'c'};
    out = StageBuffer(30);
    result = DecodeGraLz(run, out, 30);
    EXPECT_TRUE(result.Damaged);
    EXPECT_EQ(result.Produced, 3u);
}

// Token streams of every kind, with references that may reach before the start, long
// special lengths, and streams cut anywhere: the grouped decoder must agree with the
// token-by-token loop on every byte, on how far it got and on damage.
TEST(GraLzStage, TheFastDecoderMatchesThePlainOneOnAnyStream) {
    std::mt19937 random(7);
    auto pick = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
    for (int round = 0; round < 400; ++round) {
        Bytes coded;
        size_t produced = 0;
        bool hostile = round % 4 == 0;
        while (coded.size() < 6000) {
            uint8_t flags = static_cast<uint8_t>(random());
            coded.push_back(flags);
            for (int bit = 0; bit < 8; ++bit, flags = static_cast<uint8_t>(flags << 1)) {
                if ((flags & 0x80) == 0) {
                    coded.push_back(static_cast<uint8_t>(random()));
                    ++produced;
                    continue;
                }
                // Distances stay within what was produced unless the stream is hostile.
                auto distance = [&](unsigned most) {
                    unsigned reach = static_cast<unsigned>(std::min<size_t>(produced, most));
                    return hostile || reach == 0 ? pick(most) : pick(reach);
                };
                switch (pick(5)) {
                case 0: { // a run of literals
                    unsigned n = pick(32);
                    coded.push_back(static_cast<uint8_t>((n << 2) | 3));
                    for (unsigned i = 0; i < n + 9; ++i) {
                        coded.push_back(static_cast<uint8_t>(random()));
                    }
                    produced += n + 9;
                    break;
                }
                case 1: {
                    unsigned length = pick(3);
                    coded.push_back(static_cast<uint8_t>((distance(32) << 2) | length));
                    produced += length + 2;
                    break;
                }
                case 2: {
                    unsigned d = distance(1024), length = pick(16);
                    coded.push_back(static_cast<uint8_t>(0x80 | (d >> 4)));
                    coded.push_back(static_cast<uint8_t>(((d & 15) << 4) | length));
                    produced += length + 3;
                    break;
                }
                default: {
                    unsigned d = distance(16384), e = pick(8) == 0 ? 0xFD + pick(3) : pick(40);
                    coded.push_back(static_cast<uint8_t>(0xC0 | (d >> 8)));
                    coded.push_back(static_cast<uint8_t>(d & 0xFF));
                    coded.push_back(static_cast<uint8_t>(e));
                    produced += e == 0xFF ? 4096 : e == 0xFE ? 1024 : e == 0xFD ? 256 : e + 3;
                    break;
                }
                }
            }
        }
        coded.resize(round % 3 == 0 ? pick(static_cast<unsigned>(coded.size())) : coded.size());
        size_t target = pick(static_cast<unsigned>(produced + 600));
        std::vector<uint8_t> plain = StageBuffer(target), fast = StageBuffer(target);
        GraStageResult plainResult = DecodeGraLzPlain(coded, plain, target);
        GraStageResult fastResult = DecodeGraLz(coded, fast, target);
        ASSERT_EQ(fastResult.Produced, plainResult.Produced) << "round " << round;
        ASSERT_EQ(fastResult.Damaged, plainResult.Damaged) << "round " << round;
        size_t compared = std::max(target, plainResult.Produced);
        ASSERT_TRUE(std::equal(plain.begin(), plain.begin() + compared, fast.begin()))
            << "round " << round;
    }
}

// ---- Run-length stage

TEST(GraRunStage, ALongCountRepeatsOneUnit) {
    Bytes in = {0x81, 0x02, 0x7F};
    auto out = StageBuffer(259);
    GraStageResult result = DecodeGraRuns(in, out, 259);
    EXPECT_FALSE(result.Damaged);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 259),
              std::vector<uint8_t>(259, 0x7F));
}

TEST(GraRunStage, ARunThatWouldPassTheRawSizeIsShortenedToWholeUnits) {
    // Units of 3 bytes, 259 times, into 10 bytes: 3 units; then one literal fills the rest.
    Bytes in = {0xC1, 0x02, 1, 2, 3, 0x00, 9};
    auto out = StageBuffer(10);
    GraStageResult result = DecodeGraRuns(in, out, 10);
    EXPECT_FALSE(result.Damaged);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 10),
              (std::vector<uint8_t>{1, 2, 3, 1, 2, 3, 1, 2, 3, 9}));
    EXPECT_EQ(out[10], 0xEE);
}

TEST(GraRunStage, UnitsOfTwoAndFourAndLiteralsDecode) {
    Bytes in = {0xA0 | 0x00, 0x02, 'a', 'b', 0xE0, 0x01, 1, 2, 3, 4, 0x01, 'x', 'y'};
    auto out = StageBuffer(16);
    GraStageResult result = DecodeGraRuns(in, out, 16);
    EXPECT_FALSE(result.Damaged);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 6), "ababab");
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 6, out.begin() + 14),
              (std::vector<uint8_t>{1, 2, 3, 4, 1, 2, 3, 4}));
    EXPECT_EQ(std::string(out.begin() + 14, out.begin() + 16), "xy");
}

TEST(GraRunStage, InputThatEndsEarlyLeavesZeros) {
    Bytes in = {0x05, 'a', 'b'};
    auto out = StageBuffer(12);
    GraStageResult result = DecodeGraRuns(in, out, 12);
    EXPECT_TRUE(result.Damaged);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 2), "ab");
    EXPECT_EQ(out[2], 0);
    EXPECT_EQ(out[11], 0);
}

// ---- Delta stage

TEST(GraDeltaStage, EachLaneIsARunningSumOfItsOwnBytes) {
    std::vector<uint8_t> bytes = {10, 1, 2, 5, 1, 2, 251, 1, 2};
    uint8_t sums[3] = {};
    UndoGraDelta(bytes.data(), bytes.data(), bytes.size(), sums);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{10, 1, 2, 15, 2, 4, 10, 3, 6}));
}

TEST(GraDeltaStage, TheFastLoopMatchesThePlainOneAcrossAnySplit) {
    std::mt19937 random(99);
    for (int round = 0; round < 200; ++round) {
        size_t size = random() % 400;
        std::vector<uint8_t> in(size);
        for (auto& b : in) {
            b = static_cast<uint8_t>(random());
        }
        std::vector<uint8_t> plain(size), fast(size);
        uint8_t plainSums[3] = {}, fastSums[3] = {};
        UndoGraDeltaPlain(in.data(), plain.data(), size, plainSums);
        // In pieces that start on lane 0, as rows do.
        for (size_t done = 0; done < size;) {
            size_t piece = std::min(size - done, (random() % 40 + 1) * 3);
            UndoGraDelta(in.data() + done, fast.data() + done, piece, fastSums);
            done += piece;
        }
        ASSERT_EQ(fast, plain) << "size " << size;
        ASSERT_EQ(std::vector<uint8_t>(fastSums, fastSums + 3),
                  std::vector<uint8_t>(plainSums, plainSums + 3));
    }
}

TEST(GraPicture, TheDeltaRunsOnAcrossRowEndsAndPaddedRows) {
    // One pixel a row (rows padded to 4 bytes): row 1 continues row 0's sums.
    Bytes raw = {10, 20, 30, 5, 5, 5, 1, 1, 1};
    Bytes coded = EncodeGraLz(raw);
    Surface target;
    ASSERT_EQ(DecodeGraPicture(Entry(kGraDeltaFlag, 1, 3, coded), target), GraStatus::Complete);
    EXPECT_EQ(target.Pixel(0, 0), 0x0A141Eu);
    EXPECT_EQ(target.Pixel(0, 1), 0x0F1923u);
    EXPECT_EQ(target.Pixel(0, 2), 0x101A24u);
}

TEST(GraPicture, TheHeaderSetsTheSizeAndRowsComeTopFirstInBlueGreenRedOrder) {
    Bytes raw = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    Surface target(5, 5);
    ASSERT_EQ(DecodeGraPicture(Entry(0, 2, 2, EncodeGraLz(raw)), target), GraStatus::Complete);
    EXPECT_EQ(target.Width(), 2);
    EXPECT_EQ(target.Height(), 2);
    EXPECT_EQ(target.Row(0)[0], 1);
    EXPECT_EQ(target.Pixel(1, 1), 0x0A0B0Cu);
}

TEST(GraPicture, RunLengthPicturesDecodeFromTheLzLengthInTheHeader) {
    Bytes runs = {0x81, 0x2B, 0x7F}; // 300 bytes of 0x7F
    Surface target;
    ASSERT_EQ(DecodeGraPicture(Entry(kGraRunLengthFlag, 10, 10, EncodeGraLz(runs), 3), target),
              GraStatus::Complete);
    EXPECT_EQ(target.Pixel(9, 9), 0x7F7F7Fu);
}

TEST(GraPicture, AMissingHeaderOrAnOversizedPictureLeavesTheTargetAlone) {
    Surface target(3, 3);
    target.Fill(0x123456);
    EXPECT_EQ(DecodeGraPicture(Bytes(15, 0), target), GraStatus::Refused);
    EXPECT_EQ(DecodeGraPicture(Entry(0, 1000, 1000, {}), target, 999'999), GraStatus::Refused);
    EXPECT_EQ(DecodeGraPicture(Entry(0, 10, 10, {}, 0, 200), target), GraStatus::Refused);
    EXPECT_EQ(target.Width(), 3);
    EXPECT_EQ(target.Pixel(2, 2), 0x123456u);
    EXPECT_EQ(DecodeGraPicture(Entry(0, 0, 7, {}), target), GraStatus::Complete);
    EXPECT_TRUE(target.Empty());
}

TEST(GraPicture, AnEntryCutShortStillGivesItsTopRows) {
    std::mt19937 random(3);
    Surface picture(64, 64);
    for (int y = 0; y < picture.Height(); ++y) {
        for (auto& b : picture.RowSpan(y)) {
            b = static_cast<uint8_t>(random());
        }
    }
    Bytes entry = *EncodeGraPicture(picture, {});
    entry.resize(kGraHeaderSize + (entry.size() - kGraHeaderSize) / 2);
    Surface target;
    EXPECT_EQ(DecodeGraPicture(entry, target), GraStatus::Damaged);
    EXPECT_EQ(target.Width(), 64);
    EXPECT_EQ(Bytes(target.Row(0), target.Row(0) + 192),
              Bytes(picture.Row(0), picture.Row(0) + 192));
    EXPECT_EQ(target.Pixel(63, 63), 0u);
}

TEST(GraPicture, FewerBytesAPixelThanThreeNeverReadPastThePicture) {
    Bytes raw(6, 9);
    Surface target;
    ASSERT_EQ(DecodeGraPicture(Entry(kGraDeltaFlag, 3, 2, EncodeGraLz(raw), 0, 1), target),
              GraStatus::Complete);
    // The 6 picture bytes, lanes summed, fill the first two pixels; the rest are zeros.
    EXPECT_EQ(target.Pixel(0, 0), 0x090909u);
    EXPECT_EQ(target.Pixel(1, 0), 0x121212u);
    EXPECT_EQ(target.Pixel(2, 0), 0u);
    EXPECT_EQ(target.Pixel(2, 1), 0u);
}

TEST(GraPicture, DamagedEntriesNeverCrash) {
    std::mt19937 random(7);
    Surface picture(37, 23);
    for (int y = 0; y < picture.Height(); ++y) {
        for (auto& b : picture.RowSpan(y)) {
            b = static_cast<uint8_t>(random() % 4 * 60);
        }
    }
    Bytes valid = *EncodeGraPicture(picture, {true, true});
    GraDecoder decoder;
    Surface target;
    for (int round = 0; round < 3000; ++round) {
        Bytes entry = valid;
        int changes = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < changes; ++i) {
            entry[random() % entry.size()] = static_cast<uint8_t>(random());
        }
        if (random() % 4 == 0) {
            entry.resize(random() % entry.size());
        }
        decoder.Decode(entry, target, 1 << 20);
    }
}

// ---- Encoder round trips

Surface PhotoLike(int w, int h, uint32_t seed) {
    std::mt19937 random(seed);
    Surface s(w, h);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = s.Row(y);
        for (int x = 0; x < w; ++x, p += 3) {
            double fx = static_cast<double>(x) / w, fy = static_cast<double>(y) / h;
            int noise = static_cast<int>(random() % 9) - 4;
            p[0] = static_cast<uint8_t>(std::clamp(static_cast<int>(255 * fx) + noise, 0, 255));
            p[1] = static_cast<uint8_t>(std::clamp(static_cast<int>(255 * fy) + noise, 0, 255));
            p[2] = static_cast<uint8_t>(std::clamp(
                static_cast<int>(128 + 100 * std::sin(fx * 9 + fy * 5)) + noise, 0, 255));
        }
    }
    return s;
}

class GraRoundTrip : public testing::TestWithParam<int> {
protected:
    GraEncodeOptions Options() const {
        GraEncodeOptions options;
        options.RunLength = (GetParam() & 1) != 0;
        options.Delta = (GetParam() & 2) != 0;
        return options;
    }
    void Check(const Surface& picture) {
        auto entry = EncodeGraPicture(picture, Options());
        ASSERT_TRUE(entry);
        Surface back;
        ASSERT_EQ(DecodeGraPicture(*entry, back), GraStatus::Complete);
        ASSERT_EQ(back.Width(), picture.Width());
        ASSERT_EQ(back.Height(), picture.Height());
        ASSERT_EQ(Pixels(back), Pixels(picture));
        m_size = entry->size();
    }
    size_t m_size = 0;
};

TEST_P(GraRoundTrip, RandomPicturesComeBackExactly) {
    std::mt19937 random(static_cast<uint32_t>(GetParam()));
    for (auto [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {7, 3}, {64, 64}, {101, 37}}) {
        Surface s(w, h);
        for (int y = 0; y < h; ++y) {
            for (auto& b : s.RowSpan(y)) {
                // Few distinct values, so that matches and runs of every kind occur.
                b = static_cast<uint8_t>(random() % 3 == 0 ? random() : random() % 2);
            }
        }
        Check(s);
    }
}

TEST_P(GraRoundTrip, PhotoLikeAndFlatPicturesComeBackExactlyAndFlatOnesPackSmall) {
    Check(PhotoLike(203, 151, 3));
    Surface flat(kScreenWidth, kScreenHeight);
    flat.Fill(0x336699);
    Check(flat);
    EXPECT_LT(m_size, 2000u);
}

// Pictures of three bytes a pixel whose rows need no padding decode straight into the target,
// so whatever it held before, or a cut entry, must give the bytes a fresh target gets.
TEST_P(GraRoundTrip, ATargetThatHeldALargerPictureDecodesAsAFreshOne) {
    Bytes whole = *EncodeGraPicture(PhotoLike(64, 48, 5), Options());
    GraDecoder decoder;
    Surface reused = PhotoLike(203, 151, 6);
    for (size_t keep : {whole.size(), whole.size() * 2 / 3, kGraHeaderSize + 5}) {
        SCOPED_TRACE(keep);
        ByteSpan entry = ByteSpan(whole).first(keep);
        Surface fresh;
        GraStatus status = decoder.Decode(entry, fresh);
        EXPECT_EQ(decoder.Decode(entry, reused), status);
        ASSERT_EQ(reused.Width(), 64);
        EXPECT_EQ(Pixels(reused), Pixels(fresh));
    }
}

INSTANTIATE_TEST_SUITE_P(Stages, GraRoundTrip, testing::Values(0, 1, 2, 3), [](const auto& info) {
    return std::string(info.param & 1 ? "Runs" : "NoRuns") + (info.param & 2 ? "Delta" : "NoDelta");
});

TEST(GraEncoder, LzStreamsOfEveryShapeDecodeBack) {
    std::mt19937 random(11);
    for (int round = 0; round < 100; ++round) {
        size_t size = random() % 20000;
        Bytes data(size);
        for (size_t i = 0; i < size; ++i) {
            switch (random() % 4) {
            case 0:
                data[i] = static_cast<uint8_t>(random());
                break;
            case 1:
                data[i] = i > 0 ? data[i - 1] : 0;
                break;
            default:
                data[i] = i >= 1000 ? data[i - 1 - random() % 1000] : static_cast<uint8_t>(i);
            }
        }
        Bytes coded = EncodeGraLz(data);
        auto out = StageBuffer(size);
        GraStageResult result = DecodeGraLz(coded, out, size);
        ASSERT_FALSE(result.Damaged) << round;
        ASSERT_EQ(result.Produced, size);
        ASSERT_TRUE(std::equal(data.begin(), data.end(), out.begin())) << round;
    }
}

TEST(GraEncoder, RunStreamsDecodeBack) {
    std::mt19937 random(12);
    for (int round = 0; round < 100; ++round) {
        Bytes data;
        while (data.size() < 30000 && random() % 50 != 0) {
            size_t unit = 1 + random() % 4, count = 1 + random() % (random() % 2 ? 9000 : 5);
            Bytes pattern(unit);
            for (auto& b : pattern) {
                b = static_cast<uint8_t>(random());
            }
            for (size_t i = 0; i < count; ++i) {
                data.insert(data.end(), pattern.begin(), pattern.end());
            }
        }
        Bytes runs = EncodeGraRuns(data);
        auto out = StageBuffer(data.size());
        GraStageResult result = DecodeGraRuns(runs, out, data.size());
        ASSERT_FALSE(result.Damaged);
        ASSERT_TRUE(std::equal(data.begin(), data.end(), out.begin())) << round;
    }
}

} // namespace
} // namespace orv
