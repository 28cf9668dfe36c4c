// The lines of a script that belong to the text flow besides text: the speaker name, the
// empty line, and the page and line waits.
#include "base/cp932.h"
#include "engine/engine.h"
#include "text/text_flow.h"
#include "text/text_rules.h"

#include <algorithm>
#include <cstring>

namespace orv {

void TextFlow::StartPageWait(int32_t kind, bool snapshot) {
    CommitLogLine();
    m_engine.wait.WaitKind = kind;
    ShowAllNow = false;
    StartAutoWait();
    if (snapshot) {
        m_engine.backlog.TakePageSnapshot(false);
    }
    m_engine.script.EndLine();
}

void TextFlow::StartLineWait() {
    m_engine.wait.WaitKind = wait_kind::Line;
    StartAutoWait();
    ShowAllNow = false;
}

void TextFlow::PageEndLine(char mark) {
    switch (mark) {
    case '\\':
        StartPageWait(wait_kind::Page, true);
        break;
    case '~':
        StartPageWait(wait_kind::PageKeepVoice, true);
        break;
    case '+':
        StartPageWait(wait_kind::PageNoIcon, false);
        break;
    case '=':
        if (Skipping()) {
            break;
        }
        StartLineWait();
        m_engine.backlog.TakePageSnapshot(true);
        break;
    default:
        break;
    }
    m_engine.script.EndLine();
}

void TextFlow::AdvanceRow() { NextRow(); }

void TextFlow::DrawSpeakerLine(std::string_view line) {
    if (!WindowShown) {
        NewPage();
    }
    std::string_view name = line.substr(std::min<size_t>(1, line.size()));
    // ＄ and a letter O to X: the name is one of the string variables.
    if (name.size() >= 3 && cp932::CharCode(name.substr(0, 2)) == text_code::Dollar &&
        name[2] >= 'O' && name[2] <= 'X') {
        name = m_engine.vars.String(name[2] - 'O');
    }
    AppendLog(name);
    CommitLogLine();
    auto& row = PageText[0];
    row.fill('\0');
    // Whole characters only: a cut double-byte character would pair with the next byte.
    size_t length = 0;
    while (length < name.size()) {
        size_t next = length + cp932::CharLength(name, length);
        if (next > row.size() - 1) {
            break;
        }
        length = next;
    }
    if (length > 0) {
        std::memcpy(row.data(), name.data(), length);
    }
    CopyName(SpeakerName, name.substr(0, length));
    DrawSpeakerName(name.substr(0, length));
}

} // namespace orv
