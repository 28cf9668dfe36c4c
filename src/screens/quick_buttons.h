#pragma once
// The quick buttons drawn into the message window and the auto-speed indicator. Each entry
// point does nothing until the quick buttons land.

#include "gfx/surface.h"

#include <cstdint>

namespace orv {

class Engine;

class QuickButtons {
public:
    explicit QuickButtons(Engine& engine) : m_engine(engine) {}

    void Refresh() {}
    // The hover state is reset when the control under the pointer changes.
    void ResetHover() {}
    void Hover(int /*x*/, int /*y*/) {}
    // Whether a button (or the auto-speed indicator) was hit.
    bool Press(int /*x*/, int /*y*/) { return false; }
    bool IndicatorClick(int /*x*/, int /*y*/) { return false; }
    // The pointer is on the voice-replay button (page review steps back there, forward
    // anywhere else).
    bool OverVoiceReplay() const { return false; }
    // The buttons drawn into the window picture whose top left is at (x, y) on the screen.
    void DrawInto(Surface& /*window*/, int32_t /*x*/, int32_t /*y*/) {}

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
