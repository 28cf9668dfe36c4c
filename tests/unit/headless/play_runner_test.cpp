// The play runner on a tiny game: waits, the virtual clock, checks, dumps, screenshots,
// closing, and input delivered later.
#include "base/files.h"
#include "headless/headless_run.h"
#include "headless/state_fields.h"
#include "tiny_game.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::HeadlessSession;
using test::TinyGame;
using test::TinyGameParts;

bool Contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

// Labels never wait: the whole script runs in the first step.
const std::vector<std::string> kThreeLines = {":one", ":two", ":three"};
// Sleeps for 1000 passes: the game goes on without waiting for the player.
const std::vector<std::string> kLongSleep = {"*sleep 30000", ":after"};

TEST(PlayRunnerWait, RunsUntilTheTopLevelScriptEnds) {
    TinyGame game(kThreeLines);
    HeadlessSession session(game.Path());
    // The first pass starts the game, the second runs the script off its end.
    EXPECT_EQ(session.Play("wait\nexpect PassCounter 2\nexpect CurrentScriptName main\n"
                           "expect ScriptRunning 1\nexpect ReadPos 17\nexpect ScriptSize 17"),
              RunStatus::Done)
        << session.Err.str();
    EXPECT_TRUE(session.Game->dispatcher.AtScriptEnd());
    // Already waiting: no further pass runs.
    EXPECT_EQ(session.Play("wait\nexpect PassCounter 2"), RunStatus::Done) << session.Err.str();
}

TEST(PlayRunnerWait, ASleepOnTheLastLineRunsOutBeforeTheScriptCountsAsFinished) {
    TinyGame game({":a", "*sleep 300"});
    HeadlessSession session(game.Path());
    // Pass 2 starts the sleep of 10 passes; passes 3 to 12 count it down.
    EXPECT_EQ(session.Play("wait\nexpect PassWait 0\nexpect PassCounter 12"), RunStatus::Done)
        << session.Err.str();
}

TEST(PlayRunnerWait, StopsAtAClickWaitButNotInAutoOrSkipMode) {
    TinyGame game(kLongSleep);
    HeadlessSession session(game.Path());
    ASSERT_EQ(session.Play("pass 1"), RunStatus::Done);
    session.Game->wait.WaitKind = 1;
    EXPECT_EQ(session.Play("wait 0"), RunStatus::Done);

    session.Game->vars.S(26) = 3; // auto mode continues the wait by itself
    EXPECT_EQ(session.Play("wait 0"), RunStatus::WaitRanOut);
    session.Game->vars.S(26) = 0;
    session.Game->SkipActive = 1;
    EXPECT_EQ(session.Play("wait 0"), RunStatus::WaitRanOut);
    session.Game->SkipActive = 0;

    session.Game->wait.WaitKind = 0;
    EXPECT_EQ(session.Play("wait 0"), RunStatus::WaitRanOut);
    session.Game->wait.PassWait = -1;
    EXPECT_EQ(session.Play("wait 0"), RunStatus::Done);
    session.Game->wait.PassWait = 0;
    session.Game->choices.SelectionKind = 1;
    EXPECT_EQ(session.Play("wait 0"), RunStatus::Done);
    session.Game->choices.SelectionKind = 0;
    session.Game->prompts.SystemMenuState = 2;
    EXPECT_EQ(session.Play("wait 0"), RunStatus::Done);
}

TEST(PlayRunnerWait, RunsOutAfterItsPassLimit) {
    TinyGame game(kLongSleep);
    HeadlessSession session(game.Path());
    EXPECT_EQ(session.Play("echo before\nwait 3\necho after"), RunStatus::WaitRanOut);
    EXPECT_EQ(session.Err.str(), "wait ran out at line 2\n");
    EXPECT_EQ(session.Out.str(), "before\n");
    EXPECT_EQ(session.Game->PassCounter, 3);
}

TEST(PlayRunnerClock, PassesAndMillisecondsAdvanceVirtualTimeAndTicks) {
    TinyGame game(kLongSleep);
    HeadlessSession session(game.Path());
    // A pass lasts 20 ms; a tick falls due at every multiple of 55 ms.
    ASSERT_EQ(session.Play("pass 3\nexpect TickCounter 1\nexpect PassCounter 3"), RunStatus::Done)
        << session.Err.str();
    EXPECT_EQ(session.Platform.Now(), 60u);

    TinyGame other(kLongSleep);
    HeadlessSession fresh(other.Path());
    ASSERT_EQ(fresh.Play("ms 550\nexpect TickCounter 10\nexpect PassCounter 28"), RunStatus::Done)
        << fresh.Err.str();
    EXPECT_EQ(fresh.Platform.Now(), 560u);
    EXPECT_EQ(fresh.Platform.TicksDelivered(), 10u);
}

TEST(PlayRunnerClock, MsReachesItsTargetWhenPassesTakeNoTime) {
    TinyGame game(kThreeLines);
    HeadlessSession session(game.Path());
    ASSERT_EQ(session.Play("wait"), RunStatus::Done);
    // An auto level whose pacing comes to nothing: the stepping pass does not sleep.
    session.Game->vars.S(26) = -10;
    uint64_t start = session.Platform.Now();
    ASSERT_EQ(session.Play("ms 1000"), RunStatus::Done);
    EXPECT_GE(session.Platform.Now(), start + 1000);
}

TEST(PlayRunnerExpect, PassesOnAMatchAndStopsWithStatusOneOnAMismatch) {
    TinyGame game(kThreeLines);
    HeadlessSession session(game.Path());
    session.Game->vars.V(5) = 7;
    session.Game->vars.SetString(0, "\x82\xA0\x82\xA2"); // あい in code page 932
    SetBit(session.Game->vars.TFlags, 9999, true);
    EXPECT_EQ(session.Play("expect V005 7\nexpect $0 あい\nexpect T9999 1\nexpect T0000 0\n"
                           "expect G9 0\nexpect ScreenMode 0"),
              RunStatus::Done)
        << session.Err.str();

    EXPECT_EQ(session.Play("expect V005 7\nexpect V005 8\necho not reached"),
              RunStatus::ExpectFailed);
    EXPECT_EQ(session.Err.str(), "expect failed at line 2: V005 is 7, expected 8\n");
    EXPECT_FALSE(Contains(session.Out.str(), "not reached"));

    session.Err.str("");
    EXPECT_EQ(session.Play("expect $0 あ"), RunStatus::ExpectFailed);
    EXPECT_EQ(session.Err.str(), "expect failed at line 1: $0 is あい, expected あ\n");
}

TEST(PlayRunnerExpect, ComparesPaintBoxPixelsAsRedGreenBlue) {
    TinyGame game(kThreeLines);
    HeadlessSession session(game.Path());
    ASSERT_EQ(session.Play("pass 1\nexpect-pixel 0 0 000000"), RunStatus::Done);
    Surface& back = session.Game->gfx.BackBuffer;
    uint8_t* p = back.Row(20) + 10 * 3;
    p[0] = 0x33; // blue
    p[1] = 0x22; // green
    p[2] = 0x11; // red
    session.Game->ShowBackBuffer();
    EXPECT_EQ(session.Play("expect-pixel 10 20 112233\nexpect-pixel 11 20 000000"), RunStatus::Done)
        << session.Err.str();
    EXPECT_EQ(session.Play("expect-pixel 10 20 332211"), RunStatus::ExpectFailed);
    EXPECT_EQ(session.Err.str(),
              "expect failed at line 1: pixel 10 20 is 112233, expected 332211\n");
}

TEST(PlayRunnerOutput, DumpHoldsTheVariablesAndEveryEngineField) {
    TinyGame game(kThreeLines);
    HeadlessSession session(game.Path());
    ASSERT_EQ(session.Play("wait"), RunStatus::Done);
    VariableStore& vars = session.Game->vars;
    vars.V(0) = 5;
    vars.V(999) = -1;
    vars.G(9) = 3;
    SetBit(vars.EFlags, 9, true);
    SetBit(vars.FFlags, 0, true);
    SetBit(vars.ReadMarks, 80000, true);
    vars.SetString(0, "\x82\xA0");
    vars.SetString(9, "say \"hi\"\\");
    ASSERT_EQ(session.Play("dump state/dump.json"), RunStatus::Done) << session.Err.str();

    auto bytes = ReadWholeFile(session.OutDir / "state/dump.json");
    ASSERT_TRUE(bytes);
    std::string json(bytes->begin(), bytes->end());
    EXPECT_TRUE(json.starts_with("{\n  \"V\": [5, 0, 0")) << json.substr(0, 40);
    EXPECT_TRUE(Contains(json, ", 0, -1],\n  \"S\": [3, 0"));
    EXPECT_TRUE(Contains(json, "\"G\": [0, 0, 0, 0, 0, 0, 0, 0, 0, 3],"));
    EXPECT_TRUE(Contains(json, "\"E\": \"0002" + std::string(252, '0') + "\","));
    EXPECT_TRUE(Contains(json, "\"F\": \"01" + std::string(254, '0') + "\","));
    EXPECT_TRUE(Contains(json, "\"T\": \"" + std::string(2500, '0') + "\","));
    // 80001 marks fill 10001 bytes; the last mark is the lowest bit of the last byte.
    EXPECT_TRUE(Contains(json, "\"ReadMarks\": \"" + std::string(20000, '0') + "01\","));
    EXPECT_TRUE(Contains(json, "\"strings\": [\"あ\", \"\", \"\", \"\", \"\", \"\", \"\", \"\", "
                               "\"\", \"say \\\"hi\\\"\\\\\"],"));
    EXPECT_TRUE(Contains(json, "\"fields\": {\n    \"ScreenMode\": 0,\n"));
    EXPECT_TRUE(Contains(json, "\"CurrentScriptName\": \"main\","));
    EXPECT_TRUE(Contains(json, "\"PassCounter\": 2,"));
    for (const StateField& field : EngineFields()) {
        EXPECT_TRUE(Contains(json, "\n    \"" + std::string(field.Name) + "\": ")) << field.Name;
    }
    EXPECT_TRUE(json.ends_with("\n  }\n}\n"));
}

TEST(PlayRunnerOutput, ShotWritesAPngOfThePaintBox) {
    TinyGame game(kThreeLines);
    HeadlessSession session(game.Path());
    ASSERT_EQ(session.Play("pass 1\nshot title.png"), RunStatus::Done) << session.Err.str();
    auto png = ReadWholeFile(session.OutDir / "title.png");
    ASSERT_TRUE(png);
    ASSERT_GT(png->size(), 33u);
    const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature, signature + 8, png->begin()));
    EXPECT_EQ(std::string(png->begin() + 12, png->begin() + 16), "IHDR");
    auto big32 = [&](size_t at) {
        return uint32_t{(*png)[at]} << 24 | uint32_t{(*png)[at + 1]} << 16 |
               uint32_t{(*png)[at + 2]} << 8 | (*png)[at + 3];
    };
    EXPECT_EQ(big32(16), 800u);
    EXPECT_EQ(big32(20), 600u);
}

TEST(PlayRunnerOutput, AnUnwritableOutputIsAFailure) {
    TinyGame game(kThreeLines);
    HeadlessSession session(game.Path());
    test::WriteFile(session.OutDir / "file", "not a directory");
    EXPECT_EQ(session.Play("shot file/title.png"), RunStatus::BadInput);
    EXPECT_TRUE(Contains(session.Err.str(), "shot at line 1"));
}

TEST(PlayRunnerClosing, CancelledQuitKeepsRunningAndAnsweredQuitCloses) {
    TinyGame game(kThreeLines);
    HeadlessSession session(game.Path());
    ASSERT_EQ(session.Play("pass 2\nanswer cancel\nquit\nexpect ScriptRunning 1\necho running"),
              RunStatus::Done)
        << session.Err.str();
    EXPECT_FALSE(session.Platform.WindowClosed());
    EXPECT_EQ(session.Out.str(), "message box: 確認: ゲームを終了しますか？ -> Cancel\nrunning\n");

    session.Out.str("");
    EXPECT_EQ(session.Play("quit\necho not reached"), RunStatus::Done);
    EXPECT_TRUE(session.Platform.WindowClosed());
    EXPECT_EQ(session.Out.str(),
              "message box: 確認: ゲームを終了しますか？ -> OK\nwindow closed at line 1\n");
}

TEST(PlayRunnerClosing, TheEngineClosingItselfEndsTheRun) {
    TinyGame game(kLongSleep);
    HeadlessSession session(game.Path());
    ASSERT_EQ(session.Play("pass 2"), RunStatus::Done);
    session.Game->QuitRequested = 1;
    EXPECT_EQ(session.Play("echo start\npass 10\necho not reached"), RunStatus::Done);
    EXPECT_EQ(session.Out.str(), "start\nwindow closed at line 2\n");
    // No confirmation when the engine asked to quit, and the pass that closed was the last.
    EXPECT_TRUE(session.Platform.MessageBoxes().empty());
    EXPECT_EQ(session.Game->PassCounter, 3);
}

TEST(PlayRunnerInput, InDeliversAtTheFirstPumpAtOrAfterItsTime) {
    TinyGame game(kLongSleep);
    HeadlessSession session(game.Path());
    Point origin = session.Platform.PaintBoxOrigin();
    ASSERT_EQ(session.Play("in 100 move 10 20\npass 4"), RunStatus::Done);
    EXPECT_EQ(session.Platform.Now(), 80u);
    EXPECT_EQ(session.Platform.QueuedInputs(), 1u);
    EXPECT_NE(session.Platform.GetCursorPos().X, origin.X + 10);

    ASSERT_EQ(session.Play("pass 1"), RunStatus::Done);
    EXPECT_EQ(session.Platform.QueuedInputs(), 0u);
    EXPECT_EQ(session.Platform.GetCursorPos().X, origin.X + 10);
    EXPECT_EQ(session.Platform.GetCursorPos().Y, origin.Y + 20);
}

TEST(PlayRunnerInput, InLooksAtTheScreenInsideTheCommandThatRunsAtItsTime) {
    TinyGame game(kLongSleep);
    HeadlessSession session(game.Path());
    Surface& back = session.Game->gfx.BackBuffer;
    ASSERT_EQ(session.Play("pass 1"), RunStatus::Done);
    // The shot and the check run at the pump after the pass that reaches 40 ms; the screen
    // turns red only after the passes.
    ASSERT_EQ(session.Play("in 30 shot later.png\nin 30 expect-pixel 0 0 000000\npass 3"),
              RunStatus::Done)
        << session.Err.str();
    EXPECT_TRUE(ReadWholeFile(session.OutDir / "later.png"));
    back.Fill(0x0000FF);
    session.Game->ShowBackBuffer();
    EXPECT_EQ(session.Play("in 10 expect-pixel 0 0 000000\npass 2\necho not reached"),
              RunStatus::ExpectFailed);
    EXPECT_EQ(session.Err.str(), "expect failed at line 1: pixel 0 0 is FF0000, expected 000000\n");
    EXPECT_FALSE(Contains(session.Out.str(), "not reached"));
    // One whose time never comes fails at the end rather than passing unseen.
    session.Err.str("");
    EXPECT_EQ(session.Play("pass 1\nin 5000 expect-pixel 0 0 FF0000\npass 1"),
              RunStatus::ExpectFailed);
    EXPECT_EQ(session.Err.str(), "in at line 2: its time never came before the end\n");
}

TEST(PlayRunnerInput, ClickAndMoveSetThePointerOverThePaintBox) {
    TinyGame game(kThreeLines);
    HeadlessSession session(game.Path());
    Point origin = session.Platform.PaintBoxOrigin();
    ASSERT_EQ(session.Play("click 400 300\nkey a\nwheel 120\nmenu N14"), RunStatus::Done);
    EXPECT_EQ(session.Platform.GetCursorPos().X, origin.X + 400);
    EXPECT_EQ(session.Platform.GetCursorPos().Y, origin.Y + 300);
}

TEST(PlayRunnerAutoPlay, ClicksThroughToTheEndOfTheScript) {
    TinyGame game(kThreeLines);
    HeadlessSession session(game.Path());
    EXPECT_EQ(session.Runner->AutoPlay(), RunStatus::Done);
    EXPECT_EQ(session.Out.str(),
              "auto play: 2 passes, 0 ticks, 40 ms, script main: stopped because the script "
              "ended\n");
}

TEST(PlayRunnerAutoPlay, StopsWhenTheGameComesBackToItsTitle) {
    TinyGame game({"*chain STITLE"});
    test::WriteFile(game.Dir / "ov_data.orv",
              test::MakeTextArchive({{"_config", {}},
                               {"main", test::ScriptBytes({"*chain STITLE"})},
                               {"STITLE", test::ScriptBytes({"*chain story"})},
                               {"story", test::ScriptBytes({"the story", "*chain stitle"})}}));
    HeadlessSession session(game.Path());
    EXPECT_EQ(session.Runner->AutoPlay(1000), RunStatus::Done);
    EXPECT_TRUE(Contains(session.Out.str(), "script stitle: stopped because the game came back to "
                                            "its title"))
        << session.Out.str();
    EXPECT_LT(session.Runner->PassesRun(), 1000);
}

TEST(PlayRunnerAutoPlay, StopsAtThePassLimit) {
    TinyGame game(kLongSleep);
    HeadlessSession session(game.Path());
    ASSERT_EQ(session.Play("pass 1"), RunStatus::Done);
    // A wait the stubbed input cannot clear.
    session.Game->wait.WaitKind = 1;
    EXPECT_EQ(session.Runner->AutoPlay(50), RunStatus::Done);
    EXPECT_EQ(session.Runner->PassesRun(), 50);
    EXPECT_TRUE(Contains(session.Out.str(), "stopped because the pass limit was reached"));
}

TEST(HeadlessRun, MissingGameDataShowsTheMessageAndExitsWithFour) {
    for (TinyGameParts parts :
         {TinyGameParts{false, true}, TinyGameParts{true, false}, TinyGameParts{false, false}}) {
        TinyGame game(kThreeLines, parts);
        RunOptions options;
        options.Headless = true;
        options.GameDirectory = game.Path();
        std::ostringstream out, err;
        EXPECT_EQ(RunHeadless(options, out, err), 4);
        // One message, however many archives are missing.
        EXPECT_EQ(out.str(), "message box: Error!: ゲームデータを読み込めません。 -> OK\n");
        EXPECT_TRUE(Contains(err.str(), "cannot read the game data"));
    }
}

TEST(HeadlessRun, PlaysAFileAndWritesTheAudioMix) {
    TinyGame game(kThreeLines);
    test::TempDir work;
    test::WriteFile(work / "run.play", "wait\necho done\nshot a.png\n");
    RunOptions options;
    options.Headless = true;
    options.GameDirectory = game.Path();
    options.PlayFile = work / "run.play";
    options.OutDirectory = work / "out";
    options.DataDirectory = work / "data";
    options.AudioOut = work / "mix.wav";
    std::ostringstream out, err;
    EXPECT_EQ(RunHeadless(options, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), "done\n");
    EXPECT_TRUE(IsRegularFile(work / "out/a.png"));
    EXPECT_TRUE(std::filesystem::is_directory(work / "data"));
    // Two passes, 40 ms: 1764 silent frames after the header.
    EXPECT_EQ(FileSize(work / "mix.wav").value_or(0), 44u + 4 * 1764);
}

TEST(HeadlessRun, ABadPlayFileStopsBeforeTheGameStarts) {
    TinyGame game(kThreeLines);
    test::TempDir work;
    test::WriteFile(work / "bad.play", "pass 1\nclick 1\n");
    RunOptions options;
    options.Headless = true;
    options.GameDirectory = game.Path();
    options.PlayFile = work / "bad.play";
    std::ostringstream out, err;
    EXPECT_EQ(RunHeadless(options, out, err), 2);
    EXPECT_TRUE(Contains(err.str(), "bad.play:2: click: usage: click X Y")) << err.str();
}

} // namespace
} // namespace orv
