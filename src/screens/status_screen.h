#pragma once
// The map screen (ScreenMode 4, `map`) and the status screen (ScreenMode 10, the calendar of
// the first game-specific quick button), which share their input. Each entry point does nothing until they land.

#include "screens/screen.h"
#include "screens/screen_modes.h"

#include <string_view>

namespace orv {

class Engine;

class StatusScreen final : public Screen {
public:
    StatusScreen(Engine& engine, int32_t mode) : m_engine(engine), m_mode(mode) {}

    int32_t Mode() const override { return m_mode; }
    void Press(MouseButton /*button*/, int /*x*/, int /*y*/) override {}
    void Move(int /*x*/, int /*y*/) override {}
    // The map looks at the pointer again every 16 passes.
    AfterPass Pass() override;
    // The map paints itself (nothing until it lands); the status screen shows BackBuffer.
    bool Paint() override { return m_mode == screen_mode::Map; }
    void Close() override {}

    void OpenMap(std::string_view /*name*/) {} // map

private:
    void PointerPass() {}

    Engine& m_engine;
    int32_t m_mode;
};

} // namespace orv
