// Pad buttons stand for the mouse and keyboard input a player would give instead: the
// engine's own handlers then apply every guard (prompts, effects, open screens) as they do
// for that input.
#include "engine/gamepad_input.h"

#include "engine/engine.h"
#include "engine/keys.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orv {

namespace {

enum class PadAction {
    Click,      // the left button at the pointer
    RightClick, // the right button at the pointer
    Key,        // a key held while the button is
    HoldSkip,   // the skip key, held while the button is
    TypedKey,   // one typed character when the button goes down
    PopupMenu,  // the game's pop-up menu, whatever the right-click setting chooses
    Nothing,
};

struct PadBinding {
    PadButton Button;
    std::string_view Name;
    PadAction Action;
    int Key; // Key: the key code; TypedKey: the character
};

constexpr std::array<PadBinding, 12> kBindings = {{
    {PadButton::A, "a", PadAction::Click, 0},
    {PadButton::B, "b", PadAction::RightClick, 0},
    // The message window hides and comes back as with W; the backlog opens and closes as with
    // Backspace.
    {PadButton::X, "x", PadAction::TypedKey, 'w'},
    {PadButton::Y, "y", PadAction::TypedKey, '\b'},
    {PadButton::Back, "back", PadAction::Nothing, 0},
    {PadButton::Start, "start", PadAction::PopupMenu, 0},
    {PadButton::LeftShoulder, "leftshoulder", PadAction::HoldSkip, 0},
    {PadButton::RightShoulder, "rightshoulder", PadAction::TypedKey, ' '},
    {PadButton::Up, "up", PadAction::Key, keys::Up},
    {PadButton::Down, "down", PadAction::Key, keys::Down},
    {PadButton::Left, "left", PadAction::Key, keys::Left},
    {PadButton::Right, "right", PadAction::Key, keys::Right},
}};

const PadBinding& BindingOf(PadButton button) {
    for (const PadBinding& binding : kBindings) {
        if (binding.Button == button) {
            return binding;
        }
    }
    return kBindings.back();
}

// The pop-up menu sits where a right click would open it.
constexpr int kPopupOffsetX = 16;

// One axis past the dead zone, as a part of its travel from 0 to 1.
double Deflection(int axis) {
    double magnitude = std::abs(static_cast<double>(axis));
    double travel = 32767.0 - kStickDeadZone;
    return std::clamp((magnitude - kStickDeadZone) / travel, 0.0, 1.0);
}

} // namespace

std::optional<PadButton> PadButtonNamed(std::string_view name) {
    for (const PadBinding& binding : kBindings) {
        if (binding.Name == name) {
            return binding.Button;
        }
    }
    return std::nullopt;
}

std::string_view PadButtonName(PadButton button) {
    return BindingOf(button).Name;
}

PointerStep StickPointerStep(int axisX, int axisY, int elapsedMs) {
    if (elapsedMs <= 0) {
        return {};
    }
    double distance = kStickFullSpeed * elapsedMs / 1000.0;
    auto axisStep = [&](int axis) {
        double part = Deflection(axis);
        return (axis < 0 ? -1.0 : 1.0) * part * part * distance;
    };
    return PointerStep{axisStep(axisX), axisStep(axisY)};
}

void GamepadInput::ButtonDown(PadButton button) {
    Engine& e = m_engine;
    const PadBinding& binding = BindingOf(button);
    switch (binding.Action) {
    case PadAction::Click:
        e.PBMouseDown(MouseButton::Left, e.PointerX, e.PointerY);
        break;
    case PadAction::RightClick:
        e.PBMouseDown(MouseButton::Right, e.PointerX, e.PointerY);
        break;
    case PadAction::Key:
        e.FormKeyDown(binding.Key);
        break;
    case PadAction::HoldSkip:
        // The handlers swap Control and Shift when the player asked for it; the pad's skip
        // button stays the skip button.
        e.FormKeyDown(keys::SwappedKey(keys::Control, e.settings.CS_SWAP));
        break;
    case PadAction::TypedKey:
        e.FormKeyPress(static_cast<char>(binding.Key));
        break;
    case PadAction::PopupMenu:
        OpenPopupMenu();
        break;
    case PadAction::Nothing:
        break;
    }
}

void GamepadInput::ButtonUp(PadButton button) {
    Engine& e = m_engine;
    const PadBinding& binding = BindingOf(button);
    switch (binding.Action) {
    case PadAction::Click:
        e.PBMouseUp(MouseButton::Left, e.PointerX, e.PointerY);
        break;
    case PadAction::RightClick:
        e.PBMouseUp(MouseButton::Right, e.PointerX, e.PointerY);
        break;
    case PadAction::Key:
        e.FormKeyUp(binding.Key);
        break;
    case PadAction::HoldSkip:
        e.FormKeyUp(keys::SwappedKey(keys::Control, e.settings.CS_SWAP));
        break;
    default:
        break;
    }
}

void GamepadInput::OpenPopupMenu() {
    Engine& e = m_engine;
    // The guards of a key that opens the menu: the game owns input and nothing holds it.
    if (e.screens.InputOwner().Layer() != ScreenLayer::Game || e.prompts.IsOpen() ||
        e.blocking.InterruptibleWait() || e.blocking.Busy() ||
        e.screens.Mode() != screen_mode::Game) {
        return;
    }
    e.RefreshScreenOffset();
    if (e.PopupShown) {
        // Start again closes the open menu, as a second right click does.
        e.RightClickAction();
        return;
    }
    for (const char* item : {"SM01", "SM02", "SM04", "SM05"}) {
        e.SetMenuItemEnabled(item, true);
    }
    e.PopupShown = 1;
    e.Host().ShowPopupMenu("PopupMenu3", e.PointerX + e.ScreenOffsetX + kPopupOffsetX,
                           e.PointerY + e.ScreenOffsetY);
}

void GamepadInput::StickHeld(int axisX, int axisY, int elapsedMs) {
    Engine& e = m_engine;
    PointerStep step = StickPointerStep(axisX, axisY, elapsedMs);
    if (step.X == 0 && step.Y == 0) {
        m_restX = m_restY = 0;
        return;
    }
    m_restX += step.X;
    m_restY += step.Y;
    int dx = static_cast<int>(m_restX);
    int dy = static_cast<int>(m_restY);
    m_restX -= dx;
    m_restY -= dy;
    int x = std::clamp(e.PointerX + dx, 0, kScreenWidth - 1);
    int y = std::clamp(e.PointerY + dy, 0, kScreenHeight - 1);
    if (x == e.PointerX && y == e.PointerY) {
        return;
    }
    Point origin = e.Host().PaintBoxOrigin();
    e.Host().SetCursorPos(Point{origin.X + x, origin.Y + y});
    e.PBMouseMove(x, y);
}

} // namespace orv
