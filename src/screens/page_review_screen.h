#pragma once
// Page review: earlier pages shown again one at a time; the arrows, the wheel and a left
// press step through them, a right press or Escape leaves. The pages are the backlog's
// (text/backlog.h).

#include "screens/screen.h"
#include "screens/screen_modes.h"

namespace orv {

class Engine;

class PageReviewScreen final : public Screen {
public:
    explicit PageReviewScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return screen_mode::PageReview; }
    bool CoversScene() const override { return true; }
    // A left press steps back on the voice-replay button and forward anywhere else.
    void Press(MouseButton button, int x, int y) override;
    // The pointer lights the quick buttons that work in review (skip and voice replay).
    void Move(int x, int y) override;
    void Wheel(int delta) override;
    void KeyDown(int key) override;
    bool KeyPress(char key) override;
    void Close() override;

private:
    Engine& m_engine;
};

} // namespace orv
