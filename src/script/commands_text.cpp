// Text commands: the message window, novel mode and the chapter title.
#include "engine/engine.h"
#include "script/commands.h"

namespace orv {

StepResult CmdMode(Engine& engine, const CommandArgs& args) {
    VariableStore& vars = engine.vars;
    vars.S(cell::TextColourZero) = 0xFFFFFF;
    engine.text.SetTextColour(0);
    // Any number other than the current mode toggles it.
    if (ArgumentNumber(args.Argument) != vars.S(cell::NovelMode)) {
        engine.text.ResetPage();
        if (vars.S(cell::NovelMode) != 0) {
            vars.S(cell::NovelMode) = 0;
            engine.screens.quickButtons.Refresh();
        } else {
            vars.S(cell::NovelMode) = 1;
            engine.text.PrepareNovelScreen();
        }
        engine.gfx.RunTransition(6);
    }
    engine.script.EndLine();
    return StepResult::EndStep;
}

StepResult CmdWindowClose(Engine& engine, const CommandArgs&) {
    if (engine.vars.S(cell::NovelMode) == 0 && engine.text.WindowShown) {
        engine.text.CloseWindow();
    }
    return StepResult::Continue;
}

StepResult CmdWindowOpen(Engine& engine, const CommandArgs&) {
    engine.text.OpenWindow();
    return StepResult::Continue;
}

StepResult CmdTitle(Engine& engine, const CommandArgs& args) {
    CopyName(engine.dispatcher.ChapterTitle, args.Argument);
    return StepResult::Continue;
}

StepResult CmdTextWindowSet(Engine& engine, const CommandArgs& args) {
    engine.text.SetWindowShown(ArgumentNumber(args.Argument) != 0);
    return StepResult::Continue;
}

} // namespace orv
