// The background loop of bg_anim: one step of the main loop (the next frame onto PB) and the
// building of one frame of the OFS form, each against the 20 ms idle pass that paces the
// loop. The counter in_one_pass says how many fit into one pass (the goal: well above 1).
#include "engine/engine.h"
#include "gfx/background_loop.h"
#include "headless/headless_platform.h"
#include "picture_samples.h"

#include <filesystem>
#include <memory>
#include <sstream>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

constexpr double kPassSeconds = 0.020;

void PerPass(benchmark::State& state) {
    state.counters["in_one_pass"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kPassSeconds,
                           benchmark::Counter::kIsRate);
}

void BM_BackgroundLoopStep(benchmark::State& state) {
    // No game data: the engine comes up with its surfaces and the OFS form builds its frames
    // from the scene.
    std::ostringstream log;
    orv::HeadlessPlatform platform(log);
    orv::EngineOptions options;
    options.GameDirectory = std::filesystem::temp_directory_path() / "orvell-bench-no-game";
    options.DataDirectory = std::filesystem::temp_directory_path() / "orvell-bench-no-game-data";
    options.Seed = 1;
    auto engine = std::make_unique<orv::Engine>(platform, options);
    platform.Attach(*engine);
    engine->FormCreate();
    orv::Graphics& gfx = engine->gfx;
    gfx.SceneSurface.CopyFrom(orv::bench::PhotoLike(orv::kScreenWidth, orv::kScreenHeight, 1),
                              orv::Rect{0, 0, orv::kScreenWidth, orv::kScreenHeight}, 0, 0);
    gfx.BackgroundLoop("OFS,1,128,6,0,128,-6,0,128,0,6,128,0,-6");
    for (auto _ : state) {
        gfx.Loop.Index = (gfx.Loop.Index + 1) % gfx.Loop.Count;
        gfx.ShowLoopFrame();
    }
    PerPass(state);
}
BENCHMARK(BM_BackgroundLoopStep);

void BM_OffsetFrameBuild(benchmark::State& state) {
    orv::Surface scene = orv::bench::PhotoLike(orv::kScreenWidth, orv::kScreenHeight, 1);
    orv::Surface back = orv::bench::IllustrationLike(orv::kScreenWidth, orv::kScreenHeight);
    orv::Surface frame(orv::kScreenWidth, orv::kScreenHeight);
    std::vector<uint8_t> scratch(orv::kScreenWidth * 3);
    int x = static_cast<int>(state.range(0));
    for (auto _ : state) {
        orv::BuildOffsetFrame(scene, back, x, 4, 128, frame, scratch.data());
        benchmark::DoNotOptimize(frame.Data());
    }
    PerPass(state);
}
BENCHMARK(BM_OffsetFrameBuild)->Arg(8)->Arg(-8);

} // namespace
