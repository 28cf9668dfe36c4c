// Taking a choice: the sound, the record, the blink of the chosen plate, and the jump to the
// chosen branch.
#include "choices/choices.h"
#include "engine/engine.h"

namespace orv {

namespace {

constexpr int32_t kBlinks = 4;
constexpr int32_t kReplayBlinks = 14;
constexpr uint32_t kBlinkPhaseMs = 100;
constexpr Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

// The selection kinds in which a choice of this subsystem waits to be taken.
bool TakesChoices(int32_t kind) {
    return kind == selection_kind::Window || kind == selection_kind::Novel ||
           kind == selection_kind::ClickMap;
}

} // namespace

void Choices::CommitChoice(MouseButton /*button*/) {
    if (!TakesChoices(SelectionKind) || ChoiceHover <= 0) {
        return;
    }
    TakeChoice(ChoiceHover, false);
}

bool Choices::TakeFirstChoice() {
    int32_t kind = SelectionKind;
    if (m_engine.blocking.Busy() || !TakesChoices(kind)) {
        return false;
    }
    int32_t first = 0;
    for (int32_t k = 1; k <= ChoiceCount && first == 0; ++k) {
        if (kind != selection_kind::ClickMap || Map.Regions[k - 1].Enabled) {
            first = k;
        }
    }
    if (first == 0) {
        return false;
    }
    if (kind == selection_kind::ClickMap) {
        ClickMapHoverAt(-1, -1);
    }
    ChoiceHover = first;
    TakeChoice(first, false);
    return true;
}

void Choices::TakeChoice(int32_t k, bool replayed) {
    Engine& e = m_engine;
    if (SelectionKind == selection_kind::ClickMap && ChoiceHover > 0) {
        RemoveRegionHighlight(ChoiceHover);
    }
    const VariableStore& vars = e.vars;
    e.sound.PlaySoundByName(!vars.String(7).empty() ? vars.String(8) : "SSE01");
    // A replayed choice is in the record already: the last one of a replay turns recording
    // back on, and must not be recorded a second time.
    if (!replayed) {
        Record.Append(k);
    }
    MapTimeout = 0;
    MapTimeoutChoice = 0;
    if (SelectionKind == selection_kind::Window) {
        BlinkRow(k, replayed ? kReplayBlinks : kBlinks);
        e.gfx.BackBuffer.CopyFrom(SavedScreen, kWholeScreen, 0, 0);
        e.gfx.PresentWhole(e.gfx.BackBuffer);
        if (e.text.WindowShown) {
            e.text.NewPage();
        }
    } else if (SelectionKind == selection_kind::Novel) {
        e.text.NewPage();
    }
    FinishChoice(List.OffsetOf(k));
}

void Choices::TakeAtOnce(int32_t k) {
    MapTimeout = 0;
    MapTimeoutChoice = 0;
    FinishChoice(List.OffsetOf(k));
}

void Choices::BlinkRow(int32_t k, int32_t times) {
    Engine& e = m_engine;
    Platform& host = e.Host();
    Rect row = RowRect(k);
    BusyScope busy(e.blocking);
    for (int32_t phase = 0; phase < 2 * times; ++phase) {
        const Surface& look = phase % 2 == 0 ? e.gfx.BackBuffer : HighlightScreen;
        e.gfx.Present(look, row, row.X, row.Y);
        host.Sleep(kBlinkPhaseMs);
        host.PumpMessages();
    }
}

void Choices::FinishChoice(int32_t offset) {
    Engine& e = m_engine;
    e.vars.S(cell::SecondPartsSheet) = 0;
    e.script.JumpTo(offset);
    e.vars.S(cell::ResumePoint) = 0;
    SelectionKind = selection_kind::None;
    ChoiceHover = 0;
}

} // namespace orv
