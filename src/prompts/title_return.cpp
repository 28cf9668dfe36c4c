// The return to the title: everything a scene may have left running is put back as the title
// script expects it, then STITLE replaces the running script.
#include "engine/engine.h"
#include "prompts/prompts.h"

namespace orv {

void Prompts::GoToTitle() {
    Engine& e = m_engine;
    e.gfx.Reset();
    e.vars.S(cell::ClearedOnTitle) = 0;
    e.sound.SetMusic(0);
    // Choice recording switched back on, as the title's scenes begin a fresh record.
    e.choices.Record.ResumeRecording();
    e.screens.Reset();
    SystemMenuState = 0;
    e.choices.Reset();
    e.text.ResetWindow();
    e.dispatcher.ResetCallStack(kTitleScript);
    e.script.LoadScript(kTitleScript, ScriptTarget::Main);
    // A wait of the scene left behind (a sleep waiting for its click, the ticks of a line)
    // would hold the title script until the player clicked once more.
    e.wait.Reset();
    e.script.EndLine();
}

} // namespace orv
