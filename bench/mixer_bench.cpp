// The mixer with every slot busy: the games' mono 22050 Hz sounds beside stereo 44100 Hz
// music, mixed in the audio device's buffers. One iteration is one second of audio, so
// `core_percent` is the share of one core the mix takes (the aim is under 1).
#include "sound/mixer.h"

#include <algorithm>
#include <ctime>
#include <span>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

using orv::Mixer;
using orv::PcmClip;

PcmClip Noise(uint32_t rate, int32_t channels, uint32_t seed) {
    PcmClip clip;
    clip.Rate = rate;
    clip.Channels = channels;
    // Ten seconds: longer than the benchmark's second, so sources never sit in the cache.
    clip.Samples.resize(size_t{rate} * 10 * static_cast<size_t>(channels));
    uint32_t state = seed;
    for (int16_t& sample : clip.Samples) {
        state = state * 1664525u + 1013904223u;
        sample = static_cast<int16_t>(state >> 16);
    }
    return clip;
}

// The processor time of this thread since construction, in seconds.
class ThreadCpuTime {
public:
    ThreadCpuTime() : m_start(Now()) {}
    double Elapsed() const { return Now() - m_start; }

private:
    static double Now() {
        timespec now{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
    }
    double m_start;
};

// Each iteration mixed one second: the processor time per iteration is the share of a core.
void ReportCoreShare(benchmark::State& state, const ThreadCpuTime& cpu) {
    if (state.iterations() > 0) {
        state.counters["core_percent"] =
            100.0 * cpu.Elapsed() / static_cast<double>(state.iterations());
    }
}

// One second of the output rate in buffers of out.size() / 2 frames; `between` runs after
// each buffer, where the engine's thread would do its work.
template <typename Between>
void MixOneSecond(Mixer& mixer, std::span<int16_t> out, Between&& between) {
    const size_t buffer = out.size() / 2;
    for (size_t done = 0; done < mixer.OutputRate(); done += buffer) {
        size_t count = std::min<size_t>(buffer, mixer.OutputRate() - done);
        mixer.Mix(out.first(2 * count));
        benchmark::DoNotOptimize(out.data());
        between();
    }
}

// state.range(0): the number of stereo 44100 Hz sources, the rest mono 22050 Hz.
// state.range(1): frames a Mix call.
void BM_MixOneSecondAllSlotsBusy(benchmark::State& state) {
    const int stereoSources = static_cast<int>(state.range(0));
    const size_t buffer = static_cast<size_t>(state.range(1));
    Mixer mixer;
    for (int slot = 0; slot < Mixer::kSlots; ++slot) {
        bool stereo = slot < stereoSources;
        mixer.PlayClip(slot, Noise(stereo ? 44100 : 22050, stereo ? 2 : 1, 7u + slot), true,
                       -300 * slot);
    }
    std::vector<int16_t> out(2 * buffer);
    int volume = 0;
    ThreadCpuTime cpu;
    for (auto _ : state) {
        MixOneSecond(mixer, out, [] {});
        // A fade on one slot each second, so that the ramps are part of the cost.
        volume = volume == 0 ? -1500 : 0;
        mixer.SetAttenuation(0, volume);
    }
    ReportCoreShare(state, cpu);
}
BENCHMARK(BM_MixOneSecondAllSlotsBusy)
    ->ArgNames({"stereo44k", "frames"})
    ->Args({0, 1024})
    ->Args({4, 1024})
    ->Args({8, 1024})
    ->Args({4, 256})
    ->Unit(benchmark::kMillisecond);

// A ring played while it is written, as the music player does four times a second.
void BM_MixRingWhileWriting(benchmark::State& state) {
    constexpr size_t kBlock = 11025;
    Mixer mixer;
    mixer.StartRing(3, 2, 44100, 4 * kBlock, 0);
    PcmClip block = Noise(44100, 2, 3);
    block.Samples.resize(2 * kBlock);
    std::vector<int16_t> out(2 * 1024);
    size_t written = 0;
    ThreadCpuTime cpu;
    for (auto _ : state) {
        MixOneSecond(mixer, out, [&] {
            size_t playing = mixer.PlayPosition(3) / kBlock;
            if (playing != written) {
                written = playing;
                mixer.WriteRing(3, ((playing + 2) % 4) * kBlock, block.Samples);
            }
        });
    }
    ReportCoreShare(state, cpu);
}
BENCHMARK(BM_MixRingWhileWriting)->Unit(benchmark::kMillisecond);

} // namespace
