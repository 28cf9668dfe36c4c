#pragma once
// Synthetic voices for the Ogg tests: a tone with silence after it, as a WAV file and as
// Ogg Vorbis made by `orvtool ogg encode` (the encoder lives in the tool alone).

#include "base/bytes.h"
#include "base/files.h"
#include "run_program.h"
#include "sound/pcm.h"
#include "test_support.h"

#include <cmath>
#include <numbers>
#include <string>

namespace orv::test {

struct ToneSpec {
    int32_t Channels = 1;
    uint32_t Rate = 22050;
    double ToneSeconds = 1.0;
    double SilenceSeconds = 0.0;
    // Peak of each channel, as a fraction of full scale.
    double Left = 0.5, Right = 0.25;
};

inline size_t ToneFrames(const ToneSpec& spec) {
    return static_cast<size_t>(std::lround(spec.ToneSeconds * spec.Rate));
}

// 440 Hz with 10 ms fades, so that the tone starts and ends without a click that the codec
// would smear into the silence.
inline PcmClip Tone(const ToneSpec& spec) {
    PcmClip clip;
    clip.Channels = spec.Channels;
    clip.Rate = spec.Rate;
    size_t tone = ToneFrames(spec);
    size_t total = tone + static_cast<size_t>(std::lround(spec.SilenceSeconds * spec.Rate));
    double fade = 0.01 * spec.Rate;
    for (size_t i = 0; i < total; ++i) {
        double level = 0;
        if (i < tone) {
            level = std::min(
                {1.0, static_cast<double>(i) / fade, static_cast<double>(tone - i) / fade});
        }
        double wave =
            level * std::sin(2 * std::numbers::pi * 440.0 * static_cast<double>(i) / spec.Rate);
        for (int c = 0; c < spec.Channels; ++c) {
            double peak = c == 0 ? spec.Left : spec.Right;
            clip.Samples.push_back(static_cast<int16_t>(std::lround(wave * peak * 32767)));
        }
    }
    return clip;
}

inline Bytes WavFile(const PcmClip& clip, uint16_t bits = 16) {
    Bytes out;
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<uint8_t>(t[i]));
        }
    };
    uint32_t data = static_cast<uint32_t>(clip.Samples.size() * 2);
    auto channels = static_cast<uint16_t>(clip.Channels);
    tag("RIFF");
    AppendU32(out, 36 + data);
    tag("WAVE");
    tag("fmt ");
    AppendU32(out, 16);
    AppendU16(out, 1);
    AppendU16(out, channels);
    AppendU32(out, clip.Rate);
    AppendU32(out, clip.Rate * channels * 2);
    AppendU16(out, static_cast<uint16_t>(channels * 2));
    AppendU16(out, bits);
    tag("data");
    AppendU32(out, data);
    for (int16_t s : clip.Samples) {
        AppendU16(out, static_cast<uint16_t>(s));
    }
    return out;
}

// The clip encoded by orvtool; empty (with a test failure) when the tool failed.
inline Bytes EncodeOgg(const PcmClip& clip, const TempDir& dir, const std::string& name) {
    WriteFile(dir / (name + ".wav"), WavFile(clip));
    ProgramResult run = RunProgram(ORVTOOL_PATH, {"ogg", "encode", name + ".wav", name + ".ogg"},
                                   dir.Path(), dir.Path());
    EXPECT_EQ(run.Status, 0) << run.Err;
    auto bytes = ReadWholeFile(dir / (name + ".ogg"));
    return bytes ? *bytes : Bytes();
}

} // namespace orv::test
