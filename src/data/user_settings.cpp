#include "data/user_settings.h"

#include "base/cp932.h"
#include "data/game_config.h"

#include <algorithm>
#include <cstdio>

namespace orv {

namespace {

constexpr int32_t kVolumeMin = -3000;

// The slider value (-3000..0) as a DirectSound attenuation: x 2.5, truncated toward zero,
// so -1201 gives -3002. Values outside the slider's range are clamped first.
int32_t Attenuation(int32_t slider) {
    int32_t clamped = std::clamp(slider, kVolumeMin, 0);
    return clamped * 5 / 2;
}

int32_t ColourComponent(int32_t value) {
    return std::clamp(value, 0, 255);
}

class SettingsReader {
public:
    explicit SettingsReader(SettingsValues values) : m_values(std::move(values)) {}

    int32_t Int(std::string_view name, int32_t fallback) const {
        return ReadSettingInt(m_values, name, fallback);
    }
    // On/off settings are held as flags: any stored number other than 0 is on.
    bool Flag(std::string_view name, bool fallback) const {
        return Int(name, fallback ? 1 : 0) != 0;
    }
    std::string Text(std::string_view name, std::string_view fallback) const {
        return ReadSettingText(m_values, name, fallback);
    }

private:
    SettingsValues m_values;
};

void ReadSwitches(const SettingsReader& in, UserSettings& s) {
    s.BGM_ENA = in.Flag("BGM_ENA", true);
    s.SE_ENA = in.Flag("SE_ENA", true);
    s.Typewriter = !in.Flag("Delay", false);
    s.GMode = in.Flag("GMode", false);
}

void ReadBehaviour(const SettingsReader& in, const GameConfig& config, UserSettings& s) {
    s.Seen = in.Flag("Seen", true);
    s.BreakonSelect = in.Flag("BreakonSelect", true);
    s.MemorySaveMode = in.Flag("MemorySaveMode", false);
    s.FontName = in.Text("FontName", config.FONT_NAME);
    s.DirectSoundGlobal = in.Flag("DirectSoundGlobal", false);
    s.RC_MODE = in.Int("RC_MODE", 0);
    s.WHEEL_MODE = in.Int("WHEEL_MODE", 0);
    s.CS_SWAP = in.Flag("CS_SWAP", false);
    s.EFX_CUT = in.Flag("EFX_CUT", true);
    s.CONFIG_MODE = in.Flag("CONFIG_MODE", false);
    s.DatePanel = in.Int("DatePanel", 1);
    s.TXWStyle = in.Int("TXWStyle", 1);
}

void ReadSound(const SettingsReader& in, const GameConfig& config, UserSettings& s) {
    s.CV_THROUGH = in.Flag("CV_THROUGH", false);
    s.CV1 = in.Flag("CV1", true);
    s.CV2 = in.Flag("CV2", true);
    for (size_t i = 0; i < s.SE.size(); ++i) {
        s.SE[i] = in.Flag("SE" + std::to_string(i), true);
    }
    s.VoiceVolume = Attenuation(in.Int("Vol1", config.VOLUME1));
    s.EffectVolume = Attenuation(in.Int("Vol2", config.VOLUME2));
    s.MusicVolume = Attenuation(in.Int("Vol3", config.VOLUME3));
}

void ReadTextSettings(const SettingsReader& in, const GameConfig& config, UserSettings& s) {
    s.FONTAA = in.Int("FONTAA", 0);
    s.FONTSIZE = in.Int("FONTSIZE", config.FONT_SIZE);
    s.FONTBold = in.Flag("FONTBold", false);
    s.PlayerName = in.Text("PlayerName", config.DEFAULT_NAME);
    s.PlayerName2 = in.Text("PlayerName2", config.DEFAULT_NAME2);
    s.PlayerName3 = in.Text("PlayerName3", config.DEFAULT_NAME3);
}

void ReadGlobalsAndTint(const SettingsReader& in, const GameConfig& config, UserSettings& s) {
    for (size_t i = 0; i < s.GV.size(); ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "GV%02d", static_cast<int>(i));
        s.GV[i] = in.Int(name, 0);
    }
    s.TXBG_R = ColourComponent(in.Int("TXBG_R", config.TXW_COLOR_R));
    s.TXBG_G = ColourComponent(in.Int("TXBG_G", config.TXW_COLOR_G));
    s.TXBG_B = ColourComponent(in.Int("TXBG_B", config.TXW_COLOR_B));
    s.TXBG_A = ColourComponent(in.Int("TXBG_A", config.TXW_ALPHA));
    s.TXBG_A2 = ColourComponent(in.Int("TXBG_A2", config.TXW_ALPHA2));
}

std::string Number(int32_t value) {
    return std::to_string(value);
}

struct SettingField {
    std::string_view Name;
    std::string (*Get)(const UserSettings&);
};

// clang-format off
#define ORV_NUMBER(field) \
    SettingField{#field, [](const UserSettings& s) { return Number(int32_t{s.field}); }}
#define ORV_TEXT(field) SettingField{#field, [](const UserSettings& s) { return s.field; }}
#define ORV_SE(index) \
    SettingField{"SE" #index, [](const UserSettings& s) { return Number(s.SE[index] ? 1 : 0); }}
// clang-format on

const SettingField kFields[] = {
    ORV_NUMBER(Left),
    ORV_NUMBER(Top),
    ORV_TEXT(CDDir),
    ORV_NUMBER(BGM_ENA),
    ORV_NUMBER(SE_ENA),
    SettingField{"Delay", [](const UserSettings& s) { return Number(s.Typewriter ? 0 : 1); }},
    ORV_NUMBER(GMode),
    ORV_NUMBER(SMode),
    ORV_NUMBER(Clear),
    ORV_NUMBER(Seen),
    ORV_NUMBER(BreakonSelect),
    ORV_NUMBER(MemorySaveMode),
    ORV_TEXT(FontName),
    ORV_NUMBER(DirectSoundGlobal),
    ORV_NUMBER(RC_MODE),
    ORV_NUMBER(WHEEL_MODE),
    ORV_NUMBER(CS_SWAP),
    ORV_NUMBER(EFX_CUT),
    ORV_NUMBER(CONFIG_MODE),
    ORV_NUMBER(DatePanel),
    ORV_NUMBER(TXWStyle),
    ORV_NUMBER(CV_THROUGH),
    ORV_NUMBER(CV1),
    ORV_NUMBER(CV2),
    ORV_SE(0),
    ORV_SE(1),
    ORV_SE(2),
    ORV_SE(3),
    ORV_SE(4),
    ORV_NUMBER(VoiceVolume),
    ORV_NUMBER(EffectVolume),
    ORV_NUMBER(MusicVolume),
    ORV_NUMBER(FONTAA),
    ORV_NUMBER(FONTSIZE),
    ORV_NUMBER(FONTBold),
    ORV_TEXT(PlayerName),
    ORV_TEXT(PlayerName2),
    ORV_TEXT(PlayerName3),
    ORV_NUMBER(TXBG_R),
    ORV_NUMBER(TXBG_G),
    ORV_NUMBER(TXBG_B),
    ORV_NUMBER(TXBG_A),
    ORV_NUMBER(TXBG_A2),
};

#undef ORV_NUMBER
#undef ORV_TEXT
#undef ORV_SE

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && cp932::UpperCase(a) == cp932::UpperCase(b);
}

} // namespace

SettingsLocation GameSettingsLocation(const GameConfig& config) {
    return {config.MAKER_REG, config.GAME_ID};
}

void ReadUserSettings(const SettingsStore& store, const GameConfig& config,
                      const DesktopGeometry& desktop, UserSettings& settings) {
    SettingsReader in(store.Load(GameSettingsLocation(config)));
    UserSettings& s = settings;
    s = UserSettings{};
    s.CDDir = in.Text("CDDir", "NULL");
    s.Left = in.Int("Left", desktop.ScreenX + (desktop.ScreenWidth - desktop.WindowWidth) / 2);
    s.Top = in.Int("Top", desktop.ScreenY + (desktop.ScreenHeight - desktop.WindowHeight) / 2);
    ReadSwitches(in, s);
    s.SMode = in.Int("SMode", 0);
    if (s.SMode < 0 || s.SMode > 2) {
        s.SMode = 0;
    }
    // A screen too small for the window gets the borderless window at the origin.
    if (s.SMode == 0 && desktop.ScreenWidth <= 600) {
        s.SMode = 2;
    }
    s.Clear = in.Int("Clear", 0);
    ReadBehaviour(in, config, s);
    ReadSound(in, config, s);
    ReadTextSettings(in, config, s);
    ReadGlobalsAndTint(in, config, s);
    s.PlayerNamesChanged = s.PlayerName != config.DEFAULT_NAME ||
                           s.PlayerName2 != config.DEFAULT_NAME2 ||
                           s.PlayerName3 != config.DEFAULT_NAME3;
}

bool WriteSetting(const SettingsStore& store, const GameConfig& config, std::string_view name,
                  std::string_view value) {
    return store.Write(GameSettingsLocation(config), name, value);
}

bool WriteSetting(const SettingsStore& store, const GameConfig& config, std::string_view name,
                  int32_t value) {
    return WriteSetting(store, config, name, std::string_view(std::to_string(value)));
}

bool UserSettingValue(const UserSettings& settings, std::string_view name, std::string& textOut) {
    for (const SettingField& field : kFields) {
        if (EqualsAsciiNoCase(field.Name, name)) {
            textOut = field.Get(settings);
            return true;
        }
    }
    return false;
}

std::span<const std::string_view> UserSettingNames() {
    static const auto names = [] {
        std::array<std::string_view, std::size(kFields)> out{};
        for (size_t i = 0; i < out.size(); ++i) {
            out[i] = kFields[i].Name;
        }
        return out;
    }();
    return names;
}

} // namespace orv
