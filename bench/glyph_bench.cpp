// The cost of one typed character: a cached glyph with its composite onto the screen, and
// a glyph rendered afresh from the font (every character past the thousand cached ones).
#include "gfx/surface.h"
#include "picture_samples.h"
#include "text/glyphs.h"

#include <benchmark/benchmark.h>

namespace {

constexpr uint16_t kHiraganaA = 0x82A0; // あ, pre-rendered at start-up

orv::Glyphs& Font() {
    static orv::Glyphs* glyphs = [] {
        auto* made = new orv::Glyphs;
        made->CreateFont("IPAGothic", 22, false);
        made->PreRenderCommon();
        made->SetTextColour(0, 0xFFFFFF);
        return made;
    }();
    return *glyphs;
}

orv::Surface& Screen() {
    static orv::Surface screen = orv::bench::PhotoLike(orv::kScreenWidth, orv::kScreenHeight, 1);
    return screen;
}

void BM_TypeCachedCharacter(benchmark::State& state) {
    orv::Glyphs& glyphs = Font();
    orv::Surface& screen = Screen();
    int x = 0;
    for (auto _ : state) {
        glyphs.RenderGlyph(kHiraganaA);
        glyphs.CompositeGlyph(screen, 20 + x, 450);
        x = (x + 24) % 700;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TypeCachedCharacter);

void BM_CompositeOnly(benchmark::State& state) {
    orv::Glyphs& glyphs = Font();
    orv::Surface& screen = Screen();
    glyphs.RenderGlyph(kHiraganaA);
    for (auto _ : state) {
        glyphs.CompositeGlyph(screen, 100, 450);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CompositeOnly);

// A kanji that is never cached: the font renders it on every call, as it does once the
// cache is full.
void BM_RenderFreshGlyph(benchmark::State& state) {
    static orv::Glyphs* full = [] {
        auto* made = new orv::Glyphs;
        made->CreateFont("IPAGothic", 22, false);
        for (uint16_t code = 0x889F; made->Cache().Count() < orv::GlyphCache::kCapacity; ++code) {
            if ((code & 0xFF) >= 0x40 && (code & 0xFF) <= 0xFC && (code & 0xFF) != 0x7F) {
                made->RenderGlyph(code);
            }
        }
        return made;
    }();
    for (auto _ : state) {
        full->RenderGlyph(0x9A40);
        benchmark::DoNotOptimize(full->CellMask().data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RenderFreshGlyph);

} // namespace
