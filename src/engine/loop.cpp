// The idle pass and the 55 ms timer: the two places, besides input, where work enters. The
// screen that owns input does the work of each; the engine keeps the counters and the pace.
#include "engine/engine.h"

namespace orv {

namespace {
constexpr uint32_t kPassFloorMs = 20;
}

void Engine::PaceUntil(uint32_t passStart, uint32_t minimumMs) {
    uint32_t elapsed = m_platform.GetTickCount() - passStart;
    if (elapsed < minimumMs) {
        m_platform.Sleep(minimumMs - elapsed);
    }
}

void Engine::AppIdle() {
    uint32_t t0 = m_platform.GetTickCount();
    ++PassCounter;
    if (wait.ClickGuard != 0) {
        --wait.ClickGuard;
    }
    Screen& owner = screens.InputOwner();
    // The yes/no prompt holds the game and the screens that replace it, not the backlog.
    AfterPass after = AfterPass::Pace;
    if (owner.Layer() != ScreenLayer::Game || !prompts.IsOpen()) {
        after = owner.Pass();
    }
    switch (after) {
    case AfterPass::FrameLoopAndPace:
        AdvanceFrameLoop();
        PaceUntil(t0, kPassFloorMs);
        break;
    case AfterPass::Pace:
        PaceUntil(t0, kPassFloorMs);
        break;
    case AfterPass::AutoPace: {
        // Auto mode paces a stepping pass by its level instead of the 20 ms floor.
        int64_t target = 4 * static_cast<int64_t>(vars.S(cell::AutoLevel)) + 15;
        PaceUntil(t0, target > 0 ? static_cast<uint32_t>(target) : 0);
        break;
    }
    }
}

void Engine::AdvanceFrameLoop() {
    FrameLoop& loop = gfx.Loop;
    if (!loop.Active || loop.Period <= 0 || loop.Count <= 0 || PassCounter % loop.Period != 0) {
        return;
    }
    loop.Index = (loop.Index + 1) % loop.Count;
    gfx.ShowLoopFrame();
}

void Engine::Timer1Timer() {
    ++TickCounter;
    sound.PumpMusic();
    if (MovieCountdown > 1) {
        --MovieCountdown;
        return;
    }
    if (MovieCountdown == 1 && !m_platform.IsMoviePlaying()) {
        EndMovie();
        return;
    }
    Screen& owner = screens.InputOwner();
    if (owner.Layer() == ScreenLayer::Exclusive) {
        return;
    }
    // The symbol belongs to the scene; the backlog and an earlier page lie over it.
    if (gfx.MangaSymbolShown() && !owner.CoversScene()) {
        gfx.MangaSymbolTick();
    }
    owner.Tick();
}

} // namespace orv
