// The game-mode reactions that the mouse, the keys, the menus and the quick buttons share:
// continuing a wait, skip and auto mode, the right-click action.
#include "engine/engine.h"

namespace orv {

namespace {
constexpr int kPopupOffsetX = 16;
}

void Engine::ContinueWait() {
    text.ContinueWait();
}

void Engine::StartSkip() {
    sound.StopVoice();
    vars.S(60) = 2;
    screens.RefreshQuickButtons();
    SkipActive = 1;
}

void Engine::ToggleAuto() {
    if (vars.S(26) != 0) {
        vars.S(61) = 0;
        vars.S(27) = vars.S(26);
        vars.S(26) = 0;
    } else {
        vars.S(61) = 2;
        if (vars.S(27) < 1 || vars.S(27) > config.SPD_MAX) {
            vars.S(27) = 4;
        }
        vars.S(26) = vars.S(27);
    }
    vars.S(60) = 0;
    screens.RefreshQuickButtons();
}

void Engine::SwitchAutoOn(int32_t level) {
    if (vars.S(27) == 0) {
        vars.S(27) = level;
    }
    vars.S(26) = vars.S(27);
    screens.RefreshQuickButtons();
}

void Engine::RightClickAction() {
    if (PopupShown) {
        m_platform.ClosePopupMenu();
        PopupShown = 0;
        return;
    }
    switch (settings.RC_MODE) {
    case 0:
        for (const char* item : {"SM01", "SM02", "SM04", "SM05"}) {
            SetMenuItemEnabled(item, true);
        }
        // Set first: a front end whose pop-up runs to its end inside the call has its item
        // clear the flag again.
        PopupShown = 1;
        m_platform.ShowPopupMenu("PopupMenu3", PointerX + ScreenOffsetX + kPopupOffsetX,
                                 PointerY + ScreenOffsetY);
        break;
    case 1:
        backlog.HideMessageWindow();
        break;
    case 2:
        StartSkip();
        break;
    case 3:
        SwitchAutoOn(5);
        break;
    case 4:
        gfx.ShowPanicScreen();
        break;
    default:
        break;
    }
}

void Engine::ReplayLastVoice() {
    std::string_view voice = FieldText(dispatcher.LastVoice);
    if (!voice.empty()) {
        sound.PlayVoice(voice);
    }
}

void Engine::OpenSaveList(int32_t mode, std::string_view sound) {
    dispatcher.PlaySoundByName(sound);
    screens.ShowSaveList(mode);
}

} // namespace orv
