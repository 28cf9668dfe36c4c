// orvtool ogg: WAV files to Ogg Vorbis voices and what the engine makes of them, run as
// players run the tool.
#include "sound/ogg_samples.h"
#include "sound/ogg_voice.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

class OggTool : public testing::Test {
protected:
    test::ProgramResult Run(const std::vector<std::string>& args) {
        return test::RunProgram(ORVTOOL_PATH, args, m_dir.Path(), m_dir.Path());
    }
    test::TempDir m_dir;
};

TEST_F(OggTool, InfoShowsTheFormatAndThePlayableLength) {
    // 1.3 s of mono at 22050 Hz, the last 0.3 s silent: the engine plays about a second.
    test::EncodeOgg(test::Tone({1, 22050, 1.0, 0.3}), m_dir, "voice");
    auto run = Run({"ogg", "info", "voice.ogg"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find("1 channel, 22050 Hz"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("frames 28665 (1.300 s)"), std::string::npos) << run.Out;
    size_t playable = run.Out.find("playable ");
    ASSERT_NE(playable, std::string::npos) << run.Out;
    long long frames = std::stoll(run.Out.substr(playable + 9));
    EXPECT_GE(frames, 22050 - 220);
    EXPECT_LE(frames, 22050 + 2048);
    EXPECT_NE(run.Out.find("after trimming"), std::string::npos) << run.Out;

    test::WriteFile(m_dir / "junk.ogg", "OggS but nothing after");
    run = Run({"ogg", "info", "junk.ogg"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("junk.ogg"), std::string::npos);
}

TEST_F(OggTool, EncodeRefusesWhatTheEngineCouldNotPlayAndWritesNothing) {
    PcmClip three = test::Tone({2, 22050, 0.1, 0});
    three.Channels = 3;
    three.Samples.resize(three.Samples.size() / 6 * 6);
    struct Case {
        const char* What;
        Bytes File;
    } cases[] = {
        {"8 bits", test::WavFile(test::Tone({1, 22050, 0.1, 0}), 8)},
        {"3 channels", test::WavFile(three)},
        {"4000 Hz", test::WavFile(test::Tone({1, 4000, 0.1, 0}))},
        {"no samples", test::WavFile(test::Tone({1, 22050, 0, 0}))},
        {"not a WAV file", test::ToBytes("RIFF\4\0\0\0AVI LIST")},
    };
    for (const Case& c : cases) {
        test::WriteFile(m_dir / "in.wav", c.File);
        auto run = Run({"ogg", "encode", "in.wav", "out.ogg"});
        EXPECT_EQ(run.Status, 1) << c.What;
        EXPECT_NE(run.Err.find("in.wav"), std::string::npos) << c.What << ": " << run.Err;
        EXPECT_FALSE(std::filesystem::exists(m_dir / "out.ogg")) << c.What;
    }
    EXPECT_EQ(Run({"ogg", "encode", "--quality", "2", "in.wav", "out.ogg"}).Status, 2);
    EXPECT_EQ(Run({"ogg", "encode", "in.wav"}).Status, 2);
}

TEST_F(OggTool, EncodeReadsADataChunkThatClaimsMoreThanTheFileHolds) {
    // As a recorder leaves a file it never finished: the sizes say 0xFFFFFFFF.
    PcmClip tone = test::Tone({1, 16000, 0.5, 0});
    Bytes wav = test::WavFile(tone);
    StoreU32(&wav[4], 0xFFFFFFFFu);
    StoreU32(&wav[40], 0xFFFFFFFFu);
    test::WriteFile(m_dir / "in.wav", wav);
    ASSERT_EQ(Run({"ogg", "encode", "in.wav", "out.ogg"}).Status, 0);
    auto info = ReadOggInfo(*ReadWholeFile(m_dir / "out.ogg"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->Frames, static_cast<int64_t>(tone.Frames()));
}

TEST_F(OggTool, EncodeGivesTheSameBytesEveryTimeAndFollowsTheQuality) {
    test::WriteFile(m_dir / "in.wav", test::WavFile(test::Tone({2, 44100, 0.5, 0})));
    ASSERT_EQ(Run({"ogg", "encode", "in.wav", "a.ogg"}).Status, 0);
    ASSERT_EQ(Run({"ogg", "encode", "in.wav", "b.ogg"}).Status, 0);
    ASSERT_EQ(Run({"ogg", "encode", "-q", "1.0", "in.wav", "best.ogg"}).Status, 0);
    auto a = ReadWholeFile(m_dir / "a.ogg"), b = ReadWholeFile(m_dir / "b.ogg");
    auto best = ReadWholeFile(m_dir / "best.ogg");
    ASSERT_TRUE(a && b && best);
    EXPECT_EQ(*a, *b);
    EXPECT_GT(best->size(), a->size());
}

} // namespace
} // namespace orv
