#pragma once
// The backlog of past text. Entry points for the engine shell; they do nothing until the
// backlog lands.

#include <string_view>

#include "platform/mouse_button.h"

namespace orv {

class Engine;

class Backlog {
public:
    explicit Backlog(Engine& engine) : m_engine(engine) {}

    void ClearLog() {}
    // Scrolling while an arrow key is held, once an idle pass.
    void ScrollHeldArrows() {}
    // A voice started by the script, kept with the line it belongs to. Lands with the backlog.
    void AppendVoiceEntry(std::string_view /*name*/) {}
    // The bytes of the text line being typed, and its end. Land with the backlog.
    void AppendBacklogBytes(std::string_view /*bytes*/) {}
    void CommitBacklogLine() {}
    // The page as it stands at a wait, for page review; a provisional one (a line wait) is
    // replaced by the next. Lands with the backlog.
    void TakePageSnapshot(bool /*provisional*/) {}

    // Opening and closing, and input while it is open. Each lands with the backlog.
    void OpenBacklog() {}
    void CloseBacklog() {}
    void BacklogPress(MouseButton /*button*/, int /*x*/, int /*y*/) {}
    void BacklogMove(int /*x*/, int /*y*/) {}
    void BacklogRelease(MouseButton /*button*/, int /*x*/, int /*y*/) {}
    void BacklogWheel(int /*delta*/) {}
    // The hidden message window (ScreenMode 1). Each lands with the backlog.
    void HideMessageWindow() {}
    void RestoreMessageWindow() {}
    // Page review (ScreenMode 9): -1 one page back, 1 one page forward. Each lands with the
    // backlog.
    void EnterRewind() {}
    void RewindStep(int /*direction*/) {}
    void LeaveRewind() {}

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
