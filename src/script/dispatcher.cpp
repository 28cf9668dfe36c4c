#include "script/dispatcher.h"

#include "base/cp932.h"
#include "engine/engine.h"
#include "script/command_table.h"

#include <algorithm>

namespace orv {

namespace {

// A script that jumps in a circle without ever waiting (`:a` `*go a`) would hold the step
// for ever; past this many lines the step ends and the next pass goes on where it stopped.
// No script that waits for the player comes near it.
constexpr int kLinesPerStep = 100000;

} // namespace

void CopyField(char* field, size_t size, std::string_view text) {
    if (size == 0) {
        return;
    }
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    size_t length = cp932::CutToWholeChars(text, size - 1).size();
    // The text may lie in the field itself (a name copied back onto its own slot). An empty
    // view may carry no pointer at all, which memmove must not be given.
    if (length > 0) {
        std::memmove(field, text.data(), length);
    }
    std::memset(field + length, 0, size - length);
}

Dispatcher::Dispatcher(Engine& engine)
    : expressions(engine.vars, engine.random, *this), m_engine(engine) {}

void Dispatcher::MenuCellsAssigned() {
    m_engine.UpdateMenus();
}

void Dispatcher::ScriptStep() {
    ScriptState& script = m_engine.script;
    for (int lines = 0; lines < kLinesPerStep; ++lines) {
        if (script.NeedLine != 1) {
            // The current text line is still being typed.
            if (!m_engine.text.TypeText()) {
                return;
            }
            continue;
        }
        int32_t start = script.ReadPos;
        if (!script.FetchLine()) {
            EndOfScript();
            return;
        }
        LineStart = start;
        if (!ExecuteLine()) {
            return;
        }
    }
}

bool Dispatcher::ExecuteLine() {
    ScriptState& script = m_engine.script;
    while (true) {
        std::string_view line(script.LineBuffer.data(),
                              ::strnlen(script.LineBuffer.data(), script.LineBuffer.size()));
        char first = line.empty() ? '\0' : line[0];
        switch (first) {
        case '\0':
            m_engine.text.AdvanceRow();
            return true;
        case '!':
            Assign(line.substr(1));
            return true;
        case ':':
        case ';':
        case '}':
            return true;
        case '{':
            if (line.size() > 1 && line[1] == ':') {
                std::string_view name = line.substr(2);
                name = name.substr(0, std::min(name.find('('), name.size()));
                script.ReadPos = script.SkipNamedBlock(script.ReadPos, name);
            } else {
                script.ReadPos = script.SkipToBlockEnd(script.ReadPos);
            }
            return true;
        case '>':
            if (m_engine.vars.S(cell::NovelMode) != 0) {
                script.NeedLine = 0;
                return m_engine.text.TypeNovelSpeakerName();
            }
            m_engine.text.DrawSpeakerLine(line);
            return true;
        case '=':
            if (m_engine.SkipActive) {
                return true;
            }
            [[fallthrough]];
        case '\\':
        case '~':
        case '+':
            m_engine.text.PageEndLine(first);
            return false;
        case '*':
        case '@': {
            int index = FindCommand(line.substr(1));
            if (index < 0) {
                return true;
            }
            StepResult result = ExecuteCommand(index, line);
            if (result == StepResult::Reclassify) {
                continue;
            }
            return result == StepResult::Continue;
        }
        default:
            script.NeedLine = 0;
            return m_engine.text.TypeText();
        }
    }
}

StepResult Dispatcher::ExecuteCommand(int index, std::string_view line) {
    std::span<const Command> table = CommandTable();
    if (index < 0 || static_cast<size_t>(index) >= table.size()) {
        return StepResult::Continue;
    }
    const Command& command = table[static_cast<size_t>(index)];
    auto offset = static_cast<size_t>(command.ArgumentOffset);
    CommandArgs args{line, offset < line.size() ? line.substr(offset) : std::string_view()};
    return command.Handler(m_engine, args);
}

void Dispatcher::EndOfScript() {
    // A called script that runs off its end returns as `end` does; the top level stays on
    // its last screen.
    if (CallDepth > 0) {
        Return();
    }
}

bool Dispatcher::AtScriptEnd() const {
    const ScriptState& script = m_engine.script;
    return CallDepth == 0 && script.NeedLine == 1 &&
           (script.ReadPos < 0 || script.ReadPos >= script.ScriptSize);
}

void Dispatcher::StopSkipAndAuto(bool force) {
    if (!(m_engine.settings.BreakonSelect || force) || m_engine.dialogs.SaveListShown()) {
        return;
    }
    StopSkip();
    m_engine.vars.S(cell::AutoLevel) = 0;
    if (m_engine.screens.Mode() == screen_mode::Game) {
        m_engine.screens.quickButtons.Refresh();
    }
}

void Dispatcher::StopSkip() {
    m_engine.vars.S(cell::SkipIndicator) = 0;
    m_engine.vars.S(cell::AutoIndicator) = 0;
    if (m_engine.text.WindowShown && m_engine.screens.Mode() == screen_mode::Game) {
        m_engine.screens.quickButtons.Refresh();
    }
    m_engine.SkipActive = 0;
}

void Dispatcher::PrepareForChoice() {
    StopSkipAndAuto(false);
}

} // namespace orv
