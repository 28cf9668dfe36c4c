// Sound commands: music, voices and sound effects.
#include "base/cp932.h"
#include "engine/engine.h"
#include "script/commands.h"

#include <array>

namespace orv {

namespace {

// se and seloop: a sound of a switched-off scene category (SEH0.. SEH4, settings SE0..SE4)
// is not played.
void PlaySoundEffect(Engine& engine, std::string_view argument) {
    std::string_view name = FirstWord(argument);
    std::array<char, 64> upper{};
    if (name.empty() || name.size() >= upper.size()) {
        return;
    }
    std::memcpy(upper.data(), name.data(), name.size());
    cp932::UpperCaseInPlace(upper.data(), name.size());
    std::string_view sound(upper.data(), name.size());
    if (sound.size() > 3 && sound.starts_with("SEH") && sound[3] >= '0' && sound[3] <= '4' &&
        !engine.settings.SE[static_cast<size_t>(sound[3] - '0')]) {
        return;
    }
    engine.sound.PlayVoice(sound);
}

} // namespace

StepResult CmdMusic(Engine& engine, const CommandArgs& args) {
    engine.sound.SetMusic(ArgumentNumber(args.Argument));
    return StepResult::Continue;
}

StepResult CmdVoice(Engine& engine, const CommandArgs& args) {
    std::string_view name = FirstWord(args.Argument);
    // A game whose player renamed a character may hold a second reading of the line that
    // avoids the default name: the voice name with an X after it.
    std::array<char, 64> renamed{};
    if (engine.vars.S(cell::NamesChanged) != 0 && !name.empty() && name.size() + 1 < renamed.size()) {
        std::memcpy(renamed.data(), name.data(), name.size());
        renamed[name.size()] = 'X';
        std::string_view candidate(renamed.data(), name.size() + 1);
        if (engine.sound.SoundExists(candidate)) {
            name = candidate;
        }
    }
    engine.sound.PlayScriptVoice(name);
    return StepResult::Continue;
}

StepResult CmdWaitVoiceEnd(Engine& engine, const CommandArgs&) {
    if (engine.sound.OutputDeviceExists) {
        engine.wait.VoiceWait = 1;
    }
    return StepResult::EndStep;
}

StepResult CmdSoundEffect(Engine& engine, const CommandArgs& args) {
    if (!SkippingWithEffectCut(engine)) {
        PlaySoundEffect(engine, args.Argument);
    }
    return StepResult::Continue;
}

StepResult CmdSoundLoop(Engine& engine, const CommandArgs& args) {
    PlaySoundEffect(engine, args.Argument);
    return StepResult::Continue;
}

StepResult CmdSoundOff(Engine& engine, const CommandArgs&) {
    engine.sound.StopLoop();
    return StepResult::Continue;
}

} // namespace orv
