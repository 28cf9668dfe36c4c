// The settings dialog's controls, how they are filled from the store and what a change does.
#include "dialogs/settings_dialog.h"

#include "base/cp932.h"
#include "data/user_settings.h"
#include "engine/engine.h"

#include <algorithm>
#include <optional>

namespace orv {

namespace {

using K = SettingsControlKind;
using F = SettingsEffect;
namespace tab = settings_tab;

constexpr int32_t kVolumeMin = -3000;

constexpr SettingsControl Radio(std::string_view component, std::string_view setting, int tab,
                                F effect, std::string_view caption,
                                std::array<std::string_view, 4> items) {
    SettingsControl c;
    c.Component = component;
    c.Setting = setting;
    c.Tab = tab;
    c.Kind = K::Radio;
    c.Effect = effect;
    c.Max = static_cast<int32_t>(std::count_if(items.begin(), items.end(),
                                               [](std::string_view i) { return !i.empty(); })) -
            1;
    c.Caption = caption;
    c.Items = items;
    return c;
}

constexpr SettingsControl Check(std::string_view component, std::string_view setting, int tab,
                                F effect, std::string_view caption, bool hidden = false) {
    SettingsControl c;
    c.Component = component;
    c.Setting = setting;
    c.Tab = tab;
    c.Effect = effect;
    c.Caption = caption;
    c.Hidden = hidden;
    return c;
}

constexpr SettingsControl Slider(std::string_view component, std::string_view setting, int tab,
                                 F effect, int32_t min, int32_t max, std::string_view caption) {
    SettingsControl c;
    c.Component = component;
    c.Setting = setting;
    c.Tab = tab;
    c.Kind = K::Slider;
    c.Effect = effect;
    c.Min = min;
    c.Max = max;
    c.Caption = caption;
    return c;
}

constexpr SettingsControl Spin(std::string_view component, std::string_view setting, int tab,
                               F effect, int32_t min, int32_t max, std::string_view caption) {
    SettingsControl c = Slider(component, setting, tab, effect, min, max, caption);
    c.Kind = K::Spin;
    return c;
}

// clang-format off
constexpr SettingsControl kControls[] = {
    Radio("RadioGroup6", "SMode", tab::System, F::NextStart, "スクリーンモード", {"ウィンドウ", "全画面"}),
    Radio("RadioGroup4", "GMode", tab::System, F::NextStart, "グラフィック表示", {"通常", "高速"}),
    Radio("RadioGroup5", "Delay", tab::System, F::OnClose, "文字表示速度", {"通常", "高速"}),
    Radio("RadioGroup1", "RC_MODE", tab::System, F::Held, "右クリック割り当て",
          {"メニュー", "枠消し", "スキップ", "オート"}),
    Radio("RadioGroup2", "WHEEL_MODE", tab::System, F::Held, "ホイール割り当て",
          {"シーン巻き戻し", "バックログ"}),
    Radio("RadioGroup3", "CS_SWAP", tab::System, F::Held, "Ctrl Shift",
          {"Ctrl-スキップ Shift-オート", "Ctrl-オート Shift-スキップ"}),
    Check("CheckBox1", "Seen", tab::System, F::Held, "未読でスキップ等を止める"),
    Check("CheckBox2", "BreakonSelect", tab::System, F::Held, "選択時にスキップ等を解除"),
    Check("CheckBox6", "MemorySaveMode", tab::System, F::Held, "メモリ使用を節約する（推奨しません）"),
    Check("CheckBox15", "EFX_CUT", tab::System, F::Held, "スキップ時、揺らし等を抑制"),
    Check("CheckBox17", "CONFIG_MODE", tab::System, F::Held, "簡易設定を使わない"),
    Check("CheckBox13", "BGM_ENA", tab::Sound, F::Music, "BGM"),
    Check("CheckBox3", "CV1", tab::Sound, F::Held, "音声"),
    Check("CheckBox4", "CV2", tab::Sound, F::Held, "音声2", true),
    Check("CheckBox14", "SE_ENA", tab::Sound, F::Held, "効果音"),
    Slider("TrackBar1", "MasterVolume", tab::Sound, F::Master, kVolumeMin, 0, "全体音量"),
    Slider("TrackBar4", "Vol3", tab::Sound, F::Volume, kVolumeMin, 0, "BGM"),
    Slider("TrackBar2", "Vol1", tab::Sound, F::Volume, kVolumeMin, 0, "ボイス"),
    Slider("TrackBar3", "Vol2", tab::Sound, F::Volume, kVolumeMin, 0, "効果音等"),
    Check("CheckBox7", "SE0", tab::Sound, F::Held, "効果音カテゴリ1"),
    Check("CheckBox8", "SE1", tab::Sound, F::Held, "効果音カテゴリ2"),
    Check("CheckBox9", "SE2", tab::Sound, F::Held, "効果音カテゴリ3", true),
    Check("CheckBox10", "SE3", tab::Sound, F::Held, "効果音カテゴリ4"),
    Check("CheckBox11", "SE4", tab::Sound, F::Held, "効果音カテゴリ5"),
    Check("CheckBox12", "CV_THROUGH", tab::Sound, F::Held, "クリックで音声再生を止めない"),
    Spin("CSpinEdit1", "FONTSIZE", tab::Text, F::Look, SettingsDialogModel::kFontSizeMin,
         SettingsDialogModel::kFontSizeMax, "フォントサイズ"),
    Check("CheckBox5", "FONTBold", tab::Text, F::Look, "太字"),
    Radio("RadioGroup7", "FONTAA", tab::Text, F::Look, "フォント描画方法",
          {"スムージングあり", "スムージングなし"}),
    Slider("TrackBar5", "TXBG_R", tab::Text, F::Look, 0, 255, "R"),
    Slider("TrackBar6", "TXBG_G", tab::Text, F::Look, 0, 255, "G"),
    Slider("TrackBar7", "TXBG_B", tab::Text, F::Look, 0, 255, "B"),
    Slider("TrackBar8", "TXBG_A", tab::Text, F::Look, 0, 255, "透過"),
    Slider("TrackBar9", "TXBG_A2", tab::Text, F::Look, 0, 255, "ノベルモード透過"),
};
// clang-format on

constexpr std::string_view kTintNames[] = {"TXBG_R", "TXBG_G", "TXBG_B", "TXBG_A"};

const SettingsControl& ControlAt(int control) {
    return kControls[static_cast<size_t>(control)];
}

bool IsTint(const SettingsControl& c) {
    return c.Setting.starts_with("TXBG_");
}

int32_t ParsedOr(const std::optional<std::string>& text, int32_t fallback) {
    if (!text) {
        return fallback;
    }
    SettingsValues one;
    one.Set("v", *text);
    return ReadSettingInt(one, "v", fallback);
}

} // namespace

SettingsDialogModel::SettingsDialogModel(Engine& engine, FontFamilySource& fonts)
    : m_engine(engine), m_fonts(fonts), m_values(std::size(kControls), 0),
      m_unwritten(std::size(kControls), 0) {}

std::span<const SettingsControl> SettingsDialogModel::Controls() {
    return kControls;
}

int SettingsDialogModel::Find(std::string_view name) {
    for (size_t i = 0; i < std::size(kControls); ++i) {
        if (cp932::EqualsIgnoreCase(kControls[i].Setting, name) ||
            cp932::EqualsIgnoreCase(kControls[i].Component, name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool SettingsDialogModel::Shown(int control) const {
    const SettingsControl& c = ControlAt(control);
    if (c.Setting == "CONFIG_MODE") {
        const GameConfig& config = m_engine.config;
        return !config.CFG_GRA[0].empty() || !config.CFG_GRA[1].empty();
    }
    return !c.Hidden;
}

void SettingsDialogModel::Fill() {
    m_filling = true;
    Engine& e = m_engine;
    const SettingsValues stored =
        SettingsStore(SettingsRoot(e.Options().DataDirectory)).Load(GameSettingsLocation(e.config));
    for (size_t i = 0; i < std::size(kControls); ++i) {
        const SettingsControl& c = kControls[i];
        int32_t value = 0;
        if (c.Effect == F::Master) {
            value = static_cast<int32_t>(int64_t{e.sound.MasterVolume} * 2 / 5);
        } else if (IsTint(c)) {
            // The tint the window shows, whatever the store says.
            value = ParsedOr(StoredUserSettingText(e.settings, c.Setting), 0);
        } else {
            int32_t held = ParsedOr(StoredUserSettingText(e.settings, c.Setting), 0);
            value = ReadSettingInt(stored, c.Setting, held);
        }
        // A radio group shows no choice for a value it has no button for; other controls
        // stand at their nearest end.
        if (c.Kind == K::Radio && (value < c.Min || value > c.Max)) {
            value = -1;
        } else if (c.Kind != K::Radio) {
            value = std::clamp(value, c.Min, c.Max);
        }
        m_values[i] = value;
        m_unwritten[i] = 0;
    }
    m_fontName = e.settings.FontName;
    m_fontNames.clear();
    m_fontFamilies.clear();
    for (FontChoice& row : FontList(m_fonts)) {
        m_fontNames.push_back(std::move(row.Shown));
        m_fontFamilies.push_back(std::move(row.Names));
    }
    m_fontRow = FontRowNamed(cp932::ToUtf8(m_fontName));
    if (m_fontRow < 0 && !m_fontName.empty()) {
        m_fontNames.insert(m_fontNames.begin(), m_fontName);
        m_fontFamilies.insert(m_fontFamilies.begin(), {cp932::ToUtf8(m_fontName)});
        m_fontRow = 0;
    }
}

void SettingsDialogModel::FinishFill() {
    m_engine.prompts.FontChanged = 0;
    m_filling = false;
}

void SettingsDialogModel::Write(int control) {
    const SettingsControl& c = ControlAt(control);
    m_unwritten[static_cast<size_t>(control)] = 0;
    if (c.Effect == F::Master) {
        return;
    }
    m_engine.WriteSetting(c.Setting, std::to_string(Value(control)));
}

void SettingsDialogModel::TakeEffect(int control) {
    Engine& e = m_engine;
    const SettingsControl& c = ControlAt(control);
    int32_t value = Value(control);
    switch (c.Effect) {
    case F::NextStart:
    case F::OnClose:
        return;
    case F::Master:
        e.sound.MasterVolume = value * 5 / 2;
        e.sound.ApplyVolumes();
        return;
    case F::Held:
    case F::Look:
        HoldUserSetting(e.settings, c.Setting, std::to_string(value));
        if (c.Effect == F::Look) {
            FontLookChanged();
        }
        return;
    case F::Volume:
        HoldUserSetting(e.settings, c.Setting, std::to_string(value));
        e.sound.ApplyVolumes();
        return;
    case F::Music: {
        HoldUserSetting(e.settings, c.Setting, std::to_string(value));
        int32_t requested = e.vars.S(cell::MusicRequested);
        e.sound.SetMusic(0);
        e.sound.SetMusic(requested);
        e.vars.S(cell::MusicRequested) = requested;
        return;
    }
    }
}

void SettingsDialogModel::FontLookChanged() {
    m_engine.prompts.FontChanged = 1;
}

void SettingsDialogModel::Change(int control, int32_t value) {
    if (m_filling || control < 0 || control >= static_cast<int>(std::size(kControls))) {
        return;
    }
    const SettingsControl& c = ControlAt(control);
    m_values[static_cast<size_t>(control)] = std::clamp(value, c.Min, c.Max);
    Write(control);
    TakeEffect(control);
}

void SettingsDialogModel::Slide(int control, int32_t value) {
    if (m_filling || control < 0 || control >= static_cast<int>(std::size(kControls))) {
        return;
    }
    const SettingsControl& c = ControlAt(control);
    int32_t clamped = std::clamp(value, c.Min, c.Max);
    if (clamped == Value(control)) {
        return;
    }
    m_values[static_cast<size_t>(control)] = clamped;
    m_unwritten[static_cast<size_t>(control)] = 1;
    TakeEffect(control);
}

void SettingsDialogModel::Release(int control) {
    if (m_filling || control < 0 || control >= static_cast<int>(std::size(kControls)) ||
        !m_unwritten[static_cast<size_t>(control)]) {
        return;
    }
    Write(control);
}

int SettingsDialogModel::FontRowNamed(std::string_view utf8Name) const {
    for (size_t row = 0; row < m_fontNames.size(); ++row) {
        const std::vector<std::string>& names = m_fontFamilies[row];
        if (cp932::ToUtf8(m_fontNames[row]) == utf8Name ||
            std::find(names.begin(), names.end(), utf8Name) != names.end()) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

void SettingsDialogModel::ChooseFont(int row) {
    if (m_filling || row < 0 || row >= static_cast<int>(m_fontNames.size())) {
        return;
    }
    m_fontRow = row;
    m_fontName = m_fontNames[static_cast<size_t>(row)];
    m_engine.WriteSetting("FontName", m_fontName);
    m_engine.settings.FontName = m_fontName;
    FontLookChanged();
}

void SettingsDialogModel::DefaultTint() {
    if (m_filling) {
        return;
    }
    const GameConfig& config = m_engine.config;
    const int32_t defaults[] = {config.TXW_COLOR_R, config.TXW_COLOR_G, config.TXW_COLOR_B,
                                config.TXW_ALPHA};
    for (size_t i = 0; i < std::size(kTintNames); ++i) {
        Change(Find(kTintNames[i]), defaults[i]);
    }
}

uint32_t SettingsDialogModel::TintSample() const {
    auto component = [this](std::string_view name) {
        return static_cast<uint32_t>(std::clamp(Value(Find(name)), 0, 255));
    };
    return component("TXBG_B") << 16 | component("TXBG_G") << 8 | component("TXBG_R");
}

void SettingsDialogModel::PlaySampleVoice() {
    m_engine.sound.PlayVoice("SAMPLECV");
}

void SettingsDialogModel::Close() {
    for (size_t i = 0; i < std::size(kControls); ++i) {
        if (m_unwritten[i]) {
            Write(static_cast<int>(i));
        }
    }
}

} // namespace orv
