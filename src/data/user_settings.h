#pragma once
// The player's choices and a few values that outlive a run, kept in the settings store
// under the key the game configuration names (MAKER_REG, section GAME_ID). Read once at
// start-up; each change is written at once with WriteSetting. Fields carry the names of
// their values, in the forms the engine uses; texts are code page 932.

#include "data/settings_store.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orv {

struct GameConfig;

// The screen the main window starts on and the window's size, for the centred default
// position and the screen-mode rule.
struct DesktopGeometry {
    int32_t ScreenX = 0;
    int32_t ScreenY = 0;
    int32_t ScreenWidth = 800;
    int32_t ScreenHeight = 600;
    int32_t WindowWidth = 808;
    int32_t WindowHeight = 604;
};

struct UserSettings {
    int32_t Left = 0; // main window position
    int32_t Top = 0;
    // As stored; Archives::SetCdDirectory removes the trailing backslash.
    std::string CDDir = "NULL";
    bool BGM_ENA = true;
    bool SE_ENA = true;
    bool Typewriter = true; // the stored Delay is 0: text is typed character by character
    bool GMode = false;     // transitions shown at once
    int32_t SMode = 0;      // 0 window, 1 full screen, 2 borderless window at the origin
    int32_t Clear = 0;      // times the game was cleared
    bool Seen = true;
    bool BreakonSelect = true;
    bool MemorySaveMode = false;
    std::string FontName;
    bool DirectSoundGlobal = false;
    int32_t RC_MODE = 0;
    int32_t WHEEL_MODE = 0;
    bool CS_SWAP = false;
    bool EFX_CUT = true;
    bool CONFIG_MODE = false;
    int32_t DatePanel = 1; // initial S050
    int32_t TXWStyle = 1;  // initial S051
    bool CV_THROUGH = false;
    bool CV1 = true;
    bool CV2 = true;
    std::array<bool, 5> SE = {true, true, true, true, true}; // SE0 .. SE4
    // Vol1, Vol2, Vol3 as attenuations in hundredths of a decibel: the slider value x 2.5,
    // truncated toward zero.
    int32_t VoiceVolume = 0;
    int32_t EffectVolume = 0;
    int32_t MusicVolume = 0;
    int32_t FONTAA = 0;
    int32_t FONTSIZE = 0;
    bool FONTBold = false;
    std::string PlayerName, PlayerName2, PlayerName3; // $0, $1, $2
    // GV00 .. GV09 as read at start-up; afterwards the variable store's G0..G9 hold them.
    std::array<int32_t, 10> GV{};
    int32_t TXBG_R = 0, TXBG_G = 0, TXBG_B = 0, TXBG_A = 0, TXBG_A2 = 0;
    // S006 at start-up: a player name differs from the game's default.
    bool PlayerNamesChanged = false;
};

// How a setting is stored and how the engine holds it.
enum class UserSettingKind : uint8_t {
    Number, // a decimal integer, held as read
    Flag,   // on/off: any stored number but 0 is on; held as a flag
    Text,   // a text, code page 932
    Volume, // a volume slider -3000..0, held as its attenuation (x 2.5, truncated toward zero)
    Colour, // a component of the message window's tint
};

// Where the value read in place of a missing or unreadable one comes from.
enum class UserSettingDefault : uint8_t {
    Constant,    // DefaultNumber or DefaultText
    Config,      // the GameConfig value ConfigNumber or ConfigText
    CentredLeft, // the main window centred on the desktop's screen
    CentredTop,
};

// One value of the settings store and the UserSettings field it fills: the reader, the
// lookup by name and the writer all go by this entry.
struct UserSettingEntry {
    std::string_view Name; // the value name in the store
    // The name UserSettingValue knows it by; empty: held elsewhere after start-up.
    std::string_view HeldName;
    UserSettingKind Kind = UserSettingKind::Number;
    // Flag only: the field holds the opposite of the stored switch.
    bool Inverted = false;

    // The field: a member, or element Index of an array member.
    int32_t UserSettings::*Number = nullptr;
    bool UserSettings::*Flag = nullptr;
    std::string UserSettings::*Text = nullptr;
    std::array<int32_t, 10> UserSettings::*NumberList = nullptr;
    std::array<bool, 5> UserSettings::*FlagList = nullptr;
    uint8_t Index = 0;

    UserSettingDefault Default = UserSettingDefault::Constant;
    int32_t DefaultNumber = 0; // flags: 1 on, 0 off, as stored
    std::string_view DefaultText;
    int32_t GameConfig::*ConfigNumber = nullptr;
    std::string GameConfig::*ConfigText = nullptr;

    // The stored numbers taken as they are; one outside is clamped into the range or, with
    // OutOfRangeIsDefault, replaced by the default.
    int32_t Min = INT32_MIN;
    int32_t Max = INT32_MAX;
    bool OutOfRangeIsDefault = false;
};

// Every setting in the order start-up reads them.
std::span<const UserSettingEntry> UserSettingTable();

// The store location of the game's settings.
SettingsLocation GameSettingsLocation(const GameConfig& config);

// Reads every setting of the game's key, with the defaults the configuration gives. A
// stored SMode of 0 becomes 2 on a screen at most 600 pixels wide; PlayerNamesChanged is
// set when a player name differs from the configuration's.
void ReadUserSettings(const SettingsStore& store, const GameConfig& config,
                      const DesktopGeometry& desktop, UserSettings& settings);

// Writes one value under the game's key; integers are written as decimal text. Failures
// are not reported to the player; false tells a caller that cares.
bool WriteSetting(const SettingsStore& store, const GameConfig& config, std::string_view name,
                  std::string_view value);
bool WriteSetting(const SettingsStore& store, const GameConfig& config, std::string_view name,
                  int32_t value);

// Writes the setting stored as `name` (compared without regard to ASCII case) from its
// field in `settings`, in the form the store holds: switches as 0 or 1 with Delay 1 when
// text is shown at once, numbers in decimal, texts as held. A volume is written as its
// attenuation x 0.4, truncated toward zero, the slider unit the config screen stores: an
// even slider value reads back as the same attenuation, an odd one as that of its
// neighbour nearer zero (-1201 reads as -3002 and is written as -1200). The settings
// dialog, which holds the slider position itself, writes that with WriteSetting. GV00..GV09
// write the values read at start-up. False for an unknown name or a failed write.
bool StoreUserSetting(const SettingsStore& store, const GameConfig& config,
                      const UserSettings& settings, std::string_view name);

// A setting as the engine holds it, by its value name compared without regard to ASCII
// case: switches as 0 or 1 (Delay as the stored meaning, 1 when text is shown at once),
// numbers in decimal, texts as held (code page 932). The volumes go by their in-memory
// names VoiceVolume, EffectVolume and MusicVolume. GV00..GV09 are not here: the variable
// store's G0..G9 hold them after start-up. False for any other name.
bool UserSettingValue(const UserSettings& settings, std::string_view name, std::string& textOut);

// Holds the stored text `value` of the setting stored as `name` in its field, as
// ReadUserSettings would have read it (a volume as its attenuation, Delay inverted, a number
// out of range clamped or refused). For the dialogs that write a setting and hold it at once.
// False for an unknown name, GV00..GV09 or a value that is no valid number: nothing changes.
bool HoldUserSetting(UserSettings& settings, std::string_view name, std::string_view value);

// The setting stored as `name` in the form the store would hold it now (see
// StoreUserSetting), or nothing for an unknown name.
std::optional<std::string> StoredUserSettingText(const UserSettings& settings,
                                                 std::string_view name);

// Every name UserSettingValue accepts.
std::span<const std::string_view> UserSettingNames();

} // namespace orv
