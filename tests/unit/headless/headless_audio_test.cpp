// The mix of a headless run on its virtual clock: the frames that fall due, `expect-audio`,
// and the whole mix that --audio-out writes.
#include "base/bytes.h"
#include "base/files.h"
#include "headless/headless_run.h"
#include "engine/engine.h"
#include "sound/mixer.h"
#include "tiny_game.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::HeadlessSession;
using test::TinyGame;

// Sleeps for 1000 passes: virtual time goes on while nothing waits for the player.
const std::vector<std::string> kLongSleep = {"*sleep 30000", ":after"};

uint64_t FramesDueAt(uint64_t ms) {
    return ms * 44100 / 1000;
}

PcmClip Tone(uint32_t rate, size_t frames, int16_t level) {
    PcmClip clip;
    clip.Rate = rate;
    clip.Samples.resize(frames);
    for (size_t i = 0; i < frames; ++i) {
        clip.Samples[i] = static_cast<int16_t>(i % 20 < 10 ? level : -level);
    }
    return clip;
}

TEST(HeadlessAudio, ExpectAudioTellsSoundFromSilenceOverTheLastMilliseconds) {
    TinyGame game(kLongSleep);
    HeadlessSession session(game.Path());
    // The engine starts its mixer on the audio output with its first pass.
    ASSERT_EQ(session.Play("ms 1000\nexpect-audio 1000 silent"), RunStatus::Done)
        << session.Err.str();
    Mixer& mixer = session.Game->sound.mixer;

    // Half a second of sound from about 1000 ms.
    mixer.PlayClip(1, Tone(22050, 11025, 5000), false, 0);
    EXPECT_EQ(session.Play("ms 100\nexpect-audio 100 sound\nexpect-audio 60000 sound"),
              RunStatus::Done)
        << session.Err.str();
    EXPECT_EQ(session.Play("ms 1000\nexpect-audio 500 silent\nexpect-audio 1000 sound"),
              RunStatus::Done)
        << session.Err.str();
    EXPECT_EQ(session.Platform.FramesMixed(), FramesDueAt(session.Platform.Now()));

    EXPECT_EQ(session.Play("echo one\nexpect-audio 500 sound\necho not reached"),
              RunStatus::ExpectFailed);
    EXPECT_EQ(session.Err.str(),
              "expect failed at line 2: audio of the last 500 ms is silent, expected sound\n");
    session.Err.str("");
    EXPECT_EQ(session.Play("expect-audio 1000 silent"), RunStatus::ExpectFailed);
    EXPECT_EQ(session.Err.str(),
              "expect failed at line 1: audio of the last 1000 ms is sound, expected silent\n");

    // A sound just above the threshold counts; one at it does not (a sample of 8 is silence).
    mixer.PlayClip(1, Tone(44100, 441, 9), false, 0);
    EXPECT_EQ(session.Play("ms 20\nexpect-audio 20 sound"), RunStatus::Done) << session.Err.str();
    mixer.PlayClip(1, Tone(44100, 441, 8), false, 0);
    EXPECT_EQ(session.Play("ms 100\nexpect-audio 50 silent"), RunStatus::Done) << session.Err.str();

    // A minute later the first sound has left what is kept; a new one is found again after
    // the kept minute has wrapped round.
    EXPECT_EQ(session.Play("ms 61000\nexpect-audio 60000 silent"), RunStatus::Done)
        << session.Err.str();
    mixer.PlayClip(1, Tone(22050, 2205, 5000), false, 0);
    EXPECT_EQ(session.Play("ms 200\nexpect-audio 60000 sound\nexpect-audio 50 silent"),
              RunStatus::Done)
        << session.Err.str();
}

TEST(HeadlessAudio, TheWholeMixHoldsEachSoundAtTheFrameItsVirtualTimeStartedIt) {
    TinyGame game(kLongSleep);
    HeadlessSession session(game.Path());
    session.Platform.KeepWholeMix();
    ASSERT_EQ(session.Play("ms 333"), RunStatus::Done);
    Mixer& mixer = session.Game->sound.mixer;
    uint64_t start = session.Platform.FramesMixed();
    ASSERT_EQ(start, FramesDueAt(session.Platform.Now()));
    PcmClip clip = Tone(44100, 1000, 1234);
    clip.Samples[0] = 7777;
    mixer.PlayClip(0, clip, false, 0);
    ASSERT_EQ(session.Play("ms 100"), RunStatus::Done);

    std::span<const int16_t> mix = session.Platform.WholeMix();
    ASSERT_EQ(mix.size(), 2 * FramesDueAt(session.Platform.Now()));
    EXPECT_EQ(mix[2 * start - 1], 0);
    EXPECT_EQ(mix[2 * start], 7777);
    EXPECT_EQ(mix[2 * start + 1], 7777);
    EXPECT_EQ(mix[2 * (start + 999)], -1234);
    EXPECT_EQ(mix[2 * (start + 1000)], 0);
    // After the output stops, time still passes in silence.
    session.Platform.StopAudio();
    mixer.PlayClip(0, clip, true, 0);
    ASSERT_EQ(session.Play("ms 100\nexpect-audio 100 silent"), RunStatus::Done);
}

TEST(HeadlessAudio, AudioOutWritesOneFrameForEveryStepOfVirtualTime) {
    TinyGame game(kLongSleep);
    test::TempDir work;
    test::WriteFile(work / "run.play", "ms 1000\nexpect-audio 1000 silent\nms 7\n");
    RunOptions options;
    options.Headless = true;
    options.GameDirectory = game.Path();
    options.PlayFile = work / "run.play";
    options.AudioOut = work / "mix.wav";
    std::ostringstream out, err;
    ASSERT_EQ(RunHeadless(options, out, err), 0) << err.str();
    auto wav = ReadWholeFile(work / "mix.wav");
    ASSERT_TRUE(wav);
    ASSERT_GE(wav->size(), 44u);
    // Passes are 20 ms: "ms 7" runs one more pass, so the run ends at 1020 ms.
    uint32_t dataBytes = ReadU32(*wav, 40).value_or(0);
    EXPECT_EQ(dataBytes, 4 * FramesDueAt(1020));
    EXPECT_EQ(wav->size(), 44 + dataBytes);
}

} // namespace
} // namespace orv
