#pragma once
// The backlog of past text while it is open over the game; its pages and scrolling are the
// backlog's own (text/backlog.h).

#include "screens/screen.h"

namespace orv {

class Engine;

class BacklogScreen final : public Screen {
public:
    explicit BacklogScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return -1; }
    ScreenLayer Layer() const override { return ScreenLayer::Modal; }
    // A right press closes it; the backspace key too.
    void Press(MouseButton button, int x, int y) override;
    void Move(int x, int y) override;
    void Release(MouseButton button, int x, int y) override;
    void Wheel(int delta) override;
    void KeyPress(char key) override;
    // Scrolling while an arrow key is held.
    AfterPass Pass() override;

private:
    Engine& m_engine;
};

} // namespace orv
