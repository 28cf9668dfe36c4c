// The frame clock of animated effects: they pace themselves against it and skip frames on
// a slow machine instead of slowing down.
#include "engine/engine.h"

namespace orv {

void Graphics::StartFrameClock() {
    FrameClock = m_engine.Host().TimeGetTime();
}

int32_t Graphics::WaitFrames(int32_t interval) {
    Platform& host = m_engine.Host();
    host.PumpMessages();
    auto step = static_cast<uint32_t>(interval > 0 ? interval : 1);
    uint32_t elapsed = host.TimeGetTime() - FrameClock;
    if (elapsed < step) {
        host.Sleep(step - elapsed);
        FrameClock += step;
        return 1;
    }
    uint32_t frames = elapsed / step + 1;
    host.Sleep(frames * step - elapsed);
    FrameClock += frames * step;
    return static_cast<int32_t>(frames);
}

} // namespace orv
