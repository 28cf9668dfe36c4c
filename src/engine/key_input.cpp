// The keyboard and the wheel. The backlog and the config screen take them while they are
// open; otherwise the keys below act in every screen, and the screen that owns input adds
// its own (the game its skip and auto keys, page review its arrows, the hidden window and
// page review the keys that end them). Keys and the wheel are ignored while the
// confirmation prompt or a blocking effect holds the game.
#include "engine/engine.h"
#include "engine/keys.h"

#include <algorithm>

namespace orv {

namespace {
constexpr char kBackspace = '\b';
constexpr char kEscape = '\x1b';
// One notch of a mouse wheel in the units the desktop reports turns in.
constexpr int32_t kWheelNotch = 120;
// A single report of more than this is taken as this many notches.
constexpr int32_t kMaxNotchesAtOnce = 10;
} // namespace

void Engine::FormKeyDown(int key) {
    Screen& owner = screens.InputOwner();
    // The backlog scrolls by the arrows and the page keys; typed keys reach it below.
    if (owner.Layer() == ScreenLayer::Modal) {
        if (!prompts.IsOpen()) {
            owner.KeyDown(key);
        }
        return;
    }
    if (owner.Layer() != ScreenLayer::Game || prompts.IsOpen() || blocking.InterruptibleWait() ||
        blocking.Busy()) {
        return;
    }
    if (choices.SelectionKind == selection_kind::Window && (key == keys::Up || key == keys::Down)) {
        choices.MovePointerToChoice(key == keys::Down);
        return;
    }
    owner.KeyDown(key);
}

void Engine::FormKeyUp(int key) {
    if (screens.InputOwner().Layer() != ScreenLayer::Game) {
        return;
    }
    if (keys::SwappedKey(key, settings.CS_SWAP) != keys::Control) {
        return;
    }
    vars.S(cell::SkipIndicator) = 0;
    SkipActive = 0;
    if (screens.Mode() == screen_mode::Game && !blocking.Busy()) {
        screens.quickButtons.Refresh();
    }
}

void Engine::FormKeyPress(char key) {
    if (prompts.IsOpen()) {
        return;
    }
    Screen& owner = screens.InputOwner();
    if (owner.Layer() != ScreenLayer::Game) {
        owner.KeyPress(key);
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
    if (blocking.InterruptibleWait() || blocking.Busy()) {
        return;
    }
    RefreshScreenOffset();
    if (owner.KeyPress(key)) {
        return;
    }
    int32_t mode = screens.Mode();
    bool gameFree = mode == screen_mode::Game && !BackgroundLoopRuns();
    switch (key) {
    case kBackspace:
        if (gameFree) {
            vars.S(cell::BacklogButton) = 2;
            screens.quickButtons.Refresh();
            backlog.OpenBacklog();
            vars.S(cell::BacklogButton) = 1;
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
        if (vars.S(cell::SaveLoad) <= 1 && gameFree) {
            OpenSaveList(0, "SSE06");
        }
        break;
    case 'Q':
    case 'q':
        if (vars.S(cell::SaveLoad) == 0 && gameFree) {
            saves.QuickSave();
        }
        break;
    case 'S':
    case 's':
        if (vars.S(cell::SaveLoad) == 0 && gameFree) {
            OpenSaveList(1, "SSE05");
        }
        break;
    case 'W':
    case 'w':
        if (mode == screen_mode::WindowHidden) {
            backlog.RestoreMessageWindow();
        } else if (mode == screen_mode::Game) {
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
    if (WheelBusy) {
        return;
    }
    // Touchpads and fine-grained wheels report parts of a notch; they count once they add up
    // to a whole one. A turn the other way starts afresh.
    if ((delta > 0 && WheelRemainder < 0) || (delta < 0 && WheelRemainder > 0)) {
        WheelRemainder = 0;
    }
    constexpr int64_t kLimit = int64_t{kWheelNotch} * kMaxNotchesAtOnce;
    WheelRemainder =
        static_cast<int32_t>(std::clamp<int64_t>(int64_t{WheelRemainder} + delta, -kLimit, kLimit));
    while (WheelRemainder >= kWheelNotch || WheelRemainder <= -kWheelNotch) {
        int32_t notch = WheelRemainder > 0 ? kWheelNotch : -kWheelNotch;
        WheelRemainder -= notch;
        WheelNotch(notch);
    }
}

void Engine::WheelNotch(int delta) {
    Screen& owner = screens.InputOwner();
    if (owner.Layer() != ScreenLayer::Game) {
        owner.Wheel(delta);
        return;
    }
    if (prompts.IsOpen() || blocking.Busy() || BackgroundLoopRuns()) {
        return;
    }
    WheelBusy = 1;
    owner.Wheel(delta);
    WheelBusy = 0;
}

} // namespace orv
