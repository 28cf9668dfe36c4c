#pragma once
// Game controllers through SDL2's game-controller layer: pads plugged in before or during
// the run are opened, unplugged ones closed, and their buttons and left stick passed to the
// core's GamepadInput, which decides what they do. Polled on the UI thread by a timer.

#include "engine/gamepad_input.h"

#include <QObject>
#include <QTimer>
#include <map>

class QWidget;

namespace orv {

class Engine;

class Gamepads : public QObject {
    Q_OBJECT

public:
    // Input reaches the engine only while `window` is the active window.
    Gamepads(Engine& engine, QWidget& window);
    ~Gamepads() override;
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // False when SDL's controller layer could not start: the game plays without pads.
    bool Available() const { return m_available; }
    int Connected() const { return static_cast<int>(m_pads.size()); }
    // One round of SDL's events and the sticks; the timer calls it.
    void Poll();

private:
    void Open(int deviceIndex);
    void Close(int instanceId);
    void Button(int sdlButton, bool down);
    void Sticks();

    QWidget& m_window;
    GamepadInput m_input;
    QTimer m_timer;
    bool m_available = false;
    // SDL_GameController* by joystick instance id.
    std::map<int, void*> m_pads;
};

} // namespace orv
