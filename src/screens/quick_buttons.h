#pragma once
// The quick buttons on and around the message window (skip, auto, hide, quick save and load,
// backlog, voice replay, config, window move, auto speed, the game's status screen) and the
// auto-speed indicator beside them.
//
// Each button's look is a cell of one of three sheets (normal, under the pointer, on) with its
// mask right below it; its state is a system cell, S060 for button 1 up to S078 for button 19.
// The buttons are blended over QuickButtonBackground, the screen without them, which the
// message window's drawing refreshes whenever it builds the window's picture.

#include "gfx/surface.h"

#include <array>
#include <cstdint>

namespace orv {

class Engine;
struct QuickButtonConfig;

namespace quick_button {
constexpr int Skip = 1;
constexpr int Auto = 2;
constexpr int HideWindow = 3;
constexpr int QuickSave = 4;
constexpr int QuickLoad = 5;
constexpr int Backlog = 6;
constexpr int VoiceReplay = 7;
constexpr int Config = 8;
constexpr int MoveWindow = 9;     // shown while S079 is 0
constexpr int MoveWindowBack = 10; // shown while S079 is 1
constexpr int AutoFaster = 11;
constexpr int AutoSlower = 12;
constexpr int StatusScreen = 13;
constexpr int Count = 19;

// Placement column of QB_ keys.
constexpr int32_t InWindow = 1;
constexpr int32_t OnScreen = 2;

// The state cells' values, which also choose the sheet.
constexpr int32_t Normal = 0;
constexpr int32_t Hovered = 1;
constexpr int32_t On = 2;
} // namespace quick_button

// Where DrawQuickButtons puts the buttons.
enum class QuickButtonsTarget {
    BackBuffer,  // kind 0: into BackBuffer only
    Screens,     // kind 1: BackBuffer, PB and the window pictures
};

class QuickButtons {
public:
    explicit QuickButtons(Engine& engine);

    // Start-up: the two screen-sized surfaces and the six sheets, the indicator's pictures.
    void Load();

    // DrawQuickButtons kinds 0 and 1.
    void Draw(QuickButtonsTarget target);
    // Redraw wherever a state a button shows has changed.
    void Refresh() { Draw(QuickButtonsTarget::Screens); }
    // DrawQuickButtons kind 2: the window's picture being built (its top left at (x, y) on the
    // screen) gets the buttons placed in the window. Drawn in place over the picture.
    void DrawInto(Surface& window, int32_t x, int32_t y);
    // The message window's drawing built the screen the buttons stand on: `screen` (the
    // scene, or novel mode's dimmed scene) with the window picture (before its buttons), when
    // there is one, at (x, y).
    void TakeBackground(const Surface& screen, const Surface* window, int32_t x, int32_t y);

    // QuickButtonHover: the pointer at (x, y) of the game screen.
    void Hover(int x, int y);
    // The timer's hover test: once the pointer has left the game screen, nothing is hovered.
    void ResetHover();
    // QuickButtonClick at the hovered button; whether a button took the press.
    bool Press(int x, int y);
    // A left press on the auto-speed indicator changes the speed; whether it hit.
    bool IndicatorClick(int x, int y);
    // The pointer is on the voice-replay button (page review steps back there, forward
    // anywhere else).
    bool OverVoiceReplay() const { return HoveredButton == quick_button::VoiceReplay; }

    // Button n exists in the configuration (and, for 9 and 10, fits S079); n is 1..19.
    bool Exists(int n) const;
    // Button n's rectangle on the screen at the window's current origin.
    Rect ScreenRect(int n) const;

    // The number of the button under the pointer, 0 none.
    int32_t HoveredButton = 0;

    Surface QuickButtonBackground;
    Surface QuickButtonComposite;
    Surface IndicatorBackground;

private:
    bool DrawingAllowed() const;
    bool WindowShown() const;
    int32_t& State(int n);
    // S027 and S026 as a count of levels and dots: held to 1..SPD_MAX.
    int32_t AutoLevel() const;
    // The sheet for a state, or nullptr when it did not load.
    const Surface* Sheet(int32_t placement, int32_t state) const;
    // The button's cell blended over `background` at (x, y) into `target` at (x, y), clipped
    // to both surfaces and to the sheet (mask included).
    void BlendButton(const QuickButtonConfig& button, const Surface& sheet,
                     const Surface& background, Surface& target, int x, int y);
    // Steps the drawing always takes first: the auto button on while auto mode runs, the
    // skip button on while skipping.
    void AssertToggles();
    void DrawButtons(QuickButtonsTarget target);
    // The indicator surface from its background, with the frame and the dots in auto mode.
    void ComposeIndicator();
    void DrawIndicator(QuickButtonsTarget target);
    void DrawIndicatorInto(Surface& window, int x, int y);
    // The indicator's top left on the screen (for SPD_TW 1 inside the window as well).
    bool IndicatorOrigin(int& x, int& y) const;
    // The button under (x, y), after the filters; 0 none.
    int FindButton(int x, int y) const;
    bool Filtered(int n) const;
    void PressedLook(int n);
    void ClearStates();

    Engine& m_engine;
    // Per placement (1, 2) the normal, hover and on sheets.
    std::array<std::array<Surface, 3>, 2> m_sheets;
    std::array<std::array<bool, 3>, 2> m_sheetLoaded{};
    Surface m_indicatorFrame; // sys_autobar: the frame, its right half the mask
    Surface m_indicatorDot;   // sys_auto: one dot, its right half the mask
    Surface m_indicator;      // the frame's colour half with the dots
    bool m_backgroundTaken = false;
};

} // namespace orv
