// The idle pass and the 55 ms timer: the two places, besides input, where work enters.
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
    if (ClickGuard != 0) {
        --ClickGuard;
    }
    if (BacklogOpen) {
        backlog.ScrollHeldArrows();
        PaceUntil(t0, kPassFloorMs);
        return;
    }
    if (SystemMenuState != 0 || ConfigScreenOpen != 0) {
        PaceUntil(t0, kPassFloorMs);
        return;
    }
    switch (ScreenMode) {
    case screen_mode::Game:
        GamePass(t0);
        return;
    case screen_mode::StaffRoll:
        screens.StaffRollPass();
        break;
    case screen_mode::StatusScreen:
        if (PassCounter % 16 == 14) {
            screens.StatusScreenPass();
        }
        break;
    case screen_mode::Gallery:
        screens.GalleryPass();
        break;
    default:
        break;
    }
    AdvanceFrameLoop();
    PaceUntil(t0, kPassFloorMs);
}

void Engine::GamePass(uint32_t t0) {
    if (StartRequested) {
        StartGame();
        StartRequested = 0;
        PaceUntil(t0, kPassFloorMs);
        return;
    }
    if (Busy) {
        PaceUntil(t0, kPassFloorMs);
        return;
    }
    // Drawn and discarded: the random sequence depends on how many passes ran.
    random.Next();
    if (QuitRequested) {
        m_platform.CloseMainWindow();
    }
    if (SkipActive) {
        if (WaitKind == 1 || WaitKind == 4 || WaitKind == 5) {
            text.NewPage();
        }
        WaitKind = 0;
    }
    bool waiting = SelectionKind != 0 || TickWait != 0 || WaitKind != 0 || VoiceWait != 0;
    if (!waiting && PassWait != 0) {
        if (PassWait > 0) {
            --PassWait;
        }
        waiting = true;
    }
    if (!waiting) {
        if (ScriptRunning == 1) {
            dispatcher.ScriptStep();
        }
        int32_t autoLevel = vars.S(26);
        if (autoLevel != 0) {
            // Auto mode paces a stepping pass by its level instead of the 20 ms floor.
            int64_t target = 4 * static_cast<int64_t>(autoLevel) + 15;
            PaceUntil(t0, target > 0 ? static_cast<uint32_t>(target) : 0);
            return;
        }
    }
    AdvanceFrameLoop();
    PaceUntil(t0, kPassFloorMs);
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
    if (ConfigScreenOpen) {
        return;
    }
    if (gfx.MangaSymbolShown()) {
        gfx.MangaSymbolTick();
    }
    if (ScreenMode == screen_mode::StaffRoll) {
        screens.StaffRollTick();
        return;
    }
    if (ScreenMode == screen_mode::Recollection) {
        screens.RecollectionTick();
        return;
    }
    if (ScreenMode != screen_mode::Game || BacklogOpen || Busy) {
        return;
    }
    if (SelectionKind != 0 && SystemMenuState == 0) {
        choices.SelectionTick();
        return;
    }
    bool voicePlaying = sound.IsVoicePlaying();
    if (!voicePlaying) {
        VoiceWait = 0;
    }
    if (TickWait != 0) {
        --TickWait;
        return;
    }
    screens.ResetQuickButtonHover();
    sound.DeferredMusicTick();
    if (WaitKind == 0 || Busy || ScreenMode != screen_mode::Game) {
        return;
    }
    if (vars.S(26) != 0) {
        if (AutoWaitTicks != 0) {
            --AutoWaitTicks;
            if (AutoWaitTicks == 0 && voicePlaying) {
                AutoWaitTicks = 1;
            }
        } else if (voicePlaying) {
            AutoWaitTicks = 1;
        }
        if (AutoWaitTicks != 0) {
            return;
        }
        if ((WaitKind == 1 || WaitKind == 4 || WaitKind == 5) && WindowShown) {
            text.NewPage();
        }
        WaitKind = 0;
        return;
    }
    if (WaitKind != 5) {
        text.AnimateClickWaitIcon();
    }
}

} // namespace orv
