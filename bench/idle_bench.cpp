// Idle passes of a game that waits for a click, on the headless virtual clock: the cost of
// the loop itself, which bounds how fast a headless play-through can run.
#include "base/files.h"
#include "data/archive_index.h"
#include "engine/engine.h"
#include "headless/headless_platform.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

#include <benchmark/benchmark.h>

namespace {

// A game directory with a one-line script "main" and an empty image archive.
class BenchGame {
public:
    BenchGame() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvell-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data())) {
            m_path = pattern;
        }
        orv::Bytes script = {'w', 'a', 'i', 't', 0};
        orv::NegateBytes(script.data(), script.size());
        orv::Bytes text, images;
        orv::BuildArchive(orv::IndexForm::A, 0, {{"main", script}}, text);
        orv::BuildArchive(orv::IndexForm::B, 32, {}, images);
        orv::WriteFileAtomic(m_path / "ov_data.orv", text);
        orv::WriteFileAtomic(m_path / "ov_gra.orv", images);
    }
    ~BenchGame() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

void BM_IdlePassWaitingForClick(benchmark::State& state) {
    BenchGame game;
    std::ostringstream log;
    orv::HeadlessPlatform platform(log);
    orv::EngineOptions options;
    options.GameDirectory = game.Path();
    options.Seed = 1;
    auto engine = std::make_unique<orv::Engine>(platform, options);
    platform.Attach(*engine);
    engine->FormCreate();
    engine->AppIdle(); // starts the script
    engine->wait.WaitKind = orv::wait_kind::Page;
    for (auto _ : state) {
        engine->AppIdle();
        platform.DeliverDueTicks();
    }
    benchmark::DoNotOptimize(engine->PassCounter);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
    state.counters["virtual_s_per_s"] = benchmark::Counter(
        static_cast<double>(platform.Now()) / 1000.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_IdlePassWaitingForClick);

} // namespace
