// Opening and closing the message window: a cross-fade that a click cuts short.
#include "engine/engine.h"
#include "gfx/blend.h"
#include "gfx/scene.h"
#include "text/text_flow.h"

namespace orv {

namespace {

constexpr int kFadeStep = 8;
constexpr int kFadeFrameMs = 10;
constexpr int kFullWeight = 256;
const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

} // namespace

void TextFlow::CrossFade(const Surface& from, const Surface& to) {
    Graphics& gfx = m_engine.gfx;
    BlockingState& blocking = m_engine.blocking;
    InterruptibleScope interruptible(blocking);
    blocking.InterruptRequest = 0;
    gfx.StartFrameClock();
    // Each frame is drawn on PB's own surface (presenting it then copies nothing), unless one
    // of the pictures is PB.
    Surface& frame = FrameSurface(&gfx.PaintBoxCanvas(), gfx.WorkSurface, from, to);
    int weight = 0;
    int drawn = -1;
    while (weight < kFullWeight && blocking.InterruptRequest == 0) {
        if (gfx.FramesWatched) {
            CrossFadeFull(to, from, weight, frame);
            gfx.PresentWhole(frame);
            drawn = weight;
        }
        // A slow machine skips frames instead of slowing the fade down.
        int frames = gfx.WaitFrames(kFadeFrameMs);
        int next = weight + kFadeStep * (frames > 0 ? frames : 1);
        if (next >= kFullWeight || blocking.InterruptRequest != 0) {
            break;
        }
        weight = next;
    }
    if (drawn != weight) {
        // Unwatched: the one frame left on PB when the fade ends.
        CrossFadeFull(to, from, weight, frame);
        gfx.PresentWhole(frame);
    }
    // The click has been answered; a close request stays for the step to ask.
    if (blocking.InterruptRequest == 1) {
        blocking.InterruptRequest = 0;
    }
}

void TextFlow::OpenWindow() {
    if (WindowShown) {
        return;
    }
    Graphics& gfx = m_engine.gfx;
    m_screenScratch.CopyFrom(gfx.BackBuffer, kWholeScreen, 0, 0);
    WindowShown = 1;
    gfx.ComposeScene();
    ApplySceneFilter(gfx.SceneSurface, m_engine.vars.S(cell::SceneFilter), m_engine.vars.S(cell::FilterBrightness));
    gfx.PresentFrame();
    if (!Skipping()) {
        CrossFade(m_screenScratch, gfx.BackBuffer);
    }
    gfx.PresentWhole(gfx.BackBuffer);
    PageEmpty = true;
}

void TextFlow::ResetWindow() {
    m_engine.vars.S(cell::WindowPosition) = 0;
    SetWindowPosition(false);
    CloseWindow();
}

void TextFlow::CloseWindow() {
    ResetPage();
    Graphics& gfx = m_engine.gfx;
    if (WindowShown) {
        m_screenScratch.CopyFrom(gfx.BackBuffer, kWholeScreen, 0, 0);
        // While a background loop runs the screen without the window is its frame.
        const Surface* bare = &gfx.SceneSurface;
        if (gfx.Loop.Active) {
            gfx.RefreshLoopFrames();
            bare = &gfx.Loop.Current().Picture;
        }
        if (!Skipping()) {
            CrossFade(m_screenScratch, *bare);
        }
        gfx.PresentWhole(*bare);
        gfx.BackBuffer.CopyFrom(*bare, kWholeScreen, 0, 0);
        WindowShown = 0;
    }
    IconShown = false;
    PageEmpty = true;
}

} // namespace orv
