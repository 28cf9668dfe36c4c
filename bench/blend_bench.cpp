// Every full-screen blend against a plain copy of the screen, and the instruction sets of
// the blend loops against each other.
#include "gfx/blend.h"
#include "gfx/blend_kernels.h"
#include "picture_samples.h"

#include <cstring>

#include <benchmark/benchmark.h>

namespace {

using orv::Surface;
constexpr int kW = orv::kScreenWidth, kH = orv::kScreenHeight;
constexpr int64_t kScreenBytes = int64_t{kW} * kH * 3;

struct Screens {
    Surface A = orv::bench::PhotoLike(kW, kH, 1);
    Surface B = orv::bench::PhotoLike(kW, kH, 2);
    Surface Mask = orv::bench::EllipseMask(kW, kH);
    Surface D{kW, kH};
    Surface SideBySide{kW * 2, kH};
    Surface Stacked{kW, kH * 2};
    Screens() {
        SideBySide.CopyFrom(B, {0, 0, kW, kH}, 0, 0);
        SideBySide.CopyFrom(Mask, {0, 0, kW, kH}, kW, 0);
        Stacked.CopyFrom(B, {0, 0, kW, kH}, 0, 0);
        Stacked.CopyFrom(Mask, {0, 0, kW, kH}, 0, kH);
    }
};

Screens& S() {
    static Screens screens;
    return screens;
}

template <typename Body>
void Run(benchmark::State& state, Body&& body) {
    for (auto _ : state) {
        body();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kScreenBytes);
}

void BM_CopyScreen(benchmark::State& state) {
    Run(state, [] { std::memcpy(S().D.Data(), S().A.Data(), kScreenBytes); });
}
BENCHMARK(BM_CopyScreen)->Unit(benchmark::kMicrosecond);

void BM_CrossFadeFull(benchmark::State& state) {
    Run(state, [] { orv::CrossFadeFull(S().A, S().B, 100, S().D); });
}
BENCHMARK(BM_CrossFadeFull)->Unit(benchmark::kMicrosecond);

void BM_BlendTileWholeScreen(benchmark::State& state) {
    Run(state, [] {
        for (int y = 0; y < kH; y += orv::kBlendTileHeight) {
            for (int x = 0; x < kW; x += orv::kBlendTileWidth) {
                orv::BlendTile(S().A, S().B, S().D, x, y, 100);
            }
        }
    });
}
BENCHMARK(BM_BlendTileWholeScreen)->Unit(benchmark::kMicrosecond);

void BM_MaskBlendFull(benchmark::State& state) {
    Run(state, [] { orv::MaskBlendFull(S().A, S().B, S().Mask, S().D); });
}
BENCHMARK(BM_MaskBlendFull)->Unit(benchmark::kMicrosecond);

void BM_ConstBlendRowWholeScreen(benchmark::State& state) {
    Run(state, [] {
        for (int y = 0; y < kH; ++y) {
            orv::ConstBlendRow(S().D.Row(y), S().B.Row(y), S().D.Row(y), 100, kW);
        }
    });
}
BENCHMARK(BM_ConstBlendRowWholeScreen)->Unit(benchmark::kMicrosecond);

void BM_ScaleBrightness(benchmark::State& state) {
    Run(state, [] { orv::ScaleBrightness(S().A, S().D, 100); });
}
BENCHMARK(BM_ScaleBrightness)->Unit(benchmark::kMicrosecond);

void BM_AddConstSaturate(benchmark::State& state) {
    Run(state, [] { orv::AddConstSaturate(S().A, S().D, 40); });
}
BENCHMARK(BM_AddConstSaturate)->Unit(benchmark::kMicrosecond);

void BM_SubConstSaturate(benchmark::State& state) {
    Run(state, [] { orv::SubConstSaturate(S().A, S().D, 40); });
}
BENCHMARK(BM_SubConstSaturate)->Unit(benchmark::kMicrosecond);

// The masked draws blend onto D in place, as the compositor does; D is refreshed from A
// outside the timing only once, since repeated blending does not change the work done.
void BM_DrawMaskedPicture(benchmark::State& state) {
    std::memcpy(S().D.Data(), S().A.Data(), kScreenBytes);
    Run(state, [] { orv::DrawMaskedPicture(S().D, S().B, S().Mask, 0, 0); });
}
BENCHMARK(BM_DrawMaskedPicture)->Unit(benchmark::kMicrosecond);

void BM_DrawSideBySideSprite(benchmark::State& state) {
    std::memcpy(S().D.Data(), S().A.Data(), kScreenBytes);
    Run(state, [] { orv::DrawSideBySideSprite(S().D, 0, S().SideBySide, 0); });
}
BENCHMARK(BM_DrawSideBySideSprite)->Unit(benchmark::kMicrosecond);

void BM_DrawStackedSprite(benchmark::State& state) {
    std::memcpy(S().D.Data(), S().A.Data(), kScreenBytes);
    Run(state, [] { orv::DrawStackedSprite(S().D, 0, S().Stacked, 0); });
}
BENCHMARK(BM_DrawStackedSprite)->Unit(benchmark::kMicrosecond);

// The loops of each instruction set over one screen: range(0) indexes the available sets.
void BM_KernelWeighted(benchmark::State& state) {
    auto sets = orv::AvailableBlendKernels();
    if (static_cast<size_t>(state.range(0)) >= sets.size()) {
        state.SkipWithError("instruction set not available");
        return;
    }
    const orv::BlendKernels& k = *sets[static_cast<size_t>(state.range(0))];
    state.SetLabel(k.Name);
    Run(state, [&] { k.Weighted(S().A.Data(), S().B.Data(), S().D.Data(), kScreenBytes, 100); });
}
BENCHMARK(BM_KernelWeighted)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_KernelMaskGroups(benchmark::State& state) {
    auto sets = orv::AvailableBlendKernels();
    if (static_cast<size_t>(state.range(0)) >= sets.size()) {
        state.SkipWithError("instruction set not available");
        return;
    }
    const orv::BlendKernels& k = *sets[static_cast<size_t>(state.range(0))];
    state.SetLabel(k.Name);
    Run(state, [&] {
        k.MaskGroups(S().A.Data(), S().B.Data(), S().D.Data(), S().Mask.Data(), kScreenBytes / 8);
    });
}
BENCHMARK(BM_KernelMaskGroups)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// What the memory alone costs a blend: loops that only OR their input screens together, so
// that no arithmetic hides the traffic. Two screens into a third (a cross-fade), three into
// a fourth (a mask blend); in place, into the first of two (a row of constant weight) or
// of three (a masked picture drawn on the screen with its mask).
using Bytes32 = uint8_t __attribute__((vector_size(32)));

template <int kInputs, bool kInPlace>
#if defined(__x86_64__)
__attribute__((target("avx2")))
#endif
void OrScreens(const uint8_t* a, const uint8_t* b, const uint8_t* c, uint8_t* d) {
    for (int64_t i = 0; i + 32 <= kScreenBytes; i += 32) {
        Bytes32 x, y, z = {};
        std::memcpy(&x, (kInPlace ? d : a) + i, 32);
        std::memcpy(&y, b + i, 32);
        if (kInputs == 3) {
            std::memcpy(&z, c + i, 32);
        }
        Bytes32 out = x | y | z;
        std::memcpy(d + i, &out, 32);
    }
}

template <int kInputs, bool kInPlace>
void BM_MemoryFloor(benchmark::State& state) {
    Run(state, [] {
        OrScreens<kInputs, kInPlace>(S().A.Data(), S().B.Data(), S().Mask.Data(), S().D.Data());
    });
}
BENCHMARK(BM_MemoryFloor<2, false>)->Name("BM_MemoryFloorTwoScreensIntoAThird")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoryFloor<3, false>)->Name("BM_MemoryFloorThreeScreensIntoAFourth")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoryFloor<2, true>)->Name("BM_MemoryFloorTwoScreensInPlace")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoryFloor<3, true>)->Name("BM_MemoryFloorThreeScreensInPlace")->Unit(benchmark::kMicrosecond);

} // namespace
