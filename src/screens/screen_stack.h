#pragma once
// The screens that own input, bottom to top: the game always at the bottom, whatever took it
// over above it, and the backlog or the config screen over that. The one place the engine
// asks which screen owns an event.

#include "screens/screen.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace orv {

class ScreenStack {
public:
    static constexpr int kCapacity = 8;

    explicit ScreenStack(Screen& bottom);

    Screen& Top() const { return *m_screens[static_cast<size_t>(m_depth - 1)]; }
    // The ScreenMode of the topmost screen that has one (0 for the game).
    int32_t Mode() const;
    bool Contains(const Screen& screen) const;

    // Puts the screen on top; a screen already on the stack, or one more than it holds,
    // stays where it is. False then.
    bool Push(Screen& screen);
    // Takes the screen off wherever it lies (the bottom stays). False when it was not on.
    bool Remove(const Screen& screen);
    // Takes every screen over the bottom one off, topmost first, each told with Close.
    void CloseAllAboveBottom();

private:
    std::array<Screen*, kCapacity> m_screens{};
    int m_depth = 1;
};

} // namespace orv
