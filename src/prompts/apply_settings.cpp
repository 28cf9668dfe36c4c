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
        // A scene shown with transition 0 is only prepared: the new look would wait for the
        // next picture. The scene, the window and its page are drawn again at once instead.
        if (e.screens.Mode() == screen_mode::Game && e.choices.SelectionKind == 0) {
            e.gfx.PresentFrame();
            e.ShowBackBuffer();
        }
    }
    // The settings dialog writes the text speed and leaves it to this moment; the config
    // screen has written what it holds. A store that cannot be read keeps the engine's.
    const SettingsValues stored =
        SettingsStore(SettingsRoot(e.Options().DataDirectory)).Load(GameSettingsLocation(e.config));
    e.settings.Typewriter = ReadSettingInt(stored, "Delay", e.settings.Typewriter ? 0 : 1) == 0;
    e.text.Delay = e.settings.Typewriter ? 0 : 1;
    bool fullScreenWanted = e.FullScreenMode != 0;
    if ((e.FullScreenActive != 0) == fullScreenWanted) {
        return;
    }
    // The display settles before the game goes on; input meanwhile returns at once.
    BusyScope busy(e.blocking);
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
}

void Prompts::RestartMusic() {
    VariableStore& vars = m_engine.vars;
    int32_t requested = vars.S(cell::MusicRequested);
    int32_t track = vars.S(cell::MusicPlaying);
    m_engine.sound.SetMusic(0);
    m_engine.sound.SetMusic(track);
    vars.S(cell::MusicRequested) = requested;
}

} // namespace orv
