#include "qt/gamepads.h"

#include "engine/engine.h"

#include <QWidget>
#include <SDL.h>
#include <cstdint>
#include <optional>

namespace orv {

namespace {

// About sixty rounds a second: a stick's pointer moves smoothly and a press is never late
// by more than a frame.
constexpr int kPollMs = 16;
// With no pad plugged in only a hot-plug is awaited: a slower round keeps an idle desktop
// program from waking sixty times a second for nothing.
constexpr int kIdlePollMs = 250;

std::optional<PadButton> PadButtonOf(int sdlButton) {
    switch (sdlButton) {
    case SDL_CONTROLLER_BUTTON_A:
        return PadButton::A;
    case SDL_CONTROLLER_BUTTON_B:
        return PadButton::B;
    case SDL_CONTROLLER_BUTTON_X:
        return PadButton::X;
    case SDL_CONTROLLER_BUTTON_Y:
        return PadButton::Y;
    case SDL_CONTROLLER_BUTTON_BACK:
        return PadButton::Back;
    case SDL_CONTROLLER_BUTTON_START:
        return PadButton::Start;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        return PadButton::LeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return PadButton::RightShoulder;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return PadButton::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return PadButton::Down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return PadButton::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return PadButton::Right;
    default:
        return std::nullopt;
    }
}

} // namespace

Gamepads::Gamepads(Engine& engine, QWidget& window)
    : m_window(window), m_input(engine) {
    // SDL would take SIGINT and SIGTERM for a quit event nobody reads here; the window
    // has no SDL video either, so SDL cannot know when it has the focus.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    m_available = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!m_available) {
        return;
    }
    // Pads present at start arrive as device-added events on the first poll.
    connect(&m_timer, &QTimer::timeout, this, &Gamepads::Poll);
    m_timer.start(kIdlePollMs);
}

Gamepads::~Gamepads() {
    m_timer.stop();
    for (auto& [id, pad] : m_pads) {
        SDL_GameControllerClose(static_cast<SDL_GameController*>(pad));
    }
    if (m_available) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
}

void Gamepads::Poll() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            Open(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            Close(event.cdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            Button(event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
            break;
        default:
            break;
        }
    }
    if (m_pads.empty()) {
        m_timer.setInterval(kIdlePollMs);
        return;
    }
    m_timer.setInterval(kPollMs);
    Sticks();
}

void Gamepads::Open(int deviceIndex) {
    SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
    if (!pad) {
        return;
    }
    int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
    // A pad already open (SDL reports those present at start once more) keeps its handle.
    if (m_pads.contains(id)) {
        SDL_GameControllerClose(pad);
        return;
    }
    m_pads[id] = pad;
}

void Gamepads::Close(int instanceId) {
    auto it = m_pads.find(instanceId);
    if (it != m_pads.end()) {
        SDL_GameControllerClose(static_cast<SDL_GameController*>(it->second));
        m_pads.erase(it);
    }
}

void Gamepads::Button(int sdlButton, bool down) {
    std::optional<PadButton> button = PadButtonOf(sdlButton);
    if (!button || !m_window.isActiveWindow()) {
        return;
    }
    if (down) {
        m_input.ButtonDown(*button);
    } else {
        m_input.ButtonUp(*button);
    }
}

void Gamepads::Sticks() {
    if (!m_window.isActiveWindow()) {
        return;
    }
    // Of several pads, the one tilted furthest steers.
    int64_t bestX = 0, bestY = 0;
    for (auto& [id, pad] : m_pads) {
        auto* controller = static_cast<SDL_GameController*>(pad);
        int64_t x = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
        int64_t y = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
        if (x * x + y * y > bestX * bestX + bestY * bestY) {
            bestX = x;
            bestY = y;
        }
    }
    m_input.StickHeld(static_cast<int>(bestX), static_cast<int>(bestY), kPollMs);
}

} // namespace orv
