#include "data/user_settings.h"

#include "base/cp932.h"
#include "data/game_config.h"

#include <algorithm>

namespace orv {

namespace {

using Kind = UserSettingKind;
using S = UserSettings;

// A setting looked up by its stored name.
constexpr UserSettingEntry Named(std::string_view name, Kind kind) {
    UserSettingEntry e;
    e.Name = name;
    e.HeldName = name;
    e.Kind = kind;
    return e;
}

constexpr UserSettingEntry Number(std::string_view name, int32_t S::*field, int32_t value) {
    UserSettingEntry e = Named(name, Kind::Number);
    e.Number = field;
    e.DefaultNumber = value;
    return e;
}

constexpr UserSettingEntry Number(std::string_view name, int32_t S::*field,
                                  int32_t GameConfig::*config) {
    UserSettingEntry e = Number(name, field, 0);
    e.Default = UserSettingDefault::Config;
    e.ConfigNumber = config;
    return e;
}

// A number that is only taken within min..max; anything else reads as the default.
constexpr UserSettingEntry Choice(std::string_view name, int32_t S::*field, int32_t value,
                                  int32_t min, int32_t max) {
    UserSettingEntry e = Number(name, field, value);
    e.Min = min;
    e.Max = max;
    e.OutOfRangeIsDefault = true;
    return e;
}

constexpr UserSettingEntry Position(std::string_view name, int32_t S::*field,
                                    UserSettingDefault centred) {
    UserSettingEntry e = Number(name, field, 0);
    e.Default = centred;
    return e;
}

constexpr UserSettingEntry Flag(std::string_view name, bool S::*field, bool on) {
    UserSettingEntry e = Named(name, Kind::Flag);
    e.Flag = field;
    e.DefaultNumber = on ? 1 : 0;
    return e;
}

// A switch whose field holds the opposite of what is stored; `on` is the stored default.
constexpr UserSettingEntry InvertedFlag(std::string_view name, bool S::*field, bool on) {
    UserSettingEntry e = Flag(name, field, on);
    e.Inverted = true;
    return e;
}

constexpr UserSettingEntry FlagIn(std::string_view name, std::array<bool, 5> S::*list,
                                  uint8_t index, bool on) {
    UserSettingEntry e = Named(name, Kind::Flag);
    e.FlagList = list;
    e.Index = index;
    e.DefaultNumber = on ? 1 : 0;
    return e;
}

constexpr UserSettingEntry Text(std::string_view name, std::string S::*field,
                                std::string_view value) {
    UserSettingEntry e = Named(name, Kind::Text);
    e.Text = field;
    e.DefaultText = value;
    return e;
}

constexpr UserSettingEntry Text(std::string_view name, std::string S::*field,
                                std::string GameConfig::*config) {
    UserSettingEntry e = Text(name, field, std::string_view());
    e.Default = UserSettingDefault::Config;
    e.ConfigText = config;
    return e;
}

// The stored slider value is not kept: the field holds the attenuation, under its own name.
constexpr UserSettingEntry Volume(std::string_view name, std::string_view heldName,
                                  int32_t S::*field, int32_t GameConfig::*config) {
    UserSettingEntry e = Number(name, field, config);
    e.HeldName = heldName;
    e.Kind = Kind::Volume;
    e.Min = -3000;
    e.Max = 0;
    return e;
}

constexpr UserSettingEntry Colour(std::string_view name, int32_t S::*field,
                                  int32_t GameConfig::*config) {
    UserSettingEntry e = Number(name, field, config);
    e.Kind = Kind::Colour;
    e.Min = 0;
    e.Max = 255;
    return e;
}

// Read at start-up only: the variable store's G0..G9 hold the globals afterwards.
constexpr UserSettingEntry Global(std::string_view name, uint8_t index) {
    UserSettingEntry e = Named(name, Kind::Number);
    e.HeldName = {};
    e.NumberList = &S::GV;
    e.Index = index;
    return e;
}

// clang-format off
constexpr UserSettingEntry kEntries[] = {
    Position("Left", &S::Left, UserSettingDefault::CentredLeft),
    Position("Top", &S::Top, UserSettingDefault::CentredTop),
    Text("CDDir", &S::CDDir, "NULL"),
    Flag("BGM_ENA", &S::BGM_ENA, true),
    Flag("SE_ENA", &S::SE_ENA, true),
    InvertedFlag("Delay", &S::Typewriter, false),
    Flag("GMode", &S::GMode, false),
    Choice("SMode", &S::SMode, 0, 0, 2),
    Number("Clear", &S::Clear, 0),
    Flag("Seen", &S::Seen, true),
    Flag("BreakonSelect", &S::BreakonSelect, true),
    Flag("MemorySaveMode", &S::MemorySaveMode, false),
    Text("FontName", &S::FontName, &GameConfig::FONT_NAME),
    Flag("DirectSoundGlobal", &S::DirectSoundGlobal, false),
    Number("RC_MODE", &S::RC_MODE, 0),
    Number("WHEEL_MODE", &S::WHEEL_MODE, 0),
    Flag("CS_SWAP", &S::CS_SWAP, false),
    Flag("EFX_CUT", &S::EFX_CUT, true),
    Flag("CONFIG_MODE", &S::CONFIG_MODE, false),
    Number("DatePanel", &S::DatePanel, 1),
    Number("TXWStyle", &S::TXWStyle, 1),
    Flag("CV_THROUGH", &S::CV_THROUGH, false),
    Flag("CV1", &S::CV1, true),
    Flag("CV2", &S::CV2, true),
    FlagIn("SE0", &S::SE, 0, true),
    FlagIn("SE1", &S::SE, 1, true),
    FlagIn("SE2", &S::SE, 2, true),
    FlagIn("SE3", &S::SE, 3, true),
    FlagIn("SE4", &S::SE, 4, true),
    Volume("Vol1", "VoiceVolume", &S::VoiceVolume, &GameConfig::VOLUME1),
    Volume("Vol2", "EffectVolume", &S::EffectVolume, &GameConfig::VOLUME2),
    Volume("Vol3", "MusicVolume", &S::MusicVolume, &GameConfig::VOLUME3),
    Number("FONTAA", &S::FONTAA, 0),
    Number("FONTSIZE", &S::FONTSIZE, &GameConfig::FONT_SIZE),
    Flag("FONTBold", &S::FONTBold, false),
    Text("PlayerName", &S::PlayerName, &GameConfig::DEFAULT_NAME),
    Text("PlayerName2", &S::PlayerName2, &GameConfig::DEFAULT_NAME2),
    Text("PlayerName3", &S::PlayerName3, &GameConfig::DEFAULT_NAME3),
    Global("GV00", 0), Global("GV01", 1), Global("GV02", 2), Global("GV03", 3), Global("GV04", 4),
    Global("GV05", 5), Global("GV06", 6), Global("GV07", 7), Global("GV08", 8), Global("GV09", 9),
    Colour("TXBG_R", &S::TXBG_R, &GameConfig::TXW_COLOR_R),
    Colour("TXBG_G", &S::TXBG_G, &GameConfig::TXW_COLOR_G),
    Colour("TXBG_B", &S::TXBG_B, &GameConfig::TXW_COLOR_B),
    Colour("TXBG_A", &S::TXBG_A, &GameConfig::TXW_ALPHA),
    Colour("TXBG_A2", &S::TXBG_A2, &GameConfig::TXW_ALPHA2),
};
// clang-format on

// The field of a numeric entry (Number, Volume, Colour) and of a switch; `Settings` is
// UserSettings or const UserSettings.
template <class Settings>
auto& NumberField(const UserSettingEntry& e, Settings& s) {
    return e.NumberList ? (s.*e.NumberList)[e.Index] : s.*e.Number;
}

template <class Settings>
auto& FlagField(const UserSettingEntry& e, Settings& s) {
    return e.FlagList ? (s.*e.FlagList)[e.Index] : s.*e.Flag;
}

int32_t DefaultNumber(const UserSettingEntry& e, const GameConfig& config,
                      const DesktopGeometry& desktop) {
    switch (e.Default) {
    case UserSettingDefault::Config:
        return config.*e.ConfigNumber;
    case UserSettingDefault::CentredLeft:
        return desktop.ScreenX + (desktop.ScreenWidth - desktop.WindowWidth) / 2;
    case UserSettingDefault::CentredTop:
        return desktop.ScreenY + (desktop.ScreenHeight - desktop.WindowHeight) / 2;
    case UserSettingDefault::Constant:
        break;
    }
    return e.DefaultNumber;
}

std::string_view DefaultText(const UserSettingEntry& e, const GameConfig& config) {
    return e.Default == UserSettingDefault::Config ? std::string_view(config.*e.ConfigText)
                                                   : e.DefaultText;
}

// The slider value as a DirectSound attenuation: x 2.5, truncated toward zero, so -1201
// gives -3002.
int32_t Attenuation(int32_t slider) {
    return slider * 5 / 2;
}

void ReadEntry(const UserSettingEntry& e, const SettingsValues& values, const GameConfig& config,
               const DesktopGeometry& desktop, UserSettings& s) {
    if (e.Kind == Kind::Text) {
        s.*e.Text = ReadSettingText(values, e.Name, DefaultText(e, config));
        return;
    }
    int32_t fallback = DefaultNumber(e, config, desktop);
    int32_t stored = ReadSettingInt(values, e.Name, fallback);
    if (stored < e.Min || stored > e.Max) {
        stored = e.OutOfRangeIsDefault ? fallback : std::clamp(stored, e.Min, e.Max);
    }
    switch (e.Kind) {
    case Kind::Flag:
        FlagField(e, s) = (stored != 0) != e.Inverted;
        break;
    case Kind::Volume:
        NumberField(e, s) = Attenuation(stored);
        break;
    default:
        NumberField(e, s) = stored;
        break;
    }
}

// The field as the engine holds it; switches give their stored meaning.
std::string HeldText(const UserSettingEntry& e, const UserSettings& s) {
    switch (e.Kind) {
    case Kind::Text:
        return s.*e.Text;
    case Kind::Flag:
        return FlagField(e, s) != e.Inverted ? "1" : "0";
    default:
        return std::to_string(NumberField(e, s));
    }
}

std::string StoredText(const UserSettingEntry& e, const UserSettings& s) {
    if (e.Kind == Kind::Volume) {
        return std::to_string(NumberField(e, s) * 2 / 5);
    }
    return HeldText(e, s);
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && cp932::UpperCase(a) == cp932::UpperCase(b);
}

template <class Key>
const UserSettingEntry* Find(std::string_view name, Key key) {
    for (const UserSettingEntry& e : kEntries) {
        if (!key(e).empty() && EqualsAsciiNoCase(key(e), name)) {
            return &e;
        }
    }
    return nullptr;
}

constexpr size_t kHeldNameCount =
    std::ranges::count_if(kEntries, [](const UserSettingEntry& e) { return !e.HeldName.empty(); });

} // namespace

std::span<const UserSettingEntry> UserSettingTable() {
    return kEntries;
}

SettingsLocation GameSettingsLocation(const GameConfig& config) {
    return {config.MAKER_REG, config.GAME_ID};
}

void ReadUserSettings(const SettingsStore& store, const GameConfig& config,
                      const DesktopGeometry& desktop, UserSettings& settings) {
    SettingsValues values = store.Load(GameSettingsLocation(config));
    UserSettings& s = settings;
    s = UserSettings{};
    for (const UserSettingEntry& e : kEntries) {
        ReadEntry(e, values, config, desktop, s);
    }
    // A screen too small for the window gets the borderless window at the origin.
    if (s.SMode == 0 && desktop.ScreenWidth <= 600) {
        s.SMode = 2;
    }
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

bool StoreUserSetting(const SettingsStore& store, const GameConfig& config,
                      const UserSettings& settings, std::string_view name) {
    const UserSettingEntry* e = Find(name, [](const UserSettingEntry& x) { return x.Name; });
    return e && WriteSetting(store, config, e->Name, std::string_view(StoredText(*e, settings)));
}

bool HoldUserSetting(UserSettings& settings, std::string_view name, std::string_view value) {
    const UserSettingEntry* e = Find(name, [](const UserSettingEntry& x) { return x.Name; });
    if (!e || e->NumberList) {
        return false;
    }
    if (e->Kind == Kind::Text) {
        settings.*e->Text = std::string(value);
        return true;
    }
    SettingsValues one;
    one.Set(e->Name, value);
    // The sentinel never reads as valid input here: a value that is no number changes nothing.
    constexpr int32_t kNotANumber = INT32_MIN;
    if (ReadSettingInt(one, e->Name, kNotANumber) == kNotANumber) {
        return false;
    }
    ReadEntry(*e, one, GameConfig{}, DesktopGeometry{}, settings);
    return true;
}

std::optional<std::string> StoredUserSettingText(const UserSettings& settings,
                                                 std::string_view name) {
    const UserSettingEntry* e = Find(name, [](const UserSettingEntry& x) { return x.Name; });
    if (!e) {
        return std::nullopt;
    }
    return StoredText(*e, settings);
}

bool UserSettingValue(const UserSettings& settings, std::string_view name, std::string& textOut) {
    const UserSettingEntry* e = Find(name, [](const UserSettingEntry& x) { return x.HeldName; });
    if (!e) {
        return false;
    }
    textOut = HeldText(*e, settings);
    return true;
}

std::span<const std::string_view> UserSettingNames() {
    static const auto names = [] {
        std::array<std::string_view, kHeldNameCount> out{};
        size_t n = 0;
        for (const UserSettingEntry& e : kEntries) {
            if (!e.HeldName.empty()) {
                out[n++] = e.HeldName;
            }
        }
        return out;
    }();
    return names;
}

} // namespace orv
