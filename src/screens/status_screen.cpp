#include "screens/status_screen.h"

#include "engine/engine.h"

namespace orv {

namespace {
constexpr int32_t kPointerPassPeriod = 16;
constexpr int32_t kPointerPass = 14;
} // namespace

AfterPass StatusScreen::Pass() {
    if (m_mode == screen_mode::Map &&
        m_engine.PassCounter % kPointerPassPeriod == kPointerPass) {
        PointerPass();
    }
    return AfterPass::FrameLoopAndPace;
}

} // namespace orv
