// Picture commands: the scene, transitions, animations, effect scripts and screen effects.
// Most hand their argument to the graphics subsystem as it stands.
#include "engine/engine.h"
#include "script/commands.h"

#include <cstdio>

namespace orv {

namespace {

// The E flags that the completion display counts: 228 in all.
struct FlagRange {
    int First;
    int Last;
};
constexpr FlagRange kCompletionFlags[] = {{1, 38},    {101, 131}, {201, 250}, {301, 337},
                                          {401, 444}, {501, 521}, {601, 607}};
constexpr int kCompletionFlagCount = 228;

void WhiteFlash(Engine& engine) {
    Platform& host = engine.Host();
    for (int i = 0; i < 7; ++i) {
        engine.gfx.FillPaintBox(0xFFFFFF);
        host.Sleep(20);
        engine.ShowBackBuffer();
        host.Sleep(20);
    }
}

void ShakeWindow(Engine& engine) {
    Platform& host = engine.Host();
    // Where the window cannot be moved (full screen, Wayland) the picture shakes inside PB.
    if (engine.FullScreenActive || !host.CanMoveWindow()) {
        engine.gfx.ShakePicture();
        return;
    }
    Rect home = host.WindowBounds();
    for (int counter = 20; counter >= 2; counter -= 2) {
        Rect moved = home;
        moved.Y += (counter & 2) ? 20 : -20;
        host.SetWindowBounds(moved);
        host.Sleep(50);
    }
    host.SetWindowBounds(home);
}

void ShowCompletion(Engine& engine) {
    int count = 0;
    for (const FlagRange& range : kCompletionFlags) {
        for (int n = range.First; n <= range.Last; ++n) {
            count += engine.vars.TestFlag(FlagKind::E, n) ? 1 : 0;
        }
    }
    char percent[16];
    std::snprintf(percent, sizeof percent, "%d", count * 100 / kCompletionFlagCount);
    engine.text.DrawTextRightAlignedOnPaintBox(percent, 570, 12, 32, 0xFFFFFF);
}

// After an effect that a click or a close request may have cut short: the step ends for
// either; for a close request (the close box refused and left the question to the command)
// the player is asked whether to quit. False when nothing cut the effect short.
bool AnswerCutShort(Engine& engine) {
    int32_t request = engine.blocking.InterruptRequest;
    if (request == 0) {
        return false;
    }
    if (request == 2) {
        engine.AnswerCloseRequest();
    }
    engine.blocking.InterruptRequest = 0;
    return true;
}

} // namespace

StepResult CmdGra(Engine& engine, const CommandArgs& args) {
    engine.gfx.PictureCommand(args.Argument, false);
    return AnswerCutShort(engine) ? StepResult::EndStep : StepResult::Continue;
}

StepResult CmdGrb(Engine& engine, const CommandArgs& args) {
    engine.gfx.PictureCommand(args.Argument, true);
    return StepResult::Continue;
}

StepResult CmdClearPictures(Engine& engine, const CommandArgs& args) {
    engine.gfx.ClearPictures(args.Argument);
    return StepResult::Continue;
}

StepResult CmdSprite(Engine& engine, const CommandArgs& args) {
    engine.gfx.CharacterCommand(args.Argument);
    return StepResult::Continue;
}

StepResult CmdPartsSet(Engine& engine, const CommandArgs& args) {
    engine.gfx.PartsSet(args.Argument);
    return StepResult::Continue;
}

StepResult CmdPartsLoad(Engine& engine, const CommandArgs& args) {
    engine.gfx.PartsLoad(args.Argument);
    return StepResult::Continue;
}

StepResult CmdBackground(Engine& engine, const CommandArgs& args) {
    engine.gfx.BackgroundCommand(args.Argument);
    return StepResult::Continue;
}

StepResult CmdFix(Engine& engine, const CommandArgs&) {
    engine.gfx.FixScreen();
    engine.vars.S(cell::OverlayWeight) = 0;
    return StepResult::Continue;
}

StepResult CmdDirect(Engine& engine, const CommandArgs& args) {
    engine.gfx.DirectPicture(args.Argument);
    return StepResult::Continue;
}

StepResult CmdOverlay(Engine& engine, const CommandArgs& args) {
    engine.gfx.OverlayCommand(args.Argument);
    engine.text.ForgetWindow();
    return StepResult::EndStep;
}

StepResult CmdBackgroundLoop(Engine& engine, const CommandArgs& args) {
    engine.gfx.BackgroundLoop(TrimEnd(args.Argument));
    // Only the play-once form waits; a close request during it is asked about here.
    return AnswerCutShort(engine) ? StepResult::EndStep : StepResult::Continue;
}

StepResult CmdAnimation(Engine& engine, const CommandArgs& args) {
    // `*animq name` plays the enlarged form; `*anim name` the normal one.
    std::string_view line = args.Line;
    if (line.size() > 5 && (line[5] == 'q' || line[5] == 'Q')) {
        engine.gfx.PlayEnlargedAnimation(TrimEnd(line.size() > 7 ? line.substr(7) : ""));
    } else {
        engine.gfx.PlayAnimation(TrimEnd(args.Argument));
    }
    // Closing the window ended the animation; the player is asked here whether to quit.
    AnswerCutShort(engine);
    return StepResult::EndStep;
}

StepResult CmdShake(Engine& engine, const CommandArgs& args) {
    if (!SkippingWithEffectCut(engine)) {
        engine.gfx.ShakeScreen(args.Argument);
        AnswerCutShort(engine);
    }
    return StepResult::EndStep;
}

StepResult CmdObject(Engine& engine, const CommandArgs& args) {
    engine.gfx.ObjectControl(args.Argument);
    return StepResult::Continue;
}

StepResult CmdScroll(Engine& engine, const CommandArgs& args) {
    engine.gfx.ScrollPicture(args.Argument);
    AnswerCutShort(engine);
    return StepResult::EndStep;
}

StepResult CmdChangeParameters(Engine& engine, const CommandArgs&) {
    engine.ShowBackBuffer();
    return StepResult::EndStep;
}

StepResult CmdUnlockAllPictures(Engine& engine, const CommandArgs&) {
    engine.gfx.UnlockAllPictures();
    return StepResult::EndStep;
}

StepResult CmdEffect(Engine& engine, const CommandArgs& args) {
    if (!SkippingWithEffectCut(engine)) {
        engine.gfx.RunEffect(TrimEnd(args.Argument));
        AnswerCutShort(engine);
    }
    return StepResult::EndStep;
}

StepResult CmdMangaSymbol(Engine& engine, const CommandArgs& args) {
    engine.gfx.ShowMangaSymbol(args.Argument);
    return StepResult::Continue;
}

StepResult CmdMoveCharacters(Engine& engine, const CommandArgs& args) {
    engine.gfx.MoveCharacters(args.Argument);
    return StepResult::EndStep;
}

StepResult CmdEffectAnimation(Engine& engine, const CommandArgs& args) {
    engine.gfx.PlayEffectAnimation(TrimEnd(args.Argument));
    AnswerCutShort(engine);
    return StepResult::EndStep;
}

StepResult CmdWipeSet(Engine& engine, const CommandArgs& args) {
    engine.gfx.WipeSet(TrimEnd(args.Argument));
    return StepResult::EndStep;
}

StepResult CmdFadeIn(Engine& engine, const CommandArgs& args) {
    engine.vars.S(cell::TransitionDuration) = ArgumentNumber(args.Argument);
    // The scene is composed and shown, so that what grb prepared fades in.
    engine.gfx.ShowScene(3);
    return AnswerCutShort(engine) ? StepResult::EndStep : StepResult::Continue;
}

StepResult CmdFadeOut(Engine& engine, const CommandArgs& args) {
    engine.vars.S(cell::TransitionDuration) = ArgumentNumber(args.Argument);
    // The prepare flag stays as it is: after grb nothing is shown.
    engine.gfx.RunPictureCommand("S000,3");
    return AnswerCutShort(engine) ? StepResult::EndStep : StepResult::Continue;
}

StepResult CmdSpecial(Engine& engine, const CommandArgs& args) {
    if (SkippingWithEffectCut(engine) || args.Argument.empty()) {
        return StepResult::EndStep;
    }
    switch (args.Argument[0]) {
    case '0':
        WhiteFlash(engine);
        break;
    case '1':
        ShakeWindow(engine);
        AnswerCutShort(engine);
        break;
    case '3':
    case '4':
        engine.gfx.SepiaEffect();
        AnswerCutShort(engine);
        break;
    case '6':
        ShowCompletion(engine);
        break;
    default:
        break;
    }
    return StepResult::EndStep;
}

} // namespace orv
