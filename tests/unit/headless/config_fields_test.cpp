// Play files read the game configuration and the user settings by name.
#include "headless/state_fields.h"
#include "tiny_game.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::HeadlessSession;

TEST(ConfigAndSettingFields, ExpectReadsConfigurationKeysAndSettingsAsTheEngineHoldsThem) {
    test::TempDir dir;
    test::WriteFile(dir / "ov_data.orv",
                    test::MakeTextArchive({{"_config", test::ScriptBytes({"TITLE:Demo game"})},
                                           {"main", test::ScriptBytes({":a"})}}));
    test::WriteFile(dir / "ov_gra.orv", test::MakeArchive({}));
    HeadlessSession session(dir.Path());
    EXPECT_EQ(session.Play("expect Config.TITLE Demo game\nexpect Setting.Delay 0"),
              RunStatus::Done)
        << session.Err.str();
    EXPECT_EQ(session.Play("expect Config.TITLE Other"), RunStatus::ExpectFailed);
}

TEST(ConfigAndSettingFields, UnknownKeysAreRefusedAndSettingsAreNotTakenForCells) {
    EXPECT_TRUE(FindStateField("Config.TITLE").has_value());
    EXPECT_TRUE(FindStateField("Setting.Delay").has_value());
    EXPECT_FALSE(FindStateField("Config.NO_SUCH_KEY").has_value());
    EXPECT_FALSE(FindStateField("Setting.NoSuchSetting").has_value());
    EXPECT_TRUE(FindStateField("S026").has_value());
}

} // namespace
} // namespace orv
