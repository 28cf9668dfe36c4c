#pragma once
// The config screen drawn over the whole game screen from two pictures the game
// configuration names (CFG_GRA): a base with every control in its normal look and a sheet
// of the same layout with every control selected. Each setting shows as the rectangle of its
// chosen option copied from the sheet over the base; four volume knobs and an auto-speed knob
// are dragged along their tracks. It owns every event while it is open, and the loop stands
// still under it. Games without both pictures, and players who chose CONFIG_MODE, get the
// settings dialog instead.

#include "gfx/surface.h"
#include "screens/screen.h"

#include <cstdint>

namespace orv {

class Engine;

// The controls of the config screen, by the numbers hit-testing returns.
namespace config_item {
constexpr int None = 0;
constexpr int Window = 1, FullScreen = 2;
constexpr int GraphicsNormal = 3, GraphicsFast = 4;
constexpr int TextTyped = 5, TextAtOnce = 6;
constexpr int StopAtUnread = 7, SkipUnread = 8;
constexpr int Detail = 9, Close = 10;
constexpr int FirstSlider = 11, LastSlider = 14; // master, voice, effects, music
constexpr int VoiceTest = 15, VolumeDefault = 16;
constexpr int WheelScene = 17, WheelLog = 18;
constexpr int AutoTrack = 19;
constexpr int FirstRightClick = 20, LastRightClick = 24;
constexpr int FirstEffectCategory = 25, LastEffectCategory = 29;
constexpr int MusicSwitch = 30, VoiceSwitch1 = 31, EffectSwitch = 32, VoiceSwitch2 = 33;
constexpr int FirstPreset = 34, LastPreset = 42; // three groups of three
constexpr int Defaults = 43;
constexpr int OtherVoiceSwitch1 = 44, OtherVoiceSwitch2 = 45;
constexpr int Count = 46;
} // namespace config_item

// DragItem: 1..4 a volume slider, 5 the auto knob.
constexpr int kDragAutoKnob = 5;

// The slider value (-3000..0) of a pointer `d` pixels right of a volume track's left, for a
// track `trackWidth` wide and a knob `knobWidth` wide: the knob's centre follows the pointer.
int32_t SliderValue(int64_t d, int32_t trackWidth, int32_t knobWidth);
// The knob's left relative to the track's for slider value `value`; a value outside
// -3000..0 (a hand-edited setting) keeps the knob on the track.
int32_t SliderKnobOffset(int32_t value, int32_t trackWidth, int32_t knobWidth);
// Where the auto knob stands, in pixels from the track's left, for level `level` (S027)
// of `steps` (SPD_MAX): the slowest level at the right. With fewer than 2 steps, or a
// track narrower than `steps`, the knob has no room to move and stays at 0.
int32_t AutoKnobOffsetFor(int32_t trackWidth, int32_t steps, int32_t level);
bool AutoKnobMoves(int32_t trackWidth, int32_t steps);
// The level of a knob `offset` pixels right of the track's left (0 at the right end, raised
// to 1 when the screen is drawn). Only for tracks where AutoKnobMoves.
int32_t AutoLevelAt(int32_t offset, int32_t trackWidth, int32_t steps);

class ConfigScreen final : public Screen {
public:
    explicit ConfigScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return -1; }
    ScreenLayer Layer() const override { return ScreenLayer::Exclusive; }
    AfterPass Pass() override { return AfterPass::Pace; }
    // Any button acts as the left one.
    void Press(MouseButton button, int x, int y) override;
    void Move(int x, int y) override;
    void Release(MouseButton button, int x, int y) override;
    // Escape leaves as the close button does; every other key is taken and ignored.
    bool KeyPress(char key) override;
    void Close() override;

    // OpenConfig: the `config` command, the menu items, the C key and the quick button.
    void Open();
    // CloseConfig: the closing roll, the game screen back, the settings written and the
    // screen mode switched when it changed.
    void CloseConfig();
    // DrawConfigScreen: the screen composed into BackBuffer.
    void Draw();

    // The area of an item (1..45) on the screen; empty for an item the game does not lay out.
    Rect ItemArea(int item) const;
    // The item under (x, y) in the order the controls are tried, or 0.
    int HitTest(int x, int y) const;

    int32_t HoverItem = 0;
    int32_t DragItem = 0;
    int32_t LastSliderValue = 0;
    int32_t AutoKnobOffset = 0;

private:
    void ClickItem(int item, int x);
    void SetSliderFromPointer(int slider, int x);
    void SetAutoFromPointer(int x);
    void RecomputeAutoKnob();
    void DefaultVolumes();
    void Defaults();
    void ToggleMusic();
    // The item's rectangle copied from the sheet (highlighted) or the base onto BackBuffer.
    void DrawItem(int item, bool highlighted);
    void DrawButtonOnScreen(int item, bool highlighted);
    // The settings dialog in place of this screen, then the script goes on.
    void UseSettingsDialog();
    // One frame of a roll: the config screen squeezed into the top h rows, the game below.
    void ComposeRoll(int h);
    void WriteSettings();
    void SwitchScreenMode();
    int32_t& SliderVolume(int slider);
    int32_t KnobWidth() const { return m_volumeKnob.Width() / 2; }

    Engine& m_engine;
    bool m_open = false;
    Surface m_base;
    Surface m_sheet;
    Surface m_volumeKnob;
    Surface m_autoKnob;
    Surface m_game; // the game screen under this one
    Surface m_roll; // the frames of the opening and closing rolls
};

} // namespace orv
