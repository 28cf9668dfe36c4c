// Synthesises the demo game's music and sound effect as WAV files; the build turns them into
// WADY sounds with orvtool and packs them, as a game's data is made.
//
//   demo_sounds OUTDIR
//
// M01.wav    the music: a slow evening tune in F major, an intro of two bars and a loop of
//            eight; M01.loop holds the frame the loop starts at.
// CHIME.wav  a soft chime, for the falling stars.
//
// Everything is computed from the notes below, so every build writes the same files.
#include "base/files.h"
#include "sound/wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <numbers>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace demo {
namespace {

constexpr uint32_t kRate = 22050;
constexpr double kBeat = 0.75; // 80 beats a minute
constexpr double kBar = 4 * kBeat;
constexpr int kIntroBars = 2;
constexpr int kLoopBars = 8;
constexpr double kTau = 2 * std::numbers::pi;

size_t Frames(double seconds) {
    return static_cast<size_t>(std::lround(seconds * kRate));
}

double Frequency(int midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

// Stereo in floating point. Past the end of a looping track a note carries on from the loop
// start, so that the loop has no seam; a track that does not loop cuts it.
class Track {
public:
    Track(size_t frames, std::optional<size_t> loopStart)
        : m_left(frames), m_right(frames), m_loopStart(loopStart) {}

    void Add(size_t frame, double left, double right) {
        if (frame >= m_left.size()) {
            if (!m_loopStart || *m_loopStart >= m_left.size()) {
                return;
            }
            frame = *m_loopStart + (frame - m_left.size()) % (m_left.size() - *m_loopStart);
        }
        m_left[frame] += left;
        m_right[frame] += right;
    }
    size_t Size() const { return m_left.size(); }
    double Left(size_t i) const { return m_left[i]; }
    double Right(size_t i) const { return m_right[i]; }

private:
    std::vector<double> m_left, m_right;
    std::optional<size_t> m_loopStart;
};

// The sound of one note at time t (seconds) from its start.
using Timbre = double (*)(double frequency, double t);

double Sine(double f, double t) {
    return std::sin(kTau * f * t);
}

// A soft triangle: the first three odd harmonics, enough for warmth without buzz.
double Triangle(double f, double t) {
    return (std::sin(kTau * f * t) - std::sin(3 * kTau * f * t) / 9 +
            std::sin(5 * kTau * f * t) / 25) *
           0.81;
}

// A small bell: inharmonic partials that die away faster the higher they are.
double Bell(double f, double t) {
    return std::sin(kTau * f * t) * std::exp(-t * 2.2) +
           0.35 * std::sin(kTau * f * 2.76 * t) * std::exp(-t * 5.0) +
           0.12 * std::sin(kTau * f * 5.40 * t) * std::exp(-t * 9.0);
}

// A flute-like melody voice: a sine with a slow, late vibrato.
double Flute(double f, double t) {
    double vibrato = 0.004 * std::min(1.0, t / 0.6) * std::sin(kTau * 5.0 * t);
    return std::sin(kTau * f * (1 + vibrato) * t) + 0.08 * std::sin(2 * kTau * f * t);
}

struct Envelope {
    double Attack, Release; // seconds
};

// No end but the track's own.
constexpr double kOpen = 1e9;
// Notes of the intro fade out this long before the loop starts.
constexpr double kSectionFade = 0.3;

// One note: the timbre under an attack and a release; the release starts when the note ends.
// A note that must be silent by `endBy` (seconds) fades out in time: whatever rings on into
// the loop start would sound again each time the loop comes round, and break the seam.
void Note(Track& track, double start, double length, int midi, double gain, double pan,
          Timbre timbre, Envelope envelope, double endBy = kOpen) {
    double f = Frequency(midi);
    size_t first = Frames(start);
    size_t count = Frames(std::min(length + envelope.Release, endBy - start));
    double left = gain * std::cos(pan * std::numbers::pi / 2);
    double right = gain * std::sin(pan * std::numbers::pi / 2);
    for (size_t i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / kRate;
        double level = std::min(1.0, t / envelope.Attack);
        if (t > length) {
            double r = (t - length) / envelope.Release;
            level *= (1 - r) * (1 - r);
        }
        level *= std::clamp((endBy - start - t) / kSectionFade, 0.0, 1.0);
        double v = timbre(f, t) * level;
        track.Add(first + i, v * left, v * right);
    }
}

// ---- The tune. Chords are MIDI notes of the pad; melody notes are (beat, beats, note),
// beats counted from the start of the section.

struct MelodyNote {
    double Beat, Beats;
    int Midi;
};

constexpr int kF = 53, kD = 50, kBb = 46, kC = 48, kA = 45, kG = 43;

struct Chord {
    int Root;     // bass note
    int Tones[3]; // pad, middle register
};

constexpr Chord kIntroChords[kIntroBars] = {{kBb, {62, 65, 69}}, {kC, {64, 67, 70}}};
constexpr Chord kLoopChords[kLoopBars] = {
    {kF, {60, 65, 69}}, {kD, {62, 65, 69}}, {kBb, {62, 65, 70}}, {kC, {60, 64, 67}},
    {kF, {60, 65, 69}}, {kA, {60, 64, 69}}, {kG, {62, 65, 70}},  {kC, {60, 64, 70}},
};

// A line that rises and settles, like a wish said quietly, ending on C to lead back to F.
constexpr MelodyNote kMelody[] = {
    {0, 1.5, 72},  {1.5, 0.5, 74},  {2, 2, 77},      {4, 1, 76},  {5, 1, 74},
    {6, 2, 72},    {8, 1.5, 70},    {9.5, 0.5, 72},  {10, 2, 74}, {12, 3, 72},
    {16, 1.5, 72}, {17.5, 0.5, 74}, {18, 2, 77},     {20, 1, 79}, {21, 1, 77},
    {22, 2, 76},   {24, 1.5, 74},   {25.5, 0.5, 72}, {26, 2, 70}, {28, 3.5, 72},
};

// Stars: a bell arpeggio over each chord, high and to alternate sides.
void Arpeggio(Track& track, double barStart, const Chord& chord, double gain, double endBy) {
    for (int step = 0; step < 8; ++step) {
        int tone = chord.Tones[(step * 2 + step / 4) % 3] + 12;
        double pan = step % 2 == 0 ? 0.3 : 0.7;
        Note(track, barStart + step * kBeat / 2, kBeat / 2, tone, gain * (step % 4 == 0 ? 1 : 0.7),
             pan, Bell, {0.004, 1.2}, endBy);
    }
}

void Bar(Track& track, double start, const Chord& chord, double arpeggioGain,
         double endBy = kOpen) {
    for (int i = 0; i < 3; ++i) {
        Note(track, start, kBar - 0.4, chord.Tones[i], 0.11, 0.25 + 0.25 * i, Triangle, {0.8, 1.0},
             endBy);
    }
    Note(track, start, 2 * kBeat - 0.1, chord.Root - 12, 0.22, 0.5, Sine, {0.05, 0.5}, endBy);
    Note(track, start + 2 * kBeat, 2 * kBeat - 0.1, chord.Root - 12 + 7, 0.16, 0.5, Sine,
         {0.05, 0.5}, endBy);
    Arpeggio(track, start, chord, arpeggioGain, endBy);
}

struct Music {
    std::vector<int16_t> Samples;
    size_t LoopFrame = 0;
};

Music Compose() {
    double introLength = kIntroBars * kBar;
    size_t loopFrame = Frames(introLength);
    Track track(loopFrame + Frames(kLoopBars * kBar), loopFrame);
    // The intro falls silent just as the loop starts; the loop's own last notes ring on
    // into its start, in the first pass as in every other.
    for (int bar = 0; bar < kIntroBars; ++bar) {
        Bar(track, bar * kBar, kIntroChords[bar], 0.05 + 0.03 * bar, introLength);
    }
    for (int bar = 0; bar < kLoopBars; ++bar) {
        Bar(track, introLength + bar * kBar, kLoopChords[bar], 0.06);
    }
    for (const MelodyNote& note : kMelody) {
        Note(track, introLength + note.Beat * kBeat, note.Beats * kBeat - 0.05, note.Midi, 0.20,
             0.5, Flute, {0.06, 0.35});
    }

    double peak = 0;
    for (size_t i = 0; i < track.Size(); ++i) {
        peak = std::max({peak, std::abs(track.Left(i)), std::abs(track.Right(i))});
    }
    // Background music sits well under the voices, which espeak-ng speaks near full scale:
    // a third of full scale leaves room for both without the mix clipping.
    double scale = peak > 0 ? 0.33 * 32767 / peak : 0;
    Music music;
    music.LoopFrame = loopFrame;
    for (size_t i = 0; i < track.Size(); ++i) {
        music.Samples.push_back(static_cast<int16_t>(std::lround(track.Left(i) * scale)));
        music.Samples.push_back(static_cast<int16_t>(std::lround(track.Right(i) * scale)));
    }
    return music;
}

std::vector<int16_t> Chime() {
    Track track(Frames(2.0), std::nullopt);
    // Two bells a little apart, E and B high above the tune's key: a wish, then its echo.
    Note(track, 0.00, 0.1, 88, 0.5, 0.5, Bell, {0.003, 1.8});
    Note(track, 0.12, 0.1, 95, 0.3, 0.5, Bell, {0.003, 1.7});
    std::vector<int16_t> mono;
    double peak = 0;
    for (size_t i = 0; i < track.Size(); ++i) {
        peak = std::max(peak, std::abs(track.Left(i) + track.Right(i)));
    }
    for (size_t i = 0; i < track.Size(); ++i) {
        double v = (track.Left(i) + track.Right(i)) * 0.5 * 32767 / peak;
        mono.push_back(static_cast<int16_t>(std::lround(v)));
    }
    return mono;
}

orv::Bytes Wav(std::vector<int16_t> samples, int32_t channels) {
    orv::PcmClip clip;
    clip.Samples = std::move(samples);
    clip.Channels = channels;
    clip.Rate = kRate;
    return orv::ClipWavBytes(clip);
}

template <typename Data>
bool Write(const std::filesystem::path& path, const Data& data) {
    std::string error = orv::WriteFileAtomic(path, data);
    if (!error.empty()) {
        std::cerr << "demo_sounds: " << error << "\n";
        return false;
    }
    return true;
}

} // namespace
} // namespace demo

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: demo_sounds OUTDIR\n";
        return 2;
    }
    std::filesystem::path out = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    demo::Music music = demo::Compose();
    std::string loop = std::to_string(music.LoopFrame) + "\n";
    bool ok = demo::Write(out / "M01.wav", demo::Wav(music.Samples, 2)) &&
              demo::Write(out / "M01.loop", std::string_view(loop)) &&
              demo::Write(out / "CHIME.wav", demo::Wav(demo::Chime(), 1));
    return ok ? 0 : 1;
}
