#include "engine/engine.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/fake_platform.h"
#include "test_support.h"

namespace orv::test {
namespace {

// A game directory with a text archive holding `main` and an (empty) picture archive.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { WriteGame(std::string_view("line one\0line two\0", 18)); }

    void WriteGame(std::string_view mainScript, bool withPictures = true) {
        WriteFile(m_dir / "ov_data.orv",
                  MakeTextArchive({{"main", Bytes(mainScript.begin(), mainScript.end())}}));
        if (withPictures) {
            WriteFile(m_dir / "ov_gra.orv", MakeArchive({}));
        }
    }

    Engine& Start() {
        m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
        return *m_engine;
    }

    // Length in virtual milliseconds of the next idle pass.
    uint64_t TimePass() {
        uint64_t before = m_platform.Now;
        m_platform.Pass();
        return m_platform.Now - before;
    }

    TempDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

TEST_F(EngineTest, StartUpSetsTheSystemCellsAndRequestsTheStart) {
    Engine& engine = Start();
    EXPECT_EQ(engine.vars.S(0), 3);
    EXPECT_EQ(engine.vars.S(8), 8);
    EXPECT_EQ(engine.vars.S(20), 250);
    EXPECT_EQ(engine.vars.S(21), 550);
    EXPECT_EQ(engine.vars.S(27), 5);
    EXPECT_EQ(engine.vars.S(32), 520);
    EXPECT_EQ(engine.vars.S(33), 30);
    EXPECT_EQ(engine.vars.S(37), 0xFFFFFF);
    EXPECT_EQ(engine.StartRequested, 1);
    EXPECT_EQ(engine.QuitRequested, 0);
    EXPECT_TRUE(m_platform.Boxes.empty());
}

TEST_F(EngineTest, TheFirstGamePassLoadsMainAndLaterPassesStepIt) {
    Engine& engine = Start();
    engine.text.Delay = 1; // each line typed whole in its pass
    m_platform.Pass();
    EXPECT_EQ(engine.StartRequested, 0);
    EXPECT_EQ(engine.ScriptRunning, 1);
    EXPECT_EQ(engine.script.CurrentScriptNameText(), "main");
    EXPECT_STREQ(engine.dispatcher.ReturnScriptName, "main");
    m_platform.Pass();
    EXPECT_STREQ(engine.script.LineBuffer.data(), "line one");
    m_platform.Pass();
    EXPECT_STREQ(engine.script.LineBuffer.data(), "line two");
    EXPECT_TRUE(engine.dispatcher.AtScriptEnd());
}

TEST_F(EngineTest, APassLastsTwentyMillisecondsAndAutoModeStretchesSteppingPasses) {
    Engine& engine = Start();
    // The window is up already, so that the text lines do not fade it in.
    engine.text.WindowShown = 1;
    EXPECT_EQ(TimePass(), 20u);
    EXPECT_EQ(TimePass(), 20u);
    engine.vars.S(26) = 3;
    EXPECT_EQ(TimePass(), 27u); // 4 x 3 + 15
    // A pass that waits does not step, so it keeps the 20 ms floor.
    engine.wait.WaitKind = 1;
    EXPECT_EQ(TimePass(), 20u);
}

TEST_F(EngineTest, PassWaitCountsPassesAndMinusOneWaitsForAClick) {
    Engine& engine = Start();
    m_platform.Pass(); // loads main
    engine.wait.PassWait = 2;
    int32_t readPos = engine.script.ReadPos;
    m_platform.Pass();
    m_platform.Pass();
    EXPECT_EQ(engine.wait.PassWait, 0);
    EXPECT_EQ(engine.script.ReadPos, readPos);
    m_platform.Pass();
    EXPECT_GT(engine.script.ReadPos, readPos);

    engine.wait.PassWait = -1;
    readPos = engine.script.ReadPos;
    for (int i = 0; i < 50; ++i) {
        m_platform.Pass();
    }
    EXPECT_EQ(engine.wait.PassWait, -1);
    EXPECT_EQ(engine.script.ReadPos, readPos);
}

TEST_F(EngineTest, ClickGuardCountsDownOncePerPassWhateverOwnsTheLoop) {
    Engine& engine = Start();
    engine.wait.ClickGuard = 5;
    engine.screens.Open(engine.screens.backlog);
    m_platform.Pass();
    engine.screens.Close(engine.screens.backlog);
    engine.screens.Open(engine.screens.gallery);
    m_platform.Pass();
    engine.screens.Close(engine.screens.gallery);
    m_platform.Pass();
    EXPECT_EQ(engine.wait.ClickGuard, 2);
    m_platform.Pass();
    m_platform.Pass();
    m_platform.Pass();
    EXPECT_EQ(engine.wait.ClickGuard, 0);
}

TEST_F(EngineTest, EveryGamePassDrawsOneRandomNumber) {
    Engine& engine = Start();
    m_platform.Pass(); // the start pass draws none
    uint32_t before = engine.random.State();
    m_platform.Pass();
    m_platform.Pass();
    RandomGenerator expected;
    expected.Seed(before);
    expected.Next();
    expected.Next();
    EXPECT_EQ(engine.random.State(), expected.State());
    // Passes owned by another screen draw nothing.
    engine.screens.Open(engine.screens.gallery);
    m_platform.Pass();
    EXPECT_EQ(engine.random.State(), expected.State());
}

TEST_F(EngineTest, TimerTicksCountDownTickWaitBeforeTheScriptMovesOn) {
    Engine& engine = Start();
    m_platform.Pass();
    engine.wait.TickWait = 3;
    int32_t readPos = engine.script.ReadPos;
    while (engine.wait.TickWait != 0) {
        m_platform.Pass();
        EXPECT_TRUE(engine.wait.TickWait == 0 || engine.script.ReadPos == readPos);
    }
    EXPECT_EQ(engine.TickCounter, static_cast<int32_t>(m_platform.Now / 55));
}

TEST_F(EngineTest, AutoModeContinuesAPageWaitWhenItsTicksRunOut) {
    Engine& engine = Start();
    m_platform.Pass();
    engine.vars.S(26) = 5;
    engine.wait.WaitKind = 1;
    engine.wait.AutoWaitTicks = 2;
    engine.Timer1Timer();
    EXPECT_EQ(engine.wait.WaitKind, 1);
    engine.Timer1Timer();
    EXPECT_EQ(engine.wait.WaitKind, 0);
    EXPECT_EQ(engine.wait.AutoWaitTicks, 0);
}

TEST_F(EngineTest, SkipModeClearsEveryWaitKind) {
    Engine& engine = Start();
    m_platform.Pass();
    engine.SkipActive = 1;
    engine.wait.WaitKind = 2;
    m_platform.Pass();
    EXPECT_EQ(engine.wait.WaitKind, 0);
}

TEST_F(EngineTest, CloseAsksAndCancelLeavesTheGameRunning) {
    Engine& engine = Start();
    m_platform.Pass();
    m_platform.Answers.push_back(MessageBoxResult::Cancel);
    m_platform.CloseMainWindow();
    EXPECT_FALSE(m_platform.Closed);
    ASSERT_EQ(m_platform.Boxes.size(), 1u);
    EXPECT_EQ(m_platform.Boxes[0], "確認: ゲームを終了しますか？");
    EXPECT_EQ(engine.ScriptRunning, 1);
    EXPECT_EQ(engine.blocking.InterruptRequest, 0);

    m_platform.CloseMainWindow(); // the queue is empty: OK
    EXPECT_TRUE(m_platform.Closed);
    EXPECT_EQ(engine.blocking.InterruptRequest, 1);
}

TEST_F(EngineTest, CloseIsRefusedWhileBusyAndStopsAnInterruptibleEffect) {
    Engine& engine = Start();
    {
        BusyScope busy(engine.blocking);
        m_platform.CloseMainWindow();
        EXPECT_FALSE(m_platform.Closed);
        EXPECT_TRUE(m_platform.Boxes.empty());
    }
    InterruptibleScope effect(engine.blocking);
    m_platform.CloseMainWindow();
    EXPECT_FALSE(m_platform.Closed);
    EXPECT_EQ(engine.blocking.InterruptRequest, 2);
    EXPECT_TRUE(m_platform.Boxes.empty());
}

TEST_F(EngineTest, QuitRequestedClosesAtTheNextGamePassWithoutAsking) {
    Engine& engine = Start();
    m_platform.Pass();
    engine.QuitRequested = 1;
    m_platform.Pass();
    EXPECT_TRUE(m_platform.Closed);
    EXPECT_TRUE(m_platform.Boxes.empty());
}

TEST_F(EngineTest, TheExitMenuItemsCloseThroughTheConfirmation) {
    Start();
    m_platform.Pass();
    for (const char* item : {"N14", "N18", "N6"}) {
        m_platform.Answers.push_back(MessageBoxResult::Cancel);
        EXPECT_TRUE(m_engine->MenuItemClick(item));
        EXPECT_FALSE(m_platform.Closed) << item;
    }
    EXPECT_EQ(m_platform.Boxes.size(), 3u);
    EXPECT_TRUE(m_engine->MenuItemClick("N14"));
    EXPECT_TRUE(m_platform.Closed);
    EXPECT_FALSE(m_engine->MenuItemClick("N99"));
}

TEST_F(EngineTest, TheWindowModeButtonLeavesFullScreenForGood) {
    Engine& engine = Start();
    engine.FullScreenMode = 1;
    engine.EnterFullScreen();
    ASSERT_EQ(engine.FullScreenActive, 1);
    engine.MenuItemClick("SpeedButton5");
    EXPECT_EQ(engine.FullScreenActive, 0);
    EXPECT_EQ(engine.FullScreenMode, 0);
    EXPECT_EQ(engine.settings.SMode, 0);
    EXPECT_FALSE(m_platform.FullScreen);
}

TEST_F(EngineTest, MissingTextArchiveShowsTheMessageOnceAndQuits) {
    std::filesystem::remove(m_dir / "ov_data.orv");
    std::filesystem::remove(m_dir / "ov_gra.orv");
    Engine& engine = Start();
    ASSERT_EQ(m_platform.Boxes.size(), 1u);
    EXPECT_EQ(m_platform.Boxes[0], "Error!: ゲームデータを読み込めません。");
    EXPECT_TRUE(engine.DataMissing);
    m_platform.Pass();
    EXPECT_TRUE(m_platform.Closed);
}

TEST_F(EngineTest, MissingPictureArchiveShowsTheMessage) {
    std::filesystem::remove(m_dir / "ov_gra.orv");
    Engine& engine = Start();
    EXPECT_EQ(m_platform.Boxes.size(), 1u);
    EXPECT_EQ(engine.QuitRequested, 1);
}

TEST_F(EngineTest, ArchiveNamesAreFoundWhateverTheirCase) {
    std::filesystem::rename(m_dir / "ov_data.orv", m_dir / "OV_DATA.ORV");
    std::filesystem::rename(m_dir / "ov_gra.orv", m_dir / "Ov_Gra.orv");
    Engine& engine = Start();
    EXPECT_TRUE(m_platform.Boxes.empty());
    EXPECT_EQ(engine.QuitRequested, 0);
}

TEST_F(EngineTest, ASetupProgramRunsInsteadOfTheGame) {
    WriteFile(m_dir / "SETUP.EXE", "MZ");
    Engine& engine = Start();
    ASSERT_EQ(m_platform.Opened.size(), 1u);
    EXPECT_EQ(std::filesystem::path(m_platform.Opened[0]).filename(), "SETUP.EXE");
    EXPECT_EQ(engine.QuitRequested, 1);
    m_platform.Pass();
    EXPECT_TRUE(m_platform.Closed);
    EXPECT_TRUE(m_platform.Boxes.empty());
}

TEST_F(EngineTest, FullScreenHidesTheMenusAndFallsBackToTheWindow) {
    Engine& engine = Start();
    engine.FullScreenMode = 2;
    m_platform.Window = Rect{10, 20, 808, 650};
    engine.EnterFullScreen();
    EXPECT_EQ(engine.FullScreenActive, 1);
    EXPECT_FALSE(m_platform.Visible["N20"]);
    engine.LeaveFullScreen();
    EXPECT_EQ(engine.FullScreenActive, 0);
    EXPECT_TRUE(m_platform.Visible["N20"]);
    EXPECT_EQ(m_platform.Window.X, 10);

    m_platform.FullScreenWorks = false;
    engine.EnterFullScreen();
    EXPECT_EQ(engine.FullScreenActive, 0);
    EXPECT_TRUE(m_platform.Visible["N26"]);
    EXPECT_EQ(m_platform.Window.Y, 20);
}

TEST_F(EngineTest, ResizingInFullScreenDropsToTheWindowMode) {
    Engine& engine = Start();
    engine.FullScreenMode = 1;
    engine.EnterFullScreen();
    engine.FormResize();
    EXPECT_EQ(engine.FullScreenActive, 0);
    EXPECT_EQ(engine.FullScreenMode, 0);
    EXPECT_EQ(engine.settings.SMode, 0);
}

TEST_F(EngineTest, AMovieEndsNoSoonerThanItsCountdownEvenIfPlaybackFailsAtOnce) {
    Engine& engine = Start();
    WriteFile(m_dir / "op.mpg", "movie");
    engine.PlayMovie("OP.MPG");
    EXPECT_TRUE(engine.blocking.Busy());
    m_platform.MoviePlaying = false; // playback died at once
    int ticks = 0;
    while (engine.MovieCountdown != 0 && ticks < 100) {
        engine.Timer1Timer();
        ++ticks;
    }
    EXPECT_EQ(ticks, 20); // 19 to count down, one to see it stopped
    EXPECT_FALSE(engine.blocking.Busy());
    EXPECT_FALSE(m_platform.MoviePanelShown);
}

TEST_F(EngineTest, AMissingMovieIsIgnored) {
    Engine& engine = Start();
    engine.PlayMovie("none.mpg");
    EXPECT_FALSE(engine.blocking.Busy());
    EXPECT_EQ(engine.MovieCountdown, 0);
    EXPECT_TRUE(m_platform.Movie.empty());
}

} // namespace
} // namespace orv::test
