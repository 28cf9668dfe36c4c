// Writes the sounds of a play-test game as WAV files of steady tones, from a list; the
// play-test driver then encodes them with orvtool (Ogg voices, packed effects, streamed
// music) and packs each folder into its archive, as game data is made.
//
//   play_sound_maker LIST OUTDIR
//
// LIST has one sound a line; blank lines and lines starting with '#' are skipped:
//   ARCHIVE NAME SECONDS HZ [RATE [CHANNELS [LOOP_SECONDS]]]
// written as OUTDIR/ARCHIVE/NAME.wav: a sine of HZ, a quarter of full scale, SECONDS long,
// at RATE (default 22050) with 1 or 2 CHANNELS (default 1). A sound with LOOP_SECONDS also
// gets NAME.loop, the frame its music loops back to.
#include "base/files.h"
#include "sound/wav_file.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <sstream>
#include <string>

namespace {

constexpr double kAmplitude = 8192;
// Voices and effects fade in and out over this long, so that they start and end without a
// click that a test of silence would hear.
constexpr double kEdgeSeconds = 0.005;

orv::PcmClip Tone(double seconds, double hz, uint32_t rate, int32_t channels) {
    orv::PcmClip clip;
    clip.Rate = rate;
    clip.Channels = channels;
    auto frames = static_cast<size_t>(std::lround(seconds * rate));
    auto edge = static_cast<size_t>(kEdgeSeconds * rate);
    for (size_t i = 0; i < frames; ++i) {
        double envelope = 1.0;
        if (i < edge) {
            envelope = static_cast<double>(i) / static_cast<double>(edge);
        } else if (frames - i < edge) {
            envelope = static_cast<double>(frames - i) / static_cast<double>(edge);
        }
        double value = kAmplitude * envelope * std::sin(2 * std::numbers::pi * hz * i / rate);
        for (int32_t c = 0; c < channels; ++c) {
            clip.Samples.push_back(static_cast<int16_t>(std::lround(value)));
        }
    }
    return clip;
}

bool WriteSound(const std::string& line, const std::filesystem::path& out) {
    std::istringstream in(line);
    std::string archive, name;
    double seconds = 0, hz = 0, loopSeconds = -1;
    uint32_t rate = 22050;
    int32_t channels = 1;
    if (!(in >> archive >> name >> seconds >> hz) || seconds <= 0 || hz <= 0) {
        std::cerr << "play_sound_maker: ARCHIVE NAME SECONDS HZ expected: " << line << '\n';
        return false;
    }
    in >> rate >> channels >> loopSeconds;
    std::filesystem::path folder = out / archive;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::string error = orv::WriteFileAtomic(folder / (name + ".wav"),
                                             orv::ClipWavBytes(Tone(seconds, hz, rate, channels)));
    if (error.empty() && loopSeconds >= 0) {
        std::string frame = std::to_string(std::lround(loopSeconds * rate)) + "\n";
        error = orv::WriteFileAtomic(folder / (name + ".loop"), std::string_view(frame));
    }
    if (!error.empty()) {
        std::cerr << "play_sound_maker: " << error << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: play_sound_maker LIST OUTDIR\n";
        return 2;
    }
    std::ifstream list(argv[1]);
    if (!list) {
        std::cerr << "play_sound_maker: cannot read " << argv[1] << '\n';
        return 1;
    }
    std::string line;
    while (std::getline(list, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (!WriteSound(line, argv[2])) {
            return 1;
        }
    }
    return 0;
}
