#include "base/cp932.h"
#include "base/files.h"
#include "data/game_config.h"
#include "data/settings_store.h"
#include "data/user_settings.h"
#include "test_support.h"

#include <cstdlib>
#include <sys/stat.h>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

namespace fs = std::filesystem;

// Engines that other tests build without a data directory would otherwise read and write
// the settings of whoever runs the tests.
class IsolatedSettingsStore : public ::testing::Environment {
public:
    void SetUp() override {
        m_dir.emplace();
        setenv("XDG_CONFIG_HOME", m_dir->Path().c_str(), 1);
    }
    void TearDown() override { m_dir.reset(); }

private:
    std::optional<TempDir> m_dir;
};

[[maybe_unused]] ::testing::Environment* const kIsolatedStore =
    ::testing::AddGlobalTestEnvironment(new IsolatedSettingsStore);

std::string Sjis(std::string_view utf8) {
    return cp932::FromUtf8Lenient(utf8);
}

class UserSettingsTest : public ::testing::Test {
protected:
    UserSettingsTest() : m_store(m_dir.Path()) {
        m_config.MAKER_REG = "Software\\Maker";
        m_config.GAME_ID = "game";
        m_config.VOLUME1 = -1000;
        m_config.VOLUME2 = -1201;
        m_config.VOLUME3 = -3;
        m_config.FONT_NAME = Sjis("ＭＳ ゴシック");
        m_config.FONT_SIZE = 24;
        m_config.DEFAULT_NAME = "Taro";
        m_config.DEFAULT_NAME2 = "Yamada";
        m_config.TXW_COLOR_R = 10;
        m_config.TXW_COLOR_G = 20;
        m_config.TXW_COLOR_B = 30;
        m_config.TXW_ALPHA = 128;
        m_config.TXW_ALPHA2 = 64;
    }

    void Store(std::string_view iniText) {
        WriteFile(m_dir / "Software" / "Maker" / "game.ini", iniText);
    }

    UserSettings Read(DesktopGeometry desktop = {0, 0, 1920, 1080, 808, 650}) {
        UserSettings settings;
        ReadUserSettings(m_store, m_config, desktop, settings);
        return settings;
    }

    TempDir m_dir;
    SettingsStore m_store;
    GameConfig m_config;
};

TEST_F(UserSettingsTest, AnEmptyStoreGivesTheDefaultsAndTheConfigurationsValues) {
    UserSettings s = Read({100, 0, 1920, 1080, 808, 651});
    EXPECT_EQ(s.Left, 100 + 556);
    EXPECT_EQ(s.Top, 214); // (1080 - 651) / 2, truncated
    EXPECT_EQ(s.CDDir, "NULL");
    EXPECT_TRUE(s.BGM_ENA && s.SE_ENA && s.Typewriter && s.Seen && s.BreakonSelect);
    EXPECT_TRUE(s.EFX_CUT && s.CV1 && s.CV2);
    for (bool category : s.SE) {
        EXPECT_TRUE(category);
    }
    EXPECT_FALSE(s.GMode || s.MemorySaveMode || s.DirectSoundGlobal || s.CS_SWAP || s.CONFIG_MODE ||
                 s.CV_THROUGH || s.FONTBold);
    EXPECT_EQ(s.SMode, 0);
    EXPECT_EQ(s.Clear, 0);
    EXPECT_EQ(s.RC_MODE, 0);
    EXPECT_EQ(s.DatePanel, 1);
    EXPECT_EQ(s.TXWStyle, 1);
    EXPECT_EQ(s.VoiceVolume, -2500);
    EXPECT_EQ(s.EffectVolume, -3002);
    EXPECT_EQ(s.MusicVolume, -7); // -7.5 truncated toward zero
    EXPECT_EQ(s.FontName, m_config.FONT_NAME);
    EXPECT_EQ(s.FONTSIZE, 24);
    EXPECT_EQ(s.PlayerName, "Taro");
    EXPECT_EQ(s.PlayerName2, "Yamada");
    EXPECT_EQ(s.PlayerName3, "");
    EXPECT_FALSE(s.PlayerNamesChanged);
    EXPECT_EQ(s.GV, (std::array<int32_t, 10>{}));
    EXPECT_EQ(s.TXBG_R, 10);
    EXPECT_EQ(s.TXBG_B, 30);
    EXPECT_EQ(s.TXBG_A, 128);
    EXPECT_EQ(s.TXBG_A2, 64);
}

TEST_F(UserSettingsTest, StoredValuesReplaceTheDefaultsAndInvalidIntegersFallBack) {
    Store("[game]\nVol1=-1201\nSeen=abc\nBGM_ENA=0\nSE_ENA=5\nDelay=1\nSE3=0\nCDDir=D:\\\n"
          "Left=-20\nClear=3\nGV00=5\nGV09=-3\nDatePanel=0\nFONTSIZE=\nTXBG_R=300\n"
          "TXBG_A=-4\nRC_MODE=4\n");
    UserSettings s = Read();
    EXPECT_EQ(s.VoiceVolume, -3002);
    EXPECT_TRUE(s.Seen);
    EXPECT_FALSE(s.BGM_ENA);
    EXPECT_TRUE(s.SE_ENA);
    EXPECT_FALSE(s.Typewriter);
    EXPECT_FALSE(s.SE[3]);
    EXPECT_TRUE(s.SE[4]);
    EXPECT_EQ(s.CDDir, "D:\\");
    EXPECT_EQ(s.Left, -20);
    EXPECT_EQ(s.Clear, 3);
    EXPECT_EQ(s.GV[0], 5);
    EXPECT_EQ(s.GV[9], -3);
    EXPECT_EQ(s.DatePanel, 0);
    EXPECT_EQ(s.FONTSIZE, 24);
    EXPECT_EQ(s.TXBG_R, 255);
    EXPECT_EQ(s.TXBG_A, 0);
    EXPECT_EQ(s.RC_MODE, 4);
}

TEST_F(UserSettingsTest, AStoredWindowModeBecomesTheBorderlessModeOnANarrowScreen) {
    DesktopGeometry narrow{0, 0, 600, 480, 808, 650};
    DesktopGeometry wide{0, 0, 800, 600, 808, 650};
    EXPECT_EQ(Read(narrow).SMode, 2); // nothing stored counts as 0
    Store("SMode=0\n");
    EXPECT_EQ(Read(narrow).SMode, 2);
    EXPECT_EQ(Read(wide).SMode, 0);
    Store("SMode=1\n");
    EXPECT_EQ(Read(narrow).SMode, 1);
    Store("SMode=9\n");
    EXPECT_EQ(Read(wide).SMode, 0);
}

TEST_F(UserSettingsTest, APlayerNameOtherThanItsDefaultSetsTheChangedFlag) {
    Store("PlayerName3=Extra\n");
    EXPECT_TRUE(Read().PlayerNamesChanged);
    Store("PlayerName=Taro\nPlayerName2=Yamada\nPlayerName3=\n");
    EXPECT_FALSE(Read().PlayerNamesChanged);
}

TEST_F(UserSettingsTest, WrittenSettingsAreReadBackWithTheirCodePageTexts) {
    std::string name = Sjis("太郎");
    ASSERT_TRUE(WriteSetting(m_store, m_config, "PlayerName", name));
    ASSERT_TRUE(WriteSetting(m_store, m_config, "Vol3", -1201));
    ASSERT_TRUE(WriteSetting(m_store, m_config, "FontName", Sjis("ＭＳ 明朝")));
    UserSettings s = Read();
    EXPECT_EQ(s.PlayerName, name);
    EXPECT_TRUE(s.PlayerNamesChanged);
    EXPECT_EQ(s.MusicVolume, -3002);
    EXPECT_EQ(s.FontName, Sjis("ＭＳ 明朝"));
    // The file is readable text for the player.
    auto file = ReadWholeFile(m_dir / "Software" / "Maker" / "game.ini");
    ASSERT_TRUE(file);
    std::string text(file->begin(), file->end());
    EXPECT_NE(text.find("PlayerName=太郎\n"), std::string::npos) << text;
    EXPECT_EQ(text.rfind("[game]\n", 0), 0u) << text;
}

TEST_F(UserSettingsTest, SettingsAreLookedUpAsTheEngineHoldsThem) {
    Store("Delay=1\nSE2=0\nVol2=-100\nFontName=Gothic\n");
    UserSettings s = Read();
    std::string text;
    ASSERT_TRUE(UserSettingValue(s, "Delay", text));
    EXPECT_EQ(text, "1");
    ASSERT_TRUE(UserSettingValue(s, "se2", text));
    EXPECT_EQ(text, "0");
    ASSERT_TRUE(UserSettingValue(s, "EffectVolume", text));
    EXPECT_EQ(text, "-250");
    ASSERT_TRUE(UserSettingValue(s, "FONTNAME", text));
    EXPECT_EQ(text, "Gothic");
    EXPECT_FALSE(UserSettingValue(s, "Vol2", text));
    EXPECT_FALSE(UserSettingValue(s, "GV00", text));
    for (std::string_view name : UserSettingNames()) {
        EXPECT_TRUE(UserSettingValue(s, name, text)) << name;
    }
}

// Stores a value other than its default for every setting (flags both ways over the two
// passes), then writes each setting from what was read into a fresh store and reads that.
TEST_F(UserSettingsTest, EverySettingWrittenFromItsFieldReadsBackAsItWasHeld) {
    for (int pass = 0; pass < 2; ++pass) {
        std::string ini = "[game]\n";
        for (const UserSettingEntry& e : UserSettingTable()) {
            std::string value;
            switch (e.Kind) {
            case UserSettingKind::Flag:
                value = pass ? "1" : "0";
                break;
            case UserSettingKind::Text:
                value = pass ? Sjis("太郎") : "a";
                break;
            case UserSettingKind::Volume: // even slider values: odd ones lose a step
                value = pass ? "-2" : "-1200";
                break;
            case UserSettingKind::Colour:
                value = pass ? "7" : "200";
                break;
            case UserSettingKind::Number:
                value = pass ? "2" : "1";
                break;
            }
            ini += std::string(e.Name) + "=" + value + "\n";
        }
        Store(ini);
        UserSettings held = Read();
        TempDir otherDir;
        SettingsStore other(otherDir.Path());
        for (const UserSettingEntry& e : UserSettingTable()) {
            ASSERT_TRUE(StoreUserSetting(other, m_config, held, e.Name)) << e.Name;
        }
        UserSettings back;
        ReadUserSettings(other, m_config, {0, 0, 1920, 1080, 808, 650}, back);
        for (std::string_view name : UserSettingNames()) {
            std::string before, after;
            UserSettingValue(held, name, before);
            UserSettingValue(back, name, after);
            EXPECT_EQ(after, before) << name << " in pass " << pass;
        }
        EXPECT_EQ(back.GV, held.GV);
        EXPECT_EQ(back.PlayerNamesChanged, held.PlayerNamesChanged);
    }
    Store("Vol1=-1201\n");
    UserSettings odd = Read();
    ASSERT_TRUE(StoreUserSetting(m_store, m_config, odd, "vol1"));
    EXPECT_EQ(ReadSettingText(m_store.Load(GameSettingsLocation(m_config)), "Vol1", ""), "-1200");
    EXPECT_FALSE(StoreUserSetting(m_store, m_config, odd, "VoiceVolume"));
}

TEST(SettingsValues, NamesAreComparedWithoutRegardToCaseAndKeepTheirFirstSpelling) {
    SettingsValues values;
    ASSERT_TRUE(values.Set("FontName", "a"));
    ASSERT_TRUE(values.Set("FONTNAME", "b"));
    EXPECT_EQ(values.Count(), 1u);
    EXPECT_EQ(values.Text("fontname"), "b");
    EXPECT_EQ(values.Serialize("s"), "[s]\nFontName=b\n");
    EXPECT_FALSE(values.Set("a=b", "x"));
    EXPECT_FALSE(values.Set("", "x"));
    EXPECT_FALSE(values.Set("[x", "x"));
}

TEST(SettingsValues, ValuesWithBlanksAtTheirEndsOrQuotesSurviveTheRoundTrip) {
    SettingsValues values;
    for (std::string_view value : {" lead", "trail\t", "\"quoted\"", "", "a = b", "\"half"}) {
        values.Set("V", value);
        EXPECT_EQ(values.Text("V"), std::string(value)) << value;
        SettingsValues back = SettingsValues::Parse(values.Serialize("s"));
        EXPECT_EQ(back.Text("V"), std::string(value)) << value;
    }
    values.Set("V", "line\nbreak");
    EXPECT_EQ(SettingsValues::Parse(values.Serialize("s")).Text("V"), "line break");
}

TEST(SettingsValues, HandEditedFilesAreReadAsWindowsReadsIniFiles) {
    SettingsValues values = SettingsValues::Parse(
        "\xEF\xBB\xBF; note\r\n# other note\r\n  Seen = 0  \r\nBGM_ENA=\"1\"\r\n[other]\r\n"
        "Seen=1\r\nno equals sign\r\n=orphan\r\n");
    EXPECT_EQ(values.Count(), 2u);
    EXPECT_EQ(ReadSettingInt(values, "seen", 7), 0);
    EXPECT_EQ(ReadSettingInt(values, "BGM_ENA", 7), 1);
    EXPECT_EQ(ReadSettingInt(values, "missing", 7), 7);
    EXPECT_EQ(ReadSettingText(values, "missing", "fallback"), "fallback");
}

TEST(SettingsValues, ADamagedFileIsReadAsFarAsItGoes) {
    std::string text = "SE_ENA=0\n";
    text += std::string("\x00\xFF\xFE=\x01\x02\n", 7);
    text += std::string("Junk\x00Name=1\n", 12);
    text.push_back('\0');
    text += "\n" + std::string(200000, 'x') + "=y\n";
    text += "Left=\xFF\xFE\n";
    text += "[unterminated section\nTop=5";
    SettingsValues values = SettingsValues::Parse(text);
    EXPECT_EQ(ReadSettingInt(values, "SE_ENA", 1), 0);
    EXPECT_EQ(ReadSettingInt(values, "Top", 0), 5);
    EXPECT_EQ(ReadSettingText(values, "Left", ""), "??");
    EXPECT_EQ(ReadSettingInt(values, "Left", 3), 3);
    EXPECT_FALSE(values.Text("Name"));
    EXPECT_FALSE(values.Text("Junk"));
}

TEST(SettingsStore, DamagedAndOversizedFilesOnDiskNeverStopReading) {
    TempDir dir;
    SettingsStore store(dir.Path());
    SettingsLocation where{"Maker", "game"};
    std::string junk(3 << 20, '\0');
    for (size_t i = 0; i < junk.size(); ++i) {
        junk[i] = static_cast<char>(i * 131 % 251);
    }
    WriteFile(store.FileFor(where), "Clear=4\n" + junk);
    EXPECT_EQ(ReadSettingInt(store.Load(where), "Clear", 0), 4);
    // A write keeps the readable values and replaces the rest with a clean file.
    ASSERT_TRUE(store.Write(where, "SMode", "1"));
    SettingsValues values = store.Load(where);
    EXPECT_EQ(ReadSettingInt(values, "Clear", 0), 4);
    EXPECT_EQ(ReadSettingInt(values, "SMode", 0), 1);
    EXPECT_LT(*FileSize(store.FileFor(where)), 1u << 20);
}

// A write that changes nothing leaves the file as it is (no new file renamed over it); a
// change replaces it.
TEST(SettingsStore, WritingTheValueAFileAlreadyHoldsLeavesTheFileAlone) {
    TempDir dir;
    SettingsStore store(dir.Path());
    SettingsLocation where{"Maker", "game"};
    ASSERT_TRUE(store.Write(where, "SMode", "1"));
    auto inode = [&] {
        struct stat info {};
        return ::stat(store.FileFor(where).c_str(), &info) == 0 ? info.st_ino : 0;
    };
    ino_t first = inode();
    ASSERT_TRUE(store.Write(where, "SMode", "1"));
    EXPECT_EQ(inode(), first);
    ASSERT_TRUE(store.Write(where, "SMode", "2"));
    EXPECT_NE(inode(), first);
    EXPECT_EQ(ReadSettingInt(store.Load(where), "SMode", 0), 2);
}

bool Inside(const fs::path& root, const fs::path& path) {
    fs::path relative = path.lexically_normal().lexically_relative(root.lexically_normal());
    if (relative.empty() || relative.is_absolute()) {
        return false;
    }
    for (const auto& part : relative) {
        if (part == "..") {
            return false;
        }
    }
    return true;
}

TEST(SettingsStore, HostileKeyNamesStayInsideTheStoreDirectory) {
    TempDir dir;
    fs::path root = dir / "store";
    SettingsStore store(root);
    const SettingsLocation hostile[] = {
        {"../../x", "../y"},
        {"/etc", "passwd"},
        {"..\\..\\x", ".."},
        {"a/../../b", "."},
        {"", ""},
        {std::string("a\0b", 3), "\n"},
        {std::string(600, 'k'), std::string(600, 's')},
    };
    for (const SettingsLocation& where : hostile) {
        fs::path file = store.FileFor(where);
        EXPECT_TRUE(Inside(root, file)) << file;
        EXPECT_TRUE(store.Write(where, "Seen", "0")) << file;
        EXPECT_EQ(ReadSettingInt(store.Load(where), "Seen", 1), 0) << file;
    }
    // Nothing was written beside the store.
    std::vector<fs::path> outside;
    for (const auto& entry : fs::directory_iterator(dir.Path())) {
        if (entry.path() != root) {
            outside.push_back(entry.path());
        }
    }
    EXPECT_TRUE(outside.empty());
}

TEST(SettingsStore, KeyPathsBecomeDirectoriesMatchedWithoutRegardToCase) {
    TempDir dir;
    SettingsStore store(dir.Path());
    ASSERT_TRUE(store.Write(ClearCounterLocation(), "Clear", "2"));
    EXPECT_TRUE(IsRegularFile(dir / "Software" / "Vantrell" / "tesk.ini"));
    SettingsLocation shouted{"SOFTWARE\\vantrell\\", "TESK"};
    EXPECT_EQ(store.FileFor(shouted), store.FileFor(ClearCounterLocation()));
    EXPECT_EQ(ReadSettingInt(store.Load(shouted), "clear", 0), 2);
    // A double-byte character whose second byte is a backslash does not split the key.
    SettingsLocation japanese{Sjis("Software\\ソフト"), "g"};
    EXPECT_EQ(store.FileFor(japanese), dir / "Software" / "ソフト" / "g.ini");
}

TEST(SettingsStore, TheRootFollowsTheDataDirectoryThenTheXdgConfigurationDirectory) {
    EXPECT_EQ(SettingsRoot("/data"), fs::path("/data/settings"));
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    std::string previous = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/xdg", 1);
    EXPECT_EQ(SettingsRoot(""), fs::path("/xdg/orvell"));
    setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(SettingsRoot("").filename(), "orvell");
    EXPECT_EQ(SettingsRoot("").parent_path().filename(), ".config");
    if (saved) {
        setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}

} // namespace
} // namespace orv::test
