// Decoding four seconds of 44.1 kHz stereo with each WADY codec: a sound effect whole
// (packed), music block by block into a fixed buffer as the player refills its ring, and an
// animation sound whole (stream); against a plain copy of the same PCM.
#include "sound/wady.h"

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

using orv::Bytes;
using orv::PcmClip;

constexpr uint32_t kRate = 44100;
constexpr size_t kFrames = 4 * kRate;

// A chord under a slow swell with a little noise, and half a second of silence in the
// middle: every kind of code occurs, one-byte steps most.
const PcmClip& Music() {
    static const PcmClip clip = [] {
        PcmClip pcm;
        pcm.Channels = 2;
        pcm.Rate = kRate;
        pcm.Samples.resize(kFrames * 2);
        std::mt19937 random(11);
        std::normal_distribution<double> noise(0, 200);
        for (size_t f = 0; f < kFrames; ++f) {
            double t = static_cast<double>(f) / kRate;
            bool quiet = t >= 2.0 && t < 2.5;
            double swell = 0.6 + 0.4 * std::sin(2 * M_PI * 0.25 * t);
            for (size_t c = 0; c < 2; ++c) {
                double v = 0;
                if (!quiet) {
                    for (double hz : {220.0, 277.2, 329.6}) {
                        v += 5000 * swell * std::sin(2 * M_PI * hz * (1 + 0.002 * c) * t);
                    }
                    v += noise(random);
                }
                pcm.Samples[f * 2 + c] = static_cast<int16_t>(std::lround(v));
            }
        }
        return pcm;
    }();
    return clip;
}

const Bytes& PackedEntry() {
    static const Bytes entry = orv::EncodePackedSound(Music());
    return entry;
}

const Bytes& StreamEntry() {
    static const Bytes entry = orv::EncodeStreamSound(Music(), std::nullopt, kRate / 2);
    return entry;
}

constexpr int64_t kPcmBytes = int64_t{kFrames} * 2 * 2;

void BM_WadyPackedSound(benchmark::State& state) {
    const Bytes& entry = PackedEntry();
    PcmClip clip;
    for (auto _ : state) {
        orv::DecodePackedSound(entry, clip);
        benchmark::DoNotOptimize(clip.Samples.data());
    }
    state.SetBytesProcessed(state.iterations() * kPcmBytes);
    state.counters["coded_bytes"] = static_cast<double>(entry.size());
}
BENCHMARK(BM_WadyPackedSound)->Unit(benchmark::kMillisecond);

// Half-second blocks, as the ring is refilled; no allocation in the loop.
void BM_WadyStreamBlocks(benchmark::State& state) {
    const Bytes& entry = StreamEntry();
    auto header = orv::ParseWadyHeader(entry);
    orv::ByteSpan coded = orv::ByteSpan(entry).subspan(orv::kWadyHeaderSize, header->DataLength);
    size_t blockSamples = size_t{header->FramesPerBlock} * 2;
    std::vector<int16_t> block(blockSamples);
    orv::StreamDecoder decoder;
    for (auto _ : state) {
        decoder.Start(*header);
        for (size_t at = 0; at < coded.size(); at += blockSamples) {
            decoder.Decode(coded.subspan(at, std::min(blockSamples, coded.size() - at)), block,
                           false);
            benchmark::DoNotOptimize(block.data());
        }
    }
    state.SetBytesProcessed(state.iterations() * kPcmBytes);
}
BENCHMARK(BM_WadyStreamBlocks)->Unit(benchmark::kMillisecond);

void BM_WadyStreamSound(benchmark::State& state) {
    const Bytes& entry = StreamEntry();
    PcmClip clip;
    for (auto _ : state) {
        orv::DecodeStreamSound(entry, clip);
        benchmark::DoNotOptimize(clip.Samples.data());
    }
    state.SetBytesProcessed(state.iterations() * kPcmBytes);
}
BENCHMARK(BM_WadyStreamSound)->Unit(benchmark::kMillisecond);

void BM_PcmCopy(benchmark::State& state) {
    const PcmClip& pcm = Music();
    std::vector<int16_t> copy(pcm.Samples.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), pcm.Samples.data(), pcm.Samples.size() * 2);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(state.iterations() * kPcmBytes);
}
BENCHMARK(BM_PcmCopy)->Unit(benchmark::kMillisecond);

} // namespace
