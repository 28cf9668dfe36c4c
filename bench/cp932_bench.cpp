#include <benchmark/benchmark.h>

#include <string>

#include "base/cp932.h"

namespace {

// A typical text line: full-width characters with a few ASCII ones.
std::string SampleLine() {
    std::string line;
    for (int i = 0; i < 30; ++i) {
        line += "\x82\xA0\x8A\xBF";
        line += 'a';
    }
    return line;
}

void BM_ToUtf32(benchmark::State& state) {
    std::string line = SampleLine();
    for (auto _ : state) {
        benchmark::DoNotOptimize(orv::cp932::ToUtf32(line));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_ToUtf32);

void BM_UpperCase(benchmark::State& state) {
    std::string name = "sel_scene01\x82\xA0_a";
    for (auto _ : state) {
        std::string copy = name;
        orv::cp932::UpperCaseInPlace(copy);
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_UpperCase);

} // namespace
