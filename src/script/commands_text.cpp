// Text commands: the message window, novel mode and the chapter title.
#include "engine/engine.h"
#include "script/commands.h"

namespace orv {

StepResult CmdMode(Engine& engine, const CommandArgs& args) {
    VariableStore& vars = engine.vars;
    vars.S(37) = 0xFFFFFF;
    engine.text.SetTextColour(0);
    // Any number other than the current mode toggles it.
    if (ArgumentNumber(args.Argument) != vars.S(160)) {
        engine.text.ResetPage();
        if (vars.S(160) != 0) {
            vars.S(160) = 0;
            engine.screens.RefreshQuickButtons();
        } else {
            vars.S(160) = 1;
            engine.text.PrepareNovelScreen();
        }
        engine.gfx.RunTransition(6);
    }
    engine.script.NeedLine = 1;
    return StepResult::EndStep;
}

StepResult CmdWindowClose(Engine& engine, const CommandArgs&) {
    if (engine.vars.S(160) == 0 && engine.WindowShown) {
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
    engine.text.ResetPage();
    engine.WindowShown = ArgumentNumber(args.Argument) != 0 ? 1 : 0;
    return StepResult::Continue;
}

} // namespace orv
