#pragma once
// The recollection: the list of scenes seen, the record slots and their playlists
// (`kaisou`). Each entry point does nothing until the recollection lands.

#include "screens/screen.h"
#include "screens/screen_modes.h"

#include <string_view>

namespace orv {

class Engine;

class RecollectionScreen final : public Screen {
public:
    explicit RecollectionScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return screen_mode::Recollection; }
    void Press(MouseButton /*button*/, int /*x*/, int /*y*/) override {}
    void Move(int /*x*/, int /*y*/) override {}
    void Release(MouseButton /*button*/, int /*x*/, int /*y*/) override {}
    void Tick() override {}

    void Open() {} // kaisou
    void MarkSceneSeen(std::string_view /*upperName*/) {}
    // The replay of the queued scenes: on to the next one, or out.
    void NextQueuedScene() {}
    void QuitReplay() {}

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
