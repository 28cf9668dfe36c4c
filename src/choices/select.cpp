// select: the choice plates in window and novel mode, the hover over them, and the arrow
// keys that move the pointer between them.
#include "choices/choices.h"
#include "choices/store_source.h"
#include "engine/engine.h"
#include "gfx/blend.h"

#include <algorithm>

namespace orv {

namespace {

constexpr int32_t kScreenCentreX = kScreenWidth / 2;
constexpr int32_t kNovelTextOffsetY = 5;
constexpr int32_t kWindowTextColour = 0;
constexpr int32_t kWindowHighlightColour = 2;
constexpr int32_t kNovelTextColour = 7;
constexpr int32_t kNovelHighlightColour = 4;
// Where the arrow keys put the pointer on a plate: left of the column's right edge, below
// the row's top.
constexpr int32_t kKeyPointerFromRight = 57;
constexpr int32_t kKeyPointerBelowTop = 31;
// A page holds far fewer rows; a larger text row is not one a choice can stand on.
constexpr int32_t kMaxTextRow = 100;
constexpr Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};
// Layout values of the game configuration are taken within this range, far beyond any
// screen, so that no product of them overflows.
constexpr int32_t kLayoutLimit = 1 << 20;

int32_t Layout(int32_t value) {
    return std::clamp(value, -kLayoutLimit, kLayoutLimit);
}

Rect ToRect(const ChoiceBox& box) {
    return Rect{box.Left, box.Top, box.Width(), box.Height()};
}

} // namespace

void Choices::Select(int32_t value) {
    Engine& e = m_engine;
    if (value == 0) {
        e.dispatcher.PrepareForChoice();
        e.sound.PlaySoundByName("SSE02");
    }
    if (PresentChoices(value)) {
        ReplayRecordedChoice();
    }
}

bool Choices::PresentChoices(int32_t value) {
    Engine& e = m_engine;
    BusyScope busy(e.blocking);
    SelectionKind = e.vars.S(cell::NovelMode) != 0 ? selection_kind::Novel : selection_kind::Window;
    StoreSource source(e);
    ReadChoiceList(e.script.MainText(), e.script.ReadPos, ChoiceListKind::Select, source, List);
    ChoiceCount = List.Count;
    if (SelectionKind == selection_kind::Novel) {
        LayOutNovelChoices();
    }
    // With every condition false nothing could ever be chosen: the script goes on after
    // the group instead of waiting for ever.
    if (value != 0 || ChoiceCount == 0) {
        TakeAtOnce(value);
        return false;
    }
    SavedScreen.CopyFrom(e.gfx.BackBuffer, kWholeScreen, 0, 0);
    if (SelectionKind == selection_kind::Window) {
        DrawWindowChoices();
    } else {
        DrawNovelChoices();
    }
    ChoiceHover = -1;
    Point pointer = PointerPosition();
    ChoiceHoverAt(pointer.X, pointer.Y);
    return true;
}

void Choices::LayOutNovelChoices() {
    const GameConfig& config = m_engine.config;
    int32_t row = std::clamp(m_engine.text.CurrentTextRow(), 0, kMaxTextRow);
    int32_t left = kScreenCentreX - m_widePlate.Width() / 2;
    for (int32_t i = 0; i < ChoiceCount; ++i) {
        int32_t top = (row + i) * Layout(config.TX2_PITCH_Y) + Layout(config.TX2_OFS_Y);
        ChoiceRects[i] =
            ChoiceBox{left, top, left + m_widePlate.Width(), top + m_widePlate.Height() / 2};
    }
}

void Choices::DrawWindowChoices() {
    Engine& e = m_engine;
    const GameConfig& config = e.config;
    int32_t expand = Layout(config.SELECT_EXPAND);
    bool wide = expand != 0 && List.LongestText() >= 2 * expand;
    const Surface& plate = wide ? m_widePlate : m_narrowPlate;
    const Surface& highlight = wide ? m_wideHighlight : m_narrowHighlight;
    int32_t pitch = Layout(config.SELECT_Y_PITCH);
    ChoicePanel.Width = plate.Width();
    ChoicePanel.Left = kScreenCentreX - plate.Width() / 2;
    ChoicePanel.Top = Layout(config.SELECT_Y_POS) - pitch / 2 * ChoiceCount;
    ChoicePanel.RowHeight = pitch;
    Surface& back = e.gfx.BackBuffer;
    HighlightScreen.CopyFrom(back, kWholeScreen, 0, 0);
    int32_t textOffset =
        m_narrowPlate.Height() / 4 - Layout(config.FONT_SIZE) / 2 - Layout(config.SELECT_TXT_OY);
    for (int32_t k = 1; k <= ChoiceCount; ++k) {
        int32_t top = ChoicePanel.Top + (k - 1) * pitch;
        DrawStackedSprite(back, ChoicePanel.Left, plate, top);
        DrawStackedSprite(HighlightScreen, ChoicePanel.Left, highlight, top);
        std::string_view text = List.Branches[k - 1].Text.View();
        e.text.DrawTextCentred(text, kScreenCentreX, back, kWindowTextColour, top + textOffset);
        e.text.DrawTextCentred(text, kScreenCentreX, HighlightScreen, kWindowHighlightColour,
                               top + textOffset);
    }
    e.gfx.PresentWhole(back);
}

void Choices::DrawNovelChoices() {
    Engine& e = m_engine;
    Surface& back = e.gfx.BackBuffer;
    HighlightScreen.CopyFrom(back, kWholeScreen, 0, 0);
    for (int32_t k = 1; k <= ChoiceCount; ++k) {
        const ChoiceBox& box = ChoiceRects[k - 1];
        DrawStackedSprite(back, box.Left, m_widePlate, box.Top);
        DrawStackedSprite(HighlightScreen, box.Left, m_wideHighlight, box.Top);
        std::string_view text = List.Branches[k - 1].Text.View();
        int32_t centre = (box.Left + box.Right) / 2;
        int32_t y = box.Top + kNovelTextOffsetY;
        e.text.DrawTextCentred(text, centre, back, kNovelTextColour, y);
        e.text.DrawTextCentred(text, centre, HighlightScreen, kNovelHighlightColour, y);
    }
    e.gfx.PresentWhole(back);
}

void Choices::ChoiceHoverAt(int32_t x, int32_t y) {
    int32_t kind = SelectionKind;
    if (kind == selection_kind::ClickMap) {
        ClickMapHoverAt(x, y);
        return;
    }
    if (kind != selection_kind::Window && kind != selection_kind::Novel) {
        return;
    }
    int32_t k = kind == selection_kind::Window ? WindowChoiceAt(x, y) : NovelChoiceAt(x, y);
    if (k == ChoiceHover) {
        return;
    }
    ChoiceHover = k;
    RedrawRows();
}

int32_t Choices::WindowChoiceAt(int32_t x, int32_t y) const {
    const ChoicePanelLayout& panel = ChoicePanel;
    if (panel.RowHeight <= 0 || x <= panel.Left || x >= panel.Left + panel.Width || y < panel.Top ||
        y >= panel.Top + ChoiceCount * panel.RowHeight) {
        return 0;
    }
    return (y - panel.Top) / panel.RowHeight + 1;
}

int32_t Choices::NovelChoiceAt(int32_t x, int32_t y) const {
    for (int32_t k = 1; k <= ChoiceCount; ++k) {
        if (ChoiceRects[k - 1].StrictlyContains(x, y)) {
            return k;
        }
    }
    return 0;
}

Rect Choices::RowRect(int32_t k) const {
    if (SelectionKind == selection_kind::Novel) {
        return ToRect(ChoiceRects[k - 1]);
    }
    return Rect{ChoicePanel.Left, ChoicePanel.Top + (k - 1) * ChoicePanel.RowHeight,
                ChoicePanel.Width, ChoicePanel.RowHeight};
}

void Choices::RedrawRows() {
    Graphics& gfx = m_engine.gfx;
    for (int32_t k = 1; k <= ChoiceCount; ++k) {
        Rect row = RowRect(k);
        gfx.Present(k == ChoiceHover ? HighlightScreen : gfx.BackBuffer, row, row.X, row.Y);
    }
}

void Choices::MovePointerToChoice(bool down) {
    if (SelectionKind != selection_kind::Window || ChoiceCount <= 0) {
        return;
    }
    int32_t target = ChoiceHover <= 0 ? (down ? ChoiceCount : 1) : ChoiceHover + (down ? 1 : -1);
    target = std::clamp(target, 1, ChoiceCount);
    Point pointer{ChoicePanel.Left + ChoicePanel.Width - kKeyPointerFromRight,
                  ChoicePanel.Top + (target - 1) * ChoicePanel.RowHeight + kKeyPointerBelowTop};
    Platform& host = m_engine.Host();
    Point origin = host.PaintBoxOrigin();
    host.SetCursorPos(Point{origin.X + pointer.X, origin.Y + pointer.Y});
    // Moving the pointer by program sends no move event of its own.
    ChoiceHoverAt(pointer.X, pointer.Y);
}

void Choices::ReplayRecordedChoice() {
    std::optional<int32_t> recorded = Record.NextReplayed();
    // A recorded number that this list does not offer leaves the choice to the player.
    if (!recorded || *recorded < 1 || *recorded > ChoiceCount) {
        return;
    }
    ChoiceHover = *recorded;
    TakeChoice(*recorded, true);
}

} // namespace orv
