#include "data/archives.h"
#include "data/game_config.h"
#include "script/script_state.h"
#include "test_support.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

// Configuration lines as the entry stores them, each ended by a NUL.
std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (auto line : lines) {
        text.append(line);
        text.push_back('\0');
    }
    return text;
}

GameConfig Parse(std::initializer_list<std::string_view> lines,
                 std::optional<GameConfigError>* error = nullptr) {
    GameConfig config;
    auto problem = ParseGameConfig(Lines(lines), config);
    if (error) {
        *error = problem;
    } else {
        EXPECT_FALSE(problem) << "line " << problem->Line << ": " << problem->Key;
    }
    return config;
}

std::string Value(const GameConfig& config, std::string_view key) {
    std::string text;
    EXPECT_TRUE(GameConfigValue(config, key, text)) << key;
    return text;
}

TEST(GameConfig, AnUpperCaseEndLineStopsReadingAndALowerCaseOneDoesNot) {
    GameConfig config = Parse({"TITLE:a", "end", "FONT_SIZE:5", "END", "FONT_SIZE:7", "MAKER:m"});
    EXPECT_EQ(config.TITLE, "a");
    EXPECT_EQ(config.FONT_SIZE, 5);
    EXPECT_EQ(config.MAKER, "");
    // "END " is not the end marker either.
    EXPECT_EQ(Parse({"END ", "FONT_SIZE:3"}).FONT_SIZE, 3);
}

TEST(GameConfig, CommentsAndKeysWithSpacesSetNothing) {
    std::vector<ConfigLineNote> notes;
    GameConfig config;
    ParseGameConfig(Lines({";TITLE:a", "*TITLE:b", " TITLE:c", "TITLE :d", "", "TITLE"}), config,
                    &notes);
    EXPECT_EQ(config.TITLE, "");
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].Line, 3);
    EXPECT_EQ(notes[0].Outcome, ConfigLineOutcome::UnknownKey);
    EXPECT_EQ(notes[0].Key, " TITLE");
    EXPECT_EQ(notes[1].Key, "TITLE ");
    EXPECT_EQ(notes[2].Line, 6);
    EXPECT_EQ(notes[2].Outcome, ConfigLineOutcome::NoColon);
}

TEST(GameConfig, TheKeyIsUpperCasedAndTheValueKeepsItsCaseSpacesAndLaterColons) {
    GameConfig config = Parse({"title:Abc:Def", "maker_reg: Software\\Maker ", "Font_Size:-12"});
    EXPECT_EQ(config.TITLE, "Abc:Def");
    EXPECT_EQ(config.MAKER_REG, " Software\\Maker ");
    EXPECT_EQ(config.FONT_SIZE, -12);
}

TEST(GameConfig, ALaterLineWithTheSameKeyOverwritesTheEarlierValue) {
    GameConfig config = Parse({"FONT_SIZE:18", "TITLE:first", "FONT_SIZE:24", "TITLE:second"});
    EXPECT_EQ(config.FONT_SIZE, 24);
    EXPECT_EQ(config.TITLE, "second");
}

TEST(GameConfig, BothSeparatorsSplitListFieldsAndFieldsBeyondTheKeysAreIgnored) {
    GameConfig config =
        Parse({"LOG_BAR:10:20,30,40", "PANEL_YES:1,2,3", "LOG_FONTSIZE:18,99", "CFG_VOL2:5:6"});
    EXPECT_EQ(config.LOG_BAR, (Box{10, 20, 30, 40}));
    EXPECT_EQ(config.PANEL_YES, (Pair{1, 2}));
    EXPECT_EQ(config.LOG_FONTSIZE, 18);
    EXPECT_EQ(config.CFG_VOL2, (Pair{5, 6}));
}

TEST(GameConfig, TextListsTakeTheirFieldsAndGaijiOnlyTheFirst) {
    GameConfig config = Parse({"CFG_GRA:cfg_base,cfg_hi", "GAIJI:\x81\x9A\x81\x9B,rest"});
    EXPECT_EQ(config.CFG_GRA[0], "cfg_base");
    EXPECT_EQ(config.CFG_GRA[1], "cfg_hi");
    EXPECT_EQ(config.GAIJI, "\x81\x9A\x81\x9B");
}

TEST(GameConfig, OvdKeysGoToTheArchiveFallbackSettings) {
    GameConfig config = Parse({"OVD_GRA:2", "OVD_GJP:1", "OVD_WAV:3", "OVD_SE:1", "OVD_OGG:2",
                               "OVD_ANIM:2", "OVD_GDT:9"});
    EXPECT_EQ(config.Ovd.Gra, 2);
    EXPECT_EQ(config.Ovd.Gjp, 1);
    EXPECT_EQ(config.Ovd.Wav, 3);
    EXPECT_EQ(config.Ovd.Se, 1);
    EXPECT_EQ(config.Ovd.Ogg, 2);
    EXPECT_EQ(config.Ovd.Anim, 2);
    EXPECT_EQ(config.OVD_GDT, 9);
}

TEST(GameConfig, AQuickButtonWithPlacementZeroReadsNothingElse) {
    GameConfig config =
        Parse({"QB_MS:0,junk,,x", "QB_A+:2,30,20,700,10,0,40", "QB_S7:1,1,2,3,4,5,6"});
    const QuickButtonConfig& first = config.QuickButtons[0];
    EXPECT_EQ(first.Placement, 0);
    EXPECT_EQ(first.Width, 0);
    EXPECT_EQ(first.CellY, 0);
    const QuickButtonConfig& faster = config.QuickButtons[10];
    EXPECT_EQ(faster.Placement, 2);
    EXPECT_EQ(faster.Width, 30);
    EXPECT_EQ(faster.X, 700);
    EXPECT_EQ(faster.CellY, 40);
    EXPECT_EQ(config.QuickButtons[18].CellY, 6);
}

TEST(GameConfig, AQuickButtonWithAPlacementNeedsAllSixColumns) {
    std::optional<GameConfigError> error;
    GameConfig config = Parse({"QB_AT:1,2,3,4,5,6"}, &error);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Key, "QB_AT");
    EXPECT_EQ(config.QuickButtons[1].Placement, 0);
}

TEST(GameConfig, SpeakerNameColoursComeFromThreeCharacters) {
    GameConfig config = Parse(
        {"NAME:1:Taro:", "NAME:2:Hanako:g80", "NAME:3:Jiro:9AF", "NAME:4:Saburo:Z", "NAME:5:Goro"});
    EXPECT_TRUE(config.Names[1].Used);
    EXPECT_EQ(config.Names[1].Text, "Taro");
    EXPECT_EQ(config.Names[1].Colour, 0xFFFFFFu);
    EXPECT_EQ(config.Names[2].Colour, 0x0080FFu); // red 255, green 128, blue 0
    EXPECT_EQ(config.Names[3].Colour, 144u | 160u << 8 | 240u << 16);
    EXPECT_EQ(config.Names[4].Colour, 0u); // one unknown character, two missing
    EXPECT_EQ(config.Names[5].Colour, 0xFFFFFFu);
    EXPECT_FALSE(config.Names[6].Used);
}

TEST(GameConfig, ASpeakerNameNumberOutsideTheTableIsIgnored) {
    std::vector<ConfigLineNote> notes;
    GameConfig config;
    EXPECT_FALSE(ParseGameConfig(Lines({"NAME:60:x:G00", "NAME:-1:y", "TITLE:t"}), config, &notes));
    for (const SpeakerName& name : config.Names) {
        EXPECT_FALSE(name.Used);
    }
    EXPECT_EQ(config.TITLE, "t");
    EXPECT_EQ(notes[0].Outcome, ConfigLineOutcome::NameOutOfRange);
}

TEST(GameConfig, ANonIntegerValueStopsReadingAndKeepsTheKeysBeforeIt) {
    std::optional<GameConfigError> error;
    GameConfig config = Parse({"TXW_OFS_X:12", "; note", "FONT_SIZE:2x", "TITLE:late"}, &error);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Line, 3);
    EXPECT_EQ(error->Key, "FONT_SIZE");
    EXPECT_EQ(error->Value, "2x");
    EXPECT_EQ(config.TXW_OFS_X, 12);
    EXPECT_EQ(config.FONT_SIZE, 0);
    EXPECT_EQ(config.TITLE, "");
}

TEST(GameConfig, IntegersAreStrictDecimalWithinThirtyTwoBits) {
    for (std::string_view bad : {"", " 5", "5 ", "+5", "0x10", "2147483648", "-2147483649", "-"}) {
        std::optional<GameConfigError> error;
        Parse({std::string("FONT_SIZE:").append(bad)}, &error);
        EXPECT_TRUE(error) << "'" << bad << "'";
    }
    EXPECT_EQ(Parse({"FONT_SIZE:-2147483648"}).FONT_SIZE, INT32_MIN);
    EXPECT_EQ(Parse({"FONT_SIZE:2147483647"}).FONT_SIZE, INT32_MAX);
}

TEST(GameConfig, AnEmptyListFieldIsAnErrorAndLeavesTheWholeListUnchanged) {
    std::optional<GameConfigError> error;
    GameConfig config = Parse({"LOG_BAR:1,2,3,4", "LOG_BAR:5,6,,8"}, &error);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Line, 2);
    EXPECT_EQ(error->Value, "");
    EXPECT_EQ(config.LOG_BAR, (Box{1, 2, 3, 4}));
    Parse({"PANEL_BASE:5"}, &error);
    EXPECT_TRUE(error);
}

TEST(GameConfig, TheErrorMessageNamesTheLineAndTheKey) {
    std::string text = GameConfigErrorText(GameConfigError{12, "FONT_SIZE", "abc"});
    EXPECT_NE(text.find("_config line 12: FONT_SIZE needs a number"), std::string::npos) << text;
    EXPECT_NE(text.find("12 行目"), std::string::npos) << text;
    EXPECT_NE(text.find("\"abc\""), std::string::npos) << text;
}

TEST(GameConfig, ValuesAreLookedUpAsTextsNumbersAndCommaLists) {
    GameConfig config = Parse({"TITLE:My Game", "FONT_SIZE:22", "LOG_BAR:1,2:3,4", "OVD_ANIM:2",
                               "QB_WC:1,2,3,4,5,6,7", "NAME:3:Jiro:G80", "CFG_GRA:a,b"});
    EXPECT_EQ(Value(config, "TITLE"), "My Game");
    EXPECT_EQ(Value(config, "font_size"), "22");
    EXPECT_EQ(Value(config, "LOG_BAR"), "1,2,3,4");
    EXPECT_EQ(Value(config, "OVD_ANIM"), "2");
    EXPECT_EQ(Value(config, "QB_WC"), "1,2,3,4,5,6,7");
    EXPECT_EQ(Value(config, "NAME3"), "Jiro");
    EXPECT_EQ(Value(config, "NAME3_COLOR"), std::to_string(0x0080FF));
    EXPECT_EQ(Value(config, "CFG_GRA"), "a,b");
    EXPECT_EQ(Value(config, "CFG_HSE"), "0,0,0,0,0,0,0,0,0,0,0,0");
    std::string unused;
    for (std::string_view bad : {"NAME", "NAME0", "NAME60", "NAME03", "TITLE ", "NOPE", ""}) {
        EXPECT_FALSE(GameConfigValue(config, bad, unused)) << bad;
    }
}

TEST(GameConfig, EveryEnumeratedKeyNameCanBeLookedUp) {
    GameConfig config;
    std::string text;
    auto names = GameConfigKeyNames();
    EXPECT_GT(names.size(), 150u);
    for (const std::string& name : names) {
        EXPECT_TRUE(GameConfigValue(config, name, text)) << name;
    }
}

TEST(GameConfig, StartUpReadsTheEntryFromTheTextArchivesOrStartsEmpty) {
    TempDir dir;
    std::string entry = Lines({"TITLE:From archive", "FONT_SIZE:20", "END", "FONT_SIZE:1"});
    WriteFile(dir / "ov_data.orv",
              MakeTextArchive({{"_CONFIG", Bytes(entry.begin(), entry.end())}}));
    Archives archives(dir.Path());
    archives.ReadTextIndexes();
    ScriptState script(archives);
    GameConfig config;
    config.MAKER = "stale";
    EXPECT_FALSE(ReadGameConfig(script, config));
    EXPECT_EQ(config.TITLE, "From archive");
    EXPECT_EQ(config.FONT_SIZE, 20);
    EXPECT_EQ(config.MAKER, "");

    TempDir empty;
    WriteFile(empty / "ov_data.orv", MakeTextArchive({{"main", ToBytes("x")}}));
    Archives other(empty.Path());
    other.ReadTextIndexes();
    ScriptState otherScript(other);
    EXPECT_FALSE(ReadGameConfig(otherScript, config));
    EXPECT_EQ(config.TITLE, "");
}

TEST(GameConfig, DamagedEntriesNeverReadOutsideTheText) {
    // A last line without its NUL, a lone lead byte before the colon, and junk bytes.
    std::string text = Lines({"\x81:x", "TITLE:\x81"});
    text += std::string("\xFF\x00\x01:\x02\x00", 6);
    text += "FONT_SIZE:9";
    GameConfig config;
    EXPECT_FALSE(ParseGameConfig(text, config));
    EXPECT_EQ(config.TITLE, "\x81");
    EXPECT_EQ(config.FONT_SIZE, 9);
}

} // namespace
} // namespace orv::test
