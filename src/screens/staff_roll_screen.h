#pragma once
// The staff rolls, ScreenMode 3 while they run: the text-window roll of `roll` (text blocks
// put into a window over pictures, timed against a reference mark) and the page roll of
// `sroll` (two pages that cross-fade, text laid out in sized glyphs, waits adding up from
// the start). Each runs to its end inside its command, letting messages through.

#include "gfx/surface.h"
#include "screens/roll_format.h"
#include "screens/screen.h"
#include "screens/screen_modes.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class Engine;

// The requests of the close confirmation to a running text-window roll.
namespace roll_request {
constexpr int32_t Abort = 1;
constexpr int32_t Pause = 2;
constexpr int32_t Resume = 3;
} // namespace roll_request

class StaffRollScreen final : public Screen {
public:
    explicit StaffRollScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return screen_mode::StaffRoll; }
    // A press ends a page roll (PageRollClick); the text-window roll ignores it.
    void Press(MouseButton button, int x, int y) override;
    AfterPass Pass() override;
    void Tick() override;
    // The title return cannot reach a roll (it runs inside its command); nothing to undo.
    void Close() override {}

    void PlayTextRoll(std::string_view name); // roll
    void PlayPageRoll(std::string_view name); // sroll
    void Play(std::string_view name) { PlayTextRoll(name); }
    void PlayCredits(std::string_view name) { PlayPageRoll(name); }

    // 1 abort, 2 pause, 3 resume. An abort ends either roll at its next check.
    void TextRollRequest(int32_t kind);
    // Around the close confirmation: the roll stands still while it is asked, and stops when
    // the program closes.
    void Pause() { TextRollRequest(roll_request::Pause); }
    void Resume() { TextRollRequest(roll_request::Resume); }
    void Stop() { TextRollRequest(roll_request::Abort); }

    bool Running() const { return m_running; }

private:
    // ---- Shared (staff_roll_screen.cpp).
    // The resource into m_source; false when it is missing.
    bool ReadResource(std::string_view name);
    // The next line of m_source from m_readPos, without its end.
    bool NextLine(std::string_view& line);
    void Begin();
    void End();
    bool Aborted() const { return m_abort; }
    // Sleeps `ms` of the platform's clock in steps of at most `step` ms, pumping messages
    // after each; ends early on an abort.
    void SleepPumping(int64_t ms, int64_t step);
    uint32_t Now() const;

    // ---- The text-window roll (text_roll.cpp).
    void TextRollCommand(const roll::TextRollCommand& command);
    void TextRollPicture(std::string_view argument);
    void TextRollWindow(std::string_view argument);
    void TextRollPut(int32_t n);
    void TextRollErase(int32_t n);
    void TextRollWait(int32_t tenths);
    void TextRollCentre(std::string_view letters);
    void RenderRollLines();
    // Fades `area` of BackBuffer towards `target` (whose (0, 0) lies at the area's corner
    // when `targetAtArea`, else at the screen's), `step` of 256 a 30 ms frame, on PB.
    void FadeArea(const Surface& target, Rect area, bool targetAtArea, int32_t step);

    // ---- The page roll (page_roll.cpp).
    void PageRollLine(std::string_view line);
    void PageRollPicture(std::string_view argument);
    void PageRollText(std::string_view argument);
    void PageRollWait(int32_t tenths);
    void PageRollFont(int32_t n);
    void StartPageFade(int32_t fade, bool wait);
    void DrawPageText(Surface& page);
    void PageRollTick();
    Surface& CurrentPage() { return m_pages[static_cast<size_t>(m_currentPage)]; }

    Engine& m_engine;
    bool m_running = false;
    bool m_pageRoll = false;
    bool m_abort = false;
    bool m_pause = false;
    bool m_endRequested = false;
    std::string m_source; // the roll's text, kept across rolls
    size_t m_readPos = 0;

    // Text-window roll.
    Rect m_window{200, 200, 400, 400};
    roll::RollText m_lines;
    bool m_afterCommand = true;
    int32_t m_fontHeight = 32;
    int32_t m_alignX = 1; // 0 left, 1 centred, 2 right
    bool m_centreY = true;
    uint32_t m_mark = 0;
    Surface m_textSurface;
    Surface m_loaded;

    // Page roll.
    std::array<Surface, 2> m_pages;
    Surface m_stage;
    int32_t m_currentPage = 0;
    int32_t m_pageFade = 0;
    uint32_t m_fadeStart = 0;
    uint32_t m_pageStart = 0;
    int64_t m_waitTotal = 0;
    roll::RollText m_pageText;
    Rect m_box{200, 100, 400, 200};
    int32_t m_glyphSize = 20;
    int32_t m_charPitch = 16;
    int32_t m_linePitch = 40;
    int32_t m_darkness = 0;
    bool m_fontChanged = false;
    bool m_tickBusy = false;
};

} // namespace orv
