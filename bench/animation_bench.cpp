// One animation frame against the time it has: a key frame decoded and drawn (anim), and a
// frame enlarged (animq: 320 x 240 doubled, 640 x 480 to the screen). The counter
// `of_interval` is the share of a 15 frames a second interval (66.7 ms) that one frame
// takes; `of_30fps` the share of 33.3 ms.
#include "gfx/enlarge.h"
#include "gfx/jpeg_decoder.h"
#include "gfx/jpeg_encoder.h"
#include "picture_samples.h"

#include <chrono>

#include <benchmark/benchmark.h>

namespace {

using orv::Surface;

void ReportShare(benchmark::State& state, std::chrono::steady_clock::time_point start) {
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double perFrame = seconds / static_cast<double>(std::max<int64_t>(state.iterations(), 1));
    state.counters["of_interval"] = perFrame / (1.0 / 15);
    state.counters["of_30fps"] = perFrame / (1.0 / 30);
}

// A photo-like key frame of the given size, JPEG-coded at quality 85 like animation frames.
void BM_AnimationFrameDecodeAndDraw(benchmark::State& state) {
    int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    const orv::Bytes coded = orv::EncodeJpegPicture(orv::bench::PhotoLike(width, height), 85);
    Surface frame;
    Surface screen(orv::kScreenWidth, orv::kScreenHeight);
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        orv::DecodeJpegPicture(coded, frame);
        screen.CopyFrom(frame, orv::Rect{0, 0, frame.Width(), frame.Height()}, 80, 60);
        benchmark::ClobberMemory();
    }
    ReportShare(state, start);
    state.counters["coded_bytes"] = static_cast<double>(coded.size());
}
BENCHMARK(BM_AnimationFrameDecodeAndDraw)
    ->Args({640, 480})
    ->Args({320, 240})
    ->Unit(benchmark::kMicrosecond);

void BM_EnlargeFrame(benchmark::State& state) {
    int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    const Surface source = orv::bench::PhotoLike(width, height);
    orv::Rect size = orv::EnlargedSize(width, height);
    Surface target(size.Width, size.Height);
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        orv::Enlarge(source, target);
        benchmark::ClobberMemory();
    }
    ReportShare(state, start);
    state.SetBytesProcessed(state.iterations() * int64_t{size.Width} * size.Height * 3);
}
BENCHMARK(BM_EnlargeFrame)->Args({320, 240})->Args({640, 480})->Unit(benchmark::kMicrosecond);

} // namespace
