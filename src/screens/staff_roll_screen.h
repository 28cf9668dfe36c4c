#pragma once
// The staff roll (`roll`) and the credits roll (`sroll`). Each entry point does nothing until
// the staff rolls land.

#include "screens/screen.h"
#include "screens/screen_modes.h"

#include <string_view>

namespace orv {

class Engine;

class StaffRollScreen final : public Screen {
public:
    explicit StaffRollScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return screen_mode::StaffRoll; }
    void Press(MouseButton /*button*/, int /*x*/, int /*y*/) override {}
    AfterPass Pass() override { return AfterPass::FrameLoopAndPace; }
    void Tick() override {}

    void Play(std::string_view /*name*/) {}        // roll
    void PlayCredits(std::string_view /*name*/) {} // sroll
    // Around the close confirmation: the roll stands still while it is asked, and stops when
    // the program closes.
    void Pause() {}
    void Resume() {}
    void Stop() {}

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
