#include "screens/backlog_screen.h"

#include "engine/engine.h"

namespace orv {

void BacklogScreen::Press(MouseButton button, int x, int y) {
    m_engine.backlog.BacklogMouseDown(button, x, y);
}

void BacklogScreen::Move(int x, int y) {
    m_engine.backlog.BacklogMouseMove(x, y);
}

void BacklogScreen::Release(MouseButton /*button*/, int /*x*/, int /*y*/) {
    m_engine.backlog.BacklogMouseUp();
}

void BacklogScreen::Wheel(int delta) {
    m_engine.backlog.BacklogWheel(delta);
}

void BacklogScreen::KeyDown(int key) {
    m_engine.backlog.BacklogKey(key);
}

bool BacklogScreen::KeyPress(char key) {
    if (key == '\b' || key == '\x1b') {
        m_engine.backlog.CloseBacklog();
    }
    return true;
}

AfterPass BacklogScreen::Pass() {
    m_engine.backlog.BacklogRepeatTick();
    return AfterPass::Pace;
}

void BacklogScreen::Close() {
    m_engine.backlog.ForgetBacklogScreen();
}

} // namespace orv
