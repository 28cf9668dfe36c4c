#include "data/game_config_keys.h"

namespace orv {

namespace {

// Each entry names its key and its field with one token, so that the two cannot drift apart.
// clang-format off
#define ORV_SPAN(type, ...) [](GameConfig& c) { return std::span<type>(__VA_ARGS__); }
#define ORV_TEXT(key) ConfigKey{#key, ConfigKind::Text, nullptr, ORV_SPAN(std::string, &c.key, 1)}
#define ORV_INT(key) ConfigKey{#key, ConfigKind::Int, ORV_SPAN(int32_t, &c.key, 1)}
#define ORV_INT_IN(key, member) ConfigKey{key, ConfigKind::Int, ORV_SPAN(int32_t, &c.member, 1)}
// A list key of which only the first field is read.
#define ORV_FIELD0(key) ConfigKey{#key, ConfigKind::IntFields, ORV_SPAN(int32_t, &c.key, 1)}
#define ORV_FIELDS(key) ConfigKey{#key, ConfigKind::IntFields, ORV_SPAN(int32_t, c.key)}
#define ORV_BUTTON(index) \
    ConfigKey{kQuickButtonKeys[index], ConfigKind::QuickButton, nullptr, nullptr, index}
// clang-format on

const ConfigKey kKeys[] = {
    ORV_TEXT(TITLE),
    ORV_TEXT(MAKER),
    ORV_TEXT(MAKER_REG),
    ORV_TEXT(GAME_ID),
    ORV_TEXT(DEFAULT_NAME),
    ORV_TEXT(DEFAULT_NAME2),
    ORV_TEXT(DEFAULT_NAME3),
    ORV_TEXT(DEFAULT_NAME4),
    ORV_INT(TXW_OFS_X),
    ORV_INT(TXW_OFS_Y),
    ORV_INT(TXW_OFS_Y2),
    ORV_INT(TXW_SIZE_X),
    ORV_INT(TXW_SIZE_Y),
    ORV_INT(TXW_COLOR_R),
    ORV_INT(TXW_COLOR_G),
    ORV_INT(TXW_COLOR_B),
    ORV_INT(TXW_ALPHA),
    ORV_INT(TXW_ALPHA2),
    ORV_TEXT(FONT_NAME),
    ORV_INT(FONT_SIZE),
    ORV_INT(SELECT_Y_POS),
    ORV_INT(SELECT_Y_PITCH),
    ORV_INT(SELECT_EXPAND),
    ORV_INT(SELECT_TXT_OY),
    ORV_INT(CLICK_WAIT_OFS_X),
    ORV_INT(CLICK_WAIT_OFS_Y),
    ORV_INT(CLICK_WAIT_SIZE_X),
    ORV_INT(CLICK_WAIT_SIZE_Y),
    ORV_INT(CLICK_WAIT_PAT),
    ORV_INT(CLICK_WAIT_TIMING),
    ORV_INT(NP_OFS_X),
    ORV_INT(NP_OFS_Y),
    ORV_INT(NP_SZ_X),
    ORV_INT(NP_SZ_Y),
    ORV_INT(NP_TYPE),
    ORV_INT(TX_OFS_X),
    ORV_INT(TX_OFS_Y),
    ORV_INT(TX_PITCH_X),
    ORV_INT(TX_PITCH_Y),
    ORV_INT(MOJI_MAX_X),
    ORV_INT(MOJI_MAX_Y),
    ORV_INT(TX2_OFS_X),
    ORV_INT(TX2_OFS_Y),
    ORV_INT(TX2_PITCH_X),
    ORV_INT(TX2_PITCH_Y),
    ORV_INT(MOJI_MAX2_X),
    ORV_INT(MOJI_MAX2_Y),
    ORV_INT_IN("OVD_GRA", Ovd.Gra),
    ORV_INT_IN("OVD_WAV", Ovd.Wav),
    ORV_INT_IN("OVD_OGG", Ovd.Ogg),
    ORV_INT_IN("OVD_SE", Ovd.Se),
    ORV_INT_IN("OVD_GJP", Ovd.Gjp),
    ORV_INT_IN("OVD_ANIM", Ovd.Anim),
    ORV_INT(OVD_GDT),
    ORV_INT(VOLUME1),
    ORV_INT(VOLUME2),
    ORV_INT(VOLUME3),
    ORV_INT(VOLUME4),
    ORV_INT(TACHI_TYPE),
    ConfigKey{"GAIJI", ConfigKind::TextFields, nullptr, ORV_SPAN(std::string, &c.GAIJI, 1)},
    ConfigKey{"NAME", ConfigKind::SpeakerName},
    ORV_INT(PANEL_USE),
    ORV_FIELDS(PANEL_BASE),
    ORV_FIELDS(PANEL_YES),
    ORV_FIELDS(PANEL_NO),
    ORV_INT(SPD_TW),
    ORV_INT(SPD_OFS_X),
    ORV_INT(SPD_OFS_Y),
    ORV_INT(SPD_MAX),
    ORV_INT(SPD_DIR),
    ORV_INT(SPD_DOT_OFS_X),
    ORV_INT(SPD_DOT_OFS_Y),
    ORV_INT(SPD_DOT_SIZE),
    ORV_FIELDS(LOG_BAR),
    ORV_FIELDS(LOG_BAR_INSIDE),
    ORV_FIELDS(LOG_BAR_UP),
    ORV_FIELDS(LOG_BAR_DOWN),
    ORV_FIELDS(LOG_WINDOW),
    ORV_FIELD0(LOG_FONTSIZE),
    ORV_FIELD0(LOG_PITCH),
    ORV_FIELD0(LOG_LINES),
    ORV_BUTTON(0),
    ORV_BUTTON(1),
    ORV_BUTTON(2),
    ORV_BUTTON(3),
    ORV_BUTTON(4),
    ORV_BUTTON(5),
    ORV_BUTTON(6),
    ORV_BUTTON(7),
    ORV_BUTTON(8),
    ORV_BUTTON(9),
    ORV_BUTTON(10),
    ORV_BUTTON(11),
    ORV_BUTTON(12),
    ORV_BUTTON(13),
    ORV_BUTTON(14),
    ORV_BUTTON(15),
    ORV_BUTTON(16),
    ORV_BUTTON(17),
    ORV_BUTTON(18),
    ConfigKey{"CFG_GRA", ConfigKind::TextFields, nullptr, ORV_SPAN(std::string, c.CFG_GRA)},
    ORV_TEXT(CFG_VOL_KNOB),
    ORV_TEXT(CFG_AUTO_KNOB),
    ORV_FIELDS(CFG_WM_WIN),
    ORV_FIELDS(CFG_WM_FULL),
    ORV_FIELDS(CFG_GM_NORMAL),
    ORV_FIELDS(CFG_GM_FAST),
    ORV_FIELDS(CFG_TM_NORMAL),
    ORV_FIELDS(CFG_TM_FAST),
    ORV_FIELDS(CFG_MS_STOP),
    ORV_FIELDS(CFG_MS_NONE),
    ORV_FIELDS(CFG_MW_SCENE),
    ORV_FIELDS(CFG_MW_LOG),
    ORV_FIELDS(CFG_CLOSE),
    ORV_FIELDS(CFG_DETAIL),
    ORV_FIELDS(CFG_DEFAULT),
    ORV_FIELDS(CFG_VOL_DEFAULT),
    ORV_FIELDS(CFG_VOL_CVTEST),
    ORV_FIELDS(CFG_AUTO),
    ORV_FIELDS(CFG_VOL_BAR),
    ORV_FIELDS(CFG_VOL1),
    ORV_FIELDS(CFG_VOL2),
    ORV_FIELDS(CFG_VOL3),
    ORV_FIELDS(CFG_VOL4),
    ORV_FIELDS(CFG_RIGHT_CLICK),
    ORV_FIELDS(CFG_HSE),
    ORV_FIELDS(CFG_SOUND),
    ORV_FIELDS(CFG_SHASEL_SIZE),
    ORV_FIELDS(CFG_SHASEL1),
    ORV_FIELDS(CFG_SHASEL2),
    ORV_FIELDS(CFG_SHASEL3),
    ORV_FIELDS(CFG_VOICE),
};

#undef ORV_SPAN
#undef ORV_TEXT
#undef ORV_INT
#undef ORV_INT_IN
#undef ORV_FIELD0
#undef ORV_FIELDS
#undef ORV_BUTTON

int ColourDigit(char c) {
    if (c >= '0' && c <= '9') {
        return (c - '0') * 16;
    }
    if (c >= 'A' && c <= 'F') {
        return (c - 'A' + 10) * 16;
    }
    return c == 'G' ? 255 : 0;
}

} // namespace

std::span<const ConfigKey> ConfigKeys() {
    return kKeys;
}

const ConfigKey* FindConfigKey(std::string_view upperKey) {
    for (const ConfigKey& key : kKeys) {
        if (key.Name == upperKey) {
            return &key;
        }
    }
    return nullptr;
}

std::string_view ConfigField(std::string_view value, int k) {
    size_t start = 0;
    for (int i = 0; i < k; ++i) {
        size_t separator = value.find_first_of(",:", start);
        if (separator == std::string_view::npos) {
            return {};
        }
        start = separator + 1;
    }
    size_t end = value.find_first_of(",:", start);
    return value.substr(start, end == std::string_view::npos ? value.size() - start : end - start);
}

uint32_t SpeakerColour(std::string_view upperText) {
    if (upperText.empty()) {
        return 0xFFFFFF;
    }
    uint32_t colour = 0;
    for (size_t i = 0; i < 3 && i < upperText.size(); ++i) {
        colour |= static_cast<uint32_t>(ColourDigit(upperText[i])) << (8 * i);
    }
    return colour;
}

} // namespace orv
