#include "screens/status_screen.h"

#include "engine/engine.h"
#include "gfx/blend.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace orv {

namespace {

// Days with a contest keep their winner in V300 + slot - 1.
constexpr std::array<int32_t, StatusScreen::kCalendarDays> kWinnerSlots = {1, 2, 0, 3, 4, 0, 5, 6,
                                                                           0, 7, 0, 8, 9, 0, 0, 0};
constexpr int32_t kFirstWinnerCell = 299;
constexpr int32_t kDaysPerColumn = 8;
constexpr int kColumnWidth = 368;
constexpr int kRowHeight = 24;
constexpr int kCalendarTop = 374;
constexpr int kTodayX = 34;
constexpr int kWinnerX = 246;
constexpr int32_t kWinnerPictures = 10;
constexpr int32_t kRankPictures = 4;
constexpr int kRevealStep = 32;
constexpr int32_t kRevealInterval = 10;
// The day indicator's picture numbers are two digits.
constexpr int32_t kMaxDayPicture = 99;

constexpr int32_t kRank = 100;  // V100: the rank, which also picks the map
constexpr int32_t kToday = 1;   // V001: the current day
constexpr int32_t kGauge = 111; // V111: gauge units

} // namespace

int32_t StatusScreen::WinnerSlot(int32_t day) {
    return day >= 1 && day <= kCalendarDays ? kWinnerSlots[static_cast<size_t>(day - 1)] : 0;
}

void StatusScreen::DrawPicture(const char* name, int x, int y) {
    m_picture = Surface();
    if (m_engine.gfx.PictureLoader().LoadPicture(name, m_picture) && !m_picture.Empty()) {
        DrawStackedSprite(m_engine.gfx.BackBuffer, x, m_picture, y);
    }
}

void StatusScreen::OpenStatusScreen() {
    Engine& e = m_engine;
    if (m_open) {
        return;
    }
    e.MenusLocked = 1;
    e.UpdateMenus();
    {
        BusyScope busy(e.blocking);
        VariableStore& vars = e.vars;
        if (vars.V(kRank) == 0) {
            vars.V(kRank) = 1;
        }
        if (vars.V(kToday) == 0) {
            vars.V(kToday) = 1;
        }
        Graphics& gfx = e.gfx;
        Rect screen{0, 0, kScreenWidth, kScreenHeight};
        m_kept.SetSize(kScreenWidth, kScreenHeight);
        m_kept.CopyFrom(gfx.BackBuffer, screen, 0, 0);
        m_picture = Surface();
        if (gfx.PictureLoader().LoadPicture("st_base", m_picture)) {
            gfx.BackBuffer.CopyFrom(m_picture, screen, 0, 0);
        }
        int32_t rank = vars.V(kRank);
        if (rank >= 1 && rank <= kRankPictures) {
            char name[16];
            std::snprintf(name, sizeof name, "st_rank%d", rank);
            DrawPicture(name, 410, 184);
        }
        DrawCalendar();
        int32_t units = std::clamp(vars.V(kGauge), 0, kMaxGaugeUnits);
        m_picture = Surface();
        if (units > 0 && gfx.PictureLoader().LoadPicture("st_gage", m_picture) &&
            !m_picture.Empty()) {
            for (int32_t i = 0; i < units; ++i) {
                DrawStackedSprite(gfx.BackBuffer, 318 + 14 * i, m_picture, 268);
            }
        }
        m_picture = Surface();
        Reveal();
    }
    m_open = true;
    e.screens.Open(*this);
}

void StatusScreen::DrawCalendar() {
    const VariableStore& vars = m_engine.vars;
    int32_t today = vars.V(kToday);
    auto column = [](int32_t day) { return (day - 1) / kDaysPerColumn * kColumnWidth; };
    auto row = [](int32_t day) { return (day - 1) % kDaysPerColumn * kRowHeight + kCalendarTop; };
    // Only the sixteen days of the calendar have a place: a later or negative day marks
    // nothing rather than a cell outside the calendar.
    if (today >= 1 && today <= kCalendarDays) {
        DrawPicture("st_today", column(today) + kTodayX, row(today));
    }
    int32_t lastPast = std::min(today - 1, kCalendarDays);
    for (int32_t day = 1; day <= lastPast; ++day) {
        int32_t slot = WinnerSlot(day);
        if (slot == 0) {
            continue;
        }
        int32_t winner = vars.V(kFirstWinnerCell + slot);
        if (winner < 1 || winner > kWinnerPictures) {
            continue;
        }
        char name[16];
        std::snprintf(name, sizeof name, "st_wnr%02d", winner);
        DrawPicture(name, column(day) + kWinnerX, row(day));
    }
}

void StatusScreen::Reveal() {
    Graphics& gfx = m_engine.gfx;
    Surface& frame = gfx.WorkSurface;
    gfx.StartFrameClock();
    for (int64_t f = kRevealStep; f < kScreenHeight;) {
        int top = static_cast<int>(f);
        int rest = kScreenHeight - top;
        for (int y = 0; y < top; ++y) {
            std::copy_n(gfx.BackBuffer.Row(y * kScreenHeight / top), kScreenWidth * 3,
                        frame.Row(y));
        }
        for (int y = 0; y < rest; ++y) {
            std::copy_n(m_kept.Row(y * kScreenHeight / rest), kScreenWidth * 3, frame.Row(top + y));
        }
        gfx.PresentWhole(frame);
        f += int64_t{kRevealStep} * gfx.WaitFrames(kRevealInterval);
    }
    gfx.PresentWhole(gfx.BackBuffer);
}

void StatusScreen::Restore() {
    if (!m_open) {
        return;
    }
    m_open = false;
    m_engine.gfx.BackBuffer.CopyFrom(m_kept, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    m_engine.MenusLocked = 0;
    m_engine.UpdateMenus();
}

void StatusScreen::CloseStatusScreen() {
    if (!m_open) {
        return;
    }
    Restore();
    m_engine.ShowBackBuffer();
    m_engine.screens.Close(*this);
}

void StatusScreen::DrawDayIndicator() {
    Engine& e = m_engine;
    const VariableStore& vars = e.vars;
    if (e.screens.Mode() != screen_mode::Game || vars.S(cell::ClearedOnTitle) == 0 ||
        e.screens.ReplayMode != 0 || vars.S(cell::NovelMode) != 0) {
        return;
    }
    int32_t day = vars.S(cell::DayPicture);
    if (day < 0 || day > kMaxDayPicture) {
        return;
    }
    if (day != m_dayShown) {
        char name[16];
        std::snprintf(name, sizeof name, "day%02d", day);
        m_day = Surface();
        e.gfx.PictureLoader().LoadPicture(name, m_day);
        m_dayShown = day;
    }
    if (!m_day.Empty()) {
        DrawStackedSprite(e.gfx.BackBuffer, 15, m_day, 15);
    }
}

} // namespace orv
