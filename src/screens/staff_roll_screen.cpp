// What both staff rolls share: the resource, the screen mode and the menus, the requests of
// the close confirmation, sleeping while messages go through.
#include "screens/staff_roll_screen.h"

#include "base/cp932.h"
#include "engine/engine.h"

#include <algorithm>

namespace orv {

void StaffRollScreen::Press(MouseButton /*button*/, int /*x*/, int /*y*/) {
    if (m_running && m_pageRoll) {
        m_abort = true;
    }
}

AfterPass StaffRollScreen::Pass() {
    if (m_running && m_pageRoll) {
        PageRollTick();
    }
    return AfterPass::Pace;
}

void StaffRollScreen::Tick() {
    if (m_running && m_pageRoll) {
        PageRollTick();
    }
}

void StaffRollScreen::TextRollRequest(int32_t kind) {
    switch (kind) {
    case roll_request::Abort:
        m_abort = true;
        break;
    case roll_request::Pause:
        m_pause = true;
        break;
    case roll_request::Resume:
        m_pause = false;
        break;
    default:
        break;
    }
}

uint32_t StaffRollScreen::Now() const {
    return m_engine.Host().GetTickCount();
}

bool StaffRollScreen::ReadResource(std::string_view name) {
    ScriptState& script = m_engine.script;
    if (name.empty() || !script.LoadScript(name, ScriptTarget::Definition)) {
        return false;
    }
    // Kept apart from the definition buffer: messages go through while the roll runs, and
    // nothing may read another definition script under it.
    std::string_view text = script.DefinitionText();
    m_source.assign(text.begin(), text.end());
    m_readPos = 0;
    return true;
}

bool StaffRollScreen::NextLine(std::string_view& line) {
    if (m_readPos >= m_source.size()) {
        return false;
    }
    std::string_view rest = std::string_view(m_source).substr(m_readPos);
    size_t end = std::min(rest.find('\0'), rest.size());
    line = rest.substr(0, end);
    m_readPos += end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
        line.remove_suffix(1);
    }
    return true;
}

void StaffRollScreen::Begin() {
    m_running = true;
    m_abort = false;
    m_pause = false;
    m_endRequested = false;
    m_fontChanged = false;
    m_engine.screens.Open(*this);
    // A save or a load from the menus would act in the middle of the command.
    m_engine.MenusLocked = 1;
    m_engine.UpdateMenus();
}

void StaffRollScreen::End() {
    m_running = false;
    m_engine.screens.Close(*this);
    if (m_fontChanged) {
        Glyphs& glyphs = m_engine.text.glyphs;
        glyphs.Font().Open(cp932::ToUtf8(m_engine.settings.FontName), glyphs.PixelSize(),
                           m_engine.settings.FONTBold);
        m_fontChanged = false;
    }
    m_engine.MenusLocked = 0;
    m_engine.UpdateMenus();
}

void StaffRollScreen::SleepPumping(int64_t ms, int64_t step) {
    Platform& host = m_engine.Host();
    while (ms > 0 && !m_abort) {
        int64_t now = std::min(ms, step);
        host.Sleep(static_cast<uint32_t>(now));
        host.PumpMessages();
        ms -= now;
    }
}

} // namespace orv
