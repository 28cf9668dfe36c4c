// Control commands: jumps, calls, conditions, assignments, waits and the game's own state.
#include "base/cp932.h"
#include "data/settings_store.h"
#include "engine/engine.h"
#include "script/commands.h"

#include <algorithm>

namespace orv {

namespace {

// The closing parenthesis of an `if` and its action are looked for this far into the line.
constexpr size_t kIfScan = 200;
// The action copied over the line buffer keeps at most this many bytes.
constexpr size_t kIfActionBytes = 199;
constexpr int32_t kLastReadMark = 80000;

} // namespace

StepResult CmdGo(Engine& engine, const CommandArgs& args) {
    engine.script.GoToLabel(TrimEnd(args.Argument));
    return StepResult::Continue;
}

StepResult CmdChain(Engine& engine, const CommandArgs& args) {
    engine.dispatcher.Chain(args.Argument);
    return StepResult::EndStep;
}

StepResult CmdCalc(Engine& engine, const CommandArgs& args) {
    engine.dispatcher.Assign(args.Argument);
    return StepResult::Continue;
}

StepResult CmdIf(Engine& engine, const CommandArgs& args) {
    if (!engine.dispatcher.Condition(args.Argument)) {
        return StepResult::EndStep;
    }
    std::string_view line = args.Line.substr(0, std::min(args.Line.size(), kIfScan));
    size_t close = line.find(')');
    if (close == std::string_view::npos) {
        return StepResult::EndStep;
    }
    size_t action = close + 1;
    while (action < line.size() && (line[action] == ' ' || line[action] == '\t')) {
        ++action;
    }
    if (action >= line.size()) {
        return StepResult::EndStep;
    }
    char first = line[action];
    if (first == '*' || first == '@' || first == '!') {
        // The action becomes the whole line and is classified again.
        std::string_view rest = args.Line.substr(action);
        size_t length = 0;
        while (length < rest.size()) {
            size_t next = length + cp932::CharLength(rest, length);
            if (next > kIfActionBytes) {
                break;
            }
            length = next;
        }
        char* buffer = engine.script.LineBuffer.data();
        std::memmove(buffer, rest.data(), length);
        buffer[length] = '\0';
        return StepResult::Reclassify;
    }
    engine.script.GoToLabel(TrimEnd(args.Line.substr(action)));
    return StepResult::EndStep;
}

StepResult CmdCall(Engine& engine, const CommandArgs& args) {
    engine.dispatcher.Call(args.Argument);
    return StepResult::EndStep;
}

StepResult CmdEnd(Engine& engine, const CommandArgs&) {
    engine.dispatcher.Return();
    return StepResult::EndStep;
}

StepResult CmdGameInit(Engine& engine, const CommandArgs&) {
    engine.vars.ResetForNewGame();
    engine.gfx.ResetCharacterPositions();
    return StepResult::Continue;
}

StepResult CmdGameClear(Engine& engine, const CommandArgs&) {
    engine.globals.GameCleared();
    return StepResult::Continue;
}

StepResult CmdMark(Engine& engine, const CommandArgs& args) {
    int32_t n = ArgumentNumber(args.Argument);
    if (n < 0 || n > kLastReadMark) {
        return StepResult::Continue;
    }
    Dispatcher& dispatcher = engine.dispatcher;
    if (engine.vars.ReadMark(n)) {
        dispatcher.PassageRead = 1;
        return StepResult::Continue;
    }
    engine.vars.SetReadMark(n);
    if (engine.settings.Seen) {
        // Skipping stops at text the player has not read yet.
        dispatcher.PassageRead = 0;
        engine.SkipActive = 0;
        engine.vars.S(cell::SkipIndicator) = 0;
        engine.screens.quickButtons.Refresh();
    }
    return StepResult::Continue;
}

StepResult CmdSleep(Engine& engine, const CommandArgs& args) {
    if (engine.SkipActive || engine.vars.S(cell::AutoLevel) != 0) {
        return StepResult::Continue;
    }
    // Idle passes of about 30 ms; a sleep shorter than one pass waits for a click instead.
    int32_t passes = ArgumentNumber(args.Argument) / 30;
    engine.wait.PassWait = passes != 0 ? passes : -1;
    return StepResult::EndStep;
}

StepResult CmdString(Engine& engine, const CommandArgs& args) {
    // *string n text: the digit at offset 8, the text from offset 10.
    if (args.Argument.empty() || args.Argument[0] < '0' || args.Argument[0] > '9') {
        return StepResult::Continue;
    }
    int n = args.Argument[0] - '0';
    engine.vars.SetString(n, args.Argument.size() > 2 ? args.Argument.substr(2) : "");
    return StepResult::Continue;
}

StepResult CmdBackTo(Engine& engine, const CommandArgs&) {
    engine.vars.S(cell::ResumePoint) = engine.dispatcher.LineStart;
    return StepResult::Continue;
}

StepResult CmdBreak(Engine& engine, const CommandArgs&) {
    engine.dispatcher.StopSkip();
    engine.dispatcher.StopSkipAndAuto(true);
    return StepResult::EndStep;
}

StepResult CmdExitGame(Engine& engine, const CommandArgs&) {
    // Closing asks the player first, as the window's close box does.
    engine.Host().CloseMainWindow();
    return StepResult::EndStep;
}

StepResult CmdRecord(Engine& engine, const CommandArgs&) {
    VariableStore& vars = engine.vars;
    vars.ClearFlags(FlagKind::F);
    vars.ClearGameVariables();
    engine.choices.RecordingStarted(engine.script.CurrentScriptNameText());
    if (vars.S(cell::ChoiceRecordMode) == 2) {
        vars.S(cell::ChoiceReplayPosition) = 0; // replaying: from the first recorded choice again
    } else {
        vars.S(cell::ChoiceRecordMode) = 1;
        vars.S(cell::ChoiceRecordCount) = 0;
        vars.S(cell::ChoiceReplayPosition) = 0;
    }
    return StepResult::Continue;
}

StepResult CmdExit(Engine& engine, const CommandArgs&) {
    if (engine.screens.ReplayMode != 0) {
        engine.screens.EndReplay();
    }
    return StepResult::EndStep;
}

StepResult CmdWeb(Engine& engine, const CommandArgs& args) {
    std::string_view target = TrimEnd(args.Argument);
    if (!target.empty()) {
        // One argument to the desktop's opener, never a shell command line.
        engine.Host().OpenWithDesktop(cp932::ToUtf8(target));
    }
    return StepResult::EndStep;
}

StepResult CmdMovie(Engine& engine, const CommandArgs& args) {
    std::string_view file = TrimEnd(args.Argument);
    if (!file.empty()) {
        engine.PlayMovie(cp932::ToUtf8(file));
    }
    return StepResult::Continue;
}

} // namespace orv
