#pragma once
// The game itself, always at the bottom of the screen stack: the script steps, the message
// window, choices and click maps, and the player's reactions to them.

#include "screens/screen.h"
#include "screens/screen_modes.h"

namespace orv {

class Engine;

class GameScreen final : public Screen {
public:
    explicit GameScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return screen_mode::Game; }
    void Press(MouseButton button, int x, int y) override;
    void Move(int x, int y) override;
    // Quick buttons held down come up with the mouse button.
    void Release(MouseButton button, int x, int y) override;
    void Wheel(int delta) override;
    void KeyDown(int key) override;
    AfterPass Pass() override;
    void Tick() override;

private:
    void AutoWaitTick(bool voicePlaying);

    Engine& m_engine;
};

} // namespace orv
