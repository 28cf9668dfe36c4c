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
    vars.S(cell::SkipIndicator) = 2;
    screens.quickButtons.Refresh();
    SkipActive = 1;
}

void Engine::ToggleAuto() {
    if (vars.S(cell::AutoLevel) != 0) {
        vars.S(cell::AutoIndicator) = 0;
        vars.S(cell::AutoLevelRestored) = vars.S(cell::AutoLevel);
        vars.S(cell::AutoLevel) = 0;
    } else {
        vars.S(cell::AutoIndicator) = 2;
        if (vars.S(cell::AutoLevelRestored) < 1 || vars.S(cell::AutoLevelRestored) > config.SPD_MAX) {
            vars.S(cell::AutoLevelRestored) = 4;
        }
        vars.S(cell::AutoLevel) = vars.S(cell::AutoLevelRestored);
    }
    vars.S(cell::SkipIndicator) = 0;
    screens.quickButtons.Refresh();
}

void Engine::SwitchAutoOn(int32_t level) {
    if (vars.S(cell::AutoLevelRestored) == 0) {
        vars.S(cell::AutoLevelRestored) = level;
    }
    vars.S(cell::AutoLevel) = vars.S(cell::AutoLevelRestored);
    screens.quickButtons.Refresh();
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
    std::string_view voice = FieldText(sound.LastVoice);
    if (!voice.empty()) {
        sound.PlayVoice(voice);
    }
}

void Engine::OpenSaveList(int32_t mode, std::string_view systemSound) {
    sound.PlaySoundByName(systemSound);
    dialogs.ShowSaveList(mode);
}

} // namespace orv
