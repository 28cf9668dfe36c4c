// The orvell program run as players, scripts and QA run it: exit statuses and output.
#include "base/cp932.h"
#include "base/files.h"
#include "platform/instance_lock.h"
#include "run_program.h"
#include "tiny_game.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::ProgramResult;
using test::TempDir;
using test::TinyGame;

bool Contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

class OrvellProgram : public testing::Test {
protected:
    ProgramResult Run(const std::vector<std::string>& args, const std::filesystem::path& dir) {
        // A private runtime directory: the desktop's single-instance lock of one test must
        // not meet another's.
        return test::RunProgram(ORVELL_PATH, args, dir, Output.Path(),
                                {"XDG_RUNTIME_DIR=" + Runtime.Path().string()});
    }

    ProgramResult Play(const TinyGame& game, std::string_view playText) {
        test::WriteFile(Work / "run.play", playText);
        return Run({"--headless", "--play", (Work / "run.play").string(), "--out",
                    (Work / "out").string(), game.Path().string()},
                   Work.Path());
    }

    TempDir Work;
    TempDir Output;
    TempDir Runtime;
};

const std::vector<std::string> kScript = {":one", ":two", ":three"};

TEST_F(OrvellProgram, ExitsWithZeroWhenThePlayFileRunsThrough) {
    TinyGame game(kScript);
    ProgramResult result = Play(game, "wait\nexpect CurrentScriptName main\necho ok\n"
                                      "shot end.png\ndump end.json\nquit\n");
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out, "ok\nmessage box: 確認: ゲームを終了しますか？ -> OK\n"
                          "window closed at line 6\n");
    EXPECT_TRUE(IsRegularFile(Work / "out/end.png"));
    EXPECT_TRUE(IsRegularFile(Work / "out/end.json"));
}

TEST_F(OrvellProgram, TheTextHookPrintsEveryCommittedLineAsUtf8) {
    TinyGame game({cp932::FromUtf8Lenient("「あい」"), "Plain text", "\\"});
    test::WriteFile(Work / "run.play", std::string_view("wait\n"));
    ProgramResult result = Run({"--headless", "--texthook", "stdout", "--play",
                                (Work / "run.play").string(), game.Path().string()},
                               Work.Path());
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out, "「あい」\nPlain text\n");
    ProgramResult wrong = Run({"--headless", "--texthook", "file", game.Path().string()}, Work.Path());
    EXPECT_EQ(wrong.Status, 2);
    EXPECT_TRUE(Contains(wrong.Err, "--texthook takes stdout")) << wrong.Err;
}

TEST_F(OrvellProgram, ExitsWithOneWhenAnExpectFails) {
    TinyGame game(kScript);
    ProgramResult result = Play(game, "wait\nexpect PassCounter 2\nexpect V005 9\n");
    EXPECT_EQ(result.Status, 1);
    EXPECT_TRUE(Contains(result.Err, "expect failed at line 3: V005 is 0, expected 9\n"))
        << result.Err;
}

TEST_F(OrvellProgram, ExitsWithTwoForABadPlayFileOrBadArguments) {
    TinyGame game(kScript);
    ProgramResult bad = Play(game, "wait\n\nexpect Nothing 1\n");
    EXPECT_EQ(bad.Status, 2);
    EXPECT_TRUE(Contains(bad.Err, "run.play:3: expect: unknown name \"Nothing\"")) << bad.Err;

    ProgramResult option = Run({"--headless", "--frames", "3"}, Work.Path());
    EXPECT_EQ(option.Status, 2);
    EXPECT_TRUE(Contains(option.Err, "unknown option --frames"));

    ProgramResult missing =
        Run({"--headless", "--play", "absent.play", game.Path().string()}, Work.Path());
    EXPECT_EQ(missing.Status, 2);
    EXPECT_TRUE(Contains(missing.Err, "absent.play: cannot be read"));
}

TEST_F(OrvellProgram, ExitsWithThreeWhenAWaitRunsOut) {
    TinyGame game({"*sleep 30000"});
    ProgramResult result = Play(game, "pass 1\nwait 5\n");
    EXPECT_EQ(result.Status, 3);
    EXPECT_TRUE(Contains(result.Err, "wait ran out at line 2\n")) << result.Err;
}

TEST_F(OrvellProgram, ExitsWithFourWhenTheGameDataIsMissing) {
    TempDir empty;
    ProgramResult result = Run({"--headless", empty.Path().string()}, Work.Path());
    EXPECT_EQ(result.Status, 4);
    EXPECT_EQ(result.Out, "message box: Error!: ゲームデータを読み込めません。 -> OK\n");
}

TEST_F(OrvellProgram, PlaysAutomaticallyTheGameInTheCurrentDirectory) {
    TinyGame game(kScript);
    ProgramResult result =
        Run({"--headless", "--seed", "5", "--audio-out", (Work / "mix.wav").string()}, game.Path());
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out, "auto play: 2 passes, 0 ticks, 40 ms, script main: stopped because "
                          "the script ended\n");
    // 40 ms of silence: 1764 frames after the header.
    EXPECT_EQ(FileSize(Work / "mix.wav").value_or(0), 44u + 4 * 1764);
}

TEST_F(OrvellProgram, AnswersHelpAndVersion) {
    ProgramResult help = Run({"--help"}, Work.Path());
    EXPECT_EQ(help.Status, 0);
    EXPECT_TRUE(Contains(help.Out, "orvell --headless [--play FILE]"));
    ProgramResult version = Run({"--version"}, Work.Path());
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out, std::string("orvell ") + ORVELL_VERSION + "\n");
}

TEST_F(OrvellProgram, ASecondDesktopInstanceExitsAtOnceButHeadlessRunsTakeNoLock) {
    TinyGame game(kScript);
    auto held = AcquireInstanceLock(Runtime / "ORVELLKERNEL");
    ASSERT_TRUE(held);
    ProgramResult second = Run({game.Path().string()}, Work.Path());
    EXPECT_EQ(second.Status, 1);
    EXPECT_EQ(second.Out, "");
    EXPECT_EQ(second.Err, "");
    EXPECT_EQ(Run({"--headless", game.Path().string()}, Work.Path()).Status, 0);
}

} // namespace
} // namespace orv
