// Input entry points. The game-mode reactions to the mouse, keys, wheel and menus arrive
// with the input handling; until then input is taken and has no effect.
#include "engine/engine.h"

namespace orv {

void Engine::PBMouseDown(MouseButton, int, int) {}
void Engine::PBMouseMove(int, int y) {
    // In full screen the tool bar stands in for the hidden menus while the pointer is at the top.
    if (FullScreenActive) {
        m_platform.ShowToolBar(y < 30);
    }
}
void Engine::PBMouseUp(MouseButton, int, int) {}
void Engine::FormKeyDown(int) {}
void Engine::FormKeyPress(char) {}
void Engine::FormKeyUp(int) {}
void Engine::FormMouseWheel(int) {}

bool Engine::MenuItemClick(std::string_view component) {
    if (!IsMenuComponent(component)) {
        return false;
    }
    // The exit items close the window as its close box does, confirmation and all.
    if (component == "N14" || component == "N18" || component == "N6") {
        m_platform.CloseMainWindow();
    } else if (component == "SpeedButton5") {
        LeaveFullScreen();
        FullScreenMode = 0;
        settings.SMode = 0;
        WriteSetting("SMode", "0");
    }
    return true;
}

void Engine::UpdateMenus() {}

bool IsMenuComponent(std::string_view component) {
    static constexpr std::string_view kComponents[] = {
        "SM01", "SM02", "N4", "SM04", "SM05", "N5", "N8", "N9", "N10", "N13", "N17", "N18",
        "N12", "N14", "N15", "N1", "N2", "N20", "N21", "N22", "N23", "N24", "N25", "N27",
        "N26", "N6", "N7", "N19", "SpeedButton1", "SpeedButton2", "SpeedButton3",
        "SpeedButton4", "SpeedButton5"};
    for (auto name : kComponents) {
        if (name == component) {
            return true;
        }
    }
    return false;
}

} // namespace orv
