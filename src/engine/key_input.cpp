// The keyboard and the wheel. Keys and the wheel are ignored while the confirmation prompt,
// the config screen or a blocking effect owns the game; the backlog takes its own keys.
#include "engine/engine.h"
#include "engine/keys.h"

namespace orv {

namespace {

// The player may swap the two skip and auto keys (CS_SWAP).
int SwappedKey(int key, bool swap) {
    if (!swap) {
        return key;
    }
    if (key == keys::Control) {
        return keys::Shift;
    }
    if (key == keys::Shift) {
        return keys::Control;
    }
    return key;
}

constexpr char kBackspace = '\b';
constexpr char kEscape = '\x1b';

} // namespace

void Engine::FormKeyDown(int key) {
    if (SystemMenuState != 0 || BacklogOpen || InterruptibleWait || Busy || ConfigScreenOpen) {
        return;
    }
    if (SelectionKind == selection_kind::Window && (key == keys::Up || key == keys::Down)) {
        choices.MovePointerToChoice(key == keys::Down);
        return;
    }
    if (ScreenMode == screen_mode::PageReview) {
        if ((key == keys::Left || key == keys::Right) && SelectionKind == 0 &&
            !BackgroundLoopRuns()) {
            backlog.RewindStep(key == keys::Left ? -1 : 1);
        }
        return;
    }
    if (ScreenMode == screen_mode::Game) {
        GameModeKeyDown(SwappedKey(key, settings.CS_SWAP));
    }
}

void Engine::GameModeKeyDown(int key) {
    switch (key) {
    case keys::Tab:
        RefreshScreenOffset();
        RightClickAction();
        break;
    case keys::Shift:
        SkipActive = 0;
        if (vars.S(26) != 0) {
            vars.S(26) = 0;
        } else {
            if (vars.S(27) == 0) {
                vars.S(27) = 4;
            }
            vars.S(26) = vars.S(27);
        }
        screens.RefreshQuickButtons();
        break;
    case keys::Control:
        // Skip mode lasts while the key is held; each repeat of the key-down toggles it.
        if (SkipActive) {
            dispatcher.StopSkip();
            break;
        }
        vars.S(26) = 0;
        dispatcher.StopSkip();
        sound.StopVoice();
        vars.S(60) = 2;
        screens.RefreshQuickButtons();
        SkipActive = 1;
        break;
    case keys::Left:
        if (!BackgroundLoopRuns() && SelectionKind == 0) {
            backlog.EnterRewind();
        }
        break;
    default:
        break;
    }
}

void Engine::FormKeyUp(int key) {
    if (BacklogOpen || ConfigScreenOpen) {
        return;
    }
    if (SwappedKey(key, settings.CS_SWAP) != keys::Control) {
        return;
    }
    vars.S(60) = 0;
    SkipActive = 0;
    if (ScreenMode == screen_mode::Game && !Busy) {
        screens.RefreshQuickButtons();
    }
}

void Engine::FormKeyPress(char key) {
    if (SystemMenuState != 0 || ConfigScreenOpen) {
        return;
    }
    if (BacklogOpen) {
        if (key == kBackspace) {
            backlog.CloseBacklog();
        }
        return;
    }
    switch (key) {
    case '\r':
    case 'Z':
    case 'z':
        PBMouseDown(MouseButton::Left, PointerX, PointerY);
        return;
    case 'V':
    case 'v':
        ReplayLastVoice();
        return;
    default:
        break;
    }
    if (InterruptibleWait || Busy) {
        return;
    }
    RefreshScreenOffset();
    bool gameFree = ScreenMode == screen_mode::Game && !BackgroundLoopRuns();
    switch (key) {
    case kBackspace:
        if (gameFree) {
            vars.S(65) = 2;
            screens.RefreshQuickButtons();
            backlog.OpenBacklog();
            vars.S(65) = 1;
        }
        break;
    case kEscape:
        PopupShown = 0;
        break;
    case ' ':
        ToggleAuto();
        break;
    case 'C':
    case 'c':
        MenuItemClick("N26");
        break;
    case 'L':
    case 'l':
        if (vars.S(0) <= 1 && gameFree) {
            OpenSaveList(0, "SSE06");
        }
        break;
    case 'Q':
    case 'q':
        if (vars.S(0) == 0 && gameFree) {
            saves.QuickSave();
        }
        break;
    case 'S':
    case 's':
        if (vars.S(0) == 0 && gameFree) {
            OpenSaveList(1, "SSE05");
        }
        break;
    case 'W':
    case 'w':
        if (ScreenMode == screen_mode::WindowHidden) {
            backlog.RestoreMessageWindow();
        } else if (ScreenMode == screen_mode::Game) {
            backlog.HideMessageWindow();
        }
        break;
    case 'X':
    case 'x':
        PBMouseDown(MouseButton::Right, PointerX, PointerY);
        break;
    default:
        break;
    }
}

void Engine::FormMouseWheel(int delta) {
    if (WheelBusy || ConfigScreenOpen) {
        return;
    }
    if (BacklogOpen) {
        backlog.BacklogWheel(delta);
        return;
    }
    if (SystemMenuState != 0 || Busy || BackgroundLoopRuns()) {
        return;
    }
    WheelBusy = 1;
    if (ScreenMode == screen_mode::PageReview) {
        backlog.RewindStep(delta > 0 ? -1 : 1);
    } else if (ScreenMode == screen_mode::Game && SelectionKind == 0) {
        if (delta > 0) {
            if (settings.WHEEL_MODE) {
                backlog.OpenBacklog();
            } else {
                backlog.EnterRewind();
            }
        } else {
            if (!settings.CV_THROUGH) {
                sound.StopVoice();
            }
            ContinueWait();
        }
    }
    WheelBusy = 0;
}

} // namespace orv
