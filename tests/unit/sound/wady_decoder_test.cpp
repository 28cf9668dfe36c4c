// The WADY header and both decoders, over entries built byte by byte.
#include "sound/wady.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv {
namespace {

// A header that every decoder accepts: 16-bit PCM, 22050 Hz, usable as a stream.
WadyHeader Playable(uint16_t channels) {
    WadyHeader header;
    header.Scale = 1;
    header.Channels = channels;
    header.FramesPerBlock = 1024;
    header.FormatTag = 1;
    header.FormatChannels = channels;
    header.Rate = 22050;
    header.BytesPerSecond = 22050u * 2 * channels;
    header.BlockAlign = static_cast<uint16_t>(2 * channels);
    header.BitsPerSample = 16;
    return header;
}

Bytes Entry(const WadyHeader& header, const Bytes& data) {
    Bytes out = WriteWadyHeader(header);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// ---- the header

TEST(WadyHeader, FieldsAreReadAtTheirOffsetsLittleEndian) {
    Bytes entry(60, 0);
    const uint8_t fields[] = {'W', 'A', 'D', 'Y', 0x99, 7,    2,    0,    0x00, 0x04, 0,    0,
                              12,  0,    0,    0,    0x10, 0x27, 0,    0,    0x40, 0x9C, 0,    0,
                              4,   0,    0,    0,    0x18, 0xFC, 0xE8, 0x03, 1,    0,    2,    0,
                              0x44, 0xAC, 0,   0,    0x10, 0xB1, 2,    0,    4,    0,    16,   0};
    std::copy(std::begin(fields), std::end(fields), entry.begin());
    auto header = ParseWadyHeader(entry);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->Scale, 7);
    EXPECT_EQ(header->Channels, 2);
    EXPECT_EQ(header->FramesPerBlock, 1024u);
    EXPECT_EQ(header->DataLength, 12u);
    EXPECT_EQ(header->Frames, 10000u);
    EXPECT_EQ(header->PcmBytes, 40000u);
    EXPECT_EQ(header->LoopStart, 4u);
    EXPECT_EQ(header->LoopLeft, -1000);
    EXPECT_EQ(header->LoopRight, 1000);
    EXPECT_EQ(header->FormatTag, 1);
    EXPECT_EQ(header->FormatChannels, 2);
    EXPECT_EQ(header->Rate, 44100u);
    EXPECT_EQ(header->BytesPerSecond, 176400u);
    EXPECT_EQ(header->BlockAlign, 4);
    EXPECT_EQ(header->BitsPerSample, 16);
    EXPECT_TRUE(UsableAsStream(*header));
    // The encoders' writer puts every field back where it came from (byte 4 is never read).
    Bytes written(entry.begin(), entry.begin() + 48);
    written[4] = 0;
    EXPECT_EQ(WriteWadyHeader(*header), written);
}

struct HeaderCase {
    std::string Name;
    std::function<void(WadyHeader&)> Change;
    bool Parses;
    bool Streams;
};

void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.Name; }

class HostileHeader : public testing::TestWithParam<HeaderCase> {};

TEST_P(HostileHeader, IsRefusedOrKeptOutOfTheMusicRing) {
    WadyHeader header = Playable(2);
    GetParam().Change(header);
    auto parsed = ParseWadyHeader(Entry(header, Bytes(64, 0x80)));
    ASSERT_EQ(parsed.has_value(), GetParam().Parses);
    if (parsed) {
        EXPECT_EQ(UsableAsStream(*parsed), GetParam().Streams);
    }
    if (!GetParam().Parses) {
        // Nothing of it plays, whichever decoder is asked.
        PcmClip clip;
        EXPECT_FALSE(DecodePackedSound(Entry(header, Bytes(64, 0x80)), clip));
        EXPECT_FALSE(DecodeStreamSound(Entry(header, Bytes(64, 0x80)), clip));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileHeader,
    testing::Values(
        HeaderCase{"Playable", [](WadyHeader&) {}, true, true},
        HeaderCase{"FormatOfNoChannels", [](WadyHeader& h) { h.FormatChannels = 0; }, false,
                   false},
        HeaderCase{"FormatOfThreeChannels", [](WadyHeader& h) { h.FormatChannels = 3; }, false,
                   false},
        HeaderCase{"NotPcm", [](WadyHeader& h) { h.FormatTag = 2; }, false, false},
        HeaderCase{"EightBits", [](WadyHeader& h) { h.BitsPerSample = 8; }, false, false},
        HeaderCase{"RateTooLow", [](WadyHeader& h) { h.Rate = 7999; }, false, false},
        HeaderCase{"RateTooHigh", [](WadyHeader& h) { h.Rate = 192001; }, false, false},
        HeaderCase{"LowestRate", [](WadyHeader& h) { h.Rate = 8000; }, true, true},
        HeaderCase{"HighestRate", [](WadyHeader& h) { h.Rate = 192000; }, true, true},
        HeaderCase{"StreamOfNoChannels", [](WadyHeader& h) { h.Channels = 0; }, true, false},
        HeaderCase{"StreamOfThreeChannels", [](WadyHeader& h) { h.Channels = 3; }, true, false},
        HeaderCase{"StreamChannelsDisagree", [](WadyHeader& h) { h.Channels = 1; }, true,
                   false},
        HeaderCase{"NoFramesABlock", [](WadyHeader& h) { h.FramesPerBlock = 0; }, true, false},
        HeaderCase{"FourBlocksFillTheRing", [](WadyHeader& h) { h.FramesPerBlock = 44100; },
                   true, true},
        HeaderCase{"FourBlocksOverflowTheRing", [](WadyHeader& h) { h.FramesPerBlock = 44101; },
                   true, false},
        HeaderCase{"HugeBlocksDoNotWrapTheRingSize",
                   [](WadyHeader& h) { h.FramesPerBlock = 0x40000000; }, true, false},
        HeaderCase{"MonoBlocksFillTheRing",
                   [](WadyHeader& h) {
                       h.Channels = h.FormatChannels = 1;
                       h.FramesPerBlock = 88200;
                   },
                   true, true},
        HeaderCase{"MonoBlocksOverflowTheRing",
                   [](WadyHeader& h) {
                       h.Channels = h.FormatChannels = 1;
                       h.FramesPerBlock = 88201;
                   },
                   true, false}),
    [](const auto& info) { return info.param.Name; });

TEST(WadyHeader, ShortEntriesAndOtherMagicAreNotWady) {
    Bytes entry = Entry(Playable(1), {});
    EXPECT_TRUE(ParseWadyHeader(entry));
    EXPECT_FALSE(ParseWadyHeader(ByteSpan(entry).first(47)));
    entry[3] = 'X';
    EXPECT_FALSE(ParseWadyHeader(entry));
    EXPECT_FALSE(ParseWadyHeader({}));
}

TEST(WadyHeader, TheDataLengthIsClampedToTheEntryAndTheLoopStartToTheData) {
    WadyHeader header = Playable(2);
    header.DataLength = 1000;
    header.LoopStart = 5000;
    auto parsed = ParseWadyHeader(Entry(header, Bytes(10, 0)));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->DataLength, 10u);
    EXPECT_EQ(parsed->LoopStart, 10u);

    header.DataLength = 6;
    header.LoopStart = 0xFFFFFFFF;
    parsed = ParseWadyHeader(Entry(header, Bytes(10, 0)));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->DataLength, 6u);
    EXPECT_EQ(parsed->LoopStart, 6u);
}

// ---- the packed codec

// A channel block: the four bytes the decoder skips, the code count, the first sample, the
// codes.
Bytes Block(int16_t first, const Bytes& codes, std::optional<uint32_t> count = std::nullopt) {
    Bytes block;
    AppendU32(block, static_cast<uint32_t>(6 + codes.size()));
    AppendU32(block, count.value_or(static_cast<uint32_t>(codes.size())));
    AppendU16(block, static_cast<uint16_t>(first));
    block.insert(block.end(), codes.begin(), codes.end());
    return block;
}

Bytes MonoPacked(int16_t first, const Bytes& codes, uint32_t frames,
                 std::optional<uint32_t> count = std::nullopt) {
    WadyHeader header = Playable(1);
    header.PcmBytes = 2 * frames;
    return Entry(header, Block(first, codes, count));
}

std::vector<int16_t> Packed(const Bytes& entry) {
    PcmClip clip;
    EXPECT_TRUE(DecodePackedSound(entry, clip));
    return clip.Samples;
}

struct PackedCase {
    std::string Name;
    int16_t First;
    Bytes Codes;
    std::vector<int16_t> Expected; // after the first sample
};

void PrintTo(const PackedCase& c, std::ostream* os) { *os << c.Name; }

class PackedCodes : public testing::TestWithParam<PackedCase> {};

TEST_P(PackedCodes, DecodeToTheirSamples) {
    const PackedCase& c = GetParam();
    std::vector<int16_t> expected = {c.First};
    expected.insert(expected.end(), c.Expected.begin(), c.Expected.end());
    EXPECT_EQ(Packed(MonoPacked(c.First, c.Codes, static_cast<uint32_t>(expected.size()))),
              expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PackedCodes,
    testing::Values(
        // One-byte codes: bit 0 set, v = byte >> 1.
        PackedCase{"AbsoluteZero", 5000, {0x81}, {0}},
        PackedCase{"AbsoluteMinus1024", 5000, {0xFF}, {-1024}},
        PackedCase{"AbsoluteLowest", 0, {0xC1}, {-32768}},
        PackedCase{"AbsoluteHighest", 0, {0xBF}, {31744}},
        PackedCase{"Deltas", 100, {0x03, 0x3F, 0x43, 0x7F, 0x41}, {104, 8104, 8100, 100, 100}},
        PackedCase{"DeltasWrapAround16Bits", 30000, {0x3F, 0x7F}, {-27536, 30000}},
        // Two-byte codes: bit 0 clear, bits 1..3 the run, bits 4..15 the target.
        PackedCase{"RampOfThreeTruncatesTowardZero", 0, {0xF0, 0xFF}, {-5, -10, -16}},
        PackedCase{"RampOfFourUpward", 100, {0x02, 0x01}, {139, 178, 217, 256}},
        // -30001 / 6 in single precision ends the ramp at -29999.998, sample -29999; the
        // delta 0 after it shows the running value is the target itself.
        PackedCase{"RampEndsOnTheTargetRatherThanItsLastSample",
                   1,
                   {0xD6, 0x8A, 0x01},
                   {-4999, -9999, -14999, -19999, -24999, -29999, -30000}}),
    [](const auto& info) { return info.param.Name; });

TEST(PackedCodec, ARampOfRunIndexSevenWrites256Samples) {
    // Target 0x0A00 = 2560, run index 7: steps of exactly 10.
    std::vector<int16_t> samples = Packed(MonoPacked(0, {0x0E, 0x0A, 0x03}, 258));
    ASSERT_EQ(samples.size(), 258u);
    for (size_t i = 1; i <= 256; ++i) {
        ASSERT_EQ(samples[i], static_cast<int16_t>(10 * i)) << i;
    }
    EXPECT_EQ(samples[257], 2564);
}

TEST(PackedCodec, TheCode300FromTheEndStartsFromZero) {
    // 300 codes: the reset comes before the first of them and overrides the first sample.
    std::vector<int16_t> samples = Packed(MonoPacked(1000, Bytes(300, 0x03), 301));
    EXPECT_EQ(samples[0], 1000);
    EXPECT_EQ(samples[1], 4);
    EXPECT_EQ(samples[300], 1200);
    // 301 codes: the first code still adds to the first sample, the second starts from 0.
    samples = Packed(MonoPacked(1000, Bytes(301, 0x03), 302));
    EXPECT_EQ(samples[1], 1004);
    EXPECT_EQ(samples[2], 4);
    // Under 300 codes there is no reset.
    samples = Packed(MonoPacked(1000, Bytes(299, 0x03), 300));
    EXPECT_EQ(samples[299], 1000 + 4 * 299);
}

TEST(PackedCodec, ACodeOnTheEntrysLastByteReadsZeroForItsMissingHalf) {
    // 0x0E alone: a two-byte code whose word is 0x000E, a 256-sample ramp to 0.
    std::vector<int16_t> samples = Packed(MonoPacked(2560, {0x0E}, 300));
    ASSERT_EQ(samples.size(), 257u) << "what the entry's one code byte can produce";
    EXPECT_EQ(samples[1], 2550);
    EXPECT_EQ(samples[255], 10);
    EXPECT_EQ(samples[256], 0);
}

TEST(PackedCodec, StereoBlocksInterleaveLeftAndRight) {
    WadyHeader header = Playable(2);
    header.PcmBytes = 4 * 3;
    Bytes left = Block(10, {0x03, 0x03});
    Bytes data;
    AppendU32(data, static_cast<uint32_t>(left.size() - 4));
    data.insert(data.end(), left.begin(), left.end());
    Bytes right = Block(-10, {0x43, 0x81});
    data.insert(data.end(), right.begin(), right.end());
    PcmClip clip;
    ASSERT_TRUE(DecodePackedSound(Entry(header, data), clip));
    EXPECT_EQ(clip.Channels, 2);
    EXPECT_EQ(clip.Rate, 22050u);
    EXPECT_EQ(clip.Samples, (std::vector<int16_t>{10, -10, 14, -14, 18, 0}));
}

TEST(PackedCodec, ThePcmSizeBoundsTheOutputAndTruncatedBlocksEndInSilence) {
    // Five samples asked for, 257 coded.
    EXPECT_EQ(Packed(MonoPacked(0, {0x0E, 0x0A}, 5)), (std::vector<int16_t>{0, 10, 20, 30, 40}));
    // Ten codes announced, two present.
    EXPECT_EQ(Packed(MonoPacked(7, {0x03, 0x03}, 6, 10)),
              (std::vector<int16_t>{7, 11, 15, 0, 0, 0}));
    // Fewer codes announced than present: the rest is not decoded.
    EXPECT_EQ(Packed(MonoPacked(7, {0x03, 0x03, 0x03}, 4, 1)),
              (std::vector<int16_t>{7, 11, 0, 0}));
}

TEST(PackedCodec, HostileSizesAllocateOnlyWhatTheEntryCanProduce) {
    PcmClip clip;
    // A PCM size of 4 GiB and a code count of 4 billion over two code bytes.
    WadyHeader header = Playable(1);
    header.PcmBytes = 0xFFFFFFFF;
    ASSERT_TRUE(DecodePackedSound(Entry(header, Block(1, {0x03, 0x03}, 0xFFFFFFFF)), clip));
    EXPECT_LE(clip.Samples.size(), 1u + 3 * 128);
    EXPECT_EQ(clip.Samples[2], 9);

    // A stereo left length that points far past the entry: the left block still plays.
    header = Playable(2);
    header.PcmBytes = 12;
    Bytes data;
    AppendU32(data, 0xFFFFFFF0);
    Bytes left = Block(5, {0x03, 0x03});
    data.insert(data.end(), left.begin(), left.end());
    ASSERT_TRUE(DecodePackedSound(Entry(header, data), clip));
    EXPECT_EQ(clip.Samples, (std::vector<int16_t>{5, 0, 9, 0, 13, 0}));
}

TEST(PackedCodec, EntriesWithoutABlockOrWithoutPcmPlayNothing) {
    PcmClip clip;
    EXPECT_FALSE(DecodePackedSound(MonoPacked(1, {0x03}, 0), clip));
    WadyHeader header = Playable(1);
    header.PcmBytes = 100;
    EXPECT_FALSE(DecodePackedSound(Entry(header, Bytes(9, 0)), clip));
    header = Playable(2);
    header.PcmBytes = 100;
    EXPECT_FALSE(DecodePackedSound(Entry(header, Bytes(3, 0)), clip));
    EXPECT_FALSE(DecodePackedSound(Entry(header, Bytes(13, 0)), clip));
    // A PCM size of one byte holds no whole sample.
    header = Playable(1);
    header.PcmBytes = 1;
    EXPECT_FALSE(DecodePackedSound(Entry(header, Block(1, {0x03})), clip));
}

// ---- the stream codec

struct StreamCase {
    std::string Name;
    uint8_t Scale;
    int16_t Running;
    uint8_t Byte;
    int16_t Expected;
};

void PrintTo(const StreamCase& c, std::ostream* os) { *os << c.Name; }

class StreamBytes : public testing::TestWithParam<StreamCase> {};

TEST_P(StreamBytes, SetOrMoveTheRunningValue) {
    const StreamCase& c = GetParam();
    WadyHeader header = Playable(1);
    header.Scale = c.Scale;
    StreamDecoder decoder;
    decoder.Start(header);
    decoder.SetRunning(c.Running, 0);
    int16_t sample = 1;
    uint8_t byte = c.Byte;
    ASSERT_EQ(decoder.Decode({&byte, 1}, {&sample, 1}, false), 1u);
    EXPECT_EQ(sample, c.Expected);
    EXPECT_EQ(decoder.Running(0), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StreamBytes,
    testing::Values(StreamCase{"C0SetsTheLowest", 1, 1234, 0xC0, -32768},
                    StreamCase{"80SetsZero", 1, 1234, 0x80, 0},
                    StreamCase{"BFSetsTheHighest", 1, 1234, 0xBF, 32256},
                    StreamCase{"FFSetsMinus512", 1, 1234, 0xFF, -512},
                    StreamCase{"41WithScale3Subtracts6", 3, 100, 0x41, 94},
                    StreamCase{"3FWithScale2Adds2000", 2, 100, 0x3F, 2100},
                    StreamCase{"00AddsNothing", 200, 100, 0x00, 100},
                    StreamCase{"DeltasWrapAround16Bits", 255, 0, 0x3F, -7144},
                    StreamCase{"NegativeDeltasWrapToo", 40, -32000, 0x7F, -6464}),
    [](const auto& info) { return info.param.Name; });

TEST(StreamCodec, StereoKeepsARunningValuePerChannelAcrossAnySplit) {
    WadyHeader header = Playable(2);
    header.Scale = 2;
    Bytes coded = {0x90, 0xA0, 0x01, 0x41, 0x3F, 0x7F, 0x05};
    std::vector<int16_t> whole(coded.size());
    StreamDecoder decoder;
    decoder.Start(header);
    decoder.Decode(coded, whole, false);
    EXPECT_EQ(whole, (std::vector<int16_t>{8192, 16384, 8196, 16380, 10196, 14380, 10216}));
    EXPECT_EQ(decoder.Running(0), 10216);
    EXPECT_EQ(decoder.Running(1), 14380);
    for (size_t split = 0; split <= coded.size(); ++split) {
        std::vector<int16_t> parts(coded.size());
        decoder.Start(header);
        size_t first = decoder.Decode(ByteSpan(coded).first(split), parts, false);
        decoder.Decode(ByteSpan(coded).subspan(split), std::span(parts).subspan(first), false);
        EXPECT_EQ(parts, whole) << "split at " << split;
    }
}

TEST(StreamCodec, SilenceOutputsZerosWhileTheRunningValuesMoveOn) {
    WadyHeader header = Playable(2);
    StreamDecoder decoder;
    decoder.Start(header);
    Bytes coded = {0xA0, 0x90, 0x01, 0x01, 0x01};
    std::vector<int16_t> out(5, 7);
    EXPECT_EQ(decoder.Decode(coded, out, true), 5u);
    EXPECT_EQ(out, std::vector<int16_t>(5, 0));
    EXPECT_EQ(decoder.Running(0), 16384 + 4);
    EXPECT_EQ(decoder.Running(1), 8192 + 2);
    // The fifth byte was the left's: the next is the right's.
    Bytes next = {0x01};
    decoder.Decode(next, out, false);
    EXPECT_EQ(out[0], 8196);
}

TEST(StreamCodec, DecodeStopsAtTheShorterOfInputAndOutput) {
    StreamDecoder decoder;
    decoder.Start(Playable(1));
    Bytes coded(10, 0x81);
    std::vector<int16_t> out(4, 7);
    EXPECT_EQ(decoder.Decode(coded, out, false), 4u);
    EXPECT_EQ(decoder.Decode(ByteSpan(coded).first(2), out, false), 2u);
    EXPECT_EQ(out, (std::vector<int16_t>{512, 512, 512, 512}));
}

TEST(StreamCodec, StartForgetsTheRunningValuesAndTheChannelOfTheNextByte) {
    StreamDecoder decoder;
    decoder.Start(Playable(2));
    Bytes coded = {0x90, 0xA0, 0x90};
    std::vector<int16_t> out(3);
    decoder.Decode(coded, out, false);
    decoder.Start(Playable(2));
    EXPECT_EQ(decoder.Running(0), 0);
    EXPECT_EQ(decoder.Running(1), 0);
    Bytes delta = {0x01, 0x02};
    decoder.Decode(delta, out, false);
    EXPECT_EQ(out[0], 2);
    EXPECT_EQ(out[1], 4);
}

TEST(StreamSound, DecodesTheHeadersFramesBoundedByPcmSizeAndData) {
    WadyHeader header = Playable(2);
    header.Scale = 10;
    header.Frames = 3;
    header.PcmBytes = 12;
    Bytes coded = {0x90, 0xA0, 0x01, 0x41, 0x01, 0x41, 0x01, 0x41};
    PcmClip clip;
    ASSERT_TRUE(DecodeStreamSound(Entry(header, coded), clip));
    EXPECT_EQ(clip.Channels, 2);
    EXPECT_EQ(clip.Samples, (std::vector<int16_t>{8192, 16384, 8212, 16364, 8232, 16344}));
    header.PcmBytes = 8; // two frames
    ASSERT_TRUE(DecodeStreamSound(Entry(header, coded), clip));
    EXPECT_EQ(clip.Frames(), 2u);
    header.PcmBytes = 0xFFFFFFFF;
    header.Frames = 0xFFFFFFFF;
    ASSERT_TRUE(DecodeStreamSound(Entry(header, Bytes(coded.begin(), coded.begin() + 5)), clip));
    EXPECT_EQ(clip.Frames(), 2u) << "whole frames of the data there is";
}

TEST(StreamSound, PlaysNothingWithoutFramesOrWithDisagreeingChannels) {
    WadyHeader header = Playable(2);
    header.Frames = 0;
    header.PcmBytes = 100;
    PcmClip clip;
    EXPECT_FALSE(DecodeStreamSound(Entry(header, Bytes(8, 0)), clip));
    header.Frames = 4;
    header.Channels = 1;
    EXPECT_FALSE(DecodeStreamSound(Entry(header, Bytes(8, 0)), clip));
    header.Channels = 2;
    EXPECT_FALSE(DecodeStreamSound(Entry(header, Bytes(1, 0)), clip));
    EXPECT_TRUE(DecodeStreamSound(Entry(header, Bytes(2, 0)), clip));
}

} // namespace
} // namespace orv
