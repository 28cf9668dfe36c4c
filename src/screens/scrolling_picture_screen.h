#pragma once
// A picture larger than the screen scrolled through (`scroll`); the scrolling itself is the
// graphics subsystem's. The screen only keeps the game's input away while it runs.

#include "screens/screen.h"
#include "screens/screen_modes.h"

namespace orv {

class ScrollingPictureScreen final : public Screen {
public:
    int32_t Mode() const override { return screen_mode::ScrollingPicture; }
};

} // namespace orv
