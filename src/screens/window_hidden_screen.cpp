#include "screens/window_hidden_screen.h"

#include "engine/engine.h"

namespace orv {

void WindowHiddenScreen::Press(MouseButton /*button*/, int /*x*/, int /*y*/) {
    m_engine.backlog.RestoreMessageWindow();
}

bool WindowHiddenScreen::Paint() {
    m_engine.gfx.PresentWhole(m_engine.gfx.SceneWithoutWindow());
    return true;
}

} // namespace orv
