#pragma once
// The backlog of past text while it is open over the game; its lines, scrolling and voice
// buttons are the backlog's own (text/backlog.h).

#include "screens/screen.h"

namespace orv {

class Engine;

class BacklogScreen final : public Screen {
public:
    explicit BacklogScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return -1; }
    ScreenLayer Layer() const override { return ScreenLayer::Modal; }
    bool CoversScene() const override { return true; }
    // A left press scrolls or plays a voice; any other press closes it.
    void Press(MouseButton button, int x, int y) override;
    void Move(int x, int y) override;
    void Release(MouseButton button, int x, int y) override;
    void Wheel(int delta) override;
    // The arrows, Page Up, Page Down, Home and End scroll.
    void KeyDown(int key) override;
    // Backspace and Escape close it.
    bool KeyPress(char key) override;
    // A held scroll button repeats.
    AfterPass Pass() override;
    void Close() override;

private:
    Engine& m_engine;
};

} // namespace orv
