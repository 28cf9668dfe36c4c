// Presses, moves and releases on PB. The engine's own checks come first (a click override of
// the script, a running effect, the confirmation prompt, the panic picture, Busy); then the
// screen that owns input takes the event.
#include "engine/engine.h"

namespace orv {

namespace {

// S056 values a script sets to take the next press over.
constexpr int32_t kClickCancelsAll = 56;
constexpr int32_t kClickJumps = 57;
constexpr int32_t kClickIgnored = 66;
// A press this soon after a page click (in idle passes still to run on the guard) leaves the
// voice that click started alone.
constexpr int32_t kVoiceGuardBelow = 3;

} // namespace

void Engine::RefreshScreenOffset() {
    Point cursor = m_platform.GetCursorPos();
    ScreenOffsetX = cursor.X - PointerX;
    ScreenOffsetY = cursor.Y - PointerY;
}

bool Engine::ClickOverride(MouseButton button) {
    switch (vars.S(cell::ClickOverride)) {
    case kClickCancelsAll:
        if (button == MouseButton::Right) {
            return true;
        }
        wait.PassWait = 0;
        sound.StopVoice();
        if (blocking.InterruptibleWait()) {
            blocking.InterruptRequest = 1;
        }
        if (prompts.IsOpen()) {
            // Closed as a right press closes it: the screen under it comes back and no
            // answer runs. Dropping only the state would leave the prompt drawn for good.
            prompts.ClosePrompt(MouseButton::Right, false);
        }
        MenusLocked = 0;
        UpdateMenus();
        screens.quickButtons.Refresh();
        vars.S(cell::ClickOverride) = 0;
        return true;
    case kClickJumps:
        script.GoToLabel(vars.String(8));
        vars.S(cell::ClickOverride) = 0;
        return true;
    case kClickIgnored:
        return true;
    default:
        return false;
    }
}

void Engine::StopVoiceOnPress(MouseButton button) {
    if (button == MouseButton::Left && wait.WaitKind != wait_kind::PageKeepVoice &&
        wait.ClickGuard < kVoiceGuardBelow && !settings.CV_THROUGH) {
        sound.StopVoice();
    }
}

void Engine::PBMouseDown(MouseButton button, int x, int y) {
    RefreshScreenOffset();
    if (ClickOverride(button)) {
        return;
    }
    if (blocking.InterruptibleWait()) {
        if (!settings.CV_THROUGH) {
            sound.StopVoice();
        }
        blocking.InterruptRequest = 1;
        return;
    }
    if (prompts.IsOpen()) {
        prompts.ClosePrompt(button, false);
        return;
    }
    if (gfx.PanicScreenShown()) {
        gfx.HidePanicScreen();
        return;
    }
    if (button == MouseButton::Left) {
        PopupShown = 0;
    }
    if (blocking.Busy()) {
        return;
    }
    Screen& owner = screens.InputOwner();
    if (owner.Layer() != ScreenLayer::Exclusive) {
        StopVoiceOnPress(button);
    }
    owner.Press(button, x, y);
}

void Engine::PBMouseMove(int x, int y) {
    PointerX = x;
    PointerY = y;
    PointerMoved = 1;
    PointerOutside = 0;
    if (blocking.Busy() || blocking.InterruptibleWait()) {
        return;
    }
    Screen& owner = screens.InputOwner();
    if (owner.Layer() == ScreenLayer::Exclusive) {
        owner.Move(x, y);
        return;
    }
    // In full screen the tool bar stands in for the hidden menus while the pointer is at the top.
    if (FullScreenActive) {
        m_platform.ShowToolBar(y < 30);
    }
    if (prompts.IsOpen()) {
        prompts.PromptHover(x, y);
        return;
    }
    owner.Move(x, y);
}

void Engine::PBMouseLeave() {
    // The timer's hover test takes the highlight off the quick buttons.
    PointerMoved = 1;
    PointerOutside = 1;
}

void Engine::PBMouseUp(MouseButton button, int x, int y) {
    screens.InputOwner().Release(button, x, y);
}

} // namespace orv
