#include "screens/backlog_screen.h"

#include "engine/engine.h"

namespace orv {

void BacklogScreen::Press(MouseButton button, int x, int y) {
    if (button == MouseButton::Right) {
        m_engine.backlog.CloseBacklog();
    } else {
        m_engine.backlog.BacklogPress(button, x, y);
    }
}

void BacklogScreen::Move(int x, int y) {
    m_engine.backlog.BacklogMove(x, y);
}

void BacklogScreen::Release(MouseButton button, int x, int y) {
    m_engine.backlog.BacklogRelease(button, x, y);
}

void BacklogScreen::Wheel(int delta) {
    m_engine.backlog.BacklogWheel(delta);
}

void BacklogScreen::KeyPress(char key) {
    if (key == '\b') {
        m_engine.backlog.CloseBacklog();
    }
}

AfterPass BacklogScreen::Pass() {
    m_engine.backlog.ScrollHeldArrows();
    return AfterPass::Pace;
}

} // namespace orv
