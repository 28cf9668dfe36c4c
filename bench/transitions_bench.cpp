// One frame of every transition pattern at 800 x 600, against a plain copy of the frame to
// PB (what pattern 4 draws). Each benchmark cycles through all the steps the pattern draws
// on time at speed 0, so its time is the pattern's mean frame; the counter vs_copy is that
// time over the time of one plain copy (the goal is 1.5 at most).
#include "gfx/transitions.h"
#include "picture_samples.h"
#include "script/random.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

using orv::Rect;
using orv::Surface;
using orv::TransitionSurfaces;
namespace pattern = orv::pattern;
constexpr int kW = orv::kScreenWidth, kH = orv::kScreenHeight;

// PB as the engine keeps it: a surface that receives the copies, and that fades draw on.
class PaintBox final : public orv::PaintTarget {
public:
    void Present(const Surface& source, Rect from, int x, int y) override {
        if (&source != &Pixels) {
            Pixels.CopyFrom(source, from, x, y);
        }
    }
    Surface* Canvas() override { return &Pixels; }
    Surface Pixels{kW, kH};
};

struct Screens {
    Surface OldSource = orv::bench::PhotoLike(kW, kH, 1);
    Surface Old = orv::bench::PhotoLike(kW, kH, 1);
    Surface New = orv::bench::IllustrationLike(kW, kH);
    Surface Work{kW, kH};
    Surface Mask = orv::bench::EllipseMask(kW, kH);
    PaintBox Paint;
    std::unique_ptr<orv::TransitionScratch> Scratch = std::make_unique<orv::TransitionScratch>();
    orv::RandomGenerator Random;
    TransitionSurfaces S{Old, New, Work, Paint, *Scratch};
};

Screens& S() {
    static Screens screens;
    return screens;
}

// The frames pattern n draws on time at speed 0 (s 4, i 8, f 20).
int FrameCount(int n) {
    switch (n) {
    case 1:
        return 17;
    case 2:
        return 33;
    case 3:
        return 65;
    case 5:
        return 63 + 64;
    case 6:
        return pattern::kBlindsSteps;
    case 7:
        return 75;
    case 8:
        return pattern::kTilesSteps;
    case 9:
        return pattern::kRowsSteps;
    case 10:
        return pattern::kColumnsSteps;
    case 11:
        return pattern::kSquaresSteps;
    case 12:
        return 2 * static_cast<int>(pattern::kMosaicBlocks.size());
    case 13:
        return (kW - pattern::kSoftWipeStart + 7) / 8;
    case 14:
        return pattern::kLinePiecesSteps;
    case 15:
        return (pattern::kBandEnd - pattern::kBandStart + 7) / 8;
    case 16:
        return pattern::kSlatsSteps;
    case 17:
        return 16 * 4;
    case 18:
        return 12;
    case 19:
        return 40;
    default:
        return n >= 20 && n <= 22 ? 31 : 1;
    }
}

// Frame k of pattern n; frame 0 also does what the pattern does before its first step.
void Frame(int n, int k) {
    Screens& s = S();
    TransitionSurfaces& t = s.S;
    if (k == 0 && (n == 15 || n == 16)) {
        // These two write the old picture: each cycle starts from it again.
        s.Old.CopyFrom(s.OldSource, Rect{0, 0, kW, kH}, 0, 0);
    }
    switch (n) {
    case 1:
    case 2:
    case 3:
        pattern::CrossFadeStep(t, k * (n == 1 ? 16 : n == 2 ? 8 : 4));
        break;
    case 5:
        if (k < 63) {
            pattern::MaskWipeStep(t, s.Mask, 252 - 4 * k, false);
        } else {
            pattern::MaskWipeStep(t, s.Mask, 4 * (k - 63), true);
        }
        break;
    case 6:
        pattern::BlindsStep(t, k);
        break;
    case 7:
        if (k == 0) {
            pattern::IrisBegin(t);
        }
        pattern::IrisStep(t, 5 + 10 * k);
        break;
    case 8:
        if (k == 0) {
            pattern::TilesBegin(t, s.Random);
        }
        pattern::TilesStep(t, k);
        break;
    case 9:
        pattern::RowsStep(t, k);
        break;
    case 10:
        pattern::ColumnsStep(t, k);
        break;
    case 11:
        pattern::SquaresStep(t, k);
        break;
    case 12: {
        int blocks = static_cast<int>(pattern::kMosaicBlocks.size());
        bool old = k < blocks;
        int block = pattern::kMosaicBlocks[static_cast<size_t>(old ? k : 2 * blocks - 1 - k)];
        orv::DrawMosaic(old ? s.Old : s.New, block, s.Work, s.Paint);
        break;
    }
    case 13:
        if (k == 0) {
            pattern::SoftWipeBegin(t);
        }
        pattern::SoftWipeStep(t, pattern::kSoftWipeStart + 8 * k);
        break;
    case 14:
        if (k == 0) {
            pattern::LinePiecesBegin(t, s.Random);
        }
        pattern::LinePiecesStep(t, k);
        break;
    case 15:
        pattern::BandStep(t, pattern::kBandStart + 8 * k);
        break;
    case 16:
        pattern::SlatsStep(t, k);
        break;
    case 17:
        if (k == 0) {
            pattern::SteppedFadeBegin(t);
        }
        if (k % 4 == 0) {
            pattern::SteppedFadeStage(t, k / 4 + 1, 16);
        }
        pattern::SteppedFadeQuarter(t, k % 4);
        break;
    case 18:
        pattern::SplitSlideStep(t, 32 + 32 * k);
        break;
    case 19:
        pattern::PushRightStep(t, 20 * k);
        break;
    case 20:
        pattern::ZoomFadeStep(t, 8 + 8 * k);
        break;
    case 21:
        pattern::SlideFadeStep(t, 8 + 8 * k, -(8 + 8 * k), 256 - (8 + 8 * k));
        break;
    case 22:
        pattern::SlideFadeStep(t, 8 + 8 * k, 8 + 8 * k, (8 + 8 * k) - 245);
        break;
    default: // 4: the new screen at once, the plain copy every ratio is taken against
        orv::PaintArea(t, s.New, Rect{0, 0, kW, kH});
        break;
    }
}

double SecondsOf(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// The time of one plain copy of the frame to PB: the best of a few runs, measured once.
double CopySeconds() {
    static const double seconds = [] {
        double best = 1e9;
        for (int run = 0; run < 5; ++run) {
            constexpr int kCopies = 200;
            auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < kCopies; ++i) {
                Frame(4, 0);
                benchmark::ClobberMemory();
            }
            best = std::min(best, SecondsOf(std::chrono::steady_clock::now() - start) / kCopies);
        }
        return best;
    }();
    return seconds;
}

void BM_TransitionFrame(benchmark::State& state) {
    int n = static_cast<int>(state.range(0));
    int frames = FrameCount(n);
    double copy = CopySeconds();
    int k = 0;
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        Frame(n, k);
        benchmark::ClobberMemory();
        k = (k + 1) % frames;
    }
    double perFrame = SecondsOf(std::chrono::steady_clock::now() - start) /
                      static_cast<double>(std::max<int64_t>(state.iterations(), 1));
    state.counters["vs_copy"] = perFrame / copy;
    state.SetLabel("pattern " + std::to_string(n));
    state.SetBytesProcessed(state.iterations() * int64_t{kW} * kH * 3);
}
BENCHMARK(BM_TransitionFrame)->DenseRange(1, orv::kLastPattern)->Unit(benchmark::kMicrosecond);

} // namespace
