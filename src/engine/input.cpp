// Input entry points. The game-mode reactions to the mouse, keys, wheel and menus arrive
// with the input handling; until then input is taken and has no effect.
#include "engine/engine.h"

namespace orv {

void Engine::PBMouseDown(MouseButton, int, int) {}
void Engine::PBMouseMove(int, int) {}
void Engine::PBMouseUp(MouseButton, int, int) {}
void Engine::FormKeyDown(int) {}
void Engine::FormKeyPress(char) {}
void Engine::FormKeyUp(int) {}
void Engine::FormMouseWheel(int) {}

bool Engine::MenuItemClick(std::string_view component) {
    return IsMenuComponent(component);
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
