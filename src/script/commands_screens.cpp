// Commands that hand the game to the player: choices, click maps, the save list, the name
// entry and the in-game screens.
#include "engine/engine.h"
#include "script/commands.h"

namespace orv {

namespace {

std::string_view SkipBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    return text;
}

} // namespace

StepResult CmdSelect(Engine& engine, const CommandArgs& args) {
    // `*select` or `*select expression`: the expression starts after the blank at offset 7.
    int32_t value = 0;
    if (!args.Argument.empty() && args.Argument[0] == ' ') {
        value = engine.dispatcher.Evaluate(SkipBlanks(args.Argument));
    }
    engine.choices.Select(value);
    return StepResult::EndStep;
}

StepResult CmdClickMap(Engine& engine, const CommandArgs& args) {
    engine.dispatcher.PrepareForChoice();
    engine.choices.ClickMap(FirstWord(args.Argument));
    return StepResult::EndStep;
}

StepResult CmdSwitch(Engine& engine, const CommandArgs& args) {
    std::string_view name = args.Argument;
    if (!name.empty() && name[0] == ' ') {
        name.remove_prefix(1);
    }
    engine.choices.Switch(TrimEnd(name));
    return StepResult::EndStep;
}

StepResult CmdComputedJump(Engine& engine, const CommandArgs& args) {
    // Without an expression the branch follows S006: whether the player renamed anyone.
    std::string_view expression = SkipBlanks(args.Argument);
    int32_t n = expression.empty() ? engine.vars.S(cell::NamesChanged) : engine.dispatcher.Evaluate(expression);
    engine.choices.ComputedJump(n);
    return StepResult::Continue;
}

StepResult CmdLoad(Engine& engine, const CommandArgs& args) {
    engine.dispatcher.PrepareForChoice();
    if (IsBlankText(args.Argument)) {
        engine.dialogs.ShowSaveList(0);
    } else if (ArgumentNumber(args.Argument) == 99) {
        engine.prompts.AskYesNo(kQuickLoadQuestion, prompt_action::QuickLoad);
    }
    return StepResult::EndStep;
}

StepResult CmdSave(Engine& engine, const CommandArgs&) {
    engine.dispatcher.StopSkipAndAuto(false);
    engine.dialogs.ShowSaveList(1);
    return StepResult::EndStep;
}

StepResult CmdSelectionTree(Engine& engine, const CommandArgs& args) {
    engine.dispatcher.PrepareForChoice();
    engine.screens.selectionTree.Show(ArgumentNumber(args.Argument));
    return StepResult::EndStep;
}

StepResult CmdMap(Engine& engine, const CommandArgs& args) {
    engine.screens.map.OpenMap(FirstWord(args.Argument));
    engine.dispatcher.PrepareForChoice();
    return StepResult::EndStep;
}

StepResult CmdStaffRoll(Engine& engine, const CommandArgs& args) {
    engine.dispatcher.StopSkipAndAuto(true);
    engine.screens.staffRoll.Play(FirstWord(args.Argument));
    return StepResult::EndStep;
}

StepResult CmdCreditsRoll(Engine& engine, const CommandArgs& args) {
    engine.screens.staffRoll.PlayCredits(FirstWord(args.Argument));
    return StepResult::EndStep;
}

StepResult CmdSetName(Engine& engine, const CommandArgs&) {
    BusyScope busy(engine.blocking);
    engine.dispatcher.StopSkipAndAuto(false);
    engine.dialogs.ShowNameEntry();
    const VariableStore& vars = engine.vars;
    bool renamed = vars.String(0) != engine.config.DEFAULT_NAME ||
                   vars.String(1) != engine.config.DEFAULT_NAME2;
    engine.vars.S(cell::NamesChanged) = renamed ? 1 : 0;
    return StepResult::EndStep;
}

StepResult CmdViewer(Engine& engine, const CommandArgs& args) {
    engine.dispatcher.StopSkipAndAuto(true);
    engine.screens.gallery.OpenView(FirstWord(args.Argument));
    return StepResult::EndStep;
}

StepResult CmdRecollection(Engine& engine, const CommandArgs&) {
    engine.screens.recollection.Open();
    return StepResult::EndStep;
}

StepResult CmdConfig(Engine& engine, const CommandArgs&) {
    engine.screens.config.Open();
    return StepResult::EndStep;
}

} // namespace orv
