#include "screens/page_review_screen.h"

#include "engine/engine.h"
#include "engine/keys.h"

namespace orv {

void PageReviewScreen::Press(MouseButton button, int x, int y) {
    if (button == MouseButton::Right) {
        m_engine.backlog.LeaveRewind();
    } else if (button == MouseButton::Left) {
        m_engine.screens.quickButtons.Press(x, y);
    }
}

void PageReviewScreen::Wheel(int delta) {
    m_engine.backlog.RewindStep(delta > 0 ? -1 : 1);
}

void PageReviewScreen::KeyDown(int key) {
    if ((key == keys::Left || key == keys::Right) &&
        m_engine.choices.SelectionKind == selection_kind::None && !m_engine.BackgroundLoopRuns()) {
        m_engine.backlog.RewindStep(key == keys::Left ? -1 : 1);
    }
}

} // namespace orv
