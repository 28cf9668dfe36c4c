// Start-up as the engine runs it: the configuration and the settings reach the window, the
// variable store and the other subsystems.
#include "base/cp932.h"
#include "base/files.h"
#include "data/settings_store.h"
#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "test_support.h"

#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

class StartUpConfigTest : public ::testing::Test {
protected:
    void WriteGame(std::string_view configLines) {
        std::string config(configLines);
        WriteFile(m_game / "ov_data.orv",
                  MakeTextArchive({{"main", ToBytes(std::string_view("x\0", 2))},
                                   {"_config", Bytes(config.begin(), config.end())}}));
        WriteFile(m_game / "ov_gra.orv", MakeArchive({}));
    }

    Engine& Start() {
        m_engine = StartEngine(m_platform, m_game.Path(), m_data.Path());
        return *m_engine;
    }

    fs::path SettingsFile() const { return m_data / "settings" / "Software" / "Test" / "game.ini"; }

    TempDir m_game;
    TempDir m_data;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

constexpr std::string_view kConfig("TITLE:\x83\x65\x83\x58\x83\x67\0MAKER_REG:Software\\Test\0"
                                   "GAME_ID:game\0DEFAULT_NAME:Taro\0OVD_GRA:1\0VOLUME1:-1000\0",
                                   92);

TEST_F(StartUpConfigTest, TheConfigurationAndTheStoredSettingsReachTheEngine) {
    WriteGame(kConfig);
    WriteFile(SettingsFile(), "[game]\nPlayerName=Jiro\nClear=3\nGV02=7\nDatePanel=0\nDelay=1\n"
                              "SMode=2\nLeft=5\nTop=6\n");
    Engine& engine = Start();
    EXPECT_EQ(m_platform.Title, "テスト");
    EXPECT_TRUE(m_platform.Boxes.empty());
    EXPECT_EQ(engine.config.Ovd.Gra, 1);
    EXPECT_EQ(engine.settings.VoiceVolume, -2500);
    EXPECT_STREQ(engine.vars.Strings[0], "Jiro");
    EXPECT_EQ(engine.vars.S(6), 1);
    EXPECT_EQ(engine.vars.S(100), 3);
    EXPECT_EQ(engine.vars.S(50), 0);
    EXPECT_EQ(engine.vars.S(51), 1);
    EXPECT_EQ(engine.vars.G(2), 7);
    EXPECT_EQ(engine.text.Delay, 1);
    EXPECT_EQ(engine.FullScreenMode, 2);
    EXPECT_EQ(m_platform.Window.X, 5);
    EXPECT_EQ(m_platform.Window.Y, 6);
}

TEST_F(StartUpConfigTest, ABadNumberIsReportedAndTheGameGoesOnWithTheKeysReadSoFar) {
    WriteGame(std::string_view("TITLE:Game\0FONT_SIZE:big\0GAME_ID:late\0", 38));
    Engine& engine = Start();
    ASSERT_EQ(m_platform.Boxes.size(), 1u);
    EXPECT_NE(m_platform.Boxes[0].find("_config line 2: FONT_SIZE needs a number"),
              std::string::npos)
        << m_platform.Boxes[0];
    EXPECT_EQ(engine.config.TITLE, "Game");
    EXPECT_EQ(engine.config.GAME_ID, "");
    EXPECT_EQ(engine.StartRequested, 1);
    EXPECT_EQ(engine.QuitRequested, 0);
}

TEST_F(StartUpConfigTest, SettingsAreWrittenUnderTheGamesKeyInTheDataDirectory) {
    WriteGame(kConfig);
    Engine& engine = Start();
    engine.WriteSetting("SMode", "1");
    SettingsStore store(m_data / "settings");
    EXPECT_EQ(ReadSettingInt(store.Load({"Software\\Test", "game"}), "smode", 0), 1);
    EXPECT_TRUE(IsRegularFile(SettingsFile()));
}

} // namespace
} // namespace orv::test
