// The sound subsystem on the engine: the music command's sequences, the deferral while the
// game is in the background, the music ring against a whole decode of the same stream, and
// the order voices and effects are looked for in.
#include "sound/sound.h"

#include "engine/engine.h"
#include "sound/wady.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/fake_platform.h"
#include "test_support.h"

namespace orv::test {
namespace {

constexpr uint32_t kRate = 44100;
constexpr uint32_t kBlockFrames = 4410;
constexpr size_t kLoopFrame = 10000;

// A second of a signal no two stretches of which are alike, so that a misplaced block shows.
PcmClip Signal(size_t frames) {
    PcmClip clip;
    clip.Rate = kRate;
    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / kRate;
        double v = 6000 * std::sin(2 * 3.14159 * 220 * t) + 3000 * std::sin(2 * 3.14159 * 37 * t * t);
        clip.Samples.push_back(static_cast<int16_t>(v));
    }
    return clip;
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(m_dir / "ov_data.orv", MakeTextArchive({{"main", ToBytes("*sleep 10")}}));
        WriteFile(m_dir / "ov_gra.orv", MakeArchive({}));
        m_music = EncodeStreamSound(Signal(kRate), kLoopFrame, kBlockFrames);
        ASSERT_FALSE(m_music.empty());
        WriteFile(m_dir / "ov_bgm.orv", MakeArchive({{"M01", m_music}, {"M02", m_music}}));
    }

    Engine& Start() {
        m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
        m_platform.Pass(); // the first pass starts the game and the sound
        m_engine->settings.MusicVolume = 0;
        return *m_engine;
    }

    int32_t S(int n) { return m_engine->vars.S(n); }

    TempDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
    Bytes m_music;
};

TEST_F(SoundTest, TheMusicCommandStartsATrackOnceFadesItAndFollowsTheSwitch) {
    Engine& e = Start();
    Sound& sound = e.sound;
    ASSERT_TRUE(sound.SoundReady);
    sound.SetMusic(1);
    EXPECT_EQ(S(cell::MusicRequested), 1);
    EXPECT_EQ(S(cell::MusicPlaying), 1);
    m_platform.MixFor(500);
    size_t position = sound.mixer.PlayPosition(sound_slot::Music);
    sound.SetMusic(1);
    EXPECT_EQ(sound.mixer.PlayPosition(sound_slot::Music), position) << "not started again";

    // A fade of 100 a tick from full volume falls past -3000 at its 30th tick.
    sound.SetMusic(-100);
    EXPECT_EQ(S(cell::MusicRequested), 0);
    EXPECT_EQ(S(cell::MusicPlaying), 0);
    for (int tick = 1; tick < 30; ++tick) {
        sound.PumpMusic();
    }
    EXPECT_TRUE(sound.mixer.IsPlaying(sound_slot::Music));
    EXPECT_EQ(sound.music.CurrentMusicVolume, -2901);
    sound.PumpMusic();
    EXPECT_FALSE(sound.mixer.IsPlaying(sound_slot::Music));
    EXPECT_EQ(sound.music.FadeLevel, 0);
    sound.SetMusic(0); // nothing plays: nothing to do
    EXPECT_FALSE(sound.music.Playing());

    e.settings.BGM_ENA = false;
    sound.SetMusic(5);
    EXPECT_EQ(S(cell::MusicRequested), 5);
    EXPECT_EQ(S(cell::MusicPlaying), 0);
    EXPECT_FALSE(sound.music.Playing());
}

TEST_F(SoundTest, ATrackAskedForInTheBackgroundStartsThreeTicksLaterUnlessCancelled) {
    Engine& e = Start();
    Sound& sound = e.sound;
    m_platform.Active = false;
    EXPECT_TRUE(sound.PlayMusic(1));
    EXPECT_EQ(sound.PendingState, 3);
    m_platform.Active = true;
    sound.DeferredMusicTick();
    sound.DeferredMusicTick();
    EXPECT_FALSE(sound.music.Playing());
    sound.DeferredMusicTick();
    EXPECT_TRUE(sound.music.Playing());
    EXPECT_EQ(sound.PendingState, 0);

    // Stopping, a fade and another track each drop a track still waiting.
    using Cancel = void (*)(Sound&);
    for (Cancel cancel : {Cancel{[](Sound& s) { s.StopMusic(); }},
                          Cancel{[](Sound& s) { s.FadeOutMusic(10); }},
                          Cancel{[](Sound& s) { s.PlayMusic(2); }}}) {
        sound.StopMusic();
        m_platform.Active = false;
        sound.PlayMusic(1);
        m_platform.Active = true;
        cancel(sound);
        sound.StopMusic();
        for (int tick = 0; tick < 4; ++tick) {
            sound.DeferredMusicTick();
        }
        EXPECT_FALSE(sound.music.Playing());
    }
}

TEST_F(SoundTest, TheMusicRingPlaysTheStreamSampleForSampleAcrossLoopWraps) {
    Engine& e = Start();
    // The whole stream decoded at once, then its loop region again and again.
    std::optional<WadyHeader> header = ParseWadyHeader(m_music);
    ASSERT_TRUE(header);
    StreamDecoder decoder;
    decoder.Start(*header);
    std::vector<int16_t> first(header->DataLength);
    first.resize(decoder.Decode(std::span(m_music).subspan(kWadyHeaderSize, header->DataLength),
                                first, false));
    std::vector<int16_t> expected = first;
    while (expected.size() < 4 * first.size()) {
        expected.insert(expected.end(), first.begin() + kLoopFrame, first.end());
    }

    e.sound.SetMusic(1);
    std::vector<int16_t> played;
    while (played.size() < expected.size()) {
        std::vector<int16_t> mix = m_platform.MixFor(55);
        for (size_t i = 0; i < mix.size(); i += 2) {
            played.push_back(mix[i]);
        }
        e.sound.PumpMusic();
    }
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(played[i], expected[i]) << "frame " << i;
    }
}

TEST_F(SoundTest, AStreamWithAnEmptyOrTinyLoopRegionNeitherHangsNorReadsOutside) {
    Bytes music = m_music;
    // Loop start at the very end of the data, then one byte before it.
    for (uint32_t back : {0u, 1u}) {
        uint32_t length = LoadU32(music.data() + 12);
        StoreU32(music.data() + 24, length - back);
        WriteFile(m_dir / "ov_bgm.orv", MakeArchive({{"M01", music}}));
        Engine& e = Start();
        e.sound.SetMusic(1);
        for (int tick = 0; tick < 40; ++tick) {
            m_platform.MixFor(55);
            e.sound.PumpMusic();
        }
        EXPECT_TRUE(e.sound.music.Playing());
    }
}

TEST_F(SoundTest, VoicesAreLookedForInTheOggSlotsFromTheLastThenInTheEffects) {
    PcmClip tone = Signal(2205);
    Bytes effect = EncodePackedSound(tone);
    // The same name in Ogg slot 2 (a broken voice: found, but it plays nothing) and in SE 0.
    WriteFile(m_dir / "ov_ogg3.orv", MakeArchive({{"BOTH", ToBytes("not vorbis")}}));
    WriteFile(m_dir / "ov_se0.orv", MakeArchive({{"BOTH", effect}, {"ONLYSE", effect}}));
    WriteFile(m_dir / "ov_se2.orv", MakeArchive({{"LOOPER", effect}}));
    Engine& e = Start();
    Sound& sound = e.sound;
    EXPECT_EQ(sound.PlayVoice("both"), 0);
    EXPECT_FALSE(sound.mixer.IsPlaying(sound_slot::Effect)) << "the voice archive comes first";
    EXPECT_EQ(sound.PlayVoice("onlyse"), 0);
    EXPECT_TRUE(sound.mixer.IsPlaying(sound_slot::Effect));
    EXPECT_EQ(sound.PlayVoice("looper"), 0);
    EXPECT_TRUE(sound.mixer.IsPlaying(sound_slot::Loop));
    EXPECT_STREQ(sound.LoopName, "looper");
    sound.StopLoop();
    EXPECT_STREQ(sound.LoopName, "");
    EXPECT_EQ(sound.PlayVoice("missing"), 1);

    // In the background only the sample voice plays; with effects off none is looked for.
    sound.StopAllChannels();
    m_platform.Active = false;
    EXPECT_EQ(sound.PlayVoice("onlyse"), 0);
    EXPECT_FALSE(sound.mixer.IsPlaying(sound_slot::Effect));
    m_platform.Active = true;
    e.settings.SE_ENA = false;
    EXPECT_EQ(sound.PlayVoice("onlyse"), 1);
}

} // namespace
} // namespace orv::test
