// Which menu items and tool-bar buttons can be chosen: locked while something owns the
// screen, and following S000 (save and load availability), S028 (saving allowed) and the
// background loop.
#include "engine/engine.h"

namespace orv {

namespace {

constexpr const char* kLockedItems[] = {
    "N12",          "N22",          "N26",          "N21",          "N20",
    "N5",           "N8",           "N9",           "N10",          "N13",
    "SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4", "SpeedButton5"};
constexpr const char* kAlwaysItems[] = {"N12", "N22",          "N26",          "N13",
                                        "N4",  "SpeedButton1", "SpeedButton2", "SpeedButton5"};
constexpr const char* kSaveLoadItems[] = {"N21", "N20", "N5",           "N8",
                                          "N9",  "N10", "SpeedButton3", "SpeedButton4"};
constexpr const char* kLoadItems[] = {"N20", "N5", "N9", "SpeedButton4"};
constexpr const char* kSaveItems[] = {"N21", "N8", "N10", "SpeedButton3"};
constexpr const char* kLoopItems[] = {
    "N22",          "N26",          "N21",          "N20",          "N4",
    "N5",           "N8",           "N9",           "N10",          "N13",
    "SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4", "SpeedButton5"};

} // namespace

void Engine::SetMenuItemEnabled(std::string_view component, bool enabled) {
    int index = MenuComponentIndex(component);
    if (index >= 0) {
        MenuDisabledStates[static_cast<size_t>(index)] = enabled ? 0 : 1;
    }
    m_platform.SetMenuItemEnabled(component, enabled);
}

bool Engine::MenuItemEnabled(std::string_view component) const {
    int index = MenuComponentIndex(component);
    return index < 0 || MenuDisabledStates[static_cast<size_t>(index)] == 0;
}

void Engine::UpdateMenus() {
    auto set = [this](std::span<const char* const> items, bool enabled) {
        for (const char* item : items) {
            SetMenuItemEnabled(item, enabled);
        }
    };
    if (MenusLocked) {
        set(kLockedItems, false);
        return;
    }
    set(kAlwaysItems, true);
    switch (vars.S(cell::SaveLoad)) {
    case 0:
        set(kSaveLoadItems, true);
        break;
    case 1:
        set(kLoadItems, true);
        set(kSaveItems, false);
        break;
    case 2:
    case 3:
        set(kSaveLoadItems, false);
        break;
    default:
        break;
    }
    if (vars.S(cell::SavingAllowed) == 0) {
        set(kSaveItems, false);
    }
    if (BackgroundLoopRuns()) {
        set(kLoopItems, false);
    }
}

} // namespace orv
