// A whole headless play-through of the demo game, title to ending and back: how many times
// faster than real time the headless front end runs a game.
#include "engine/engine.h"
#include "headless/headless_platform.h"
#include "headless/play_runner.h"

#include <filesystem>
#include <memory>
#include <sstream>

#include <benchmark/benchmark.h>

namespace {

void BM_DemoPlayThrough(benchmark::State& state) {
    const std::filesystem::path demo = ORVELL_DEMO_DIRECTORY;
    if (!std::filesystem::exists(demo / "ov_data.orv")) {
        state.SkipWithError("the demo game is not built");
        return;
    }
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "orvell-bench-play";
    std::filesystem::create_directories(scratch);
    uint64_t gameMs = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        orv::HeadlessPlatform platform(out);
        orv::EngineOptions options;
        options.GameDirectory = demo;
        options.DataDirectory = scratch;
        options.Seed = 1;
        auto engine = std::make_unique<orv::Engine>(platform, options);
        platform.Attach(*engine);
        orv::PlayRunner runner(*engine, platform, scratch, out, err);
        engine->FormCreate();
        runner.AutoPlay();
        gameMs += platform.Now();
    }
    state.counters["play_throughs"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["game_seconds"] =
        benchmark::Counter(static_cast<double>(gameMs) / 1000.0, benchmark::Counter::kIsRate);
    std::filesystem::remove_all(scratch);
}
BENCHMARK(BM_DemoPlayThrough)->Unit(benchmark::kMillisecond);

} // namespace
