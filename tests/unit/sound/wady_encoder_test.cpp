// The WADY encoders against their own decoders: the headers they write, and how close
// decode(encode(pcm)) comes to the PCM.
#include "sound/wady.h"

#include <cmath>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv {
namespace {

enum class Signal { Sine, Square, Noise, Silence };

// Half a second at 22050 Hz. The right channel differs from the left (a sine of 660 Hz
// against 440 Hz, a square out of phase), so that crossed or shared channels show.
PcmClip Make(Signal signal, int32_t channels, size_t frames = 11025) {
    PcmClip clip;
    clip.Channels = channels;
    clip.Rate = 22050;
    clip.Samples.resize(frames * static_cast<size_t>(channels));
    std::mt19937 random(7);
    for (size_t f = 0; f < frames; ++f) {
        for (int32_t c = 0; c < channels; ++c) {
            double t = static_cast<double>(f) / clip.Rate;
            long value = 0;
            switch (signal) {
            case Signal::Sine:
                value = std::lround(12000 * std::sin(2 * M_PI * (440 + 220 * c) * t));
                break;
            case Signal::Square:
                value = (f / 50 + static_cast<size_t>(c)) % 2 ? 8000 : -8000;
                break;
            case Signal::Noise:
                value = static_cast<long>(random() % 12001) - 6000;
                break;
            case Signal::Silence:
                break;
            }
            clip.Samples[f * static_cast<size_t>(channels) + static_cast<size_t>(c)] =
                static_cast<int16_t>(value);
        }
    }
    return clip;
}

struct RoundTrip {
    std::string Name;
    Signal Kind;
    int32_t Channels;
    bool Stream;
    double MaxRms;
};

void PrintTo(const RoundTrip& c, std::ostream* os) { *os << c.Name; }

class WadyRoundTrip : public testing::TestWithParam<RoundTrip> {};

// The bounds sit about a quarter above what the encoders measure (in the test names' order:
// packed sine 58 and 78, square 28, noise 193; stream sine 16 and 20, square 0, noise 62),
// room for a different choice between codes of equal error but not for a lost code or a
// step the encoder predicts wrongly. The peaks hold for every signal within -32256..32256:
// an absolute code lies within 512 (packed) or 256 (stream) of any such sample and the
// encoders take nothing worse; a running value that the encoder and the decoder disagree
// on would show far above.
TEST_P(WadyRoundTrip, DecodesCloseToThePcm) {
    const RoundTrip& c = GetParam();
    PcmClip pcm = Make(c.Kind, c.Channels);
    Bytes entry = c.Stream ? EncodeStreamSound(pcm, std::nullopt, 2048) : EncodePackedSound(pcm);
    PcmClip back;
    ASSERT_TRUE(c.Stream ? DecodeStreamSound(entry, back) : DecodePackedSound(entry, back));
    EXPECT_EQ(back.Channels, pcm.Channels);
    EXPECT_EQ(back.Rate, pcm.Rate);
    ASSERT_EQ(back.Samples.size(), pcm.Samples.size());
    CodingError error = MeasureCodingError(pcm, back);
    EXPECT_LE(error.Rms, c.MaxRms);
    EXPECT_LE(error.Peak, c.Stream ? 256 : 512);
    if (c.Kind == Signal::Silence) {
        EXPECT_EQ(error.Peak, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Signals, WadyRoundTrip,
    testing::Values(RoundTrip{"PackedSineMono", Signal::Sine, 1, false, 75},
                    RoundTrip{"PackedSineStereo", Signal::Sine, 2, false, 100},
                    RoundTrip{"PackedSquareStereo", Signal::Square, 2, false, 35},
                    RoundTrip{"PackedNoiseMono", Signal::Noise, 1, false, 240},
                    RoundTrip{"PackedSilenceStereo", Signal::Silence, 2, false, 0},
                    RoundTrip{"StreamSineMono", Signal::Sine, 1, true, 20},
                    RoundTrip{"StreamSineStereo", Signal::Sine, 2, true, 25},
                    RoundTrip{"StreamSquareMono", Signal::Square, 1, true, 5},
                    RoundTrip{"StreamNoiseStereo", Signal::Noise, 2, true, 78},
                    RoundTrip{"StreamSilenceMono", Signal::Silence, 1, true, 0}),
    [](const auto& info) { return info.param.Name; });

TEST(PackedEncoder, WritesAHeaderOfTheFormatThatIsNeverTakenForAStream) {
    PcmClip pcm = Make(Signal::Sine, 2, 1000);
    pcm.Rate = 44100;
    Bytes entry = EncodePackedSound(pcm);
    auto header = ParseWadyHeader(entry);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->FormatTag, 1);
    EXPECT_EQ(header->FormatChannels, 2);
    EXPECT_EQ(header->Channels, 2);
    EXPECT_EQ(header->Rate, 44100u);
    EXPECT_EQ(header->BytesPerSecond, 176400u);
    EXPECT_EQ(header->BlockAlign, 4);
    EXPECT_EQ(header->BitsPerSample, 16);
    EXPECT_EQ(header->PcmBytes, 4000u);
    EXPECT_EQ(header->Frames, 1000u);
    EXPECT_EQ(header->DataLength, entry.size() - kWadyHeaderSize);
    EXPECT_FALSE(UsableAsStream(*header));
}

TEST(PackedEncoder, SilenceAndSlowFadesShrinkToRamps) {
    PcmClip silence = Make(Signal::Silence, 1);
    EXPECT_LT(EncodePackedSound(silence).size(), kWadyHeaderSize + 10 + 11025 / 100);
    // A fade over the whole half second: one ramp of 256 samples covers it within the
    // ramps' tolerance wherever the fade moves less than 16 across a run.
    PcmClip fade = silence;
    for (size_t i = 0; i < fade.Samples.size(); ++i) {
        fade.Samples[i] = static_cast<int16_t>(3000 - static_cast<long>(i) * 3000 / 11025);
    }
    Bytes entry = EncodePackedSound(fade);
    EXPECT_LT(entry.size(), kWadyHeaderSize + 10 + 11025 / 50);
    PcmClip back;
    ASSERT_TRUE(DecodePackedSound(entry, back));
    EXPECT_LE(MeasureCodingError(fade, back).Peak, 16);
}

TEST(PackedEncoder, BlocksOfAFewSamplesOrNoneDecodeBack) {
    for (size_t frames : {1, 2, 3, 299, 300, 301, 302}) {
        PcmClip pcm = Make(Signal::Noise, 2, frames);
        PcmClip back;
        ASSERT_TRUE(DecodePackedSound(EncodePackedSound(pcm), back)) << frames;
        EXPECT_EQ(back.Samples.size(), pcm.Samples.size()) << frames;
        EXPECT_LE(MeasureCodingError(pcm, back).Peak, 512) << frames;
    }
    PcmClip empty = Make(Signal::Noise, 1, 0);
    Bytes entry = EncodePackedSound(empty);
    EXPECT_TRUE(ParseWadyHeader(entry));
    PcmClip back;
    EXPECT_FALSE(DecodePackedSound(entry, back)) << "nothing to play";
}

TEST(StreamEncoder, WritesTheBlockSizeAndTheLoopWithTheDecodersRunningValuesThere) {
    PcmClip pcm = Make(Signal::Sine, 2, 5000);
    Bytes entry = EncodeStreamSound(pcm, 1234, 1000);
    auto header = ParseWadyHeader(entry);
    ASSERT_TRUE(header);
    EXPECT_TRUE(UsableAsStream(*header));
    EXPECT_EQ(header->FramesPerBlock, 1000u);
    EXPECT_EQ(header->DataLength, 10000u);
    EXPECT_EQ(header->Frames, 5000u);
    EXPECT_EQ(header->PcmBytes, 20000u);
    EXPECT_EQ(header->LoopStart, 2468u);
    EXPECT_EQ(header->BytesPerSecond, 88200u);
    EXPECT_GE(header->Scale, 1);

    // What the player restores at the loop is what the decoder holds there.
    StreamDecoder decoder;
    decoder.Start(*header);
    std::vector<int16_t> out(2468);
    decoder.Decode(ByteSpan(entry).subspan(kWadyHeaderSize, 2468), out, false);
    EXPECT_EQ(header->LoopLeft, decoder.Running(0));
    EXPECT_EQ(header->LoopRight, decoder.Running(1));
    EXPECT_NE(header->LoopLeft, 0);

    // No loop, or one past the end: back to the start, from running values of 0.
    for (std::optional<size_t> loop : {std::optional<size_t>(), std::optional<size_t>(5000)}) {
        header = ParseWadyHeader(EncodeStreamSound(pcm, loop, 1000));
        ASSERT_TRUE(header);
        EXPECT_EQ(header->LoopStart, 0u);
        EXPECT_EQ(header->LoopLeft, 0);
        EXPECT_EQ(header->LoopRight, 0);
    }
}

TEST(StreamEncoder, BlocksAreCutToWhatTheRingHolds) {
    PcmClip stereo = Make(Signal::Silence, 2, 10);
    EXPECT_EQ(ParseWadyHeader(EncodeStreamSound(stereo, {}, 0))->FramesPerBlock, 1u);
    EXPECT_EQ(ParseWadyHeader(EncodeStreamSound(stereo, {}, 100000))->FramesPerBlock, 44100u);
    PcmClip mono = Make(Signal::Silence, 1, 10);
    EXPECT_EQ(ParseWadyHeader(EncodeStreamSound(mono, {}, 100000))->FramesPerBlock, 88200u);
}

TEST(StreamEncoder, AScaleChosenOnExcerptsOfALongSoundServesAllOfIt) {
    // Three seconds of stereo: longer than the scale is tried on in full.
    PcmClip pcm = Make(Signal::Sine, 2, 66150);
    PcmClip back;
    ASSERT_TRUE(DecodeStreamSound(EncodeStreamSound(pcm, {}, 4096), back));
    EXPECT_LE(MeasureCodingError(pcm, back).Rms, 25);
}

TEST(WadyEncoders, RefuseClipsNoDecoderPlays) {
    PcmClip pcm = Make(Signal::Sine, 2, 10);
    pcm.Channels = 3;
    EXPECT_TRUE(EncodePackedSound(pcm).empty());
    EXPECT_TRUE(EncodeStreamSound(pcm, {}, 100).empty());
    pcm.Channels = 2;
    pcm.Rate = 7999;
    EXPECT_TRUE(EncodePackedSound(pcm).empty());
    EXPECT_TRUE(EncodeStreamSound(pcm, {}, 100).empty());
    pcm.Rate = 192000;
    EXPECT_FALSE(EncodePackedSound(pcm).empty());
}

TEST(CodingError, CountsMissingSamplesAgainstZero) {
    PcmClip a;
    a.Samples = {100, -100, 0, 0};
    PcmClip b;
    b.Samples = {100, -97, 0};
    CodingError error = MeasureCodingError(a, b);
    EXPECT_EQ(error.Peak, 3);
    EXPECT_DOUBLE_EQ(error.Rms, std::sqrt(9.0 / 4));
    b.Samples.push_back(0);
    b.Samples.push_back(-50);
    EXPECT_EQ(MeasureCodingError(a, b).Peak, 50);
    EXPECT_EQ(MeasureCodingError(PcmClip(), PcmClip()).Rms, 0);
}

} // namespace
} // namespace orv
