#pragma once
// Choices, branch groups and click maps. Entry points for the engine shell until the
// choices land.

#include <cstdint>
#include <string_view>

#include "platform/mouse_button.h"

namespace orv {

class Engine;

class Choices {
public:
    explicit Choices(Engine& engine) : m_engine(engine) {}

    // Once a timer tick while a choice waits: hover and blinking.
    void SelectionTick() {}

    // Input while a choice waits; each lands with the choices.
    void ChoiceHoverAt(int /*x*/, int /*y*/) {}
    // A press takes the hovered choice (a right press too, in a click map).
    void CommitChoice(MouseButton /*button*/) {}
    // The arrow keys of a `select` in window mode: -1 the previous choice, 1 the next.
    void MovePointerToChoice(int /*direction*/) {}
    // The screen as it was before a `select` drew its choices, for leaving it unanswered.
    void RestoreScreenBeforeSelect() {}

    // Entry points of the script commands; each lands with the choices.
    void Select(int32_t /*value*/) {}
    void ClickMap(std::string_view /*name*/) {}
    void Switch(std::string_view /*name*/) {}
    void ComputedJump(int32_t /*n*/) {}
    // rec started or restarted the choice record in the script `name`.
    void RecordingStarted(std::string_view /*scriptName*/) {}

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
