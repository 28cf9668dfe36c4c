#pragma once
// TForm11, the settings dialog: every control bound to one user setting, filled from the
// settings store when the dialog opens and writing its setting the moment the player changes
// it. Most changes reach the engine at once; the screen and graphics modes wait for the next
// start, the text speed and the window look for ApplySettings after the dialog closes. The
// desktop's dialog and the headless run show this model and pass the player's changes on.

#include "dialogs/font_list.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class Engine;

namespace settings_tab {
constexpr int System = 0; // "システム設定"
constexpr int Sound = 1;  // "音設定"
constexpr int Text = 2;   // "テキスト設定"
constexpr int About = 3;  // the Ogg Vorbis acknowledgement
constexpr int Count = 4;
} // namespace settings_tab

enum class SettingsControlKind : uint8_t {
    Radio,  // a radio group: values 0 .. items - 1
    Check,  // 0 or 1
    Slider, // a track bar; a drag reaches the engine at once and is written on release
    Spin,   // a spin edit
};

// What a change does besides writing its setting.
enum class SettingsEffect : uint8_t {
    NextStart, // nothing more: the running game keeps its mode until the next start
    OnClose,   // ApplySettings reads it from the store after the dialog
    Held,      // the engine holds the new value at once
    Music,     // held, and the requested track stops or starts again
    Volume,    // held as its attenuation, the volumes applied
    Master,    // the whole mix's volume; stored nowhere
    Look,      // held; the window look is rebuilt after the dialog (FontChanged)
};

struct SettingsControl {
    std::string_view Component; // the form's component name
    std::string_view Setting;   // the value name in the store (MasterVolume: the engine field)
    int Tab = settings_tab::System;
    SettingsControlKind Kind = SettingsControlKind::Check;
    SettingsEffect Effect = SettingsEffect::Held;
    int32_t Min = 0; // the values the control takes (the stored form; sliders of the tint
    int32_t Max = 1; // show the value negated)
    std::string_view Caption; // UTF-8
    std::array<std::string_view, 4> Items{};
    bool Hidden = false;
};

class SettingsDialogModel {
public:
    static constexpr int kFontSizeMin = 18;
    static constexpr int kFontSizeMax = 23;

    // `fonts` is asked for the font list when the dialog is filled.
    SettingsDialogModel(Engine& engine, FontFamilySource& fonts);

    static std::span<const SettingsControl> Controls();
    // The control by its setting or component name (ASCII case ignored), or -1.
    static int Find(std::string_view name);

    // On show: every control from the store, read with the engine's value as its default;
    // the font list; the change handlers still off.
    void Fill();
    // The view has set its controls: FontChanged cleared, and changes count from now on.
    void FinishFill();
    bool Filling() const { return m_filling; }

    int32_t Value(int control) const { return m_values[static_cast<size_t>(control)]; }
    // Whether the dialog shows the control (CONFIG_MODE only for games with a config screen).
    bool Shown(int control) const;

    // A click, a spin step, a key on a slider: the value (clamped to the control's range) is
    // written and takes effect. Ignored while the dialog is being filled.
    void Change(int control, int32_t value);
    // A slider dragged: the engine follows at once, the setting is written on Release.
    void Slide(int control, int32_t value);
    void Release(int control);

    // ComboBox1: the names in code page 932 (the one in use first when no installed family
    // is known by it), the name in use and its row.
    const std::vector<std::string>& FontNames() const { return m_fontNames; }
    const std::string& FontName() const { return m_fontName; }
    int FontRow() const { return m_fontRow; }
    // The row of the family known by `utf8Name` (any of its names), or -1.
    int FontRowNamed(std::string_view utf8Name) const;
    void ChooseFont(int row);

    // Button3 "Default": the tint of the game's configuration, stored.
    void DefaultTint();
    // The colour sample: the tint as 0xBBGGRR.
    uint32_t TintSample() const;
    // Button1 "ボイス": the sample voice.
    void PlaySampleVoice();

    // Button2, Escape or the close box: a slider still held is written.
    void Close();

private:
    void Write(int control);
    void TakeEffect(int control);
    void FontLookChanged();

    Engine& m_engine;
    FontFamilySource& m_fonts;
    std::vector<int32_t> m_values;
    std::vector<uint8_t> m_unwritten; // a slider moved and not yet released
    std::vector<std::string> m_fontNames;
    std::vector<std::vector<std::string>> m_fontFamilies; // every name of each row, UTF-8
    std::string m_fontName;
    int m_fontRow = -1;
    bool m_filling = true;
};

} // namespace orv
