// The mixer: resampling, channel layout, saturation, volumes and their ramps, the end of a
// clip, loops, the music ring written while it plays, and the play position.
#include "sound/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

namespace orv {
namespace {

constexpr uint32_t kOut = 44100;
constexpr size_t kBuffer = 1024;

// Mixes `frames` frames in buffers of `buffer` frames, as an audio device asks for them.
std::vector<int16_t> MixFrames(Mixer& mixer, size_t frames, size_t buffer = kBuffer) {
    std::vector<int16_t> out(2 * frames);
    for (size_t done = 0; done < frames; done += buffer) {
        size_t count = std::min(buffer, frames - done);
        mixer.Mix(std::span(out).subspan(2 * done, 2 * count));
    }
    return out;
}

PcmClip Constant(int16_t value, size_t frames, uint32_t rate = kOut, int32_t channels = 1) {
    PcmClip clip;
    clip.Channels = channels;
    clip.Rate = rate;
    clip.Samples.assign(frames * static_cast<size_t>(channels), value);
    return clip;
}

// Frame i holds i + 1 on the left and -(i + 1) on the right (mono: the left alone).
PcmClip Counting(size_t frames, int32_t channels = 1, uint32_t rate = kOut) {
    PcmClip clip;
    clip.Channels = channels;
    clip.Rate = rate;
    for (size_t i = 0; i < frames; ++i) {
        clip.Samples.push_back(static_cast<int16_t>(i + 1));
        if (channels == 2) {
            clip.Samples.push_back(static_cast<int16_t>(-static_cast<int>(i + 1)));
        }
    }
    return clip;
}

TEST(LinearGain, FollowsTenToTheAttenuationOverTwoThousand) {
    EXPECT_FLOAT_EQ(LinearGain(0), 1.0f);
    EXPECT_FLOAT_EQ(LinearGain(-2000), 0.1f);
    EXPECT_FLOAT_EQ(LinearGain(-600), static_cast<float>(std::pow(10.0, -0.3)));
    EXPECT_NEAR(LinearGain(-7500), 1.778e-4f, 1e-7f);
    EXPECT_GT(LinearGain(-9998), 0.0f);
    EXPECT_EQ(LinearGain(-9999), 0.0f);
    EXPECT_EQ(LinearGain(-20000), 0.0f);
    // The volumes only attenuate.
    EXPECT_FLOAT_EQ(LinearGain(500), 1.0f);
}

struct SineCase {
    uint32_t Rate;
    int32_t Channels;
    double Hz;
};

class MixerResampling : public testing::TestWithParam<SineCase> {};

// A sine at the source's rate comes out as the same sine at the output rate: frequency,
// amplitude and phase within what linear interpolation gives, mono on both channels and
// stereo on its own.
TEST_P(MixerResampling, KeepsASinesFrequencyAndAmplitude) {
    const SineCase c = GetParam();
    constexpr double kAmplitude = 12000.0;
    const size_t sourceFrames = c.Rate; // one second
    PcmClip clip;
    clip.Rate = c.Rate;
    clip.Channels = c.Channels;
    for (size_t i = 0; i < sourceFrames; ++i) {
        double phase = 2 * std::numbers::pi * c.Hz * static_cast<double>(i) / c.Rate;
        clip.Samples.push_back(static_cast<int16_t>(std::lround(kAmplitude * std::sin(phase))));
        if (c.Channels == 2) {
            // The right channel is the cosine, so that swapped or merged channels show.
            clip.Samples.push_back(static_cast<int16_t>(std::lround(kAmplitude * std::cos(phase))));
        }
    }
    Mixer mixer;
    mixer.PlayClip(0, std::move(clip), false, 0);
    const size_t frames = kOut / 2;
    std::vector<int16_t> out = MixFrames(mixer, frames);

    // Linear interpolation of a sine of angular step s per source frame errs by at most
    // A * s^2 / 8; one part more for rounding.
    double step = 2 * std::numbers::pi * c.Hz / c.Rate;
    double bound = kAmplitude * step * step / 8 + 2;
    double worst = 0, peak = 0;
    for (size_t i = 0; i < frames; ++i) {
        double phase = 2 * std::numbers::pi * c.Hz * static_cast<double>(i) / kOut;
        double left = kAmplitude * std::sin(phase);
        double right = c.Channels == 2 ? kAmplitude * std::cos(phase) : left;
        worst = std::max({worst, std::abs(out[2 * i] - left), std::abs(out[2 * i + 1] - right)});
        peak = std::max(peak, std::abs(static_cast<double>(out[2 * i])));
        if (c.Channels == 1) {
            ASSERT_EQ(out[2 * i], out[2 * i + 1]) << "frame " << i;
        }
    }
    EXPECT_LE(worst, bound);
    EXPECT_NEAR(peak, kAmplitude, kAmplitude * 0.02);
}

INSTANTIATE_TEST_SUITE_P(Rates, MixerResampling,
                         testing::Values(SineCase{22050, 1, 1000}, SineCase{22050, 2, 440},
                                         SineCase{11025, 1, 300}, SineCase{44100, 2, 1000},
                                         SineCase{48000, 1, 1000}, SineCase{32000, 2, 2500}));

TEST(MixerSum, SaturatesInsteadOfWrappingWhenLoudSourcesAdd) {
    Mixer mixer;
    mixer.PlayClip(0, Constant(30000, 64), false, 0);
    mixer.PlayClip(1, Constant(30000, 64), false, 0);
    mixer.PlayClip(2, Constant(-30000, 64, kOut, 2), false, 0);
    mixer.PlayClip(3, Constant(-30000, 64, kOut, 2), false, 0);
    mixer.PlayClip(4, Constant(-30000, 64, kOut, 2), false, 0);
    // 60000 - 90000 = -30000: the sum is taken whole before it is limited.
    std::vector<int16_t> out = MixFrames(mixer, 64);
    EXPECT_EQ(out[0], -30000);
    mixer.Stop(2);
    mixer.Stop(3);
    mixer.Stop(4);
    mixer.PlayClip(0, Constant(30000, 64), false, 0);
    mixer.PlayClip(1, Constant(30000, 64), false, 0);
    out = MixFrames(mixer, 64);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t s) { return s == 32767; }));
    mixer.PlayClip(0, Constant(-30000, 64), false, 0);
    mixer.PlayClip(1, Constant(-30000, 64), false, 0);
    out = MixFrames(mixer, 64);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t s) { return s == -32768; }));
}

struct RampCase {
    const char* Name;
    bool Master;
};

class MixerGainRamp : public testing::TestWithParam<RampCase> {};

TEST_P(MixerGainRamp, AVolumeChangeRampsAcrossTheNextBuffer) {
    Mixer mixer;
    mixer.PlayClip(2, Constant(10000, 10 * kBuffer), true, 0);
    MixFrames(mixer, kBuffer);
    if (GetParam().Master) {
        mixer.SetMasterAttenuation(-2000);
    } else {
        mixer.SetAttenuation(2, -2000);
    }
    std::vector<int16_t> ramp = MixFrames(mixer, kBuffer);
    EXPECT_GE(ramp[0], 9980);
    EXPECT_NEAR(ramp[2 * kBuffer - 2], 1000, 2);
    for (size_t i = 1; i < kBuffer; ++i) {
        ASSERT_LE(ramp[2 * i], ramp[2 * i - 2]) << "frame " << i;
        // No step larger than the ramp's own: 9000 over 1024 frames.
        ASSERT_LE(ramp[2 * i - 2] - ramp[2 * i], 10) << "frame " << i;
    }
    std::vector<int16_t> after = MixFrames(mixer, kBuffer);
    EXPECT_TRUE(
        std::all_of(after.begin(), after.end(), [](int16_t s) { return std::abs(s - 1000) <= 1; }));
}

INSTANTIATE_TEST_SUITE_P(SlotAndMaster, MixerGainRamp,
                         testing::Values(RampCase{"Slot", false}, RampCase{"Master", true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(MixerGain, AFreshSoundStartsAtItsVolumeAndMinus9999IsSilent) {
    Mixer mixer;
    mixer.PlayClip(0, Constant(10000, 100), false, -2000);
    std::vector<int16_t> out = MixFrames(mixer, 100);
    EXPECT_NEAR(out[0], 1000, 1);
    EXPECT_NEAR(out[199], 1000, 1);

    mixer.PlayClip(0, Constant(30000, 22050, 22050), false, -9999);
    out = MixFrames(mixer, 4410);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t s) { return s == 0; }));
    // Silent, it still plays on.
    EXPECT_TRUE(mixer.IsPlaying(0));
    EXPECT_EQ(mixer.PlayPosition(0), 2205u);

    mixer.PlayClip(0, Constant(30000, 1000), true, 0);
    mixer.SetMasterAttenuation(-9999);
    MixFrames(mixer, kBuffer); // the ramp down
    out = MixFrames(mixer, kBuffer);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t s) { return s == 0; }));
}

TEST(MixerClips, AClipPlayedOnceEndsAfterItsLastFrame) {
    Mixer mixer;
    mixer.PlayClip(1, Counting(100, 2), false, 0);
    std::vector<int16_t> out = MixFrames(mixer, 150, 64);
    for (size_t i = 0; i < 100; ++i) {
        ASSERT_EQ(out[2 * i], static_cast<int16_t>(i + 1));
        ASSERT_EQ(out[2 * i + 1], -static_cast<int16_t>(i + 1));
    }
    EXPECT_TRUE(std::all_of(out.begin() + 200, out.end(), [](int16_t s) { return s == 0; }));
    EXPECT_FALSE(mixer.IsPlaying(1));
    EXPECT_EQ(mixer.PlayPosition(1), 0u);

    // Exactly at its end, in a buffer of its length.
    mixer.PlayClip(1, Counting(100), false, 0);
    MixFrames(mixer, 100, 100);
    EXPECT_FALSE(mixer.IsPlaying(1));
}

TEST(MixerClips, ALoopingClipWrapsToItsFirstFrameWithoutAGap) {
    Mixer mixer;
    mixer.PlayClip(0, Counting(100), true, 0);
    std::vector<int16_t> out = MixFrames(mixer, 350, 64);
    for (size_t i = 0; i < 350; ++i) {
        ASSERT_EQ(out[2 * i], static_cast<int16_t>(i % 100 + 1)) << "frame " << i;
    }
    EXPECT_TRUE(mixer.IsPlaying(0));
    EXPECT_EQ(mixer.PlayPosition(0), 50u);

    // Resampled, the frame between the last and the first lies halfway between them.
    PcmClip resampled = Counting(100, 1, 22050);
    resampled.Samples[0] = 1000;
    mixer.PlayClip(0, std::move(resampled), true, 0);
    out = MixFrames(mixer, 202);
    EXPECT_EQ(out[2 * 198], 100);
    EXPECT_EQ(out[2 * 199], 550);
    EXPECT_EQ(out[2 * 200], 1000);
}

TEST(MixerClips, UnusableClipsAndSlotsPlayNothing) {
    Mixer mixer;
    PcmClip threeChannels = Constant(1000, 30, kOut, 3);
    mixer.PlayClip(0, threeChannels, false, 0);
    mixer.PlayClip(1, Constant(1000, 30, 0), false, 0);
    mixer.PlayClip(2, PcmClip{}, false, 0);
    mixer.PlayClip(-1, Constant(1000, 30), false, 0);
    mixer.PlayClip(Mixer::kSlots, Constant(1000, 30), false, 0);
    for (int slot = 0; slot < Mixer::kSlots; ++slot) {
        EXPECT_FALSE(mixer.IsPlaying(slot)) << "slot " << slot;
    }
    EXPECT_FALSE(mixer.IsPlaying(Mixer::kSlots));
    std::vector<int16_t> out = MixFrames(mixer, 30);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t s) { return s == 0; }));

    // Starting a sound in a slot replaces what it held; stopping silences it.
    mixer.PlayClip(3, Constant(1000, 300), false, 0);
    mixer.PlayClip(3, Constant(2000, 300), false, 0);
    EXPECT_EQ(MixFrames(mixer, 1)[0], 2000);
    mixer.Stop(3);
    EXPECT_FALSE(mixer.IsPlaying(3));
    EXPECT_EQ(MixFrames(mixer, 1)[0], 0);
    // An odd sample at the end of a buffer belongs to no frame.
    std::vector<int16_t> odd(3, 77);
    mixer.Mix(odd);
    EXPECT_EQ(odd[2], 0);
}

// The music player's use: four blocks of a ring, each refilled while another one plays.
TEST(MixerRing, PlaysWhatWasWrittenAtEachPositionWhileItPlays) {
    constexpr size_t kBlock = 1000;
    Mixer mixer;
    // Block n of the music (n counting on across passes of the ring) is written two blocks
    // ahead of the one that plays, so always while the play position is in another block.
    auto block = [](size_t n) {
        std::vector<int16_t> samples(2 * kBlock);
        for (size_t i = 0; i < kBlock; ++i) {
            samples[2 * i] = static_cast<int16_t>(100 * (n + 1));
            samples[2 * i + 1] = static_cast<int16_t>(-static_cast<int>(100 * (n + 1) + i % 7));
        }
        return samples;
    };
    mixer.StartRing(3, 2, kOut, 4 * kBlock, 0);
    mixer.WriteRing(3, 0, block(0));
    mixer.WriteRing(3, kBlock, block(1));
    for (size_t n = 0; n < 12; ++n) {
        ASSERT_EQ(mixer.PlayPosition(3), (n % 4) * kBlock);
        mixer.WriteRing(3, ((n + 2) % 4) * kBlock, block(n + 2));
        ASSERT_EQ(MixFrames(mixer, kBlock, 256), block(n)) << "block " << n;
    }

    // A write that would run past the ring's end stops at it; one past the end writes nothing.
    mixer.WriteRing(3, 4 * kBlock - 1, block(40));
    mixer.WriteRing(3, 4 * kBlock, block(41));
    std::vector<int16_t> out = MixFrames(mixer, 4 * kBlock);
    EXPECT_EQ(out[2 * (4 * kBlock - 2)], 1200); // block 11 there, untouched
    EXPECT_EQ(out[2 * (4 * kBlock - 1)], 4100);
}

TEST(MixerRing, IsCutToItsCapacityAndIsSilentUntilWrittenEachTimeItStarts) {
    Mixer mixer;
    mixer.StartRing(3, 1, kOut, 10 * Mixer::kRingCapacitySamples, 0);
    std::vector<int16_t> loud(Mixer::kRingCapacitySamples + 10, 5000);
    mixer.WriteRing(3, 0, loud);
    MixFrames(mixer, Mixer::kRingCapacitySamples - 1);
    EXPECT_EQ(mixer.PlayPosition(3), Mixer::kRingCapacitySamples - 1);
    EXPECT_EQ(MixFrames(mixer, 1)[0], 5000);
    EXPECT_EQ(mixer.PlayPosition(3), 0u);

    // A ring started again holds nothing of what the last one played.
    mixer.StartRing(3, 2, 22050, 100, 0);
    std::vector<int16_t> out = MixFrames(mixer, 500);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t s) { return s == 0; }));
    EXPECT_EQ(mixer.PlayPosition(3), 50u);
    mixer.StartRing(3, 3, kOut, 100, 0);
    EXPECT_FALSE(mixer.IsPlaying(3));
}

struct PositionCase {
    uint32_t Rate;
    size_t ClipFrames;
    bool Loop;
    size_t MixedFrames;
    size_t Position;
};

class MixerPlayPosition : public testing::TestWithParam<PositionCase> {};

// Advance, for a run that nothing hears, must leave every source where mixing would.
TEST_P(MixerPlayPosition, AdvancesByTheResampledAmountWhetherMixedOrNotOrUnheard) {
    const PositionCase c = GetParam();
    Mixer mixed, advanced;
    for (Mixer* mixer : {&mixed, &advanced}) {
        mixer->PlayClip(5, Constant(100, c.ClipFrames, c.Rate), c.Loop, 0);
    }
    MixFrames(mixed, c.MixedFrames);
    for (size_t done = 0; done < c.MixedFrames; done += 3 * kBuffer) {
        advanced.Advance(std::min(3 * kBuffer, c.MixedFrames - done));
    }
    EXPECT_EQ(mixed.PlayPosition(5), c.Position);
    EXPECT_EQ(advanced.PlayPosition(5), c.Position);
    EXPECT_EQ(advanced.IsPlaying(5), mixed.IsPlaying(5));
    if (!c.Loop) {
        // A voice measured instead of decoded plays as long, and silently.
        Mixer unheard;
        unheard.PlayUnheard(5, c.ClipFrames, 1, c.Rate, 0);
        std::vector<int16_t> out = MixFrames(unheard, c.MixedFrames);
        EXPECT_EQ(unheard.PlayPosition(5), c.Position);
        EXPECT_EQ(unheard.IsPlaying(5), mixed.IsPlaying(5));
        EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t s) { return s == 0; }));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rates, MixerPlayPosition,
    testing::Values(PositionCase{44100, 50000, false, 1000, 1000},
                    PositionCase{22050, 50000, false, 1000, 500},
                    PositionCase{22050, 50000, false, 1, 0}, // half a frame
                    PositionCase{11025, 50000, false, 999, 249},
                    PositionCase{48000, 50000, false, 44100, 48000},
                    PositionCase{32000, 50000, false, 441, 320},
                    // A loop reports its place within one pass.
                    PositionCase{22050, 1000, true, 5000, 500},
                    PositionCase{48000, 999, true, 44100 + 441, 48480 % 999},
                    // A minute of a long sound lands on the frame its rate says, no drift.
                    PositionCase{22050, 22050 * 70, false, 44100 * 60, 22050 * 60},
                    PositionCase{44099, 44099 * 70, false, 44100 * 60, 44099 * 60},
                    // Played once to its end: the slot is empty.
                    PositionCase{22050, 1000, false, 2000, 0},
                    PositionCase{48000, 1000, false, 1000, 0}));

} // namespace
} // namespace orv
