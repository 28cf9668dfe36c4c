// Changed settings taking effect: the window look, the typing mode and the screen mode.
#include "engine/engine.h"
#include "prompts/prompts.h"

namespace orv {

namespace {
constexpr uint32_t kScreenModeSettleMs = 1000;
}

void Prompts::ApplySettings() {
    Engine& e = m_engine;
    if (FontChanged) {
        FontChanged = 0;
        e.text.RebuildWindowLook();
        if (e.ScreenMode == screen_mode::Game && e.SelectionKind == 0) {
            e.gfx.ShowScene(0);
        }
    }
    e.text.Delay = e.settings.Typewriter ? 0 : 1;
    bool fullScreenWanted = e.FullScreenMode != 0;
    if ((e.FullScreenActive != 0) == fullScreenWanted) {
        return;
    }
    // The display settles before the game goes on; input meanwhile returns at once.
    ++e.Busy;
    if (e.FullScreenActive) {
        e.Host().Sleep(kScreenModeSettleMs);
        e.Host().PumpMessages();
        e.LeaveFullScreen();
    }
    if (fullScreenWanted) {
        e.EnterFullScreen();
        e.Host().Sleep(kScreenModeSettleMs);
        e.Host().PumpMessages();
    }
    if (e.Busy > 0) {
        --e.Busy;
    }
}

void Prompts::RestartMusic() {
    VariableStore& vars = m_engine.vars;
    int32_t requested = vars.S(3);
    int32_t track = vars.S(5);
    m_engine.sound.SetMusic(0);
    m_engine.sound.SetMusic(track);
    vars.S(3) = requested;
}

} // namespace orv
