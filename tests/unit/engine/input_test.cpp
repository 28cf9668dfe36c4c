#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "engine/keys.h"
#include "test_support.h"

#include <memory>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

using std::string_view_literals::operator""sv;

// A game whose main script waits for a click at once (sleep below 30 waits for one), with a
// title script beside it.
class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto main = "*sleep 10\0!V001=1\0*sleep 10\0"sv;
        auto title = "!V002=7\0*sleep 10\0"sv;
        WriteFile(m_dir / "ov_data.orv",
                  MakeTextArchive({{"main", Bytes(main.begin(), main.end())},
                                   {"STITLE", Bytes(title.begin(), title.end())}}));
        WriteFile(m_dir / "ov_gra.orv", MakeArchive({}));
        m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
    }

    // Runs passes until the script waits for the click of its first sleep.
    Engine& Started() {
        for (int i = 0; i < 5 && e().wait.PassWait != -1; ++i) {
            m_platform.Pass();
        }
        return e();
    }

    Engine& e() { return *m_engine; }
    void Click(MouseButton button = MouseButton::Left, int x = 100, int y = 100) {
        e().PBMouseMove(x, y);
        e().PBMouseDown(button, x, y);
        e().PBMouseUp(button, x, y);
    }
    void Key(int code, char press = 0) {
        e().FormKeyDown(code);
        if (press) {
            e().FormKeyPress(press);
        }
        e().FormKeyUp(code);
    }

    TempDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

TEST_F(InputTest, AClickDuringAnInterruptibleEffectOnlyCutsTheEffectShort) {
    Engine& engine = Started();
    engine.wait.WaitKind = 1;
    InterruptibleScope effect(engine.blocking);
    Click();
    EXPECT_EQ(engine.blocking.InterruptRequest, 1);
    EXPECT_EQ(engine.wait.WaitKind, 1);
    EXPECT_EQ(engine.wait.PassWait, -1);
    EXPECT_EQ(engine.wait.ClickGuard, 0);
}

TEST_F(InputTest, ALeftClickContinuesAPageWaitAndGuardsTheNextPasses) {
    Engine& engine = Started();
    engine.wait.PassWait = 0;
    engine.wait.WaitKind = 1;
    Click();
    EXPECT_EQ(engine.wait.WaitKind, 0);
    EXPECT_EQ(engine.wait.ClickGuard, 5);
    m_platform.Pass();
    m_platform.Pass();
    // Two passes later the guard still keeps a second click from stopping the new voice.
    EXPECT_EQ(engine.wait.ClickGuard, 3);
}

TEST_F(InputTest, AClickCutsASleepShortAndTellsTheScript) {
    Engine& engine = Started();
    ASSERT_EQ(engine.wait.PassWait, -1);
    engine.wait.WaitKind = 1;
    Click();
    EXPECT_EQ(engine.wait.PassWait, 0);
    EXPECT_EQ(engine.vars.S(19), 1);
    EXPECT_EQ(engine.wait.WaitKind, 1) << "the sleep took the click";
    engine.wait.WaitKind = 0;
    m_platform.Pass();
    EXPECT_EQ(engine.vars.V(1), 1);
}

TEST_F(InputTest, AClickInSkipModeStopsSkippingWithoutContinuing) {
    Engine& engine = Started();
    engine.wait.PassWait = 0;
    engine.wait.WaitKind = 1;
    engine.SkipActive = 1;
    engine.vars.S(60) = 2;
    Click();
    EXPECT_EQ(engine.SkipActive, 0);
    EXPECT_EQ(engine.vars.S(60), 0);
    EXPECT_EQ(engine.wait.WaitKind, 1);
}

TEST_F(InputTest, ClickOverridesOfTheScriptComeFirst) {
    Engine& engine = Started();
    engine.vars.S(56) = 66;
    Click();
    EXPECT_EQ(engine.wait.PassWait, -1) << "66 ignores the press";
    engine.vars.S(56) = 56;
    Click(MouseButton::Right);
    EXPECT_EQ(engine.vars.S(56), 56) << "56 ignores a right press";
    engine.MenusLocked = 1;
    engine.prompts.SystemMenuState = 3;
    Click();
    EXPECT_EQ(engine.vars.S(56), 0);
    EXPECT_EQ(engine.wait.PassWait, 0);
    EXPECT_EQ(engine.MenusLocked, 0);
    EXPECT_EQ(engine.prompts.SystemMenuState, 0);
    EXPECT_EQ(engine.script.CurrentScriptNameText(), "main") << "no prompt action ran";
}

// The save and load states of S000 and S028 are played through in the input_menus game.
TEST_F(InputTest, TheLockAndTheBackgroundLoopDisableTheirItems) {
    Engine& engine = Started();
    auto state = [&](const char* item) { return engine.MenuItemEnabled(item); };
    engine.vars.S(0) = 0;
    engine.vars.S(28) = 1;
    engine.MenusLocked = 1;
    engine.UpdateMenus();
    EXPECT_FALSE(state("N12") || state("N20") || state("SpeedButton5") || state("N13"));
    EXPECT_FALSE(m_platform.Enabled["N20"]);
    EXPECT_TRUE(state("N4")) << "the lock leaves the backlog item alone";
    engine.MenusLocked = 0;
    engine.gfx.Loop.Active = true;
    engine.UpdateMenus();
    EXPECT_TRUE(state("N12"));
    EXPECT_FALSE(state("N4") || state("N22") || state("N21") || state("SpeedButton1"));
    EXPECT_FALSE(m_platform.Enabled["N4"]);
}

TEST_F(InputTest, ADisabledItemOrOneInADisabledMenuDoesNothing) {
    Engine& engine = Started();
    ASSERT_FALSE(engine.MenuItemEnabled("N5"));
    EXPECT_TRUE(engine.MenuItemClick("N5"));
    EXPECT_EQ(engine.prompts.SystemMenuState, 0);
    engine.MenusLocked = 1;
    engine.UpdateMenus();
    engine.MenuItemClick("N15");
    EXPECT_EQ(engine.prompts.SystemMenuState, 0) << "N15 lies in the disabled N12";
    engine.MenusLocked = 0;
    engine.vars.S(0) = 1;
    engine.UpdateMenus();
    engine.MenuItemClick("N5");
    EXPECT_EQ(engine.prompts.SystemMenuState, 1);
    EXPECT_EQ(engine.MenusLocked, 1);
}

TEST_F(InputTest, TheRightClickPopUpOpensAtThePointerAndASecondRightClickOnlyClosesIt) {
    Engine& engine = Started();
    engine.wait.PassWait = 0;
    engine.wait.WaitKind = 1;
    m_platform.Cursor = Point{1100, 1200};
    engine.PBMouseMove(100, 200);
    engine.PBMouseDown(MouseButton::Right, 100, 200);
    ASSERT_EQ(m_platform.Popups.size(), 1u);
    EXPECT_EQ(m_platform.Popups[0], "PopupMenu3");
    EXPECT_EQ(m_platform.PopupAt.X, 1116);
    EXPECT_EQ(m_platform.PopupAt.Y, 1200);
    EXPECT_EQ(engine.PopupShown, 1);
    EXPECT_TRUE(m_platform.Enabled["SM01"] && m_platform.Enabled["SM05"]);
    engine.PBMouseDown(MouseButton::Right, 100, 200);
    EXPECT_EQ(engine.PopupShown, 0);
    EXPECT_EQ(m_platform.PopupCloses, 1);
    EXPECT_EQ(m_platform.Popups.size(), 1u);
    EXPECT_EQ(engine.wait.WaitKind, 1) << "the closing click did nothing else";
}

TEST_F(InputTest, PopUpItemsClearTheFlagExceptTheTitleAndExitItems) {
    Engine& engine = Started();
    engine.PopupShown = 1;
    engine.MenuItemClick("SM02");
    EXPECT_EQ(engine.PopupShown, 0);
    EXPECT_EQ(engine.SkipActive, 1);
    EXPECT_EQ(engine.vars.S(60), 2);
    engine.PopupShown = 1;
    engine.MenuItemClick("N17");
    EXPECT_EQ(engine.PopupShown, 1);
    EXPECT_EQ(engine.prompts.SystemMenuState, 3);
}

TEST_F(InputTest, ARightClickCutsASleepShortBeforeItsOwnAction) {
    Engine& engine = Started();
    Click(MouseButton::Right);
    EXPECT_EQ(engine.wait.PassWait, 0);
    EXPECT_EQ(engine.PopupShown, 0);
}

TEST_F(InputTest, TheRightClickSettingChoosesTheAction) {
    Engine& engine = Started();
    engine.wait.PassWait = 0;
    engine.wait.WaitKind = 1;
    engine.settings.RC_MODE = 2;
    Click(MouseButton::Right);
    EXPECT_EQ(engine.SkipActive, 1);
    engine.SkipActive = 0;
    engine.vars.S(60) = 0;
    engine.settings.RC_MODE = 3;
    engine.vars.S(27) = 0;
    Click(MouseButton::Right);
    EXPECT_EQ(engine.vars.S(26), 5);
    EXPECT_EQ(engine.vars.S(27), 5);
    engine.vars.S(26) = 0;
    engine.settings.RC_MODE = 4;
    Click(MouseButton::Right);
    EXPECT_TRUE(engine.gfx.PanicScreenShown());
    Click();
    EXPECT_FALSE(engine.gfx.PanicScreenShown());
    EXPECT_FALSE(engine.blocking.Busy());
    EXPECT_EQ(engine.wait.WaitKind, 1) << "the click that hid the picture did nothing else";
}

TEST_F(InputTest, TheSpaceBarTogglesAutoModeAndTheMenusOnlySwitchItOn) {
    Engine& engine = Started();
    engine.config.SPD_MAX = 8;
    engine.vars.S(27) = 9;
    Key(keys::Space, ' ');
    EXPECT_EQ(engine.vars.S(27), 4) << "a level beyond SPD_MAX falls back to 4";
    EXPECT_EQ(engine.vars.S(26), 4);
    EXPECT_EQ(engine.vars.S(61), 2);
    Key(keys::Space, ' ');
    EXPECT_EQ(engine.vars.S(26), 0);
    EXPECT_EQ(engine.vars.S(27), 4);
    engine.MenuItemClick("SM01");
    EXPECT_EQ(engine.vars.S(26), 4);
    engine.MenuItemClick("SM01");
    EXPECT_EQ(engine.vars.S(26), 4) << "the item never switches auto off";
}

TEST_F(InputTest, ControlSkipsWhileHeldAndShiftTogglesAuto) {
    Engine& engine = Started();
    engine.vars.S(27) = 0;
    engine.FormKeyDown(keys::Control);
    EXPECT_EQ(engine.SkipActive, 1);
    EXPECT_EQ(engine.vars.S(60), 2);
    engine.FormKeyUp(keys::Control);
    EXPECT_EQ(engine.SkipActive, 0);
    EXPECT_EQ(engine.vars.S(60), 0);
    Key(keys::Shift);
    EXPECT_EQ(engine.vars.S(26), 4);
    Key(keys::Shift);
    EXPECT_EQ(engine.vars.S(26), 0);
}

TEST_F(InputTest, SwappingTheKeysExchangesSkipAndAuto) {
    Engine& engine = Started();
    engine.settings.CS_SWAP = true;
    engine.FormKeyDown(keys::Shift);
    EXPECT_EQ(engine.SkipActive, 1);
    engine.FormKeyUp(keys::Shift);
    EXPECT_EQ(engine.SkipActive, 0);
    engine.FormKeyDown(keys::Control);
    EXPECT_EQ(engine.SkipActive, 0);
    EXPECT_NE(engine.vars.S(26), 0);
    engine.FormKeyUp(keys::Control);
    EXPECT_NE(engine.vars.S(26), 0) << "releasing the auto key keeps auto mode";
}

TEST_F(InputTest, KeysAndTheWheelWaitWhileAPromptIsOpen) {
    Engine& engine = Started();
    engine.wait.PassWait = 0;
    engine.wait.WaitKind = 1;
    engine.prompts.AskYesNo(kTitleQuestion, prompt_action::Title);
    Key(keys::Return, '\r');
    Key(keys::Control);
    Key(keys::Space, ' ');
    engine.FormMouseWheel(-120);
    EXPECT_EQ(engine.wait.WaitKind, 1);
    EXPECT_EQ(engine.vars.S(26), 0);
    EXPECT_EQ(engine.prompts.SystemMenuState, 3);
}

TEST_F(InputTest, ReturnAndXPressAtThePointer) {
    Engine& engine = Started();
    engine.PBMouseMove(10, 20);
    Key(keys::Return, '\r');
    EXPECT_EQ(engine.wait.PassWait, 0);
    engine.wait.ClickGuard = 0;
    Key('X', 'x');
    EXPECT_EQ(engine.PopupShown, 1) << "a right press opens the pop-up";
    Key(keys::Escape, '\x1b');
    EXPECT_EQ(engine.PopupShown, 0);
}

TEST_F(InputTest, WheelDownContinuesAPageWaitAsAClickDoes) {
    Engine& engine = Started();
    engine.wait.PassWait = 0;
    engine.wait.WaitKind = 1;
    engine.FormMouseWheel(-120);
    EXPECT_EQ(engine.wait.WaitKind, 0);
    EXPECT_EQ(engine.WheelBusy, 0);
    engine.wait.WaitKind = 2;
    {
        BusyScope busy(engine.blocking);
        engine.FormMouseWheel(-120);
        EXPECT_EQ(engine.wait.WaitKind, 2) << "a blocking effect keeps the wheel out";
    }
    engine.choices.SelectionKind = 1;
    engine.FormMouseWheel(-120);
    EXPECT_EQ(engine.wait.WaitKind, 2) << "a choice is not a page";
}

TEST_F(InputTest, PartsOfAWheelNotchAddUpAndATurnTheOtherWayStartsAfresh) {
    Engine& engine = Started();
    engine.wait.PassWait = 0;
    engine.wait.WaitKind = 1;
    engine.FormMouseWheel(-50);
    engine.FormMouseWheel(-50);
    EXPECT_EQ(engine.wait.WaitKind, 1) << "100 of a notch of 120";
    engine.FormMouseWheel(-30);
    EXPECT_EQ(engine.wait.WaitKind, 0);
    EXPECT_EQ(engine.WheelRemainder, -10);
    engine.wait.WaitKind = 1;
    engine.FormMouseWheel(60);
    engine.FormMouseWheel(-100);
    EXPECT_EQ(engine.wait.WaitKind, 1) << "the turn upward dropped what the downward one left";
    EXPECT_EQ(engine.WheelRemainder, -100);
    engine.FormMouseWheel(-2'000'000'000);
    EXPECT_EQ(engine.WheelRemainder, 0) << "a huge turn counts as a few notches";
}

TEST_F(InputTest, AChoiceIsTakenOnlyOutsideTheClickGuard) {
    Engine& engine = Started();
    engine.wait.PassWait = 0;
    engine.choices.SelectionKind = 1;
    engine.wait.ClickGuard = 2;
    Click();
    EXPECT_EQ(engine.wait.ClickGuard, 5) << "a guarded click renews the guard";
    engine.settings.RC_MODE = 0;
    Click(MouseButton::Right);
    EXPECT_EQ(engine.PopupShown, 1) << "a right click on a select opens the pop-up";
    engine.PopupShown = 0;
    engine.choices.SelectionKind = 4;
    Click(MouseButton::Right);
    EXPECT_EQ(engine.PopupShown, 0) << "a right click on a click map takes the choice";
}

} // namespace
} // namespace orv::test
