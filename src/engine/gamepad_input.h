#pragma once
// Game controllers: what each pad button does in the game, and the pointer the stick steers.
// A front end that reads a pad (SDL's game-controller layer on the desktop, the `pad` verb of
// a play file) passes plain button names and axis values here; every rule stays in the core.

#include <cstdint>
#include <optional>
#include <string_view>

namespace orv {

class Engine;

// The buttons of a game controller in the usual layout (the A button at the bottom).
enum class PadButton {
    A,
    B,
    X,
    Y,
    Back,
    Start,
    LeftShoulder,
    RightShoulder,
    Up,
    Down,
    Left,
    Right,
};

// The button of a lower-case name (a, b, x, y, back, start, leftshoulder, rightshoulder, up,
// down, left, right), as play files and the documentation write them.
std::optional<PadButton> PadButtonNamed(std::string_view name);
std::string_view PadButtonName(PadButton button);

// How far the pointer moves, in game pixels, for a stick held at (axisX, axisY) (each
// -32768..32767, right and down positive) for `elapsedMs`. Inside the dead zone it stays; the
// speed grows with the square of the deflection, so that small tilts place it finely.
struct PointerStep {
    double X = 0;
    double Y = 0;
};
PointerStep StickPointerStep(int axisX, int axisY, int elapsedMs);

// Stick values inside this distance from the centre are worn springs, not the player.
constexpr int kStickDeadZone = 8000;
// Game pixels a second at full deflection: the screen's width in under a second.
constexpr double kStickFullSpeed = 1000.0;

class GamepadInput {
public:
    explicit GamepadInput(Engine& engine) : m_engine(engine) {}

    void ButtonDown(PadButton button);
    void ButtonUp(PadButton button);
    // The stick's position, given every `elapsedMs` while the front end polls the pad.
    void StickHeld(int axisX, int axisY, int elapsedMs);

private:
    void OpenPopupMenu();

    Engine& m_engine;
    // Parts of a pixel the stick has moved and the pointer not yet.
    double m_restX = 0;
    double m_restY = 0;
};

} // namespace orv
