// Starting a voice: opening the stream (its codebooks are most of the work for a short line)
// and decoding it whole, over the kept Ogg samples of the fuzz corpus.
#include "base/files.h"
#include "sound/ogg_voice.h"

#include <benchmark/benchmark.h>

namespace {

void BM_DecodeOggVoice(benchmark::State& state, const char* file) {
    auto entry = orv::ReadWholeFile(std::string(ORVELL_OGG_SAMPLES) + "/" + file);
    if (!entry) {
        state.SkipWithError("the Ogg sample is missing");
        return;
    }
    orv::PcmClip clip;
    for (auto _ : state) {
        benchmark::DoNotOptimize(orv::DecodeOggVoice(*entry, clip));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(entry->size()));
    state.counters["frames"] = static_cast<double>(clip.Frames());
}
BENCHMARK_CAPTURE(BM_DecodeOggVoice, Mono8k, "tone_mono_8k")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DecodeOggVoice, Stereo8k, "tone_stereo_8k")->Unit(benchmark::kMicrosecond);

} // namespace
