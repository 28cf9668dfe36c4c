#include "gfx/graphics.h"

#include "engine/engine.h"
#include "gfx/picture_sets.h"

namespace orv {

Graphics::Graphics(Engine& engine) : m_engine(engine), m_pictures(engine.archives) {}

Graphics::~Graphics() = default;

void Graphics::CreateSurfaces() {
    for (Surface* surface : {&BackgroundSurface, &SceneSurface, &BackBuffer, &PreviousSurface,
                             &WorkSurface, &WipeMaskSurface, &OverlaySurface, &ScratchSurface,
                             &PartsSurface, &m_paintBox, &m_panicKept}) {
        surface->Allocate(kScreenWidth, kScreenHeight);
    }
    Characters.Allocate();
    m_transitionScratch = AllocateZeroedObject<TransitionScratch>();
}

void Graphics::LoadPictureSets() {
    // A `$DEBUG_OUT` line of `_bgset` writes its composites into the game directory, the
    // folder the game's tools look in.
    LoadBgSet(m_engine.script, m_pictures, BackgroundSurface, m_engine.Options().GameDirectory);
    LoadSprSet(m_engine.script, m_pictures);
}

void Graphics::ResetCharacterPositions() {
    ResetPositionTable(m_engine.vars);
}

void Graphics::Reset() {
    StopBackgroundLoop();
    m_symbol.Enabled = false;
    m_engine.vars.S(cell::OverlayShown) = 0;
}

void Graphics::Present(const Surface& source, Rect from, int x, int y) {
    if (&source != &m_paintBox) {
        m_paintBox.CopyFrom(source, from, x, y);
    }
    m_engine.Host().Present(source, from, x, y);
}

void Graphics::FillPaintBox(uint32_t bgr) {
    m_paintBox.Fill(bgr);
    m_engine.Host().FillPaintBox(bgr);
}

} // namespace orv
