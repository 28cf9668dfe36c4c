// The frame clock of animated effects: they pace themselves against it and skip frames on
// a slow machine instead of slowing down. Both clocks read the platform's monotonic count.
#include "engine/engine.h"

#include <algorithm>

namespace orv {

namespace {
// More frames than this at once means the clock stood still for hours (a suspended
// machine); every effect is past its end by then, and the count stays far from overflowing
// the effects' arithmetic.
constexpr uint64_t kMaxFramesAtOnce = 1u << 20;
} // namespace

void Graphics::StartFrameClock() {
    FrameClock = m_engine.Host().TimeGetTime();
}

int32_t Graphics::WaitFrames(int32_t interval) {
    Platform& host = m_engine.Host();
    host.PumpMessages();
    // An interval of 0 would never advance the clock.
    auto step = static_cast<uint32_t>(interval > 0 ? interval : 1);
    uint32_t elapsed = host.TimeGetTime() - FrameClock;
    if (elapsed < step) {
        host.Sleep(step - elapsed);
        FrameClock += step;
        return 1;
    }
    uint64_t frames = elapsed / step + 1;
    host.Sleep(static_cast<uint32_t>(frames * step - elapsed));
    FrameClock += static_cast<uint32_t>(frames * step);
    return static_cast<int32_t>(std::min(frames, kMaxFramesAtOnce));
}

void Graphics::WaitUntilTick(uint32_t deadline) {
    Platform& host = m_engine.Host();
    // Compared as a signed difference, so that the wrap of the 32-bit count does no harm.
    auto left = static_cast<int32_t>(deadline - host.GetTickCount());
    if (left > 0) {
        host.Sleep(static_cast<uint32_t>(left));
    }
    host.PumpMessages();
}

} // namespace orv
