#pragma once
// The message window hidden so that the player sees the whole scene; the next press, W,
// Space, Return or Escape brings it back. Hiding and restoring are the backlog's
// (text/backlog.h).

#include "screens/screen.h"
#include "screens/screen_modes.h"

namespace orv {

class Engine;

class WindowHiddenScreen final : public Screen {
public:
    explicit WindowHiddenScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return screen_mode::WindowHidden; }
    void Press(MouseButton button, int x, int y) override;
    // Space and Escape bring the window back (Return does as a press; W is the engine's).
    bool KeyPress(char key) override;
    // The scene without the window.
    bool Paint() override;
    void Close() override;

private:
    Engine& m_engine;
};

} // namespace orv
