#pragma once
// The status screen (ScreenMode 10), opened by the first game-specific quick button: the
// calendar of the days with the winner of each past day, the rank and the gauge, revealed
// from the top over the screen it covers; any press closes it. Its day indicator is drawn
// over the scene while the game plays.

#include "gfx/surface.h"
#include "screens/screen.h"
#include "screens/screen_modes.h"

#include <cstdint>

namespace orv {

class Engine;

class StatusScreen final : public Screen {
public:
    // The calendar has sixteen days, in two columns of eight.
    static constexpr int32_t kCalendarDays = 16;
    static constexpr int32_t kMaxGaugeUnits = 30;

    explicit StatusScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return screen_mode::StatusScreen; }
    void Press(MouseButton /*button*/, int /*x*/, int /*y*/) override { CloseStatusScreen(); }
    // The title return takes it off: the screen it covered comes back.
    void Close() override { Restore(); }

    void OpenStatusScreen();
    void CloseStatusScreen();

    // DrawDayIndicator: "day%02d" (S110) at (15, 15) of BackBuffer while the game plays with
    // S004 set, no replay and no novel mode. The picture is kept while S110 stays.
    void DrawDayIndicator();

    // The slot of the day's winner in V300.. for days 1..16 (0: a day without a contest).
    static int32_t WinnerSlot(int32_t day);

private:
    void DrawCalendar();
    void Reveal();
    void Restore();
    // The named picture drawn as a stacked sprite at (x, y) of BackBuffer; nothing when it
    // is missing.
    void DrawPicture(const char* name, int x, int y);

    Engine& m_engine;
    Surface m_kept;    // BackBuffer from before the screen
    Surface m_picture; // the picture being drawn
    Surface m_day;     // the day indicator's picture
    int32_t m_dayShown = -1;
    bool m_open = false;
};

} // namespace orv
