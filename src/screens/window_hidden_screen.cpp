#include "screens/window_hidden_screen.h"

#include "engine/engine.h"

namespace orv {

void WindowHiddenScreen::Press(MouseButton /*button*/, int /*x*/, int /*y*/) {
    m_engine.backlog.RestoreMessageWindow();
}

bool WindowHiddenScreen::KeyPress(char key) {
    if (key != ' ' && key != '\x1b') {
        return false;
    }
    m_engine.backlog.RestoreMessageWindow();
    return true;
}

bool WindowHiddenScreen::Paint() {
    m_engine.gfx.PresentWhole(m_engine.gfx.SceneWithoutWindow());
    return true;
}

void WindowHiddenScreen::Close() {
    m_engine.backlog.ForgetHiddenWindow();
}

} // namespace orv
