// The backlog screen: the dimmed scene with the lines over it, newest at the bottom, a scroll
// bar with its buttons and thumb, and a voice button before each voiced line.
#include "base/cp932.h"
#include "engine/engine.h"
#include "engine/keys.h"
#include "gfx/blend.h"
#include "text/backlog.h"

#include <algorithm>

namespace orv {

namespace {

constexpr std::string_view kPictureNames[] = {"sys_bl_bar",   "sys_bl_cur",  "sys_bl_VR1",
                                              "sys_bl_VR2",   "sys_bl_up1",  "sys_bl_up2",
                                              "sys_bl_down1", "sys_bl_down2"};
constexpr uint32_t kTextColour = 0xFFFFFF;
// The scene under the backlog at 40/256 of its brightness.
constexpr int kDimming = 40;
// A voice button stands this far above its row's text.
constexpr int kVoiceButtonRise = 4;
constexpr int32_t kButtonLines = 2;
constexpr int32_t kWheelLines = 4;
// A held button repeats when the counter reaches the first value and starts again from
// the second: 12 passes after the press, then every 5.
constexpr int32_t kRepeatAt = 13;
constexpr int32_t kRepeatFrom = 8;

const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

} // namespace

void Backlog::OpenBacklog() {
    Engine& e = m_engine;
    Screens& screens = e.screens;
    if (e.vars.S(cell::SavingAllowed) == 0 || screens.Mode() != screen_mode::Game ||
        screens.BacklogOpen()) {
        return;
    }
    Graphics& gfx = e.gfx;
    e.sound.PlaySoundByName("SSE09");
    m_screenBefore.CopyFrom(gfx.BackBuffer, kWholeScreen, 0, 0);
    ScaleBrightness(gfx.SceneSurface, m_background, kDimming);
    for (size_t i = 0; i < kPictureCount; ++i) {
        gfx.PictureLoader().LoadPicture(kPictureNames[i], m_pictures[i]);
    }
    m_layout = BacklogLayout::FromConfig(e.config);
    DrawSideBySideSprite(m_background, m_layout.BarX, m_pictures[Bar], m_layout.BarY);
    DrawSideBySideSprite(m_background, m_layout.Up.Left, m_pictures[Up], m_layout.Up.Top);
    DrawSideBySideSprite(m_background, m_layout.Down.Left, m_pictures[Down], m_layout.Down.Top);
    m_view = BacklogView{};
    m_view.TrackLength = m_layout.Track.Bottom - m_layout.Track.Top - m_pictures[Thumb].Height();
    screens.Open(screens.backlog);
    e.MenusLocked = 1;
    e.UpdateMenus();
    DrawBacklog();
}

void Backlog::CloseBacklog() {
    Engine& e = m_engine;
    if (!e.screens.Close(e.screens.backlog)) {
        return;
    }
    e.gfx.BackBuffer.CopyFrom(m_screenBefore, kWholeScreen, 0, 0);
    e.gfx.PresentWhole(e.gfx.BackBuffer);
    m_view = BacklogView{};
    UnlockMenus();
    e.vars.S(cell::BacklogButton) = 0;
    e.screens.quickButtons.Refresh();
}

void Backlog::ForgetBacklogScreen() {
    m_view = BacklogView{};
}

int32_t Backlog::FirstShownLine() const {
    return orv::FirstShownLine(Lines.Count(), m_layout.Rows, m_view.ScrollOffset);
}

std::string_view Backlog::RowVoice(int32_t row) const {
    int32_t line = FirstShownLine() + row;
    if (row <= 0 || row >= m_layout.Rows || line >= Lines.Count()) {
        return {};
    }
    return BacklogStore::VoiceName(Lines.Line(line));
}

int32_t Backlog::LitVoiceRow() const {
    return RowVoice(m_view.HoverRow).empty() ? 0 : m_view.HoverRow;
}

void Backlog::DrawRowText(std::string_view line, int32_t row) {
    int64_t y = int64_t{m_layout.TextY} + int64_t{row} * m_layout.Pitch;
    if (y > kScreenHeight) {
        return;
    }
    m_engine.text.DrawCanvasText(m_engine.gfx.BackBuffer, line, m_layout.TextX,
                                 static_cast<int32_t>(y), m_layout.TextPixels, kTextColour);
}

void Backlog::DrawBacklog() {
    Surface& back = m_engine.gfx.BackBuffer;
    back.CopyFrom(m_background, kWholeScreen, 0, 0);
    int32_t count = Lines.Count();
    int32_t first = FirstShownLine();
    int32_t lit = LitVoiceRow();
    for (int32_t row = 0; row < m_layout.Rows && first + row < count; ++row) {
        std::string_view line = Lines.Line(first + row);
        if (!BacklogStore::IsVoiceEntry(line)) {
            DrawRowText(line, row);
            continue;
        }
        // A voice entry in the first row shows nothing and cannot be clicked.
        bool highlighted = row == lit && !m_pictures[VoiceLit].Empty();
        const Surface& button = m_pictures[highlighted ? VoiceLit : Voice];
        int64_t y = int64_t{m_layout.TextY} + int64_t{row} * m_layout.Pitch - kVoiceButtonRise;
        if (row != 0 && !button.Empty() && y >= 0 && y < kScreenHeight) {
            DrawStackedSprite(back, m_layout.TextX, button, static_cast<int>(y));
        }
    }
    if (count > m_layout.Rows) {
        int32_t y = ThumbTop(m_layout.Track.Top, m_view.TrackLength, m_view.ScrollOffset, count,
                             m_layout.Rows);
        DrawSideBySideSprite(back, m_layout.Track.Left, m_pictures[Thumb], y);
    }
    if (m_view.HoverButton == 1 || m_view.DragMode == BacklogView::Drag::UpButton) {
        DrawSideBySideSprite(back, m_layout.Up.Left, m_pictures[UpLit], m_layout.Up.Top);
    }
    if (m_view.HoverButton == 2 || m_view.DragMode == BacklogView::Drag::DownButton) {
        DrawSideBySideSprite(back, m_layout.Down.Left, m_pictures[DownLit], m_layout.Down.Top);
    }
    m_engine.gfx.PresentWhole(back);
}

bool Backlog::ScrollBy(int32_t lines) {
    int32_t before = m_view.ScrollOffset;
    int64_t wanted = int64_t{before} + lines;
    m_view.ScrollOffset = static_cast<int32_t>(
        std::clamp<int64_t>(wanted, 0, MaxScroll(Lines.Count(), m_layout.Rows)));
    return m_view.ScrollOffset != before;
}

bool Backlog::InVoiceColumn(int x, int y) const {
    int64_t bottom = int64_t{m_layout.TextY} + int64_t{m_layout.Pitch} * m_layout.Rows;
    return x >= m_layout.TextX && x < int64_t{m_layout.TextX} + m_pictures[Voice].Width() &&
           y >= m_layout.TextY && y < bottom;
}

int32_t Backlog::RowAt(int y) const {
    return (y - m_layout.TextY) / m_layout.Pitch;
}

void Backlog::BacklogMouseDown(MouseButton button, int x, int y) {
    if (button != MouseButton::Left) {
        CloseBacklog();
        return;
    }
    using Drag = BacklogView::Drag;
    if (m_layout.Up.Contains(x, y)) {
        ScrollBy(kButtonLines);
        m_view.DragMode = Drag::UpButton;
        m_view.RepeatCounter = 1;
    } else if (m_layout.Down.Contains(x, y)) {
        ScrollBy(-kButtonLines);
        m_view.DragMode = Drag::DownButton;
        m_view.RepeatCounter = 1;
    }
    if (m_layout.Track.Contains(x, y) && m_view.TrackLength > 0) {
        m_view.DragMode = Drag::Thumb;
        m_view.ScrollOffset = ScrollForThumb(y - m_layout.Track.Top, m_view.TrackLength,
                                             Lines.Count(), m_layout.Rows, m_view.ScrollOffset);
        m_view.LastThumbOffset = m_view.ScrollOffset;
    }
    DrawBacklog();
    if (InVoiceColumn(x, y)) {
        std::string_view voice = RowVoice(RowAt(y));
        if (!voice.empty()) {
            m_engine.sound.PlaySoundByName(voice);
        }
    }
}

void Backlog::BacklogMouseMove(int x, int y) {
    using Drag = BacklogView::Drag;
    switch (m_view.DragMode) {
    case Drag::Thumb: {
        if (m_view.TrackLength <= 0) {
            return;
        }
        // The drag goes on wherever the pointer goes: beyond the track's ends it holds the
        // thumb at the end.
        m_view.ScrollOffset = ScrollForThumb(y - m_layout.Track.Top, m_view.TrackLength,
                                             Lines.Count(), m_layout.Rows, m_view.ScrollOffset);
        if (m_view.ScrollOffset != m_view.LastThumbOffset) {
            m_view.LastThumbOffset = m_view.ScrollOffset;
            DrawBacklog();
        }
        return;
    }
    case Drag::UpButton:
    case Drag::DownButton:
        return;
    case Drag::None:
        break;
    }
    int32_t lit = LitVoiceRow();
    int32_t button = m_layout.Up.Contains(x, y) ? 1 : m_layout.Down.Contains(x, y) ? 2 : 0;
    bool changed = button != m_view.HoverButton;
    m_view.HoverButton = button;
    m_view.HoverRow = InVoiceColumn(x, y) ? RowAt(y) : 0;
    if (changed || LitVoiceRow() != lit) {
        DrawBacklog();
    }
}

void Backlog::BacklogMouseUp() {
    bool held = m_view.DragMode == BacklogView::Drag::UpButton ||
                m_view.DragMode == BacklogView::Drag::DownButton;
    m_view.DragMode = BacklogView::Drag::None;
    m_view.RepeatCounter = 0;
    if (held) {
        DrawBacklog();
    }
}

void Backlog::BacklogWheel(int delta) {
    if (delta != 0 && ScrollBy(delta > 0 ? kWheelLines : -kWheelLines)) {
        DrawBacklog();
    }
}

void Backlog::BacklogRepeatTick() {
    if (m_view.RepeatCounter == 0) {
        return;
    }
    if (++m_view.RepeatCounter < kRepeatAt) {
        return;
    }
    m_view.RepeatCounter = kRepeatFrom;
    int32_t lines = m_view.DragMode == BacklogView::Drag::UpButton     ? kButtonLines
                    : m_view.DragMode == BacklogView::Drag::DownButton ? -kButtonLines
                                                                       : 0;
    if (ScrollBy(lines)) {
        DrawBacklog();
    }
}

void Backlog::BacklogKey(int key) {
    int32_t rows = m_layout.Rows;
    int32_t all = BacklogStore::kLines;
    int32_t lines = key == keys::Up         ? 1
                    : key == keys::Down     ? -1
                    : key == keys::PageUp   ? rows
                    : key == keys::PageDown ? -rows
                    : key == keys::Home     ? all
                    : key == keys::End      ? -all
                                            : 0;
    if (lines != 0 && ScrollBy(lines)) {
        DrawBacklog();
    }
}

std::string Backlog::VisibleLinesUtf8() const {
    if (!m_engine.screens.BacklogOpen()) {
        return {};
    }
    std::string text;
    int32_t first = FirstShownLine();
    for (int32_t row = 0; row < m_layout.Rows && first + row < Lines.Count(); ++row) {
        std::string_view line = Lines.Line(first + row);
        if (BacklogStore::IsVoiceEntry(line)) {
            continue;
        }
        text += cp932::ToUtf8(line);
        text += '\n';
    }
    return text;
}

} // namespace orv
