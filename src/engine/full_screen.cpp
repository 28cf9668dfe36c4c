// Full screen on Linux is a borderless window over the current screen with the game
// scaled; both screen modes come to that, since there is no display-mode switch to make.
#include "engine/engine.h"

namespace orv {

namespace {
constexpr const char* kFullScreenHiddenItems[] = {"N12", "N20", "N21", "N26"};
}

void Engine::EnterFullScreen() {
    if (FullScreenActive || FullScreenMode == 0) {
        return;
    }
    SavedBounds = m_platform.WindowBounds();
    for (const char* item : kFullScreenHiddenItems) {
        m_platform.SetMenuItemVisible(item, false);
    }
    if (m_platform.SetFullScreen(true)) {
        FullScreenActive = 1;
        return;
    }
    // Could not take the screen: back to the window as it was.
    for (const char* item : kFullScreenHiddenItems) {
        m_platform.SetMenuItemVisible(item, true);
    }
    m_platform.SetWindowBounds(SavedBounds);
    FullScreenActive = 0;
}

void Engine::LeaveFullScreen() {
    if (!FullScreenActive) {
        return;
    }
    FullScreenActive = 0;
    m_platform.SetFullScreen(false);
    for (const char* item : kFullScreenHiddenItems) {
        m_platform.SetMenuItemVisible(item, true);
    }
    m_platform.ShowToolBar(false);
    m_platform.SetWindowBounds(SavedBounds);
}

void Engine::DropFullScreen() {
    FullScreenActive = 0;
    FullScreenMode = 0;
    m_platform.SetFullScreen(false);
    for (const char* item : kFullScreenHiddenItems) {
        m_platform.SetMenuItemVisible(item, true);
    }
    m_platform.ShowToolBar(false);
    m_platform.SetWindowBounds(SavedBounds);
    settings.SMode = 0;
    WriteSetting("SMode", "0");
}

} // namespace orv
