#pragma once
// The config screen drawn over the game. It owns every event while it is open, and the loop
// stands still under it. Each entry point does nothing until the config screen lands.

#include "screens/screen.h"

namespace orv {

class Engine;

class ConfigScreen final : public Screen {
public:
    explicit ConfigScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return -1; }
    ScreenLayer Layer() const override { return ScreenLayer::Exclusive; }
    AfterPass Pass() override { return AfterPass::Pace; }

    // The `config` command, the menu items and the C key.
    void Open() {}

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
