// The return to the title: everything a scene may have left running is put back as the title
// script expects it, then STITLE replaces the running script.
#include "engine/engine.h"
#include "prompts/prompts.h"

namespace orv {

namespace {
constexpr std::string_view kTitleScript = "STITLE";
constexpr const char* kReplayItems[] = {"N1", "N2", "N19"};
constexpr const char* kSaveLoadItems[] = {"N5", "N8", "N9", "N10"};
} // namespace

void Prompts::GoToTitle() {
    Engine& e = m_engine;
    VariableStore& vars = e.vars;
    vars.S(79) = 0;
    e.text.SetWindowPosition(false);
    e.gfx.Loop.Active = false;
    vars.S(4) = 0;
    e.sound.SetMusic(0);
    // Choice recording switched back on, as the title's scenes begin a fresh record.
    vars.S(161) = 1;
    vars.S(162) = vars.S(163);
    vars.S(35) = 0;
    if (e.ScreenMode == screen_mode::StatusScreen) {
        e.screens.CloseStatusScreen();
    }
    if (e.SelectionKind == 6) {
        e.screens.CloseSelectionTree();
    }
    for (const char* item : kReplayItems) {
        e.Host().SetMenuItemVisible(item, false);
    }
    e.ReplayMode = 0;
    for (const char* item : kSaveLoadItems) {
        e.SetMenuItemEnabled(item, true);
    }
    e.SystemMenuState = 0;
    if (e.SelectionKind == 1 || e.SelectionKind == 2) {
        e.choices.RestoreScreenBeforeSelect();
    }
    e.text.CloseWindow();
    e.dispatcher.ResetCallStack(kTitleScript);
    e.script.LoadScript(kTitleScript, ScriptTarget::Main);
    e.SelectionKind = 0;
    e.WaitKind = 0;
    e.ScreenMode = screen_mode::Game;
    // A wait of the scene left behind (a sleep waiting for its click, the ticks of a line)
    // would hold the title script until the player clicked once more.
    e.PassWait = 0;
    e.TickWait = 0;
    e.AutoWaitTicks = 0;
    e.VoiceWait = 0;
    e.script.NeedLine = 1;
}

} // namespace orv
