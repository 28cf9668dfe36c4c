// orvtool wady: WAV files to WADY sounds and back, run as players run the tool.
#include "base/files.h"
#include "run_program.h"
#include "sound/wady.h"
#include "test_support.h"

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

void PutTag(Bytes& out, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(tag[i]));
    }
}

// A WAV file of `bits`-bit samples in the format `tag`, with an extra chunk before the data
// (readers must skip chunks they do not know) and the data chunk's size as given.
Bytes Wav(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples,
          uint16_t bits = 16, uint16_t tag = 1, std::optional<uint32_t> dataSize = {}) {
    Bytes data;
    for (int16_t s : samples) {
        AppendU16(data, static_cast<uint16_t>(s));
    }
    Bytes out;
    PutTag(out, "RIFF");
    AppendU32(out, 0); // readers do not rely on it
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    AppendU32(out, 16);
    AppendU16(out, tag);
    AppendU16(out, channels);
    AppendU32(out, rate);
    AppendU32(out, rate * channels * bits / 8);
    AppendU16(out, static_cast<uint16_t>(channels * bits / 8));
    AppendU16(out, bits);
    PutTag(out, "LIST");
    AppendU32(out, 3);
    out.insert(out.end(), {'a', 'b', 'c', 0}); // padded to an even length
    PutTag(out, "data");
    AppendU32(out, dataSize.value_or(static_cast<uint32_t>(data.size())));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<int16_t> Tone(size_t frames, int channels) {
    std::vector<int16_t> samples;
    for (size_t f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            samples.push_back(static_cast<int16_t>(
                std::lround(9000 * std::sin(static_cast<double>(f) * (0.05 + 0.03 * c)))));
        }
    }
    return samples;
}

class WadyTool : public testing::Test {
protected:
    ProgramResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), "wady");
        return RunProgram(ORVTOOL_PATH, args, m_dir.Path(), m_output.Path());
    }
    // The samples of a WAV the tool wrote: its data chunk starts at 44.
    std::vector<int16_t> WavSamples(std::string_view name) {
        auto bytes = ReadWholeFile(m_dir / name);
        std::vector<int16_t> samples;
        if (!bytes || bytes->size() < 44) {
            ADD_FAILURE() << name << " is missing or short";
            return samples;
        }
        for (size_t at = 44; at + 1 < bytes->size(); at += 2) {
            samples.push_back(static_cast<int16_t>(LoadU16(bytes->data() + at)));
        }
        return samples;
    }
    TempDir m_dir;
    TempDir m_output;
};

TEST_F(WadyTool, BothCodecsEncodeAWavAndDecodeBackToItWithinTheReportedError) {
    std::vector<int16_t> tone = Tone(3000, 2);
    WriteFile(m_dir / "in.wav", Wav(2, 22050, tone));
    for (std::string codec : {"--packed", "--stream"}) {
        ProgramResult encoded = Run({"encode", codec, "in.wav", "out.wady"});
        ASSERT_EQ(encoded.Status, 0) << encoded.Err;
        EXPECT_NE(encoded.Out.find("coding error: RMS "), std::string::npos) << encoded.Out;
        // Without a flag the header tells the codec.
        ProgramResult decoded = Run({"decode", "out.wady", "back.wav"});
        ASSERT_EQ(decoded.Status, 0) << decoded.Err;
        EXPECT_NE(decoded.Out.find(codec.substr(2)), std::string::npos) << decoded.Out;
        std::vector<int16_t> back = WavSamples("back.wav");
        ASSERT_EQ(back.size(), tone.size()) << codec;
        PcmClip a, b;
        a.Samples = tone;
        b.Samples = back;
        CodingError error = MeasureCodingError(a, b);
        char reported[64];
        std::snprintf(reported, sizeof reported, "RMS %.2f, peak %d", error.Rms, error.Peak);
        EXPECT_NE(encoded.Out.find(reported), std::string::npos) << encoded.Out;
        EXPECT_LE(error.Peak, codec == "--stream" ? 256 : 512);
    }
}

TEST_F(WadyTool, LoopAndBlockLandInTheStreamHeaderAndInfoShowsThem) {
    WriteFile(m_dir / "in.wav", Wav(1, 11025, Tone(2000, 1)));
    ASSERT_EQ(Run({"encode", "--stream", "--loop", "700", "--block=500", "in.wav", "m01"}).Status,
              0);
    auto entry = ReadWholeFile(m_dir / "m01");
    ASSERT_TRUE(entry);
    auto header = ParseWadyHeader(*entry);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->LoopStart, 700u);
    EXPECT_EQ(header->FramesPerBlock, 500u);
    EXPECT_EQ(header->Rate, 11025u);
    ProgramResult info = Run({"info", "m01"});
    EXPECT_EQ(info.Status, 0) << info.Err;
    EXPECT_NE(info.Out.find("stream (music)"), std::string::npos) << info.Out;
    EXPECT_NE(info.Out.find("loop start: byte 700 (frame 700)"), std::string::npos) << info.Out;
    EXPECT_NE(info.Out.find("500 frames a block"), std::string::npos) << info.Out;
}

TEST_F(WadyTool, ForcingTheCodecOverridesTheHeader) {
    WriteFile(m_dir / "in.wav", Wav(1, 22050, Tone(400, 1)));
    ASSERT_EQ(Run({"encode", "--stream", "in.wav", "s.wady"}).Status, 0);
    ProgramResult result = Run({"decode", "--packed", "s.wady", "p.wav"});
    EXPECT_NE(result.Out.find("packed"), std::string::npos) << result.Out << result.Err;
    EXPECT_EQ(Run({"decode", "--packed", "--stream", "s.wady", "p.wav"}).Status, 2);
}

struct Refusal {
    std::string Name;
    Bytes File;
    std::vector<std::string> Options;
    int Status;
    std::string Message;
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.Name; }

class WadyToolRefusal : public WadyTool, public testing::WithParamInterface<Refusal> {};

TEST_P(WadyToolRefusal, SaysWhyAndWritesNothing) {
    const Refusal& r = GetParam();
    WriteFile(m_dir / "in.wav", r.File);
    std::vector<std::string> args = {"encode"};
    args.insert(args.end(), r.Options.begin(), r.Options.end());
    args.insert(args.end(), {"in.wav", "out.wady"});
    ProgramResult result = Run(args);
    EXPECT_EQ(result.Status, r.Status);
    EXPECT_NE(result.Err.find(r.Message), std::string::npos) << result.Err;
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out.wady"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WadyToolRefusal,
    testing::Values(
        Refusal{"EightBitSamples", Wav(1, 22050, {0, 0}, 8), {"--packed"}, 1,
                "8-bit samples: only 16-bit PCM is read"},
        Refusal{"FloatSamples", Wav(1, 22050, {0, 0}, 32, 3), {"--stream"}, 1,
                "format tag 3 is not PCM"},
        Refusal{"ThreeChannels", Wav(3, 22050, {0, 0, 0}), {"--packed"}, 1,
                "3 channels: only mono and stereo are read"},
        Refusal{"RateTheEngineCannotPlay", Wav(1, 4000, {0, 0}), {"--packed"}, 1,
                "4000 Hz: the engine plays 8000..192000 Hz"},
        Refusal{"NotAWav", ToBytes("just text, long enough to hold a header"), {"--packed"}, 1,
                "not a WAV file"},
        Refusal{"NoSamples", Wav(2, 22050, {}), {"--stream"}, 1, "holds no samples"},
        Refusal{"NoCodec", Wav(1, 22050, {0, 0}), {}, 2, "needs --packed or --stream"},
        Refusal{"LoopPastTheEnd", Wav(1, 22050, {0, 0}), {"--stream", "--loop", "2"}, 2,
                "--loop 2 lies past the last frame (1)"},
        Refusal{"BlockTooLarge", Wav(2, 22050, {0, 0}), {"--stream", "--block", "44101"}, 2,
                "--block takes 1..44100 frames"},
        Refusal{"LoopForAPackedSound", Wav(1, 22050, {0, 0}), {"--packed", "--loop", "0"}, 2,
                "--loop and --block belong to --stream"}),
    [](const auto& info) { return info.param.Name; });

TEST_F(WadyTool, AWavCutShortEncodesTheFramesItHoldsWithAWarning) {
    // The data chunk claims 100 bytes, 5 samples are there.
    WriteFile(m_dir / "in.wav", Wav(1, 22050, {1, 2, 3, 4, 5}, 16, 1, 100));
    ProgramResult result = Run({"encode", "--packed", "in.wav", "out.wady"});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_NE(result.Err.find("warning: in.wav: the data chunk ends early"), std::string::npos)
        << result.Err;
    EXPECT_NE(result.Out.find("5 frames"), std::string::npos) << result.Out;
}

TEST_F(WadyTool, EntriesThePlayerRefusesAreReportedWithTheReason) {
    WadyHeader header;
    header.FormatTag = 1;
    header.FormatChannels = 2;
    header.Rate = 44100;
    header.BitsPerSample = 8;
    WriteFile(m_dir / "eight", WriteWadyHeader(header));
    header.BitsPerSample = 16;
    header.FormatChannels = 0;
    WriteFile(m_dir / "none", WriteWadyHeader(header));
    WriteFile(m_dir / "short", ToBytes("WADY"));
    for (auto [name, reason] : std::vector<std::pair<std::string, std::string>>{
             {"eight", "8 bits a sample"},
             {"none", "0 channels"},
             {"short", "shorter than a WADY header"},
             {"missing", "cannot read missing"}}) {
        for (std::string action : {"info", "decode"}) {
            std::vector<std::string> args = {action, name};
            if (action == "decode") {
                args.push_back("out.wav");
            }
            ProgramResult result = Run(args);
            EXPECT_EQ(result.Status, 1) << name;
            EXPECT_NE(result.Err.find(reason), std::string::npos) << name << ": " << result.Err;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out.wav"));
}

} // namespace
} // namespace orv::test
