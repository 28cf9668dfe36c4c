#pragma once
// The game's own layout and resource choices, read from the `_config` text entry at
// start-up and fixed afterwards. Fields carry the names of their keys; a key the entry
// does not set stays 0 or empty. Texts are code page 932, as the entry holds them.

#include "data/archives.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class ScriptState;

// One quick button (QB_MS .. QB_S7). Placement 0: no button, 1: relative to the message
// window, 2: at a screen position. The other columns are read only when Placement is not 0.
struct QuickButtonConfig {
    int32_t Placement = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t CellX = 0; // the button's cell in the quick-button pictures
    int32_t CellY = 0;
};

// A speaker name of the NAME key and the colour of the text spoken under it (0xBBGGRR).
struct SpeakerName {
    bool Used = false;
    std::string Text;
    uint32_t Colour = 0;
};

constexpr int kQuickButtonCount = 19;
// Entry 0 is never looked up: names are searched from 1.
constexpr int kSpeakerNameCount = 60;

// The QB_ keys in button order.
inline constexpr std::array<std::string_view, kQuickButtonCount> kQuickButtonKeys = {
    "QB_MS", "QB_AT", "QB_WC", "QB_QS", "QB_QL", "QB_BL", "QB_VR", "QB_CF", "QB_M1", "QB_M2",
    "QB_A+", "QB_A-", "QB_S1", "QB_S2", "QB_S3", "QB_S4", "QB_S5", "QB_S6", "QB_S7"};

using Box = std::array<int32_t, 4>; // left, top, right, bottom (or x, y, width, height)
using Pair = std::array<int32_t, 2>;

struct GameConfig {
    std::string TITLE;
    std::string MAKER;
    std::string MAKER_REG; // settings key under the user's root
    std::string GAME_ID;   // section of MAKER_REG for this game
    std::string DEFAULT_NAME, DEFAULT_NAME2, DEFAULT_NAME3, DEFAULT_NAME4;

    int32_t TXW_OFS_X = 0, TXW_OFS_Y = 0, TXW_OFS_Y2 = 0;
    int32_t TXW_SIZE_X = 0, TXW_SIZE_Y = 0;
    int32_t TXW_COLOR_R = 0, TXW_COLOR_G = 0, TXW_COLOR_B = 0;
    int32_t TXW_ALPHA = 0, TXW_ALPHA2 = 0;
    std::string FONT_NAME;
    int32_t FONT_SIZE = 0;

    int32_t SELECT_Y_POS = 0, SELECT_Y_PITCH = 0, SELECT_EXPAND = 0, SELECT_TXT_OY = 0;

    int32_t CLICK_WAIT_OFS_X = 0, CLICK_WAIT_OFS_Y = 0;
    int32_t CLICK_WAIT_SIZE_X = 0, CLICK_WAIT_SIZE_Y = 0;
    int32_t CLICK_WAIT_PAT = 0, CLICK_WAIT_TIMING = 0;

    int32_t NP_OFS_X = 0, NP_OFS_Y = 0, NP_SZ_X = 0, NP_SZ_Y = 0, NP_TYPE = 0;

    int32_t TX_OFS_X = 0, TX_OFS_Y = 0, TX_PITCH_X = 0, TX_PITCH_Y = 0;
    int32_t MOJI_MAX_X = 0, MOJI_MAX_Y = 0;
    int32_t TX2_OFS_X = 0, TX2_OFS_Y = 0, TX2_PITCH_X = 0, TX2_PITCH_Y = 0;
    int32_t MOJI_MAX2_X = 0, MOJI_MAX2_Y = 0;

    OvdKeys Ovd; // OVD_GRA, OVD_GJP, OVD_WAV, OVD_SE, OVD_OGG, OVD_ANIM
    int32_t OVD_GDT = 0;

    int32_t VOLUME1 = 0, VOLUME2 = 0, VOLUME3 = 0, VOLUME4 = 0;
    int32_t TACHI_TYPE = 0;
    std::string GAIJI;
    std::array<SpeakerName, kSpeakerNameCount> Names;

    int32_t PANEL_USE = 0;
    Pair PANEL_BASE{}, PANEL_YES{}, PANEL_NO{};

    int32_t SPD_TW = 0, SPD_OFS_X = 0, SPD_OFS_Y = 0, SPD_MAX = 0, SPD_DIR = 0;
    int32_t SPD_DOT_OFS_X = 0, SPD_DOT_OFS_Y = 0, SPD_DOT_SIZE = 0;

    Box LOG_BAR{}, LOG_BAR_INSIDE{}, LOG_BAR_UP{}, LOG_BAR_DOWN{}, LOG_WINDOW{};
    int32_t LOG_FONTSIZE = 0, LOG_PITCH = 0, LOG_LINES = 0;

    std::array<QuickButtonConfig, kQuickButtonCount> QuickButtons;

    std::array<std::string, 2> CFG_GRA; // base picture, highlight sheet
    std::string CFG_VOL_KNOB, CFG_AUTO_KNOB;
    Box CFG_WM_WIN{}, CFG_WM_FULL{}, CFG_GM_NORMAL{}, CFG_GM_FAST{}, CFG_TM_NORMAL{}, CFG_TM_FAST{},
        CFG_MS_STOP{}, CFG_MS_NONE{}, CFG_MW_SCENE{}, CFG_MW_LOG{}, CFG_CLOSE{}, CFG_DETAIL{},
        CFG_DEFAULT{}, CFG_VOL_DEFAULT{}, CFG_VOL_CVTEST{};
    Box CFG_AUTO{};
    Pair CFG_VOL_BAR{};
    Pair CFG_VOL1{}, CFG_VOL2{}, CFG_VOL3{}, CFG_VOL4{};
    std::array<int32_t, 12> CFG_RIGHT_CLICK{};
    std::array<int32_t, 12> CFG_HSE{};
    std::array<int32_t, 10> CFG_SOUND{};
    Pair CFG_SHASEL_SIZE{};
    std::array<int32_t, 6> CFG_SHASEL1{}, CFG_SHASEL2{}, CFG_SHASEL3{};
    std::array<int32_t, 6> CFG_VOICE{};
};

// A value that should have been an integer and was not. Reading stopped at that line.
struct GameConfigError {
    int32_t Line = 0; // 1-based, counting every line of the entry
    std::string Key;  // upper-cased, code page 932
    std::string Value;
};

// What became of one line that was not a comment, for tools that explain a configuration.
enum class ConfigLineOutcome { Set, UnknownKey, NoColon, NameOutOfRange };

struct ConfigLineNote {
    int32_t Line = 0;
    ConfigLineOutcome Outcome = ConfigLineOutcome::Set;
    // Set: the name GameConfigValue knows the value by (NAME lines give NAMEn); otherwise
    // the key as upper-cased, or the whole line when it has no colon.
    std::string Key;
};

// Fills `config` from `_config` (NUL-terminated lines) read into the definition buffer. A
// missing entry leaves every key at its empty value. On an integer that does not parse,
// reading stops there and the problem is returned; the keys read before it stay set.
std::optional<GameConfigError> ReadGameConfig(ScriptState& script, GameConfig& config);

// The same over entry text at hand. `config` is reset first.
std::optional<GameConfigError> ParseGameConfig(std::string_view entryText, GameConfig& config,
                                               std::vector<ConfigLineNote>* notes = nullptr);

// The message start-up shows for a configuration error, in Japanese and English (UTF-8).
std::string GameConfigErrorText(const GameConfigError& error);

// The value of one key as text: a text as held (code page 932), a number in decimal, or a
// list as its numbers (or texts) joined by commas. Speaker names are NAME1 .. NAME59 (the
// text) and NAME1_COLOR .. NAME59_COLOR (0xBBGGRR in decimal). Key names are compared
// without regard to ASCII case. False for a name that is not a key.
bool GameConfigValue(const GameConfig& config, std::string_view key, std::string& textOut);

// Every name GameConfigValue accepts, in the order of the configuration's key table.
std::span<const std::string> GameConfigKeyNames();

} // namespace orv
