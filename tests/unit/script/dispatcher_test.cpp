#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "script/command_table.h"
#include "script/dispatcher.h"
#include "test_support.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

using Script = std::pair<std::string, std::vector<std::string>>;

// Script lines in their stored form: each line ends in a NUL.
Bytes Lines(const std::vector<std::string>& lines) {
    Bytes out;
    for (const std::string& line : lines) {
        out.insert(out.end(), line.begin(), line.end());
        out.push_back(0);
    }
    return out;
}

class DispatcherTest : public ::testing::Test {
protected:
    Engine& Start(const std::vector<Script>& scripts) {
        std::vector<ArchiveEntryInput> entries;
        for (const auto& [name, lines] : scripts) {
            entries.push_back({name, Lines(lines)});
        }
        WriteFile(m_dir / "game" / "ov_data.orv", MakeTextArchive(entries));
        WriteFile(m_dir / "game" / "ov_gra.orv", MakeArchive({{"DUMMY", ToBytes("x")}}));
        m_engine = StartEngine(m_platform, m_dir / "game", m_dir / "data");
        m_platform.Pass(); // StartGame loads main
        return *m_engine;
    }

    void Step(int steps = 1) {
        for (int i = 0; i < steps; ++i) {
            m_engine->dispatcher.ScriptStep();
        }
    }
    std::string Line() const { return m_engine->script.LineBuffer.data(); }
    std::string ScriptName() const { return std::string(m_engine->script.CurrentScriptNameText()); }

    TempDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

TEST(CommandTableTest, HoldsTheSeventyWordsInMatchingOrder) {
    auto table = CommandTable();
    ASSERT_EQ(table.size(), 70u);
    EXPECT_EQ(table[0].Word, "gra ");
    EXPECT_EQ(table[15].Word, "end");
    EXPECT_EQ(table[49].Word, "exitgame");
    EXPECT_EQ(table[52].Word, "exit");
    EXPECT_EQ(table[69].Word, "fadeout");
    for (const Command& command : table) {
        EXPECT_NE(command.Handler, nullptr) << command.Word;
        EXPECT_GE(command.ArgumentOffset, static_cast<int32_t>(command.Word.size()))
            << command.Word;
    }
}

TEST(CommandTableTest, TheFirstWordThatPrefixesTheLineWins) {
    EXPECT_EQ(FindCommand("endless"), 15);
    EXPECT_EQ(FindCommand("EXITGAME"), 49);
    EXPECT_EQ(FindCommand("exit"), 52);
    EXPECT_EQ(FindCommand("GO start"), 3);
    EXPECT_EQ(FindCommand("se a"), 46);
    EXPECT_EQ(FindCommand("seloop a"), 47);
    EXPECT_EQ(FindCommand("animq x"), 40);
    EXPECT_EQ(FindCommand("go"), -1); // the blank is part of the word
    EXPECT_EQ(FindCommand("nothing"), -1);
    EXPECT_EQ(FindCommand(""), -1);
}

TEST(CommandTableTest, TheListShowsEveryWordWithItsState) {
    std::string text = CommandListText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 70);
    EXPECT_EQ(text.substr(0, text.find('\n')), " 0  gra         implemented");
    EXPECT_NE(text.find("\n 1  music       "), std::string::npos);
    EXPECT_NE(text.find("\n 3  go          implemented\n"), std::string::npos);
    EXPECT_NE(text.find("\n69  fadeout     "), std::string::npos);
}

TEST_F(DispatcherTest, AStepRunsLinesUntilOneWaits) {
    Engine& engine = Start({{"main",
                             {"!V001=1", "", ">NAME", ";comment", ":label", "}", "*calc V002=2",
                              "text", "!V003=3", "\\", "!V004=4"}}});
    engine.text.Delay = 1; // the text line typed whole in its step
    Step();
    EXPECT_EQ(engine.vars.V(1), 1);
    EXPECT_EQ(engine.vars.V(2), 2);
    EXPECT_EQ(Line(), "text");
    EXPECT_EQ(engine.vars.V(3), 0);
    Step(); // the page end ends its step
    EXPECT_EQ(engine.vars.V(3), 3);
    EXPECT_EQ(Line(), "\\");
    EXPECT_EQ(engine.vars.V(4), 0);
    Step();
    EXPECT_EQ(engine.vars.V(4), 4);
    EXPECT_TRUE(engine.dispatcher.AtScriptEnd());
}

TEST_F(DispatcherTest, LineStartIsTheOffsetOfTheLineBeingExecuted) {
    Engine& engine = Start({{"main", {"!V001=1", "*backto", "text"}}});
    Step();
    EXPECT_EQ(engine.vars.S(10), 8);
    EXPECT_EQ(engine.dispatcher.LineStart, 16);
}

TEST_F(DispatcherTest, LineEndsAreSkippedInSkipMode) {
    Engine& engine = Start({{"main", {"=", "!V001=1", "=", "!V002=1"}}});
    Step();
    EXPECT_EQ(engine.vars.V(1), 0);
    engine.SkipActive = 1;
    Step();
    EXPECT_EQ(engine.vars.V(1), 1);
    EXPECT_EQ(engine.vars.V(2), 1);
}

TEST_F(DispatcherTest, BlocksAreSkippedWhenReachedByNormalFlow) {
    Engine& engine =
        Start({{"main",
                {"{", "!V001=1", "}", "{:SEL1(V001=0)", "!V002=1", "}:sel10", "!V003=1", "}:sel1",
                 "!V004=1", "*go in", "{", ":in", "!V005=1", "}", "!V006=1"}}});
    Step();
    EXPECT_EQ(engine.vars.V(1), 0);
    EXPECT_EQ(engine.vars.V(2), 0);
    EXPECT_EQ(engine.vars.V(3), 0);
    EXPECT_EQ(engine.vars.V(4), 1);
    EXPECT_EQ(engine.vars.V(5), 1); // entered by a jump
    EXPECT_EQ(engine.vars.V(6), 1);
}

TEST_F(DispatcherTest, UnknownCommandsAreIgnored) {
    Engine& engine = Start({{"main", {"*nothing", "@CALC V001=4", "*unknown stuff", "!V002=1"}}});
    Step();
    EXPECT_EQ(engine.vars.V(1), 4);
    EXPECT_EQ(engine.vars.V(2), 1);
}

TEST_F(DispatcherTest, IfRewritesTheLineWithItsActionAndRunsItAtOnce) {
    Engine& engine = Start({{"main",
                             {"*if (V001=0) *calc V002=5", "*if (V001=0)   !V003=6",
                              "*if (V001=0) @if (V002=5) !V004=7", "!V005=1"}}});
    Step();
    EXPECT_EQ(engine.vars.V(2), 5);
    EXPECT_EQ(engine.vars.V(3), 6);
    EXPECT_EQ(engine.vars.V(4), 7);
    EXPECT_EQ(engine.vars.V(5), 1);
    EXPECT_EQ(Line(), "!V005=1");
}

TEST_F(DispatcherTest, AFalseIfEndsTheStepAndTheNextLineFollows) {
    Engine& engine = Start({{"main", {"*if (V001=1) !V002=1", "!V003=1"}}});
    Step();
    EXPECT_EQ(engine.vars.V(2), 0);
    EXPECT_EQ(engine.vars.V(3), 0);
    Step();
    EXPECT_EQ(engine.vars.V(3), 1);
}

TEST_F(DispatcherTest, IfWithALabelJumpsAndEndsTheStep) {
    Engine& engine = Start({{"main", {"*if (V001=0) there", "!V001=9", ":there", "!V002=1"}}});
    Step();
    EXPECT_EQ(engine.vars.V(2), 0);
    Step();
    EXPECT_EQ(engine.vars.V(1), 0);
    EXPECT_EQ(engine.vars.V(2), 1);
}

TEST_F(DispatcherTest, IfWithoutAnActionOnlyEndsTheStep) {
    Engine& engine = Start({{"main", {"*if (V001=0)", "*if (V001=0", "!V002=1"}}});
    Step();
    EXPECT_EQ(Line(), "*if (V001=0)");
    Step();
    EXPECT_EQ(Line(), "*if (V001=0");
    Step();
    EXPECT_EQ(engine.vars.V(2), 1);
}

TEST_F(DispatcherTest, CallsNestAndReturnToTheLineAfterEachCall) {
    Engine& engine = Start({{"main", {"*call a", "!V001=1", "*end"}},
                            {"a", {"*call b", "!V002=1", "*end"}},
                            {"b", {"!V003=1", "*call c:inside", "!V004=1"}},
                            {"c", {"!V009=1", ":inside", "!V005=1"}}});
    Step(3);
    EXPECT_EQ(engine.dispatcher.CallDepth, 3);
    EXPECT_EQ(ScriptName(), "c");
    EXPECT_STREQ(engine.dispatcher.ReturnScriptName, "c");
    EXPECT_STREQ(engine.dispatcher.CallNames[0], "main");
    EXPECT_STREQ(engine.dispatcher.CallNames[2], "b");
    Step(); // the label was taken; running off c returns to b
    EXPECT_EQ(engine.vars.V(9), 0);
    EXPECT_EQ(engine.vars.V(5), 1);
    EXPECT_EQ(ScriptName(), "b");
    Step(3);
    EXPECT_EQ(engine.vars.V(4), 1);
    EXPECT_EQ(engine.vars.V(2), 1);
    EXPECT_EQ(engine.vars.V(1), 1);
    EXPECT_EQ(engine.dispatcher.CallDepth, 0);
    EXPECT_EQ(ScriptName(), "main");
    EXPECT_STREQ(engine.dispatcher.ReturnScriptName, "main");
}

TEST_F(DispatcherTest, ACallDeeperThanNineIsRefusedAndTheScriptGoesOn) {
    Engine& engine = Start({{"main", {"*call deep"}},
                            {"deep", {"!V001=V001+1", "*call deep", "!V002=V002+1", "*end"}}});
    Step(10);
    EXPECT_EQ(engine.dispatcher.CallDepth, 9);
    EXPECT_EQ(engine.vars.V(1), 9);
    EXPECT_EQ(engine.vars.V(2), 0);
    Step(); // the refused call goes on at the next line
    EXPECT_EQ(engine.vars.V(2), 1);
    EXPECT_EQ(engine.dispatcher.CallDepth, 8);
    Step(40);
    EXPECT_EQ(engine.dispatcher.CallDepth, 0);
    EXPECT_EQ(engine.vars.V(2), 9);
    EXPECT_TRUE(engine.dispatcher.AtScriptEnd());
}

TEST_F(DispatcherTest, CallingAStringVariableUsesTheNameItHolds) {
    Engine& engine =
        Start({{"main", {"*string 4 sub", "*call $4", "!V001=1"}}, {"sub", {"!V002=1"}}});
    Step();
    EXPECT_EQ(ScriptName(), "sub");
    EXPECT_STREQ(engine.dispatcher.ReturnScriptName, "sub");
    Step(2);
    EXPECT_EQ(engine.vars.V(2), 1);
    EXPECT_EQ(engine.vars.V(1), 1);
}

TEST_F(DispatcherTest, AnUnknownScriptLeavesTheCurrentOneRunning) {
    Engine& engine =
        Start({{"main", {"*call nowhere", "!V001=1", "*chain nowhere", "!V002=1", "*call sub"}},
               {"sub", {"*end"}}});
    Step(3);
    EXPECT_EQ(engine.vars.V(1), 1);
    EXPECT_EQ(engine.vars.V(2), 1);
    EXPECT_EQ(ScriptName(), "sub");
    EXPECT_STREQ(engine.dispatcher.CallNames[0], "main"); // not the unknown name
    Step();
    EXPECT_EQ(ScriptName(), "main");
}

TEST_F(DispatcherTest, ChainEmptiesTheCallStackAndTakesItsLabel) {
    Engine& engine = Start({{"main", {"*call sub"}},
                            {"sub", {"*chain other:two"}},
                            {"other", {"!V001=1", ":two", "!V002=1", "*end"}}});
    Step(2);
    EXPECT_EQ(engine.dispatcher.CallDepth, 0);
    EXPECT_STREQ(engine.dispatcher.ReturnScriptName, "other");
    Step(2);
    EXPECT_EQ(engine.vars.V(1), 0);
    EXPECT_EQ(engine.vars.V(2), 1);
    EXPECT_EQ(ScriptName(), "other");
}

TEST_F(DispatcherTest, SleepWaitsInPassesAndShortSleepsWaitForAClick) {
    Engine& engine = Start({{"main", {"*sleep 10", "*sleep 3000", "*sleep 90"}}});
    Step();
    EXPECT_EQ(engine.wait.PassWait, -1);
    engine.wait.PassWait = 0;
    Step();
    EXPECT_EQ(engine.wait.PassWait, 100);
    engine.wait.PassWait = 0;
    engine.vars.S(26) = 3; // auto mode ignores it
    Step();
    EXPECT_EQ(engine.wait.PassWait, 0);
}

TEST_F(DispatcherTest, TitleKeepsSixtyThreeBytes) {
    Engine& engine = Start({{"main", {"*title " + std::string(70, 'c')}}});
    Step();
    EXPECT_EQ(std::string(engine.dispatcher.ChapterTitle), std::string(63, 'c'));
}

TEST_F(DispatcherTest, MarkRemembersPassagesAndStopsSkippingAtNewOnes) {
    Engine& engine = Start({{"main", {"*mark 5", "*mark 5", "*mark 80001", "*mark -1"}}});
    engine.SkipActive = 1;
    engine.vars.S(60) = 2;
    engine.dispatcher.ScriptStep(); // runs all four lines: none waits
    EXPECT_TRUE(engine.vars.ReadMark(5));
    EXPECT_EQ(engine.SkipActive, 0);
    EXPECT_EQ(engine.vars.S(60), 0);
    EXPECT_EQ(engine.dispatcher.PassageRead, 1);
}

TEST_F(DispatcherTest, GameInitStartsANewGameFromTheGlobalCells) {
    Engine& engine =
        Start({{"main", {"!V005=1;F001=1;T0001=1;E001=1;G6=4;G7=5;G8=6", "*gameinit"}}});
    Step();
    EXPECT_EQ(engine.vars.V(5), 0);
    EXPECT_FALSE(engine.vars.TestFlag(FlagKind::F, 1));
    EXPECT_FALSE(engine.vars.TestFlag(FlagKind::T, 1));
    EXPECT_TRUE(engine.vars.TestFlag(FlagKind::E, 1));
    EXPECT_EQ(engine.vars.V(200), 4);
    EXPECT_EQ(engine.vars.V(201), 5);
    EXPECT_EQ(engine.vars.V(202), 6);
}

TEST_F(DispatcherTest, GameClearCountsInTheSharedCounter) {
    Engine& engine = Start({{"main", {"*gameclr", "*gameclr"}}});
    Step();
    EXPECT_EQ(engine.vars.S(100), 2);
    EXPECT_TRUE(engine.vars.TestFlag(FlagKind::E, 999));
    SettingsStore store(SettingsRoot(m_dir / "data"));
    EXPECT_EQ(ReadSettingInt(store.Load(ClearCounterLocation()), "Clear", 0), 2);
}

TEST_F(DispatcherTest, RecordingStartsOrRestartsTheChoiceRecord) {
    Engine& engine =
        Start({{"main", {"!V001=1;F001=1;T0001=1;S162=4", "*rec", "!S161=2;S163=3", "*rec"}}});
    Step();
    EXPECT_EQ(engine.vars.V(1), 0);
    EXPECT_FALSE(engine.vars.TestFlag(FlagKind::F, 1));
    EXPECT_TRUE(engine.vars.TestFlag(FlagKind::T, 1));
    EXPECT_EQ(engine.vars.S(161), 2);
    EXPECT_EQ(engine.vars.S(162), 0);
    EXPECT_EQ(engine.vars.S(163), 0);
}

TEST_F(DispatcherTest, ModeTogglesNovelModeAndEndsTheStep) {
    Engine& engine = Start({{"main", {"*mode 2", "*mode 1", "*mode 0", "!V001=1"}}});
    Step();
    EXPECT_EQ(engine.vars.S(160), 1); // any number other than the current mode toggles
    Step();
    EXPECT_EQ(engine.vars.S(160), 1);
    Step();
    EXPECT_EQ(engine.vars.S(160), 0);
    EXPECT_EQ(engine.vars.V(1), 0);
}

TEST_F(DispatcherTest, TextWindowSetMarksTheWindowWithoutDrawing) {
    Engine& engine = Start({{"main", {"*tw_set 1", "\\", "*tw_set 0"}}});
    Step();
    EXPECT_EQ(engine.text.WindowShown, 1);
    Step();
    EXPECT_EQ(engine.text.WindowShown, 0);
}

TEST_F(DispatcherTest, WebHandsTheAddressToTheDesktopAsOneArgument) {
    Start({{"main", {"*web https://example.org/a b; rm -rf x  "}}});
    Step();
    ASSERT_EQ(m_platform.Opened.size(), 1u);
    EXPECT_EQ(m_platform.Opened[0], "https://example.org/a b; rm -rf x");
}

TEST_F(DispatcherTest, ExitGameClosesWithTheConfirmationAndExitNeverDoes) {
    Start({{"main", {"*exit", "*vend", "*exitgame"}}});
    m_platform.Answers.push_back(MessageBoxResult::Cancel);
    Step(2);
    EXPECT_EQ(m_platform.CloseRequests, 0);
    Step();
    EXPECT_EQ(m_platform.CloseRequests, 1);
    EXPECT_EQ(m_platform.Boxes.size(), 1u);
    EXPECT_FALSE(m_platform.Closed);
}

TEST_F(DispatcherTest, VoicesAreRememberedForTheReplayAndThePage) {
    Engine& engine = Start({{"main", {"*cv v001", "*cv v002"}}});
    Step();
    EXPECT_STREQ(engine.sound.LastVoice, "v002");
    EXPECT_STREQ(engine.sound.PageVoices, "v001 v002 ");
}

TEST_F(DispatcherTest, APageFullOfVoicesKeepsItsFirstOnes) {
    Engine& engine = Start({{"main", {"!V001=0"}}});
    for (int i = 0; i < 40; ++i) {
        engine.sound.PlayScriptVoice("voice_name");
    }
    EXPECT_LT(std::strlen(engine.sound.PageVoices), sizeof engine.sound.PageVoices);
    EXPECT_STREQ(engine.sound.LastVoice, "voice_name");
}

TEST_F(DispatcherTest, StopSkipAndAutoFollowsBreakOnSelectUnlessForced) {
    Engine& engine = Start({{"main", {"!V001=0"}}});
    engine.settings.BreakonSelect = false;
    engine.SkipActive = 1;
    engine.vars.S(26) = 3;
    engine.dispatcher.PrepareForChoice();
    EXPECT_EQ(engine.SkipActive, 1);
    EXPECT_EQ(engine.vars.S(26), 3);
    engine.dispatcher.StopSkipAndAuto(true);
    EXPECT_EQ(engine.SkipActive, 0);
    EXPECT_EQ(engine.vars.S(26), 0);
    engine.settings.BreakonSelect = true;
    engine.SkipActive = 1;
    engine.vars.S(60) = 2;
    engine.vars.S(61) = 2;
    engine.dispatcher.PrepareForChoice();
    EXPECT_EQ(engine.SkipActive, 0);
    EXPECT_EQ(engine.vars.S(60), 0);
    EXPECT_EQ(engine.vars.S(61), 0);
}

TEST_F(DispatcherTest, SoundsAreFoundInTheVoiceAndEffectArchives) {
    WriteFile(m_dir / "game" / "ov_se2.orv", MakeArchive({{"LOOPSE", ToBytes("x")}}));
    Engine& engine = Start({{"main", {"!V001=0"}}});
    EXPECT_TRUE(engine.sound.SoundExists("loopse"));
    EXPECT_FALSE(engine.sound.SoundExists("missing"));
}

TEST_F(DispatcherTest, AStepThatNeverWaitsStillReturns) {
    Engine& engine = Start({{"main", {":a", "!V001=V001+1", "*go a"}}});
    Step();
    EXPECT_GT(engine.vars.V(1), 0);
}

TEST_F(DispatcherTest, ArbitraryCommandLinesStayInsideTheEngineState) {
    // Every command word with arguments that are missing, hostile or far too long.
    const std::vector<std::string> arguments = {"",
                                                " ",
                                                "0",
                                                "-1",
                                                "99",
                                                "2147483648",
                                                "$9",
                                                "$x",
                                                "(V001=1) *call main",
                                                "(V001=1) " + std::string(300, '!'),
                                                "a:b:c",
                                                std::string(1500, 'A'),
                                                std::string(40, '\x81'),
                                                "P001=1;P002=2",
                                                "V001=1|",
                                                "main:nolabel"};
    std::mt19937 random(7);
    std::vector<std::string> lines;
    for (int i = 0; i < 400; ++i) {
        const Command& command = CommandTable()[random() % CommandTable().size()];
        if (command.Word == "exitgame") {
            continue; // the window would close under the test
        }
        lines.push_back((i % 2 ? "*" : "@") + std::string(command.Word) +
                        arguments[random() % arguments.size()]);
    }
    lines.push_back("!V001=3010;V002=-5");
    Engine& engine = Start({{"main", lines}, {"sub", {"*call sub", "*call main"}}});
    for (int i = 0; i < 600; ++i) {
        engine.wait.PassWait = 0;
        engine.wait.VoiceWait = 0;
        engine.blocking.Release(BlockingState::Holding::Movie);
        engine.dispatcher.ScriptStep();
        ASSERT_GE(engine.dispatcher.CallDepth, 0);
        ASSERT_LE(engine.dispatcher.CallDepth, Dispatcher::kCallStackSize);
        ASSERT_LT(std::strlen(engine.script.LineBuffer.data()), engine.script.LineBuffer.size());
    }
}

} // namespace
} // namespace orv::test
