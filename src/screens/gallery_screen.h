#pragma once
// The picture gallery and its scene replay (`viewer`). Each entry point does nothing until
// the gallery lands.

#include "screens/screen.h"
#include "screens/screen_modes.h"

#include <span>
#include <string>
#include <string_view>

namespace orv {

class Engine;

class GalleryScreen final : public Screen {
public:
    explicit GalleryScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return screen_mode::Gallery; }
    void Press(MouseButton /*button*/, int /*x*/, int /*y*/) override {}
    void Move(int /*x*/, int /*y*/) override {}
    AfterPass Pass() override { return AfterPass::FrameLoopAndPace; }

    // The views VIEW_1 and VIEW_2, read once at start-up.
    void CreateViews() {}
    void OpenView(std::string_view /*name*/) {} // viewer
    // The upper-cased names of the pictures of the view VIEW_1 in file order; a picture's
    // number is its position. Empty until the gallery lands.
    std::span<const std::string> PictureList() const { return {}; }
    // A replayed scene ended: back to its view.
    void EndReplay() {}
    void QuitReplay() {}

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
