// The subsystem's set-up and the branch groups the script decides itself.
#include "choices/choices.h"

#include "choices/branch_groups.h"
#include "engine/engine.h"

namespace orv {

Choices::Choices(Engine& engine) : Record(engine.vars), m_engine(engine) {
    SavedScreen.Allocate(kScreenWidth, kScreenHeight);
    HighlightScreen.Allocate(kScreenWidth, kScreenHeight);
}

void Choices::LoadPlates() {
    Pictures& pictures = m_engine.gfx.PictureLoader();
    pictures.LoadPicture("SYS_SW", m_narrowPlate);
    pictures.LoadPicture("SYS_SW2", m_narrowHighlight);
    pictures.LoadPicture("SYS_SWW", m_widePlate);
    pictures.LoadPicture("SYS_SWW2", m_wideHighlight);
}

void Choices::Switch(std::string_view name) {
    ScriptState& script = m_engine.script;
    auto condition = [this](std::string_view text) { return m_engine.dispatcher.Condition(text); };
    script.JumpTo(SwitchTarget(script.MainText(), script.ReadPos, name, condition));
}

void Choices::ComputedJump(int32_t n) {
    ScriptState& script = m_engine.script;
    script.JumpTo(ComputedJumpTarget(script.MainText(), script.ReadPos, n));
}

void Choices::RecordingStarted(std::string_view scriptName) {
    Record.SetScriptName(scriptName);
}

void Choices::Reset() {
    if (SelectionKind == selection_kind::Window || SelectionKind == selection_kind::Novel) {
        RestoreScreenBeforeSelect();
    }
    SelectionKind = selection_kind::None;
}

void Choices::RestoreScreenBeforeSelect() {
    m_engine.gfx.BackBuffer.CopyFrom(SavedScreen, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    m_engine.gfx.PresentWhole(m_engine.gfx.BackBuffer);
}

Point Choices::PointerPosition() {
    Platform& host = m_engine.Host();
    Point cursor = host.GetCursorPos();
    Point origin = host.PaintBoxOrigin();
    return Point{cursor.X - origin.X, cursor.Y - origin.Y};
}

} // namespace orv
