// Presses, moves and releases on PB, routed to whichever screen owns input: a click override
// of the script, a running effect, the confirmation prompt, the panic picture, the config
// screen, the backlog and the other screens, and last the game itself.
#include "engine/engine.h"

namespace orv {

namespace {

// S056 values a script sets to take the next press over.
constexpr int32_t kClickCancelsAll = 56;
constexpr int32_t kClickJumps = 57;
constexpr int32_t kClickIgnored = 66;
// Presses within this many idle passes of a page click leave the voice it started alone.
constexpr int32_t kClickGuardPasses = 5;
constexpr int32_t kVoiceGuardBelow = 3;

} // namespace

void Engine::RefreshScreenOffset() {
    Point cursor = m_platform.GetCursorPos();
    ScreenOffsetX = cursor.X - PointerX;
    ScreenOffsetY = cursor.Y - PointerY;
}

void Engine::PBMouseDown(MouseButton button, int x, int y) {
    RefreshScreenOffset();
    bool left = button == MouseButton::Left;
    bool right = button == MouseButton::Right;
    switch (vars.S(56)) {
    case kClickCancelsAll:
        if (right) {
            return;
        }
        PassWait = 0;
        sound.StopVoice();
        if (InterruptibleWait) {
            InterruptRequest = 1;
        }
        if (SystemMenuState != 0) {
            // Closed as a right press closes it: the screen under it comes back and no
            // answer runs. Dropping only the state would leave the prompt drawn for good.
            prompts.ClosePrompt(MouseButton::Right, false);
        }
        MenusLocked = 0;
        UpdateMenus();
        screens.RefreshQuickButtons();
        SystemMenuState = 0;
        vars.S(56) = 0;
        return;
    case kClickJumps:
        script.GoToLabel(vars.String(8));
        vars.S(56) = 0;
        return;
    case kClickIgnored:
        return;
    default:
        break;
    }
    if (InterruptibleWait) {
        if (!settings.CV_THROUGH) {
            sound.StopVoice();
        }
        InterruptRequest = 1;
        return;
    }
    if (SystemMenuState != 0) {
        prompts.ClosePrompt(button, false);
        return;
    }
    if (gfx.PanicScreenShown()) {
        gfx.HidePanicScreen();
        return;
    }
    if (left) {
        PopupShown = 0;
    }
    if (Busy) {
        return;
    }
    if (ConfigScreenOpen) {
        screens.ConfigPress(button, x, y);
        return;
    }
    if (left && WaitKind != 4 && ClickGuard < kVoiceGuardBelow && !settings.CV_THROUGH) {
        sound.StopVoice();
    }
    if (BacklogOpen || ScreenMode != screen_mode::Game) {
        OwnedScreenPress(button, x, y);
        return;
    }
    GameModePress(button, x, y);
}

void Engine::OwnedScreenPress(MouseButton button, int x, int y) {
    bool right = button == MouseButton::Right;
    if (BacklogOpen) {
        if (right) {
            backlog.CloseBacklog();
        } else {
            backlog.BacklogPress(button, x, y);
        }
        return;
    }
    switch (ScreenMode) {
    case screen_mode::WindowHidden:
        backlog.RestoreMessageWindow();
        break;
    case screen_mode::StaffRoll:
        screens.StaffRollPress(button);
        break;
    case screen_mode::StatusScreen:
    case screen_mode::GameScreen:
        screens.StatusScreenPress(button, x, y);
        break;
    case screen_mode::Gallery:
        screens.GalleryPress(button, x, y);
        break;
    case screen_mode::Recollection:
        screens.RecollectionPress(button, x, y);
        break;
    case screen_mode::PageReview:
        if (right) {
            backlog.LeaveRewind();
        } else if (button == MouseButton::Left) {
            screens.QuickButtonPress(x, y);
        }
        break;
    default:
        break;
    }
}

void Engine::GameModePress(MouseButton button, int x, int y) {
    if (WindowShown && !SkipActive && vars.S(26) != 0 && screens.IndicatorClick(x, y)) {
        return;
    }
    text.ClickWhileTyping();
    if (PassWait != 0) {
        // A sleep cut short tells the script so.
        PassWait = 0;
        vars.S(19) = 1;
        return;
    }
    if (SkipActive && SelectionKind == 0) {
        dispatcher.StopSkip();
        return;
    }
    switch (button) {
    case MouseButton::Left:
        if (SelectionKind == 0) {
            if (screens.QuickButtonPress(x, y)) {
                return;
            }
            ContinueWait();
        } else if (ClickGuard == 0) {
            if (SelectionKind == selection_kind::SelectionTree) {
                screens.SelectionTreeClick();
            } else {
                choices.CommitChoice(button);
                screens.RefreshQuickButtons();
            }
        }
        ClickGuard = kClickGuardPasses;
        break;
    case MouseButton::Right:
        if (SelectionKind == selection_kind::ClickMap) {
            choices.CommitChoice(button);
        } else if (SelectionKind == selection_kind::SelectionTree) {
            screens.SelectionTreeClick();
        } else {
            RightClickAction();
        }
        break;
    case MouseButton::Middle:
        ClickGuard = kClickGuardPasses;
        break;
    }
}

void Engine::PBMouseMove(int x, int y) {
    PointerX = x;
    PointerY = y;
    PointerMoved = 1;
    if (Busy || InterruptibleWait) {
        return;
    }
    if (ConfigScreenOpen) {
        screens.ConfigMove(x, y);
        return;
    }
    // In full screen the tool bar stands in for the hidden menus while the pointer is at the top.
    if (FullScreenActive) {
        m_platform.ShowToolBar(y < 30);
    }
    if (SystemMenuState != 0) {
        prompts.PromptHover(x, y);
        return;
    }
    if (BacklogOpen) {
        backlog.BacklogMove(x, y);
        return;
    }
    switch (ScreenMode) {
    case screen_mode::Game:
        GameModeMove(x, y);
        break;
    case screen_mode::StatusScreen:
    case screen_mode::GameScreen:
        screens.StatusScreenMove(x, y);
        break;
    case screen_mode::Gallery:
        screens.GalleryMove(x, y);
        break;
    case screen_mode::Recollection:
        screens.RecollectionMove(x, y);
        break;
    default:
        break;
    }
}

void Engine::GameModeMove(int x, int y) {
    switch (SelectionKind) {
    case 0:
        if (!SkipActive) {
            screens.QuickButtonHover(x, y);
        }
        break;
    case selection_kind::Window:
    case selection_kind::Novel:
        screens.QuickButtonHover(x, y);
        choices.ChoiceHoverAt(x, y);
        break;
    case selection_kind::ClickMap:
        choices.ChoiceHoverAt(x, y);
        break;
    case selection_kind::SelectionTree:
        screens.SelectionTreeHover(x, y);
        break;
    default:
        break;
    }
}

void Engine::PBMouseUp(MouseButton button, int x, int y) {
    if (ConfigScreenOpen) {
        screens.ConfigRelease(button, x, y);
        return;
    }
    if (BacklogOpen) {
        backlog.BacklogRelease(button, x, y);
        return;
    }
    if (ScreenMode == screen_mode::Recollection) {
        screens.RecollectionRelease(button, x, y);
        return;
    }
    if (ScreenMode != screen_mode::Game) {
        return;
    }
    bool pressed = false;
    for (int cell = 63; cell <= 65; ++cell) {
        pressed = pressed || vars.S(cell) != 0;
        vars.S(cell) = 0;
    }
    if (pressed) {
        screens.RefreshQuickButtons();
    }
}

} // namespace orv
