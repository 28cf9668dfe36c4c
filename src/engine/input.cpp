// Input entry points. The game-mode reactions to the mouse, keys, wheel and menus arrive
// with the input handling; until then input is taken and has no effect.
#include "engine/engine.h"
#include "engine/keys.h"

namespace orv {

namespace {
constexpr int32_t kClickGuardPasses = 5;
} // namespace

// Choice input: only the choice branch of the game-mode handlers, until the input handling
// lands around it.
bool Engine::ChoiceInputOpen() const {
    return SelectionKind != 0 && !Busy && !InterruptibleWait && SystemMenuState == 0 &&
           !ConfigScreenOpen && !BacklogOpen && ScreenMode == screen_mode::Game;
}

void Engine::PBMouseDown(MouseButton button, int, int) {
    // Choice input (see ChoiceInputOpen).
    if (!ChoiceInputOpen()) {
        return;
    }
    if (button == MouseButton::Left) {
        if (ClickGuard == 0) {
            choices.CommitChoice(button);
        }
        ClickGuard = kClickGuardPasses;
    } else if (button == MouseButton::Right && SelectionKind == selection_kind::ClickMap) {
        choices.CommitChoice(button);
    } else if (button == MouseButton::Middle) {
        ClickGuard = kClickGuardPasses;
    }
}
void Engine::PBMouseMove(int x, int y) {
    // In full screen the tool bar stands in for the hidden menus while the pointer is at the top.
    if (FullScreenActive) {
        m_platform.ShowToolBar(y < 30);
    }
    // Choice input (see ChoiceInputOpen).
    if (ChoiceInputOpen()) {
        choices.ChoiceHoverAt(x, y);
    }
}
void Engine::PBMouseUp(MouseButton, int, int) {}
void Engine::FormKeyDown(int key) {
    // Choice input (see ChoiceInputOpen).
    if (ChoiceInputOpen() && SelectionKind == selection_kind::Window &&
        (key == keys::Up || key == keys::Down)) {
        choices.MovePointerToChoice(key == keys::Down);
    }
}
void Engine::FormKeyPress(char key) {
    // Choice input (see ChoiceInputOpen): Return and Z press the left button where the
    // pointer is.
    if (ChoiceInputOpen() && (key == '\r' || key == 'Z' || key == 'z')) {
        Point cursor = m_platform.GetCursorPos();
        Point origin = m_platform.PaintBoxOrigin();
        PBMouseDown(MouseButton::Left, cursor.X - origin.X, cursor.Y - origin.Y);
    }
}
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
