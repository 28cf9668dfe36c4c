// The game's reactions to the player and its share of the loop: a click continues a page or
// takes a choice, the keys switch skip and auto mode, and each idle pass steps the script
// unless something waits.
#include "screens/game_screen.h"

#include "engine/engine.h"
#include "engine/keys.h"

namespace orv {

namespace {
// Presses within this many idle passes of a page click leave the voice it started alone.
constexpr int32_t kClickGuardPasses = 5;
} // namespace

void GameScreen::Press(MouseButton button, int x, int y) {
    Engine& e = m_engine;
    if (e.text.WindowShown && !e.SkipActive && e.vars.S(cell::AutoLevel) != 0 &&
        e.screens.quickButtons.IndicatorClick(x, y)) {
        return;
    }
    e.text.ClickWhileTyping();
    if (e.wait.PassWait != 0) {
        // A sleep cut short tells the script so.
        e.wait.PassWait = 0;
        e.vars.S(cell::CutShort) = 1;
        return;
    }
    int32_t selection = e.choices.SelectionKind;
    if (e.SkipActive && selection == selection_kind::None) {
        e.dispatcher.StopSkip();
        return;
    }
    switch (button) {
    case MouseButton::Left:
        if (selection == selection_kind::None) {
            if (e.screens.quickButtons.Press(x, y)) {
                return;
            }
            e.ContinueWait();
        } else if (e.wait.ClickGuard == 0) {
            if (selection == selection_kind::SelectionTree) {
                e.screens.selectionTree.Click();
            } else {
                e.choices.CommitChoice(button);
                // A press beside the choices may be meant for a button the choice leaves
                // usable (hide the window, the backlog); once a choice is taken, none acts.
                if (e.choices.SelectionKind == selection_kind::None ||
                    !e.screens.quickButtons.Press(x, y)) {
                    e.screens.quickButtons.Refresh();
                }
            }
        }
        e.wait.ClickGuard = kClickGuardPasses;
        break;
    case MouseButton::Right:
        if (selection == selection_kind::ClickMap) {
            e.choices.CommitChoice(button);
        } else if (selection == selection_kind::SelectionTree) {
            e.screens.selectionTree.Click();
        } else {
            e.RightClickAction();
        }
        break;
    case MouseButton::Middle:
        e.wait.ClickGuard = kClickGuardPasses;
        break;
    }
}

void GameScreen::Move(int x, int y) {
    Engine& e = m_engine;
    switch (e.choices.SelectionKind) {
    case selection_kind::None:
        if (!e.SkipActive) {
            e.screens.quickButtons.Hover(x, y);
        }
        break;
    case selection_kind::Window:
    case selection_kind::Novel:
        e.screens.quickButtons.Hover(x, y);
        e.choices.ChoiceHoverAt(x, y);
        break;
    case selection_kind::ClickMap:
        e.choices.ChoiceHoverAt(x, y);
        break;
    case selection_kind::SelectionTree:
        e.screens.selectionTree.Hover(x, y);
        break;
    default:
        break;
    }
}

void GameScreen::Release(MouseButton /*button*/, int /*x*/, int /*y*/) {
    VariableStore& vars = m_engine.vars;
    bool pressed = false;
    for (int button = cell::FirstPressedButton; button <= cell::LastPressedButton; ++button) {
        pressed = pressed || vars.S(button) != 0;
        vars.S(button) = 0;
    }
    if (pressed) {
        m_engine.screens.quickButtons.Refresh();
    }
}

void GameScreen::Wheel(int delta) {
    Engine& e = m_engine;
    if (e.choices.SelectionKind != selection_kind::None) {
        return;
    }
    if (delta > 0) {
        if (e.settings.WHEEL_MODE) {
            e.backlog.OpenBacklog();
        } else {
            e.backlog.EnterRewind();
        }
        return;
    }
    if (!e.settings.CV_THROUGH) {
        e.sound.StopVoice();
    }
    e.ContinueWait();
}

void GameScreen::KeyDown(int key) {
    Engine& e = m_engine;
    VariableStore& vars = e.vars;
    switch (keys::SwappedKey(key, e.settings.CS_SWAP)) {
    case keys::Tab:
        e.RefreshScreenOffset();
        e.RightClickAction();
        break;
    case keys::Shift:
        e.SkipActive = 0;
        if (vars.S(cell::AutoLevel) != 0) {
            vars.S(cell::AutoLevel) = 0;
        } else {
            if (vars.S(cell::AutoLevelRestored) == 0) {
                vars.S(cell::AutoLevelRestored) = 4;
            }
            vars.S(cell::AutoLevel) = vars.S(cell::AutoLevelRestored);
        }
        e.screens.quickButtons.Refresh();
        break;
    case keys::Control:
        // Skip mode lasts while the key is held; each repeat of the key-down toggles it.
        if (e.SkipActive) {
            e.dispatcher.StopSkip();
            break;
        }
        vars.S(cell::AutoLevel) = 0;
        e.dispatcher.StopSkip();
        e.sound.StopVoice();
        vars.S(cell::SkipIndicator) = 2;
        e.screens.quickButtons.Refresh();
        e.SkipActive = 1;
        break;
    case keys::Left:
        if (!e.BackgroundLoopRuns() && e.choices.SelectionKind == selection_kind::None) {
            e.backlog.EnterRewind();
        }
        break;
    default:
        break;
    }
}

AfterPass GameScreen::Pass() {
    Engine& e = m_engine;
    if (e.StartRequested) {
        e.StartGame();
        e.StartRequested = 0;
        return AfterPass::Pace;
    }
    if (e.blocking.Busy()) {
        return AfterPass::Pace;
    }
    // Drawn and discarded: the random sequence depends on how many passes ran.
    e.random.Next();
    if (e.QuitRequested) {
        e.Host().CloseMainWindow();
    }
    WaitState& wait = e.wait;
    if (e.SkipActive) {
        if (wait_kind::StartsNewPage(wait.WaitKind)) {
            e.text.NewPage();
        }
        wait.WaitKind = wait_kind::None;
    }
    bool waiting = e.choices.SelectionKind != selection_kind::None || wait.Holds();
    if (!waiting && wait.PassWait != 0) {
        if (wait.PassWait > 0) {
            --wait.PassWait;
        }
        waiting = true;
    }
    if (waiting) {
        return AfterPass::FrameLoopAndPace;
    }
    if (e.ScriptRunning == 1) {
        e.dispatcher.ScriptStep();
        // Most commands that run an effect leave a close request to the step; a click that
        // cut an effect short has been answered by then and must not cut the next one.
        e.AnswerCloseRequest();
        e.blocking.InterruptRequest = 0;
    }
    return e.vars.S(cell::AutoLevel) != 0 ? AfterPass::AutoPace : AfterPass::FrameLoopAndPace;
}

void GameScreen::Tick() {
    Engine& e = m_engine;
    if (e.blocking.Busy()) {
        return;
    }
    if (e.choices.SelectionKind != selection_kind::None && !e.prompts.IsOpen()) {
        e.choices.SelectionTick();
        return;
    }
    WaitState& wait = e.wait;
    bool voicePlaying = e.sound.IsVoicePlaying();
    if (!voicePlaying) {
        wait.VoiceWait = 0;
    }
    if (wait.TickWait != 0) {
        --wait.TickWait;
        return;
    }
    e.screens.quickButtons.ResetHover();
    e.sound.DeferredMusicTick();
    if (wait.WaitKind == wait_kind::None || e.blocking.Busy()) {
        return;
    }
    if (e.vars.S(cell::AutoLevel) != 0) {
        AutoWaitTick(voicePlaying);
        return;
    }
    if (wait.WaitKind != wait_kind::PageNoIcon) {
        e.text.AnimateClickWaitIcon();
    }
}

void GameScreen::AutoWaitTick(bool voicePlaying) {
    Engine& e = m_engine;
    WaitState& wait = e.wait;
    if (wait.AutoWaitTicks != 0) {
        --wait.AutoWaitTicks;
        if (wait.AutoWaitTicks == 0 && voicePlaying) {
            wait.AutoWaitTicks = 1;
        }
    } else if (voicePlaying) {
        wait.AutoWaitTicks = 1;
    }
    if (wait.AutoWaitTicks != 0) {
        return;
    }
    if (wait_kind::StartsNewPage(wait.WaitKind) && e.text.WindowShown) {
        e.text.NewPage();
    }
    wait.WaitKind = wait_kind::None;
}

} // namespace orv
