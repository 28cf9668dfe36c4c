#include "screens/page_review_screen.h"

#include "engine/engine.h"
#include "engine/keys.h"

namespace orv {

void PageReviewScreen::Press(MouseButton button, int x, int y) {
    if (button == MouseButton::Right) {
        m_engine.backlog.LeaveRewind();
    } else if (button == MouseButton::Left) {
        // Back on the voice-replay button, forward anywhere else.
        m_engine.screens.quickButtons.Press(x, y);
    }
}

void PageReviewScreen::Move(int x, int y) { m_engine.screens.quickButtons.Hover(x, y); }

void PageReviewScreen::Wheel(int delta) {
    m_engine.backlog.StepRewind(delta > 0 ? rewind::Back : rewind::Forward);
}

void PageReviewScreen::KeyDown(int key) {
    if ((key == keys::Left || key == keys::Right) &&
        m_engine.choices.SelectionKind == selection_kind::None && !m_engine.BackgroundLoopRuns()) {
        m_engine.backlog.StepRewind(key == keys::Left ? rewind::Back : rewind::Forward);
    }
}

bool PageReviewScreen::KeyPress(char key) {
    if (key != '\x1b') {
        return false;
    }
    m_engine.backlog.LeaveRewind();
    return true;
}

void PageReviewScreen::Close() {
    m_engine.backlog.ForgetRewind();
}

} // namespace orv
