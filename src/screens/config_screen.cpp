#include "screens/config_screen.h"

#include "engine/engine.h"
#include "gfx/blend.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace orv {

namespace {

constexpr int32_t kSliderMin = -3000;
// Rows of a roll frame and the step of the roll's edge per frame.
constexpr int kRollStep = 32;
constexpr int32_t kRollFrameMs = 10;
// The pause before leaving full screen, for the display to settle.
constexpr uint32_t kLeaveFullScreenMs = 100;
// The level auto mode starts at after the defaults.
constexpr int32_t kDefaultAutoLevel = 5;
// The variables of the three preset groups.
constexpr std::array<int, 3> kPresetCells = {200, 201, 202};

// The settings this screen writes when it closes, in the order they are written. EFX_CUT is
// among them: the defaults change it, and without it here the change would be lost.
constexpr const char* kWrittenSettings[] = {
    "GMode", "SMode", "Seen", "Delay", "BreakonSelect", "Vol1", "Vol2", "Vol3",
    "CV1", "CV2", "BGM_ENA", "SE_ENA", "SE0", "SE1", "SE2", "SE3", "SE4",
    "RC_MODE", "WHEEL_MODE", "CS_SWAP", "EFX_CUT"};

// Layout values come from the game's configuration: every coordinate and size is held far
// outside the screen but well inside 32 bits, so that sums of them cannot overflow.
constexpr int64_t kFar = 1 << 20;
int32_t Coord(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, -kFar, kFar));
}

int32_t Attenuation(int32_t slider) {
    return slider * 5 / 2;
}
int32_t SliderUnit(int32_t attenuation) {
    return static_cast<int32_t>(int64_t{attenuation} * 2 / 5);
}

Rect BoxArea(const std::array<int32_t, 4>& box) {
    return Rect{Coord(box[0]), Coord(box[1]), Coord(int64_t{box[2]} - box[0]),
                Coord(int64_t{box[3]} - box[1])};
}

// How a list key marks a place it does not use.
enum class Unused {
    LeftZero,   // the switches: a left of 0
    AtOrigin,   // the right button's options and the presets: left and top both 0
};

bool IsUnused(int32_t left, int32_t top, Unused unused) {
    return unused == Unused::LeftZero ? left == 0 : (left == 0 && top == 0);
}

// Entry `i` of a list key laid out as width, height, then left and top of each entry; empty
// past the list's end and for an unused place, which would otherwise catch the pointer in
// the screen's corner.
template <size_t N>
Rect ListArea(const std::array<int32_t, N>& list, int i, Unused unused) {
    size_t at = 2 + 2 * static_cast<size_t>(i);
    if (at + 1 >= N || IsUnused(list[at], list[at + 1], unused)) {
        return {};
    }
    return Rect{Coord(list[at]), Coord(list[at + 1]), Coord(list[0]), Coord(list[1])};
}

bool Inside(const Rect& r, int x, int y) {
    return r.Width > 0 && r.Height > 0 && x >= r.X && y >= r.Y &&
           int64_t{x} < int64_t{r.X} + r.Width && int64_t{y} < int64_t{r.Y} + r.Height;
}

bool IsButton(int item) {
    using namespace config_item;
    return item == Detail || item == Close || item == VoiceTest || item == VolumeDefault ||
           item == Defaults;
}

// The order in which hit-testing tries the items.
constexpr std::array<int, 45> kHitOrder = {
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 15, 16, 43, 17, 18, 11, 12, 13, 14, 19, 20, 21, 22,
    23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 37, 40, 35, 38, 41, 36, 39, 42, 44, 45};

} // namespace

int32_t SliderValue(int64_t d, int32_t trackWidth, int32_t knobWidth) {
    int64_t k = knobWidth / 2;
    if (d <= k) {
        return kSliderMin;
    }
    if (d < int64_t{trackWidth} - k) {
        // Here trackWidth > 2k + 1 >= knobWidth, so the span is at least 1.
        int64_t span = int64_t{trackWidth} - knobWidth;
        int64_t value = (d - k) * 3000 / span - 3000;
        return static_cast<int32_t>(std::clamp<int64_t>(value, kSliderMin, 0));
    }
    return 0;
}

int32_t SliderKnobOffset(int32_t value, int32_t trackWidth, int32_t knobWidth) {
    int64_t v = std::clamp<int32_t>(value, kSliderMin, 0);
    int64_t reach = int64_t{trackWidth} - knobWidth / 2;
    return static_cast<int32_t>(reach * (v + 3000) / 3000);
}

bool AutoKnobMoves(int32_t trackWidth, int32_t steps) {
    return steps >= 2 && trackWidth >= steps;
}

int32_t AutoKnobOffsetFor(int32_t trackWidth, int32_t steps, int32_t level) {
    if (!AutoKnobMoves(trackWidth, steps)) {
        return 0;
    }
    int32_t clamped = std::clamp(level, 1, steps);
    return trackWidth / (steps - 1) * (steps - clamped);
}

int32_t AutoLevelAt(int32_t offset, int32_t trackWidth, int32_t steps) {
    int32_t o = std::clamp(offset, 0, trackWidth);
    return steps - o / (trackWidth / steps);
}

Rect ConfigScreen::ItemArea(int item) const {
    const GameConfig& c = m_engine.config;
    using namespace config_item;
    switch (item) {
    case Window: return BoxArea(c.CFG_WM_WIN);
    case FullScreen: return BoxArea(c.CFG_WM_FULL);
    case GraphicsNormal: return BoxArea(c.CFG_GM_NORMAL);
    case GraphicsFast: return BoxArea(c.CFG_GM_FAST);
    case TextTyped: return BoxArea(c.CFG_TM_NORMAL);
    case TextAtOnce: return BoxArea(c.CFG_TM_FAST);
    case StopAtUnread: return BoxArea(c.CFG_MS_STOP);
    case SkipUnread: return BoxArea(c.CFG_MS_NONE);
    case Detail: return BoxArea(c.CFG_DETAIL);
    case config_item::Close: return BoxArea(c.CFG_CLOSE);
    case VoiceTest: return BoxArea(c.CFG_VOL_CVTEST);
    case VolumeDefault: return BoxArea(c.CFG_VOL_DEFAULT);
    case WheelScene: return BoxArea(c.CFG_MW_SCENE);
    case WheelLog: return BoxArea(c.CFG_MW_LOG);
    case AutoTrack: return BoxArea(c.CFG_AUTO);
    case config_item::Defaults: return BoxArea(c.CFG_DEFAULT);
    default: break;
    }
    if (item >= FirstSlider && item <= LastSlider) {
        const std::array<int32_t, 2>* tracks[] = {&c.CFG_VOL1, &c.CFG_VOL2, &c.CFG_VOL3, &c.CFG_VOL4};
        const auto& at = *tracks[item - FirstSlider];
        return Rect{Coord(at[0]), Coord(at[1]), Coord(c.CFG_VOL_BAR[0]), Coord(c.CFG_VOL_BAR[1])};
    }
    if (item >= FirstRightClick && item <= LastRightClick) {
        return ListArea(c.CFG_RIGHT_CLICK, item - FirstRightClick, Unused::AtOrigin);
    }
    if (item >= FirstEffectCategory && item <= LastEffectCategory) {
        return ListArea(c.CFG_HSE, item - FirstEffectCategory, Unused::LeftZero);
    }
    if (item >= MusicSwitch && item <= VoiceSwitch2) {
        return ListArea(c.CFG_SOUND, item - MusicSwitch, Unused::LeftZero);
    }
    if (item >= FirstPreset && item <= LastPreset) {
        int group = (item - FirstPreset) / 3;
        int button = (item - FirstPreset) % 3;
        const std::array<int32_t, 6>* groups[] = {&c.CFG_SHASEL1, &c.CFG_SHASEL2, &c.CFG_SHASEL3};
        const auto& g = *groups[group];
        if (IsUnused(g[2 * button], g[2 * button + 1], Unused::AtOrigin)) {
            return {};
        }
        return Rect{Coord(g[2 * button]), Coord(g[2 * button + 1]), Coord(c.CFG_SHASEL_SIZE[0]),
                    Coord(c.CFG_SHASEL_SIZE[1])};
    }
    if (item == OtherVoiceSwitch1 || item == OtherVoiceSwitch2) {
        return ListArea(c.CFG_VOICE, item - OtherVoiceSwitch1, Unused::LeftZero);
    }
    return {};
}

int ConfigScreen::HitTest(int x, int y) const {
    for (int item : kHitOrder) {
        if (Inside(ItemArea(item), x, y)) {
            return item;
        }
    }
    return config_item::None;
}

int32_t& ConfigScreen::SliderVolume(int slider) {
    UserSettings& s = m_engine.settings;
    switch (slider) {
    case 0: return m_engine.sound.MasterVolume;
    case 1: return s.VoiceVolume;
    case 2: return s.EffectVolume;
    default: return s.MusicVolume;
    }
}

void ConfigScreen::RecomputeAutoKnob() {
    const auto& track = m_engine.config.CFG_AUTO;
    AutoKnobOffset = AutoKnobOffsetFor(Coord(int64_t{track[2]} - track[0]), m_engine.config.SPD_MAX,
                                       m_engine.vars.S(cell::AutoLevelRestored));
}

void ConfigScreen::Open() {
    Engine& e = m_engine;
    if (m_open) {
        return;
    }
    e.sound.PlaySoundByName("SSE07");
    e.ScriptRunning = 0;
    e.MenusLocked = 1;
    e.UpdateMenus();
    const GameConfig& c = e.config;
    if (c.CFG_GRA[0].empty() || c.CFG_GRA[1].empty()) {
        e.settings.CONFIG_MODE = true; // for this run only: nothing writes it
    }
    if (e.settings.CONFIG_MODE) {
        UseSettingsDialog();
        return;
    }
    Pictures& pictures = e.gfx.PictureLoader();
    bool loaded = pictures.LoadPicture(c.CFG_GRA[0], m_base) &&
                  pictures.LoadPicture(c.CFG_GRA[1], m_sheet);
    m_volumeKnob.SetSize(0, 0);
    m_autoKnob.SetSize(0, 0);
    if (loaded && !c.CFG_VOL_KNOB.empty()) {
        loaded = pictures.LoadPicture(c.CFG_VOL_KNOB, m_volumeKnob);
    }
    if (loaded && !c.CFG_AUTO_KNOB.empty()) {
        loaded = pictures.LoadPicture(c.CFG_AUTO_KNOB, m_autoKnob);
    }
    if (!loaded) {
        // A screen without its pictures could not be read or left; the dialog holds the
        // same settings.
        UseSettingsDialog();
        return;
    }
    Surface& back = e.gfx.BackBuffer;
    m_game.SetSize(kScreenWidth, kScreenHeight);
    m_game.CopyFrom(back, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    m_roll.SetSize(kScreenWidth, kScreenHeight);
    m_open = true;
    HoverItem = config_item::None;
    DragItem = 0;
    e.screens.Open(*this);
    RecomputeAutoKnob();
    Draw();

    BusyScope busy(e.blocking);
    e.gfx.StartFrameClock();
    for (int h = kRollStep; h < kScreenHeight;) {
        ComposeRoll(h);
        e.gfx.PresentWhole(m_roll);
        h += kRollStep * e.gfx.WaitFrames(kRollFrameMs);
    }
    e.ShowBackBuffer();
}

void ConfigScreen::UseSettingsDialog() {
    Engine& e = m_engine;
    {
        BusyScope busy(e.blocking);
        e.dialogs.ShowSettings();
        e.prompts.ApplySettings();
    }
    e.MenusLocked = 0;
    e.UpdateMenus();
    e.ScriptRunning = 1;
}

void ConfigScreen::ComposeRoll(int h) {
    const Surface& screen = m_engine.gfx.BackBuffer;
    const size_t rowBytes = static_cast<size_t>(kScreenWidth) * 3;
    // Steps in 8.8 fixed point; 0 < h < 600 here, so neither divides by 0 and no source row
    // reaches 600.
    const uint32_t top = 153600u / static_cast<uint32_t>(h);
    const uint32_t bottom = 153600u / static_cast<uint32_t>(kScreenHeight - h);
    uint32_t at = 0;
    for (int y = 0; y < h; ++y, at += top) {
        std::memcpy(m_roll.Row(y), screen.Row(static_cast<int>(at >> 8)), rowBytes);
    }
    at = 0;
    for (int y = h; y < kScreenHeight; ++y, at += bottom) {
        std::memcpy(m_roll.Row(y), m_game.Row(static_cast<int>(at >> 8)), rowBytes);
    }
}

void ConfigScreen::DrawItem(int item, bool highlighted) {
    Rect area = ItemArea(item);
    if (area.Width <= 0 || area.Height <= 0) {
        return;
    }
    m_engine.gfx.BackBuffer.CopyFrom(highlighted ? m_sheet : m_base, area, area.X, area.Y);
}

void ConfigScreen::DrawButtonOnScreen(int item, bool highlighted) {
    DrawItem(item, highlighted);
    Rect area = ItemArea(item);
    if (area.Width > 0 && area.Height > 0) {
        m_engine.gfx.Present(m_engine.gfx.BackBuffer, area, area.X, area.Y);
    }
}

void ConfigScreen::Draw() {
    Engine& e = m_engine;
    const GameConfig& c = e.config;
    const UserSettings& s = e.settings;
    using namespace config_item;
    Surface& back = e.gfx.BackBuffer;
    back.CopyFrom(m_base, Rect{0, 0, m_base.Width(), m_base.Height()}, 0, 0);
    // Mode 2, the borderless window, has no option of its own here.
    if (e.FullScreenMode == 0) {
        DrawItem(Window, true);
    } else if (e.FullScreenMode == 1) {
        DrawItem(FullScreen, true);
    }
    DrawItem(s.GMode ? GraphicsFast : GraphicsNormal, true);
    DrawItem(s.Typewriter ? TextTyped : TextAtOnce, true);
    DrawItem(s.Seen ? StopAtUnread : SkipUnread, true);
    DrawItem(s.WHEEL_MODE == 1 ? WheelLog : WheelScene, true);

    if (!m_volumeKnob.Empty()) {
        const std::array<int32_t, 2>* tracks[] = {&c.CFG_VOL1, &c.CFG_VOL2, &c.CFG_VOL3, &c.CFG_VOL4};
        for (int i = 0; i < 4; ++i) {
            int32_t value = SliderUnit(SliderVolume(i));
            int x = Coord(int64_t{tracks[i]->at(0)} +
                          SliderKnobOffset(value, Coord(c.CFG_VOL_BAR[0]), KnobWidth()));
            DrawSideBySideSprite(back, x, m_volumeKnob, Coord(tracks[i]->at(1)));
        }
    }
    int32_t& level = e.vars.S(cell::AutoLevelRestored);
    if (level < 1) {
        level = 1;
    }
    if (c.CFG_AUTO[0] != 0 && !m_autoKnob.Empty()) {
        DrawSideBySideSprite(back, Coord(int64_t{c.CFG_AUTO[0]} + AutoKnobOffset), m_autoKnob,
                             Coord(c.CFG_AUTO[1]));
    }
    if (c.CFG_RIGHT_CLICK[0] != 0 && s.RC_MODE >= 0 && s.RC_MODE <= 4) {
        DrawItem(FirstRightClick + s.RC_MODE, true);
    }
    for (int d = 0; d < 5; ++d) {
        if (s.SE[static_cast<size_t>(d)]) {
            DrawItem(FirstEffectCategory + d, true);
        }
    }
    if (s.CV1) {
        DrawItem(OtherVoiceSwitch1, true);
    }
    if (s.CV2) {
        DrawItem(OtherVoiceSwitch2, true);
    }
    const bool soundOn[] = {s.BGM_ENA, s.CV1, s.SE_ENA, s.CV2};
    for (int i = 0; i < 4; ++i) {
        if (soundOn[i]) {
            DrawItem(MusicSwitch + i, true);
        }
    }
    if (c.CFG_SHASEL_SIZE[0] != 0) {
        for (int g = 0; g < 3; ++g) {
            int32_t button = e.vars.V(kPresetCells[static_cast<size_t>(g)]);
            if (button >= 0 && button <= 2) {
                DrawItem(FirstPreset + 3 * g + button, true);
            }
        }
    }
}

void ConfigScreen::Move(int x, int y) {
    Engine& e = m_engine;
    if (DragItem >= 1 && DragItem <= 4) {
        int slider = DragItem - 1;
        const auto& c = e.config;
        const std::array<int32_t, 2>* tracks[] = {&c.CFG_VOL1, &c.CFG_VOL2, &c.CFG_VOL3, &c.CFG_VOL4};
        int32_t value = SliderValue(int64_t{x} - tracks[slider]->at(0), c.CFG_VOL_BAR[0], KnobWidth());
        if (value == LastSliderValue) {
            return;
        }
        LastSliderValue = value;
        SliderVolume(slider) = Attenuation(value);
        Draw();
        e.ShowBackBuffer();
        e.sound.ApplyVolumes();
        return;
    }
    if (DragItem == kDragAutoKnob) {
        SetAutoFromPointer(x);
        Draw();
        e.ShowBackBuffer();
        return;
    }
    int hit = HitTest(x, y);
    if (hit == HoverItem) {
        return;
    }
    if (IsButton(HoverItem)) {
        DrawButtonOnScreen(HoverItem, false);
    }
    if (IsButton(hit)) {
        DrawButtonOnScreen(hit, true);
    }
    HoverItem = hit;
}

void ConfigScreen::SetSliderFromPointer(int slider, int x) {
    const auto& c = m_engine.config;
    const std::array<int32_t, 2>* tracks[] = {&c.CFG_VOL1, &c.CFG_VOL2, &c.CFG_VOL3, &c.CFG_VOL4};
    LastSliderValue = SliderValue(int64_t{x} - tracks[slider]->at(0), c.CFG_VOL_BAR[0], KnobWidth());
    SliderVolume(slider) = Attenuation(LastSliderValue);
    m_engine.sound.ApplyVolumes();
}

void ConfigScreen::SetAutoFromPointer(int x) {
    const auto& track = m_engine.config.CFG_AUTO;
    int32_t width = Coord(int64_t{track[2]} - track[0]);
    int32_t steps = m_engine.config.SPD_MAX;
    // A track with no room for its steps keeps the knob at its start.
    if (!AutoKnobMoves(width, steps)) {
        return;
    }
    AutoKnobOffset = static_cast<int32_t>(std::clamp<int64_t>(int64_t{x} - track[0], 0, width));
    m_engine.vars.S(cell::AutoLevelRestored) = AutoLevelAt(AutoKnobOffset, width, steps);
}

void ConfigScreen::DefaultVolumes() {
    UserSettings& s = m_engine.settings;
    const GameConfig& c = m_engine.config;
    s.VoiceVolume = Attenuation(c.VOLUME1);
    s.EffectVolume = Attenuation(c.VOLUME2);
    s.MusicVolume = Attenuation(c.VOLUME3);
    m_engine.sound.ApplyVolumes();
}

void ConfigScreen::ToggleMusic() {
    Engine& e = m_engine;
    e.settings.BGM_ENA = !e.settings.BGM_ENA;
    int32_t requested = e.vars.S(cell::MusicRequested);
    e.sound.SetMusic(0);
    e.sound.SetMusic(requested);
    e.vars.S(cell::MusicRequested) = requested;
}

void ConfigScreen::Defaults() {
    Engine& e = m_engine;
    UserSettings& s = e.settings;
    DefaultVolumes();
    if (!s.BGM_ENA) {
        ToggleMusic();
    }
    s.SE_ENA = true;
    s.Typewriter = true;
    e.text.Delay = 0;
    s.GMode = false;
    e.FullScreenMode = 0;
    s.SMode = 0;
    s.Seen = true;
    s.BreakonSelect = true;
    s.RC_MODE = 0;
    s.WHEEL_MODE = 0;
    s.CS_SWAP = false;
    s.EFX_CUT = true;
    s.CV1 = true;
    s.CV2 = true;
    s.SE.fill(true);
    for (int cellNumber : kPresetCells) {
        e.vars.V(cellNumber) = 0;
    }
    e.vars.S(cell::AutoLevelRestored) = kDefaultAutoLevel;
    RecomputeAutoKnob();
}

void ConfigScreen::ClickItem(int item, int x) {
    Engine& e = m_engine;
    UserSettings& s = e.settings;
    using namespace config_item;
    switch (item) {
    case Window:
    case FullScreen:
        e.FullScreenMode = item == FullScreen ? 1 : 0;
        s.SMode = e.FullScreenMode;
        return;
    case GraphicsNormal:
    case GraphicsFast:
        s.GMode = item == GraphicsFast;
        return;
    case TextTyped:
    case TextAtOnce:
        s.Typewriter = item == TextTyped;
        e.text.Delay = s.Typewriter ? 0 : 1;
        return;
    case StopAtUnread:
    case SkipUnread:
        s.Seen = item == StopAtUnread;
        return;
    case Detail:
        CloseConfig();
        UseSettingsDialog();
        return;
    case config_item::Close:
        e.ScriptRunning = 1;
        CloseConfig();
        return;
    case VoiceTest:
        e.sound.PlayVoice("SAMPLECV");
        DrawItem(VoiceTest, false);
        return;
    case VolumeDefault:
        DefaultVolumes();
        DrawItem(VolumeDefault, false);
        return;
    case WheelScene:
    case WheelLog:
        s.WHEEL_MODE = item == WheelLog ? 1 : 0;
        return;
    case AutoTrack:
        SetAutoFromPointer(x);
        DragItem = kDragAutoKnob;
        return;
    case MusicSwitch:
        ToggleMusic();
        return;
    case VoiceSwitch1:
    case OtherVoiceSwitch1:
        s.CV1 = !s.CV1;
        return;
    case EffectSwitch:
        s.SE_ENA = !s.SE_ENA;
        return;
    case VoiceSwitch2:
    case OtherVoiceSwitch2:
        s.CV2 = !s.CV2;
        return;
    case config_item::Defaults:
        Defaults();
        return;
    default:
        break;
    }
    if (item >= FirstSlider && item <= LastSlider) {
        SetSliderFromPointer(item - FirstSlider, x);
        DragItem = item - 10;
    } else if (item >= FirstRightClick && item <= LastRightClick) {
        s.RC_MODE = item - FirstRightClick;
    } else if (item >= FirstEffectCategory && item <= LastEffectCategory) {
        bool& on = s.SE[static_cast<size_t>(item - FirstEffectCategory)];
        on = !on;
    } else if (item >= FirstPreset && item <= LastPreset) {
        int group = (item - FirstPreset) / 3;
        e.vars.V(kPresetCells[static_cast<size_t>(group)]) = (item - FirstPreset) % 3;
    }
}

void ConfigScreen::Press(MouseButton /*button*/, int x, int /*y*/) {
    int item = HoverItem;
    ClickItem(item, x);
    if (item == config_item::Detail || item == config_item::Close || !m_open) {
        return;
    }
    Draw();
    m_engine.ShowBackBuffer();
}

void ConfigScreen::Release(MouseButton /*button*/, int /*x*/, int /*y*/) {
    DragItem = 0;
    if (m_open && (HoverItem == config_item::VoiceTest || HoverItem == config_item::VolumeDefault)) {
        DrawButtonOnScreen(HoverItem, true);
    }
}

bool ConfigScreen::KeyPress(char key) {
    if (key == '\x1b' && m_open) {
        ClickItem(config_item::Close, 0);
    }
    return true;
}

void ConfigScreen::CloseConfig() {
    Engine& e = m_engine;
    if (!m_open) {
        return;
    }
    {
        BusyScope busy(e.blocking);
        e.gfx.StartFrameClock();
        for (int h = kScreenHeight - kRollStep; h > 0;) {
            ComposeRoll(h);
            e.gfx.PresentWhole(m_roll);
            h -= kRollStep * e.gfx.WaitFrames(kRollFrameMs);
        }
        e.gfx.BackBuffer.CopyFrom(m_game, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
        m_open = false;
        HoverItem = config_item::None;
        DragItem = 0;
        e.screens.Close(*this);
        WriteSettings();
        SwitchScreenMode();
    }
    e.MenusLocked = 0;
    e.UpdateMenus();
    e.ShowBackBuffer();
}

void ConfigScreen::WriteSettings() {
    for (const char* name : kWrittenSettings) {
        m_engine.StoreSetting(name);
    }
}

void ConfigScreen::SwitchScreenMode() {
    Engine& e = m_engine;
    if ((e.FullScreenActive != 0) == (e.FullScreenMode != 0)) {
        return;
    }
    e.StoreSetting("SMode");
    if (e.FullScreenActive) {
        e.Host().Sleep(kLeaveFullScreenMs);
        e.Host().PumpMessages();
        e.LeaveFullScreen();
    }
    if (e.FullScreenMode != 0) {
        e.EnterFullScreen();
    }
}

void ConfigScreen::Close() {
    // Taken off by the title return: the pictures stay allocated for the next opening.
    m_open = false;
    HoverItem = config_item::None;
    DragItem = 0;
}

} // namespace orv
